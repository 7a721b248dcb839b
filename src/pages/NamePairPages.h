// The five pages whose pairs are edited as two names in two edit boxes.
#pragma once

#include "pages/CBasePage.h"
#include "resource.h"

class CNamePairPage : public CBasePage {
public:
    using CBasePage::CBasePage;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_INSERT, m_wndInsert);
        DDX_Control(pDX, IDC_DELETE, m_wndDelete);
        DDX_Control(pDX, IDC_EDIT1, m_wndEdit1);
        DDX_Control(pDX, IDC_EDIT2, m_wndEdit2);
    }
};

class CPageAliases : public CNamePairPage {
public:
    CPageAliases() : CNamePairPage(IDD_PAGE_ALIASES) {}
};

class CPageMapCmd : public CNamePairPage {
public:
    CPageMapCmd() : CNamePairPage(IDD_PAGE_MAPCMD) {}
};

class CPageLineStyles : public CNamePairPage {
public:
    CPageLineStyles() : CNamePairPage(IDD_PAGE_LINESTYLES) {}
};

class CPageCells : public CNamePairPage {
public:
    CPageCells() : CNamePairPage(IDD_PAGE_CELLS) {}
};

class CPageLevels : public CNamePairPage {
public:
    CPageLevels() : CNamePairPage(IDD_PAGE_LEVELS) {}
};
