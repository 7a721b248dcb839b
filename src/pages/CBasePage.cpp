#include "pages/CBasePage.h"

#include "pages/CChangeFlagHolder.h"
#include "resource.h"

CBasePage::CBasePage(UINT nIDTemplate) : CPropertyPage(nIDTemplate, 0) {
    m_psp.dwFlags &= ~DWORD(PSP_HASHELP);
}

BOOL CBasePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    RefreshList();
    RegisterHelp();
    return FillControls();
}

BOOL CBasePage::CommitControls() { return TRUE; }
BOOL CBasePage::FillControls() { return TRUE; }
void CBasePage::RegisterHelp() {}
void CBasePage::UpdateButtons() {}

void CBasePage::SetPair(CString key, CString value) {
    CChangeFlagHolder* pSheet = nullptr;
    if (m_hWnd) {
        CWnd* pOwner = GetParentOwner();
        if (pOwner && pOwner->m_hWnd)
            pSheet = dynamic_cast<CChangeFlagHolder*>(pOwner);
    }
    bool changed = m_table.SetPair(std::move(key), std::move(value));
    if (changed && pSheet && !(pSheet->GetChangeFlags() & kUnsavedChanges))
        pSheet->SetChangeFlag(kUnsavedChanges, TRUE);
}

CString CBasePage::GetValue(CString key) const { return m_table.GetValue(key); }
void CBasePage::RemovePair(CString key) { m_table.RemovePair(key); }
void CBasePage::ClearPairs() { m_table.ClearPairs(); }

BOOL CBasePage::RefreshList() { return TRUE; }

BOOL CBasePage::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_INSERT && HIWORD(wParam) == BN_CLICKED) {
        OnInsert();
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CBasePage::OnInsert() {
    CString first, second;
    if (m_wndEdit1.m_hWnd && m_wndEdit2.m_hWnd) {
        first = m_wndEdit1.GetWindowText();
        second = m_wndEdit2.GetWindowText();
        first.Trim();
        second.Trim();
        m_wndEdit1.SetWindowText(first);
        m_wndEdit2.SetWindowText(second);
    }
    if (first.IsEmpty())
        return;
    SetPair(first, second);
}
