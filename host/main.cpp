// varnel-host: a sample host that uses Varnel.dll the way a conversion
// program does: load the library by full path, resolve the five exports,
// create, load, show, free, delete, unload, and print each result.
//
//   varnel-host [mapping-file [path-of-Varnel.dll]]
//
// The mapping file is passed on in the ANSI code page; without one the
// library uses "commands.mapping" in the current directory. The library is
// taken from beside this program unless a path is given.
#include "interface/VarnelExports.h"

#include <cstdio>
#include <string>

namespace {

std::wstring LibraryBesideProgram() {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    folder.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return folder + L"Varnel.dll";
}

std::wstring Widen(const char* text) {
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

template <typename Function>
bool Resolve(HMODULE hLibrary, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(hLibrary, name)));
    std::printf("GetProcAddress(%s): %s\n", name, function ? "found" : "missing");
    return function != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // A DPI-aware host, as current programs are: the dialog is laid out for
    // the screen's DPI instead of being stretched as a bitmap.
    ::SetProcessDPIAware();
    const char* mappingPath = argc > 1 ? argv[1] : "";
    std::wstring libraryPath = argc > 2 ? Widen(argv[2]) : LibraryBesideProgram();

    HMODULE hLibrary = ::LoadLibraryW(libraryPath.c_str());
    std::printf("LoadLibrary(%ls): %s\n", libraryPath.c_str(), hLibrary ? "loaded" : "failed");
    if (!hLibrary)
        return 1;

    PFN_CreateVNInterface createInterface;
    PFN_DeleteVNInterface deleteInterface;
    PFN_FreeInterface freeInterface;
    PFN_LoadInterface loadInterface;
    PFN_ShowVarnelDlg showDialog;
    bool resolved = Resolve(hLibrary, "CreateVNInterface", createInterface) &
                    Resolve(hLibrary, "DeleteVNInterface", deleteInterface) &
                    Resolve(hLibrary, "FreeInterface", freeInterface) &
                    Resolve(hLibrary, "LoadInterface", loadInterface) &
                    Resolve(hLibrary, "ShowVarnelDlg", showDialog);
    if (!resolved) {
        ::FreeLibrary(hLibrary);
        return 1;
    }

    CVNInterface* iface = createInterface();
    std::printf("CreateVNInterface: %s\n", iface ? "interface" : "null");
    std::fflush(stdout);
    if (iface) {
        std::printf("LoadInterface(\"%s\"): %d\n", mappingPath, loadInterface(iface, mappingPath, nullptr));
        std::fflush(stdout);
        std::printf("ShowVarnelDlg: %d\n", showDialog(iface));
        std::printf("FreeInterface: %d\n", freeInterface(iface));
        deleteInterface(iface);
        std::printf("DeleteVNInterface: done\n");
    }
    std::printf("FreeLibrary: %s\n", ::FreeLibrary(hLibrary) ? "unloaded" : "failed");
    return iface ? 0 : 1;
}
