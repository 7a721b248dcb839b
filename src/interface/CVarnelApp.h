// CVarnelApp: the library's one application object, theApp. It lives from
// the library's load to its unload and holds what outlives any one run of
// the dialog: the help control, the description font, the start directory.
#pragma once

#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "help/CVNToolTipCtrl.h"

class CVarnelApp : public CWinApp {
public:
    CVarnelApp();
    ~CVarnelApp() override;

    // Loads the icon. Runs while the library is being loaded, so it does
    // nothing that could wait on another module.
    BOOL InitInstance() override;
    // Destroys the help control's window (the library is being unloaded).
    int ExitInstance() override;
    // Initialises the common controls; done on the first show of the dialog.
    void InitCommonControlsOnce();

    CString GetStartDirectory() const { return m_strStartDir; }
    // The description area's font: the main window's font (or Tahoma 14 when
    // it has none), created once per process; null before the main window
    // has a handle or when the font cannot be created.
    CFont* GetDescriptionFont();

    HICON m_hIcon = nullptr;
    CVNToolTipCtrl m_wndHelp;
    CFont m_fontDescription;
    CString m_strStartDir;

private:
    bool m_bCommonControls = false;
};

extern CVarnelApp theApp;
