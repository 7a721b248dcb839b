// The five pages whose pairs are edited as two names in two edit boxes.
#pragma once

#include "pages/CBasePage.h"
#include "resource.h"

class CNamePairPage : public CBasePage {
public:
    // nFirstHelpId: the first of the page's five consecutive help strings,
    // for the list, Insert, Delete, the second and the first edit box.
    CNamePairPage(UINT nIDTemplate, UINT nFirstHelpId) : CBasePage(nIDTemplate), m_nFirstHelpId(nFirstHelpId) {}

    BOOL CommitControls() override;
    BOOL FillControls() override;
    void RegisterHelp() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    UINT m_nFirstHelpId;
};

class CPageAliases : public CNamePairPage {
public:
    CPageAliases() : CNamePairPage(IDD_PAGE_ALIASES, IDS_HELP_ALIASES_LIST) {}
};

class CPageMapCmd : public CNamePairPage {
public:
    CPageMapCmd() : CNamePairPage(IDD_PAGE_MAPCMD, IDS_HELP_MAPCMD_LIST) {}
};

class CPageLineStyles : public CNamePairPage {
public:
    CPageLineStyles() : CNamePairPage(IDD_PAGE_LINESTYLES, IDS_HELP_LINESTYLES_LIST) {}
};

class CPageCells : public CNamePairPage {
public:
    CPageCells() : CNamePairPage(IDD_PAGE_CELLS, IDS_HELP_CELLS_LIST) {}
};

class CPageLevels : public CNamePairPage {
public:
    CPageLevels() : CNamePairPage(IDD_PAGE_LEVELS, IDS_HELP_LEVELS_LIST) {}
};
