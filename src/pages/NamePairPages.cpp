#include "pages/NamePairPages.h"

#include "interface/CVarnelApp.h"

void CNamePairPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_LIST, m_wndList);
    DDX_Control(pDX, IDC_INSERT, m_wndInsert);
    DDX_Control(pDX, IDC_DELETE, m_wndDelete);
    DDX_Control(pDX, IDC_EDIT1, m_wndEdit1);
    DDX_Control(pDX, IDC_EDIT2, m_wndEdit2);
}

BOOL CNamePairPage::CommitControls() {
    UpdateData(TRUE);
    return TRUE;
}

BOOL CNamePairPage::FillControls() {
    UpdateButtons();
    UpdateData(FALSE);
    return TRUE;
}

void CNamePairPage::RegisterHelp() {
    const int controls[] = {IDC_LIST, IDC_INSERT, IDC_DELETE, IDC_EDIT2, IDC_EDIT1};
    UINT nHelpId = m_nFirstHelpId;
    for (int nId : controls)
        theApp.m_wndHelp.AddTool(GetDlgItem(nId), nHelpId++, IDI_VARNEL);
}
