#include "pages/FixedValuePages.h"

#include "interface/CVarnelApp.h"
#include "pages/FixedValueLists.h"

namespace {

void Fill(const CComboBox& combo, const std::vector<CString>& values) {
    combo.ResetContent();
    for (const CString& value : values)
        combo.AddString(value);
    combo.SetCurSel(0);
}

}  // namespace

void CFixedValuePage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_LIST, m_wndList);
    DDX_Control(pDX, IDC_INSERT, m_wndInsert);
    DDX_Control(pDX, IDC_DELETE, m_wndDelete);
    DDX_Control(pDX, IDC_COMBO1, m_wndCombo1);
    DDX_Control(pDX, IDC_COMBO2, m_wndCombo2);
}

BOOL CFixedValuePage::CommitControls() {
    UpdateData(TRUE);
    return TRUE;
}

BOOL CFixedValuePage::FillControls() {
    Fill(m_wndCombo1, m_firstValues);
    Fill(m_wndCombo2, m_secondValues);
    UpdateButtons();
    UpdateData(FALSE);
    return TRUE;
}

void CFixedValuePage::RegisterHelp() {
    const int controls[] = {IDC_LIST, IDC_INSERT, IDC_DELETE, IDC_COMBO1, IDC_COMBO2};
    UINT nHelpId = m_nFirstHelpId;
    for (int nId : controls)
        theApp.m_wndHelp.AddTool(GetDlgItem(nId), nHelpId++, IDI_VARNEL);
}

CPageColors::CPageColors()
    : CFixedValuePage(IDD_PAGE_COLORS, IDS_HELP_COLORS_LIST, FixedValueLists::MicroStationColors(),
                      FixedValueLists::AutoCadColors()) {}

CPageWeights::CPageWeights()
    : CFixedValuePage(IDD_PAGE_WEIGHTS, IDS_HELP_WEIGHTS_LIST, FixedValueLists::MicroStationWeights(),
                      FixedValueLists::AutoCadWeights()) {}
