// The two pages whose pairs are chosen from drop-down lists of fixed values.
#pragma once

#include "pages/CBasePage.h"
#include "resource.h"

#include <vector>

class CFixedValuePage : public CBasePage {
public:
    // The two drop-down lists' values in their order; nFirstHelpId: the
    // first of five consecutive help strings, for the list, Insert, Delete,
    // the first and the second drop-down list.
    CFixedValuePage(UINT nIDTemplate, UINT nFirstHelpId, const std::vector<CString>& firstValues,
                    const std::vector<CString>& secondValues)
        : CBasePage(nIDTemplate),
          m_nFirstHelpId(nFirstHelpId),
          m_firstValues(firstValues),
          m_secondValues(secondValues) {}

    BOOL CommitControls() override;
    // Fills both lists and selects their first entries.
    BOOL FillControls() override;
    void RegisterHelp() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    UINT m_nFirstHelpId;
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
