// The five exported functions. No C++ exception leaves them: a failure
// inside gives the result of a call that did nothing.
#include "interface/CVNInterface.h"
#include "interface/CVarnelApp.h"

#include <new>

extern "C" {

CVNInterface* CreateVNInterface() {
    try {
        return new (std::nothrow) CVNInterfaceImpl();
    } catch (...) {
        return nullptr;
    }
}

void DeleteVNInterface(CVNInterface* iface) {
    try {
        delete iface;
    } catch (...) {
    }
}

int FreeInterface(CVNInterface* iface) {
    if (!iface)
        return -1;
    try {
        return iface->Free();
    } catch (...) {
        return 0;
    }
}

int LoadInterface(CVNInterface* iface, const char* path, HWND hParent) {
    if (!iface)
        return -1;
    try {
        CString widePath;
        if (path && *path) {
            int length = ::MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
            if (length > 1) {
                std::u16string buffer(size_t(length), u'\0');
                ::MultiByteToWideChar(CP_ACP, 0, path, -1, reinterpret_cast<LPWSTR>(buffer.data()), length);
                buffer.resize(size_t(length - 1));
                widePath = CString(std::move(buffer));
            }
        }
        return iface->Load(widePath, CWnd::FromHandle(hParent));
    } catch (...) {
        return 0;
    }
}

int ShowVarnelDlg(CVNInterface* iface) {
    if (!iface)
        return -1;
    try {
        return iface->Show();
    } catch (...) {
        return 0;
    }
}

}  // extern "C"
