// The two pages whose pairs are chosen from drop-down lists of fixed values.
#pragma once

#include "pages/CInputPairPage.h"

#include <vector>

class CFixedValuePage : public CInputPairPage {
public:
    // The two drop-down lists' values in their order.
    CFixedValuePage(UINT nIDTemplate, MappingKind kind, UINT nFirstHelpId, const std::vector<CString>& firstValues,
                    const std::vector<CString>& secondValues)
        : CInputPairPage(nIDTemplate, kind, nFirstHelpId, kDropDownLists),
          m_firstValues(firstValues),
          m_secondValues(secondValues) {}

    // Fills both lists and selects their first entries, then does what
    // every page does.
    BOOL FillControls() override;

private:
    const std::vector<CString>& m_firstValues;
    const std::vector<CString>& m_secondValues;
};

class CPageColors : public CFixedValuePage {
public:
    CPageColors();
};

class CPageWeights : public CFixedValuePage {
public:
    CPageWeights();
};
