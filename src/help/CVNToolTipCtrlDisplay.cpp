// The display side of the help control: fonts, layout, the window's shape,
// placement, painting, and the show and leave timers.
#include "help/CVNToolTipCtrl.h"

#include "framework/WindowDpi.h"
#include "help/GdiTextMeasurer.h"

#include <cstdlib>
#include <cwchar>

namespace {

// The default font's cell height and line spacing at 96 DPI.
constexpr UINT kDefaultFontHeight = 14;
constexpr UINT kDefaultLineSpacing = 3;

// Colour roles, indices into m_crColors.
enum { COLOUR_OUTER_FRAME = 3, COLOUR_INNER_FRAME = 4, COLOUR_BACKGROUND = 5 };

BalloonRect ToBalloonRect(const RECT& rc) { return {int(rc.left), int(rc.top), int(rc.right), int(rc.bottom)}; }

// A region of the outline in window coordinates; the caller owns it.
HRGN CreateOutlineRgn(const BalloonOutline& outline) {
    const BalloonRect& body = outline.body;
    HRGN hBody = outline.corner.cx
                     ? ::CreateRoundRectRgn(body.left, body.top, body.right, body.bottom, outline.corner.cx,
                                            outline.corner.cy)
                     : ::CreateRectRgn(body.left, body.top, body.right, body.bottom);
    if (!outline.bHasStem)
        return hBody;
    POINT stem[3];
    for (int i = 0; i < 3; ++i) stem[i] = {outline.stem[i].x, outline.stem[i].y};
    HRGN hStem = ::CreatePolygonRgn(stem, 3, ALTERNATE);
    HRGN hResult = ::CreateRectRgn(0, 0, outline.window.cx, outline.window.cy);
    ::CombineRgn(hResult, hStem, hBody, RGN_OR);
    ::DeleteObject(hStem);
    ::DeleteObject(hBody);
    return hResult;
}

void FillSolid(HDC hDC, int left, int top, int right, int bottom, COLORREF colour) {
    RECT rc = {left, top, right, bottom};
    ::SetBkColor(hDC, colour);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

// One-pixel rectangle: top and left edges in one colour, bottom and right in
// the other.
void Draw3dRect(HDC hDC, const RECT& rc, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(hDC, rc.left, rc.top, rc.right - 1, rc.top + 1, topLeft);
    FillSolid(hDC, rc.left, rc.top, rc.left + 1, rc.bottom - 1, topLeft);
    FillSolid(hDC, rc.right - 1, rc.top, rc.right, rc.bottom, bottomRight);
    FillSolid(hDC, rc.left, rc.bottom - 1, rc.right, rc.bottom, bottomRight);
}

}  // namespace

void CVNToolTipCtrl::SetIcon(HICON hIcon) {
    m_hIcon = hIcon;
    m_sizeIcon = SIZE{};
    ICONINFO info{};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return;
    BITMAP bitmap{};
    if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap))
        m_sizeIcon = {bitmap.bmWidth, bitmap.bmHeight};
    else if (info.hbmMask && ::GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap))
        m_sizeIcon = {bitmap.bmWidth, bitmap.bmHeight / 2};  // a monochrome icon stacks AND and XOR masks
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
}

void CVNToolTipCtrl::EnsureFonts() {
    if (m_fontBold.GetSafeHandle() && m_fontNormal.GetSafeHandle() && m_fontUnderline.GetSafeHandle())
        return;
    LOGFONTW logFont{};
    CWnd* pOwner = GetParent();
    HFONT hOwnerFont = pOwner ? pOwner->GetFont() : nullptr;
    if (hOwnerFont && ::GetObjectW(hOwnerFont, sizeof(logFont), &logFont) == sizeof(logFont)) {
        m_nFontHeight = UINT(std::abs(logFont.lfHeight));
        m_nLineSpacing = m_nFontHeight / 3;
    } else {
        // The default font and its spacing, designed at 96 DPI, grow with the screen's DPI.
        const DpiScale px = DpiScaleOf(m_hWnd);
        m_nFontHeight = UINT(px(kDefaultFontHeight));
        m_nLineSpacing = UINT(px(kDefaultLineSpacing));
        logFont = LOGFONTW{};
        logFont.lfHeight = LONG(m_nFontHeight);
        logFont.lfPitchAndFamily = FF_SWISS;
        std::wcsncpy(logFont.lfFaceName, L"Tahoma", LF_FACESIZE - 1);
    }
    if (!m_fontBold.GetSafeHandle()) {
        logFont.lfWeight = FW_BOLD;
        m_fontBold.CreateFontIndirect(&logFont);
    }
    if (!m_fontNormal.GetSafeHandle()) {
        logFont.lfWeight = FW_NORMAL;
        m_fontNormal.CreateFontIndirect(&logFont);
    }
    if (!m_fontUnderline.GetSafeHandle()) {
        logFont.lfWeight = FW_NORMAL;
        logFont.lfItalic = 0;
        logFont.lfUnderline = 1;
        m_fontUnderline.CreateFontIndirect(&logFont);
    }
}

BalloonMetrics CVNToolTipCtrl::GetMetrics(HDC hDC) const {
    BalloonMetrics metrics;
    metrics.measures = BalloonMeasures::ForDpi(DpiScaleOf(hDC));
    metrics.nFontHeight = int(m_nFontHeight);
    metrics.nLineSpacing = int(m_nLineSpacing);
    metrics.bHasIcon = m_hIcon != nullptr;
    metrics.sizeIcon = {int(m_sizeIcon.cx), int(m_sizeIcon.cy)};
    return metrics;
}

BOOL CVNToolTipCtrl::CalcLayout(HDC hDC, HRGN* pRgn, SIZE* pSize) {
    BalloonLayout layout;
    {
        GdiTextMeasurer measurer(hDC, m_fontBold, m_fontUnderline, m_fontNormal);
        const BalloonMetrics metrics = GetMetrics(hDC);
        m_measures = metrics.measures;
        layout = CalcBalloonLayout(m_content, measurer, metrics, {int(m_ptAnchor.x), int(m_ptAnchor.y)});
    }
    m_bStemLeft = layout.bStemLeft;
    m_bAbove = layout.bAbove;
    const RECT rcBody = {layout.body.left, layout.body.top, layout.body.right, layout.body.bottom};
    switch (ShapeOfStyle(m_nStyle)) {
    case BALLOON_SHAPE_BALLOON: BuildBalloonRgn(rcBody, pRgn, pSize); break;
    case BALLOON_SHAPE_ROUNDRECT: BuildRoundRgn(rcBody, pRgn, pSize); break;
    case BALLOON_SHAPE_RECT: BuildRectRgn(rcBody, pRgn, pSize); break;
    case BALLOON_SHAPE_NONE: break;
    }
    return TRUE;
}

namespace {

void StoreOutline(const BalloonOutline& outline, HRGN* pRgn, SIZE* pSize) {
    *pRgn = CreateOutlineRgn(outline);
    if (pSize)
        *pSize = {outline.window.cx, outline.window.cy};
}

}  // namespace

void CVNToolTipCtrl::BuildBalloonRgn(const RECT& rcBody, HRGN* pRgn, SIZE* pSize) const {
    BalloonRect body = ToBalloonRect(rcBody);
    StoreOutline(BuildBalloonOutline(body.Width(), body.Height(), m_bStemLeft, m_bAbove, m_measures), pRgn, pSize);
}

void CVNToolTipCtrl::BuildRoundRgn(const RECT& rcBody, HRGN* pRgn, SIZE* pSize) const {
    BalloonRect body = ToBalloonRect(rcBody);
    StoreOutline(BuildRoundOutline(body.Width(), body.Height(), m_measures), pRgn, pSize);
}

void CVNToolTipCtrl::BuildRectRgn(const RECT& rcBody, HRGN* pRgn, SIZE* pSize) const {
    BalloonRect body = ToBalloonRect(rcBody);
    StoreOutline(BuildRectOutline(body.Width(), body.Height()), pRgn, pSize);
}

void CVNToolTipCtrl::ShowAt(POINT ptScreen) {
    HDC hDC = m_hWnd ? ::GetDC(m_hWnd) : nullptr;
    if (!hDC)
        return;
    m_ptAnchor = ptScreen;
    EnsureFonts();
    HRGN hRgn = nullptr;
    SIZE size{};
    if (!CalcLayout(hDC, &hRgn, &size)) {
        if (hRgn)
            ::DeleteObject(hRgn);
        ::ReleaseDC(m_hWnd, hDC);
        return;
    }
    ::SetWindowRgn(m_hWnd, hRgn, TRUE);  // the window owns the region from now on
    ::SetWindowTextW(m_hWnd, PlainText(m_content));

    BalloonPoint corner = PlaceBalloonWindow(ShapeOfStyle(m_nStyle), {int(ptScreen.x), int(ptScreen.y)},
                                             {int(size.cx), int(size.cy)}, m_bStemLeft, m_bAbove, m_measures);
    SetWindowPos(HWND_TOP, corner.x, corner.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ::ReleaseDC(m_hWnd, hDC);
    m_bArmed = FALSE;
}

void CVNToolTipCtrl::Hide() {
    if (m_hWnd)
        ShowWindow(SW_HIDE);
    m_rcTool = RECT{};
}

LRESULT CVNToolTipCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer(UINT_PTR(wParam));
        break;  // then on to the default handling
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
        OnMouseEvent();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CVNToolTipCtrl::OnPaint() {
    RECT rcClient;
    GetClientRect(&rcClient);
    HBRUSH hOuter = ::CreateSolidBrush(m_crColors[COLOUR_OUTER_FRAME]);
    HBRUSH hBackground = ::CreateSolidBrush(m_crColors[COLOUR_BACKGROUND]);
    HBRUSH hInner = ::CreateSolidBrush(m_crColors[COLOUR_INNER_FRAME]);
    PAINTSTRUCT paint;
    HDC hDC = ::BeginPaint(m_hWnd, &paint);
    if (hDC) {
        HRGN hRgn = nullptr;
        CalcLayout(hDC, &hRgn, nullptr);
        if (hRgn && (m_nStyle & (VNTT_BALLOON | VNTT_ROUNDRECT))) {
            // Outermost ring in the outer colour; on the left and right sides
            // the next column in the inner colour.
            ::FillRgn(hDC, hRgn, hBackground);
            ::FrameRgn(hDC, hRgn, hInner, 2, 1);
            ::FrameRgn(hDC, hRgn, hOuter, 1, 1);
        } else if (m_nStyle & VNTT_RECT) {
            ::FillRect(hDC, &rcClient, hBackground);
            ::DrawEdge(hDC, &rcClient, EDGE_ETCHED, BF_RECT);
            Draw3dRect(hDC, rcClient, m_crColors[COLOUR_OUTER_FRAME], m_crColors[COLOUR_INNER_FRAME]);
        }

        ::SetBkMode(hDC, TRANSPARENT);
        {
            GdiTextMeasurer fonts(hDC, m_fontBold, m_fontUnderline, m_fontNormal);
            BalloonPaintPlan plan = PlanBalloonPaint(m_content, fonts, GetMetrics(hDC), ShapeOfStyle(m_nStyle),
                                                     m_bAbove, ToBalloonRect(rcClient));
            for (const BalloonTextItem& item : plan.items) {
                fonts.Select(item.font);
                ::SetTextColor(hDC, m_crColors[item.nColour]);
                RECT rc = {item.rc.left, item.rc.top, item.rc.right, item.rc.bottom};
                ::DrawTextW(hDC, item.text.GetString(), item.text.GetLength(), &rc, item.nFormat);
            }
            if (m_hIcon)
                ::DrawIconEx(hDC, plan.ptIcon.x, plan.ptIcon.y, m_hIcon, m_sizeIcon.cx, m_sizeIcon.cy, 0, nullptr,
                             DI_NORMAL);
        }
        if (hRgn)
            ::DeleteObject(hRgn);
        ::EndPaint(m_hWnd, &paint);
    }
    ::DeleteObject(hOuter);
    ::DeleteObject(hBackground);
    ::DeleteObject(hInner);
}

void CVNToolTipCtrl::OnTimer(UINT_PTR nIdEvent) {
    POINT pt;
    if (!::GetCursorPos(&pt))
        return;
    if (nIdEvent == VNTT_TIMER_SHOW) {
        if (::PtInRect(&m_rcTool, pt) && m_bArmed) {
            KillCurrentTimer();
            ShowAt(pt);
            m_nTimerId = ::SetTimer(m_hWnd, VNTT_TIMER_POLL, 5, nullptr);
        }
    } else if (nIdEvent == VNTT_TIMER_POLL) {
        // A tool that was closed or hidden under a resting cursor counts as left.
        const bool bToolGone = m_hTool && !::IsWindowVisible(m_hTool);
        if (!::PtInRect(&m_rcTool, pt) || bToolGone) {
            KillCurrentTimer();
            m_hTool = nullptr;
            Hide();
        }
    }
}

void CVNToolTipCtrl::OnMouseEvent() {
    // The poll goes on and clears the tool once the cursor leaves it.
    ShowWindow(SW_HIDE);
}

void CVNToolTipCtrl::KillCurrentTimer() {
    if (m_nTimerId && m_hWnd)
        ::KillTimer(m_hWnd, m_nTimerId);
    m_nTimerId = 0;
}
