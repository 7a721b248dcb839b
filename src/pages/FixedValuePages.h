// The two pages whose pairs are chosen from drop-down lists of fixed values.
#pragma once

#include "pages/CBasePage.h"
#include "resource.h"

class CFixedValuePage : public CBasePage {
public:
    using CBasePage::CBasePage;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_INSERT, m_wndInsert);
        DDX_Control(pDX, IDC_DELETE, m_wndDelete);
    }
};

class CPageColors : public CFixedValuePage {
public:
    CPageColors() : CFixedValuePage(IDD_PAGE_COLORS) {}
};

class CPageWeights : public CFixedValuePage {
public:
    CPageWeights() : CFixedValuePage(IDD_PAGE_WEIGHTS) {}
};
