#include "interface/CVNInterface.h"

#include "dialog/CVNSheet.h"
#include "interface/CVarnelApp.h"
#include "resource.h"

#include <new>

CVNInterfaceImpl::~CVNInterfaceImpl() { Free(); }

int CVNInterfaceImpl::Load(LPCWSTR pszPath, CWnd* pParent) {
    Free();  // a second Load replaces the earlier sheet instead of leaking it
    m_pSheet = new (std::nothrow) CVNSheet(IDS_CAPTION, pszPath, pParent, 0);
    return 0;
}

int CVNInterfaceImpl::Free() {
    if (m_pSheet) {
        if (theApp.m_pMainWnd == m_pSheet)
            theApp.m_pMainWnd = nullptr;
        delete m_pSheet;
        m_pSheet = nullptr;
    }
    return 0;
}

int CVNInterfaceImpl::Show() {
    if (!m_pSheet)
        return -1;
    theApp.m_pMainWnd = m_pSheet;
    theApp.InitCommonControlsOnce();
    if (!theApp.m_wndHelp.GetSafeHwnd())
        theApp.m_wndHelp.Create(m_pSheet, VNTT_BALLOON, 8, nullptr);
    m_pSheet->DoModal();
    return 0;
}
