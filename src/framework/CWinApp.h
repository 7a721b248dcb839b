// CWinApp: the library's application object base. The library starts it on
// first use and ends it when it is unloaded.
#pragma once

#include "framework/CWnd.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The window the library is running (the sheet), or null.
    CWnd* m_pMainWnd = nullptr;
};

// The one application object.
CWinApp* AfxGetApp();
