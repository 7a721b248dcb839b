// The library's exported functions, as a host sees them. Exported by name
// with ordinals 1-5 (Varnel.def). Every function but DeleteVNInterface
// returns -1 for a null interface.
#pragma once

#include <windows.h>

class CVNInterface;

extern "C" {
typedef CVNInterface* (*PFN_CreateVNInterface)();
typedef void (*PFN_DeleteVNInterface)(CVNInterface* iface);
typedef int (*PFN_FreeInterface)(CVNInterface* iface);
typedef int (*PFN_LoadInterface)(CVNInterface* iface, const char* path, HWND hParent);
typedef int (*PFN_ShowVarnelDlg)(CVNInterface* iface);
}
