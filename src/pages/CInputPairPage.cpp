#include "pages/CInputPairPage.h"

#include "framework/RecreateDlgItem.h"
#include "interface/CVarnelApp.h"

void CInputPairPage::DoDataExchange(CDataExchange* pDX) {
    // The list is an owner-data list view, a style a live control cannot
    // take on: the template's list is replaced once, before it is bound.
    if (!m_wndList.m_hWnd)
        RecreateDlgItem(m_hWnd, IDC_LIST, LVS_OWNERDATA);
    DDX_Control(pDX, IDC_LIST, m_wndList);
    DDX_Control(pDX, IDC_INSERT, m_wndInsert);
    DDX_Control(pDX, IDC_DELETE, m_wndDelete);
    if (m_inputs == kDropDownLists) {
        DDX_Control(pDX, IDC_COMBO1, m_wndCombo1);
        DDX_Control(pDX, IDC_COMBO2, m_wndCombo2);
    } else {
        DDX_Control(pDX, IDC_EDIT1, m_wndEdit1);
        DDX_Control(pDX, IDC_EDIT2, m_wndEdit2);
    }
}

BOOL CInputPairPage::CommitControls() {
    UpdateData(TRUE);
    return TRUE;
}

BOOL CInputPairPage::FillControls() {
    UpdateButtons();
    UpdateData(FALSE);
    return TRUE;
}

void CInputPairPage::RegisterHelp() {
    const int edits[] = {IDC_LIST, IDC_INSERT, IDC_DELETE, IDC_EDIT2, IDC_EDIT1};
    const int lists[] = {IDC_LIST, IDC_INSERT, IDC_DELETE, IDC_COMBO1, IDC_COMBO2};
    UINT nHelpId = m_nFirstHelpId;
    for (int nId : m_inputs == kDropDownLists ? lists : edits)
        theApp.m_wndHelp.AddTool(GetDlgItem(nId), nHelpId++, IDI_VARNEL);
}
