#include "framework/CPropertySheet.h"

#include "framework/ActivationContext.h"

namespace {
// The sheet whose window PropertySheetW is creating (its callback has no
// parameter of ours).
thread_local CPropertySheet* t_pCreatingSheet = nullptr;
}

CPropertySheet::CPropertySheet() : CPropertySheet(0) {}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_hWndOwner(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr) {
    m_psh = PROPSHEETHEADERW{};
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.nStartPage = iSelectPage;
    if (nIDCaption != 0)
        m_strCaption.LoadString(nIDCaption);
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (pPage)
        m_pages.push_back(pPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[size_t(nPage)] : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd)
        return int(m_psh.nStartPage);
    HWND hPage = PropSheet_GetCurrentPageHwnd(m_hWnd);
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (hPage && m_pages[i]->m_hWnd == hPage)
            return int(i);
    return -1;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == pPage)
            return int(i);
    return -1;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (!m_hWnd) {
        m_psh.nStartPage = UINT(nPage);
        return TRUE;
    }
    return BOOL(SendMessage(PSM_SETCURSEL, WPARAM(nPage), 0));
}

HWND CPropertySheet::GetTabControl() const { return m_hWnd ? PropSheet_GetTabControl(m_hWnd) : nullptr; }

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM lParam) {
    switch (message) {
    case PSCB_PRECREATE:
        // Hidden until OnInitDialog has laid it out. Both template forms keep
        // the style at offset 12 (extended) or 0 (plain).
        if (lParam) {
            auto* words = reinterpret_cast<WORD*>(lParam);
            bool extended = words[0] == 1 && words[1] == 0xFFFF;
            auto* style = reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(lParam) + (extended ? 12 : 0));
            *style &= ~DWORD(WS_VISIBLE);
        }
        break;
    case PSCB_INITIALIZED:
        if (t_pCreatingSheet && !t_pCreatingSheet->m_hWnd)
            t_pCreatingSheet->SubclassWindow(hWnd);
        break;
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal() {
    if (m_hWnd || m_pages.empty())
        return -1;
    CActivationContextScope visualStyles;
    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage* pPage : m_pages)
        pages.push_back(pPage->PreparePage());
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK;
    m_psh.hwndParent = m_hWndOwner;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = UINT(pages.size());
    m_psh.ppsp = pages.data();
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;
    if (m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;

    m_bModalEnded = false;
    m_nModalResult = IDCANCEL;
    t_pCreatingSheet = this;
    HWND hWnd = HWND(::PropertySheetW(&m_psh));
    t_pCreatingSheet = nullptr;
    if (!hWnd || hWnd == HWND(-1))
        return -1;
    if (!m_hWnd)
        SubclassWindow(hWnd);

    bool disabledOwner = m_hWndOwner && ::IsWindowEnabled(m_hWndOwner);
    auto finish = [&] {
        if (disabledOwner)
            ::EnableWindow(m_hWndOwner, TRUE);
        if (m_hWndOwner && ::GetActiveWindow() == hWnd)
            ::SetActiveWindow(m_hWndOwner);
        ::DestroyWindow(hWnd);
    };
    try {
        OnInitDialog();
        if (disabledOwner)
            ::EnableWindow(m_hWndOwner, FALSE);
        ShowWindow(SW_SHOW);
        RunModalLoop();
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return m_nModalResult;
}

void CPropertySheet::RunModalLoop() {
    MSG msg;
    while (!m_bModalEnded) {
        if (!::GetMessageW(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));  // leave WM_QUIT to the host's loop
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        // The system's sheet ends itself by dropping its current page.
        if (!m_bModalEnded && (!::IsWindow(m_hWnd) || !PropSheet_GetCurrentPageHwnd(m_hWnd)))
            break;
    }
}

void CPropertySheet::EndDialog(int nEndID) {
    m_nModalResult = nEndID;
    m_bModalEnded = true;
    if (m_hWnd)
        PostMessage(WM_NULL);  // wakes the loop
}

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    CPropertyPage* pPage = GetActivePage();
    if (pPage && pPage->m_hWnd && (pMsg->hwnd == pPage->m_hWnd || ::IsChild(pPage->m_hWnd, pMsg->hwnd)) &&
        pPage->PreTranslateMessage(pMsg))
        return TRUE;
    return m_hWnd && PropSheet_IsDialogMessage(m_hWnd, pMsg);
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        OnSysCommand(UINT(wParam), lParam);
        return 0;
    case WM_CLOSE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CPropertySheet::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == SC_CLOSE)
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    else
        DefWindowProc(WM_SYSCOMMAND, nID, lParam);
}
