#include "pages/FixedValuePages.h"

#include "pages/FixedValueLists.h"

namespace {

void Fill(const CComboBox& combo, const std::vector<CString>& values) {
    combo.ResetContent();
    for (const CString& value : values)
        combo.AddString(value);
    combo.SetCurSel(0);
}

}  // namespace

BOOL CFixedValuePage::FillControls() {
    Fill(m_wndCombo1, m_firstValues);
    Fill(m_wndCombo2, m_secondValues);
    return CInputPairPage::FillControls();
}

CPageColors::CPageColors()
    : CFixedValuePage(IDD_PAGE_COLORS, KindColors, IDS_HELP_COLORS_LIST, FixedValueLists::MicroStationColors(),
                      FixedValueLists::AutoCadColors()) {}

CPageWeights::CPageWeights()
    : CFixedValuePage(IDD_PAGE_WEIGHTS, KindWeights, IDS_HELP_WEIGHTS_LIST, FixedValueLists::MicroStationWeights(),
                      FixedValueLists::AutoCadWeights()) {}
