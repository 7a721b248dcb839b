// The library's entry point. Under the loader lock it only starts and ends
// the application object; nothing here creates windows or loads modules.
#include "interface/CVarnelApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
    try {
        switch (dwReason) {
        case DLL_PROCESS_ATTACH:
            ::DisableThreadLibraryCalls(hInstance);
            theApp.InitInstance();
            break;
        case DLL_PROCESS_DETACH:
            // At process exit (lpReserved set) the windows are gone already.
            if (!lpReserved)
                theApp.ExitInstance();
            break;
        }
    } catch (...) {
    }
    return TRUE;
}
