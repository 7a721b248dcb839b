#include "interface/CVarnelApp.h"

#include "framework/ActivationContext.h"
#include "framework/WindowDpi.h"
#include "resource.h"

CVarnelApp theApp;

CVarnelApp::CVarnelApp() {
    wchar_t directory[260];
    DWORD length = ::GetCurrentDirectoryW(260, directory);
    if (length > 0 && length < 260)
        m_strStartDir = CString(reinterpret_cast<const char16_t*>(directory), int(length));
}

CVarnelApp::~CVarnelApp() {
    if (m_wndHelp.m_hWnd)
        m_wndHelp.DestroyWindow();
}

BOOL CVarnelApp::InitInstance() {
    CWinApp::InitInstance();
    if (!m_hIcon)
        m_hIcon = ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_VARNEL));
    return TRUE;
}

int CVarnelApp::ExitInstance() {
    if (m_wndHelp.m_hWnd)
        m_wndHelp.DestroyWindow();
    ReleaseModuleActivationContext();
    return CWinApp::ExitInstance();
}

void CVarnelApp::InitCommonControlsOnce() {
    if (m_bCommonControls)
        return;
    m_bCommonControls = true;
    CActivationContextScope visualStyles;
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof(init);
    init.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&init);
}

CFont* CVarnelApp::GetDescriptionFont() {
    if (m_fontDescription.GetSafeHandle())
        return &m_fontDescription;
    if (!m_pMainWnd || !m_pMainWnd->GetSafeHwnd())
        return nullptr;
    LOGFONTW logFont{};
    HFONT hFont = m_pMainWnd->GetFont();
    if (!hFont || ::GetObjectW(hFont, sizeof(logFont), &logFont) != sizeof(logFont)) {
        logFont = LOGFONTW{};
        logFont.lfHeight = DpiScaleOf(m_pMainWnd->GetSafeHwnd())(14);  // 14 pixels at 96 DPI
        logFont.lfPitchAndFamily = FF_SWISS;
        lstrcpynW(logFont.lfFaceName, L"Tahoma", LF_FACESIZE);
    }
    if (!m_fontDescription.CreateFontIndirect(&logFont))
        return nullptr;
    return &m_fontDescription;
}
