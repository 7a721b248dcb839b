#include "dialog/CBaseSheet.h"

#include "framework/WindowDpi.h"
#include "interface/CVarnelApp.h"
#include "resource.h"

namespace {

constexpr UINT kApplyButton = 0x3021;

// The frame's measures in pixels at 96 DPI, from the bottom up: a margin, the
// buttons, the description edit above them, the label above it; beside them
// the side margins. The tabs grow taller and the pages move down below them.
constexpr int kMinTabWidth = 60;
constexpr int kTabExtraHeight = 6;
constexpr int kDescriptionRoom = 102;  // added to the sheet's height besides the taller tabs
constexpr int kPageGap = 6;            // the page moves down by the taller tabs and this, and is this much shorter
constexpr int kSideMargin = 7;
constexpr int kBottomMargin = 4;
constexpr int kEditAboveButtons = 68;
constexpr int kEditHeight = 60;
constexpr int kLabelAboveButtons = 84;
constexpr int kLabelHeight = 12;

// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND hChild, HWND hParent) {
    RECT rc{};
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

}  // namespace

CBaseSheet::CBaseSheet() { m_psh.dwFlags &= ~DWORD(PSH_HASHELP); }

CBaseSheet::CBaseSheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage) {
    m_psh.dwFlags &= ~DWORD(PSH_HASHELP);
}

CBaseSheet::~CBaseSheet() = default;

BOOL CBaseSheet::OnInitDialog() {
    CPropertySheet::OnInitDialog();
    auto hIcon = HICON(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_SHEET), IMAGE_ICON,
                                    ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessage(WM_SETICON, ICON_SMALL, LPARAM(hIcon));
    ModifyStyle(0, WS_MINIMIZEBOX);
    if (HWND hApply = ::GetDlgItem(m_hWnd, kApplyButton))
        ::ShowWindow(hApply, SW_HIDE);
    // The menu first: it takes its height from the client area the layout uses.
    if (m_menu.LoadMenu(IDR_MENU_SHEET))
        SetMenu(m_menu.GetSafeHmenu());
    LayoutDescriptionArea();
    RegisterButtonHelp();
    return TRUE;
}

void CBaseSheet::RegisterButtonHelp() {
    theApp.m_wndHelp.AddTool(GetDlgItem(IDOK), IDS_HELP_SAVE, IDI_VARNEL);
    theApp.m_wndHelp.AddTool(GetDlgItem(IDCANCEL), IDS_HELP_CANCEL, IDI_VARNEL);
}

void CBaseSheet::LayoutDescriptionArea() {
    const UINT kQuiet = SWP_NOZORDER | SWP_NOACTIVATE;
    // Every measure is designed for 96 DPI and scaled to the screen's DPI,
    // so that the description area grows with the dialog font.
    const DpiScale px = DpiScaleOf(m_hWnd);

    HWND hTab = GetTabControl();
    ::SendMessageW(hTab, TCM_SETMINTABWIDTH, 0, px(kMinTabWidth));
    RECT rcItem{};
    ::SendMessageW(hTab, TCM_GETITEMRECT, 0, LPARAM(&rcItem));
    int tabHeight = rcItem.bottom - rcItem.top + px(kTabExtraHeight);
    ::SendMessageW(hTab, TCM_SETITEMSIZE, 0, MAKELPARAM(rcItem.right - rcItem.left, tabHeight));

    RECT rcSheet{};
    GetWindowRect(&rcSheet);
    int width = rcSheet.right - rcSheet.left;
    SetWindowPos(nullptr, 0, 0, width, rcSheet.bottom - rcSheet.top + tabHeight + px(kDescriptionRoom),
                 kQuiet | SWP_NOMOVE);

    RECT rcTab = ChildRect(hTab, m_hWnd);
    ::SetWindowPos(hTab, nullptr, 0, 0, rcTab.right - rcTab.left, rcTab.bottom - rcTab.top + tabHeight,
                   kQuiet | SWP_NOMOVE);

    if (CPropertyPage* pPage = GetPage(0); pPage && pPage->m_hWnd) {
        RECT rcPage = ChildRect(pPage->m_hWnd, m_hWnd);
        ::SetWindowPos(pPage->m_hWnd, nullptr, rcPage.left, rcPage.top + tabHeight + px(kPageGap),
                       rcPage.right - rcPage.left, rcPage.bottom - rcPage.top - px(kPageGap), kQuiet);
    }

    // The outer rectangle in the sheet's own client coordinates.
    RECT rcOuter{};
    GetWindowRect(&rcOuter);
    ScreenToClient(&rcOuter);
    RECT rcClient{};
    GetClientRect(&rcClient);
    const int margin = px(kSideMargin), bottomMargin = px(kBottomMargin);
    int left = rcOuter.left + margin, right = rcOuter.right - margin, clientHeight = rcClient.bottom;
    int buttonWidth = (right - left) / 6;
    int y = clientHeight - bottomMargin;
    if (HWND hOk = ::GetDlgItem(m_hWnd, IDOK)) {
        RECT rc = ChildRect(hOk, m_hWnd);
        y = clientHeight - bottomMargin - (rc.bottom - rc.top);
        ::SetWindowPos(hOk, nullptr, left, y, buttonWidth, rc.bottom - rc.top, kQuiet);
        CString strSave;
        strSave.LoadString(IDS_SAVE);
        ::SetWindowTextW(hOk, strSave);
    }
    if (HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL)) {
        RECT rc = ChildRect(hCancel, m_hWnd);
        int cancelY = ::GetDlgItem(m_hWnd, IDOK) ? y : clientHeight - bottomMargin - (rc.bottom - rc.top);
        ::SetWindowPos(hCancel, nullptr, right - buttonWidth, cancelY, buttonWidth, rc.bottom - rc.top, kQuiet);
    }

    m_editDescription.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE,
                               left, y - px(kEditAboveButtons), right - left, px(kEditHeight), m_hWnd, nullptr);
    m_editDescription.SetReadOnly(TRUE);
    CFont* pFont = theApp.GetDescriptionFont();
    HFONT hFont = pFont ? pFont->GetSafeHandle() : nullptr;
    m_editDescription.SetFont(hFont, TRUE);

    CString strLabel;
    strLabel.LoadString(IDS_DESCRIPTION_LABEL);
    m_staticDescription.CreateEx(0, L"STATIC", strLabel, WS_CHILD | WS_VISIBLE, left, y - px(kLabelAboveButtons),
                                 right - left, px(kLabelHeight), m_hWnd, nullptr);
    m_staticDescription.SetFont(hFont, TRUE);

    CenterWindow();
}

BOOL CBaseSheet::PreTranslateMessage(MSG* pMsg) {
    theApp.m_wndHelp.RelayEvent(pMsg);  // the mouse resting on a control shows its help balloon
    HWND hFocus = ::GetFocus();
    if (hFocus && hFocus != m_editDescription.m_hWnd && hFocus != m_hLastFocus) {
        m_hLastFocus = hFocus;
        if (::IsWindowVisible(hFocus))
            m_editDescription.SetWindowText(theApp.m_wndHelp.GetToolDescription(hFocus));
    }
    return CPropertySheet::PreTranslateMessage(pMsg);
}

LRESULT CBaseSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != VNTT_NOTE_CHANGED)
        return CPropertySheet::WindowProc(message, wParam, lParam);
    OnNoteChanged(HWND(wParam));
    return 0;
}

void CBaseSheet::OnNoteChanged(HWND hTool) {
    ToolNote note;
    // Without a note the area goes back to the control it follows: the
    // focused one, or the one focused last while another program's window
    // is active (this thread then has no focus).
    HWND hFocus = ::GetFocus() ? ::GetFocus() : m_hLastFocus;
    HWND hShown = theApp.m_wndHelp.GetToolNote(hTool, note) ? hTool : hFocus;
    if (hShown && hShown != m_editDescription.m_hWnd && ::IsWindowVisible(hShown))
        m_editDescription.SetWindowText(theApp.m_wndHelp.GetToolDescription(hShown));
}

void CBaseSheet::OnDestroy() {
    SetMenu(nullptr);
    m_menu.DestroyMenu();
    CPropertySheet::OnDestroy();
}
