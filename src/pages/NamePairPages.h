// The five pages whose pairs are edited as two names in two edit boxes.
#pragma once

#include "pages/CInputPairPage.h"

class CPageAliases : public CInputPairPage {
public:
    CPageAliases()
        : CInputPairPage(IDD_PAGE_ALIASES, KindAliases, IDS_HELP_ALIASES_LIST, kEditBoxes, IDS_COL_COMMANDS,
                         IDS_COL_SYNONYMS) {}
};

class CPageMapCmd : public CInputPairPage {
public:
    CPageMapCmd() : CInputPairPage(IDD_PAGE_MAPCMD, KindMappingCommands, IDS_HELP_MAPCMD_LIST, kEditBoxes) {}
};

class CPageLineStyles : public CInputPairPage {
public:
    CPageLineStyles() : CInputPairPage(IDD_PAGE_LINESTYLES, KindLineStyles, IDS_HELP_LINESTYLES_LIST, kEditBoxes) {}
};

class CPageCells : public CInputPairPage {
public:
    CPageCells() : CInputPairPage(IDD_PAGE_CELLS, KindCells, IDS_HELP_CELLS_LIST, kEditBoxes) {}
};

class CPageLevels : public CInputPairPage {
public:
    CPageLevels() : CInputPairPage(IDD_PAGE_LEVELS, KindLevels, IDS_HELP_LEVELS_LIST, kEditBoxes) {}
};
