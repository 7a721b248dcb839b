// What the seven pages do alike beyond CBasePage: bind the list, the two
// buttons and one pair of inputs, commit and fill them, and register five
// consecutive help strings. The name-pair pages use the edit boxes, Colors
// and Line Weights the drop-down lists.
#pragma once

#include "pages/CBasePage.h"
#include "resource.h"

class CInputPairPage : public CBasePage {
public:
    enum Inputs { kEditBoxes, kDropDownLists };

    // nFirstHelpId: the first of five consecutive help strings, for the list,
    // Insert, Delete, then the second and the first edit box, or the first
    // and the second drop-down list. The column titles as CBasePage takes them.
    CInputPairPage(UINT nIDTemplate, MappingKind kind, UINT nFirstHelpId, Inputs inputs,
                   UINT nFirstColumnTitle = IDS_COL_MICROSTATION, UINT nSecondColumnTitle = IDS_COL_AUTOCAD)
        : CBasePage(nIDTemplate, kind, nFirstColumnTitle, nSecondColumnTitle),
          m_nFirstHelpId(nFirstHelpId),
          m_inputs(inputs) {}

    BOOL CommitControls() override;
    BOOL FillControls() override;
    void RegisterHelp() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    UINT m_nFirstHelpId;
    Inputs m_inputs;
};
