#include "dialog/CBaseSheet.h"

#include "interface/CVarnelApp.h"
#include "resource.h"

namespace {

constexpr UINT kApplyButton = 0x3021;

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

    HWND hTab = GetTabControl();
    ::SendMessageW(hTab, TCM_SETMINTABWIDTH, 0, 60);
    RECT rcItem{};
    ::SendMessageW(hTab, TCM_GETITEMRECT, 0, LPARAM(&rcItem));
    int tabHeight = rcItem.bottom - rcItem.top + 6;
    ::SendMessageW(hTab, TCM_SETITEMSIZE, 0, MAKELPARAM(rcItem.right - rcItem.left, tabHeight));

    RECT rcSheet{};
    GetWindowRect(&rcSheet);
    int width = rcSheet.right - rcSheet.left;
    SetWindowPos(nullptr, 0, 0, width, rcSheet.bottom - rcSheet.top + tabHeight + 102, kQuiet | SWP_NOMOVE);

    RECT rcTab = ChildRect(hTab, m_hWnd);
    ::SetWindowPos(hTab, nullptr, 0, 0, rcTab.right - rcTab.left, rcTab.bottom - rcTab.top + tabHeight,
                   kQuiet | SWP_NOMOVE);

    if (CPropertyPage* pPage = GetPage(0); pPage && pPage->m_hWnd) {
        RECT rcPage = ChildRect(pPage->m_hWnd, m_hWnd);
        ::SetWindowPos(pPage->m_hWnd, nullptr, rcPage.left, rcPage.top + tabHeight + 6, rcPage.right - rcPage.left,
                       rcPage.bottom - rcPage.top - 6, kQuiet);
    }

    // The outer rectangle in the sheet's own client coordinates.
    RECT rcOuter{};
    GetWindowRect(&rcOuter);
    ScreenToClient(&rcOuter);
    RECT rcClient{};
    GetClientRect(&rcClient);
    int left = rcOuter.left, right = rcOuter.right, clientHeight = rcClient.bottom;
    int buttonWidth = (width - 14) / 6;
    int y = clientHeight - 4;
    if (HWND hOk = ::GetDlgItem(m_hWnd, IDOK)) {
        RECT rc = ChildRect(hOk, m_hWnd);
        y = clientHeight - 4 - (rc.bottom - rc.top);
        ::SetWindowPos(hOk, nullptr, left + 7, y, buttonWidth, rc.bottom - rc.top, kQuiet);
        CString strSave;
        strSave.LoadString(IDS_SAVE);
        ::SetWindowTextW(hOk, strSave);
    }
    if (HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL)) {
        RECT rc = ChildRect(hCancel, m_hWnd);
        int cancelY = ::GetDlgItem(m_hWnd, IDOK) ? y : clientHeight - 4 - (rc.bottom - rc.top);
        ::SetWindowPos(hCancel, nullptr, right - 7 - buttonWidth, cancelY, buttonWidth, rc.bottom - rc.top, kQuiet);
    }

    m_editDescription.CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_MULTILINE,
                               left + 7, y - 68, width - 14, 60, m_hWnd, nullptr);
    m_editDescription.SetReadOnly(TRUE);
    CFont* pFont = theApp.GetDescriptionFont();
    HFONT hFont = pFont ? pFont->GetSafeHandle() : nullptr;
    m_editDescription.SetFont(hFont, TRUE);

    CString strLabel;
    strLabel.LoadString(IDS_DESCRIPTION_LABEL);
    m_staticDescription.CreateEx(0, L"STATIC", strLabel, WS_CHILD | WS_VISIBLE, left + 7, y - 84, width - 14, 12,
                                 m_hWnd, nullptr);
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

void CBaseSheet::OnDestroy() {
    SetMenu(nullptr);
    m_menu.DestroyMenu();
    CPropertySheet::OnDestroy();
}
