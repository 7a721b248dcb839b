#include "framework/CPropertyPage.h"

#include "framework/DialogTemplate.h"

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
    m_psp = PROPSHEETPAGEW{};
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEW(nIDTemplate);
    m_psp.pfnDlgProc = &CPropertyPage::PageDialogProc;
    m_psp.lParam = LPARAM(this);
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption;
    }
}

PROPSHEETPAGEW CPropertyPage::PreparePage() {
    PROPSHEETPAGEW page = m_psp;
    if (!(page.dwFlags & PSP_DLGINDIRECT) && LoadPageTemplateInSheetFont(m_nIDTemplate, m_template)) {
        page.dwFlags |= PSP_DLGINDIRECT;
        page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(m_template.data());
    }
    return page;
}

void CPropertyPage::SetModified(BOOL bChanged) {
    if (!m_hWnd)
        return;
    ::SendMessageW(::GetParent(m_hWnd), bChanged ? PSM_CHANGED : PSM_UNCHANGED, WPARAM(m_hWnd), 0);
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pPage = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    return pPage->AttachOnInitDialog(hWnd);
}
