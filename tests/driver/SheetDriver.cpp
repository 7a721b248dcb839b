#include "driver/SheetDriver.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

template <typename Function>
void Resolve(HMODULE hModule, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(hModule, name)));
}

template <typename Predicate>
bool WaitUntil(Predicate predicate, int milliseconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        ::Sleep(10);
    }
    return true;
}

struct ThreadWindowSearch {
    DWORD threadId;
    HWND found;
};

// The visible or hidden "Commands Mapping" sheet of this process. Tests run
// in parallel processes under one wineserver, so a search by caption alone
// could find another test's sheet.
HWND FindOwnSheet() {
    struct Search {
        HWND found = nullptr;
    } search;
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hWnd, &pid);
            if (pid != ::GetCurrentProcessId())
                return TRUE;
            wchar_t name[32] = {};
            ::GetClassNameW(hWnd, name, 32);
            if (wcscmp(name, L"#32770") != 0 || driver::Text(hWnd) != L"Commands Mapping")
                return TRUE;
            reinterpret_cast<Search*>(lParam)->found = hWnd;
            return FALSE;
        },
        LPARAM(&search));
    return search.found;
}

}  // namespace

VarnelLibrary::VarnelLibrary() {
    m_hModule = ::LoadLibraryA(VARNEL_DLL_PATH);
    if (!m_hModule)
        return;
    Resolve(m_hModule, "CreateVNInterface", Create);
    Resolve(m_hModule, "DeleteVNInterface", Delete);
    Resolve(m_hModule, "FreeInterface", Free);
    Resolve(m_hModule, "LoadInterface", Load);
    Resolve(m_hModule, "ShowVarnelDlg", Show);
}

VarnelLibrary::~VarnelLibrary() {
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

DialogRun::DialogRun(VarnelLibrary& library, const std::string& mappingPath) : m_library(library) {
    m_pInterface = library.Create();
    library.Load(m_pInterface, mappingPath.c_str(), nullptr);
}

DialogRun::~DialogRun() {
    if (m_bShowing) {
        HWND hSheet = FindOwnSheet();
        if (hSheet)
            ::PostMessageW(hSheet, WM_COMMAND, IDCANCEL, 0);
        if (auto box = driver::WaitForMessageBox(hSheet, 500); box.hWnd)
            driver::Answer(box, IDYES);
    }
    if (m_thread.joinable())
        m_thread.join();
    m_library.Free(m_pInterface);
    m_library.Delete(m_pInterface);
}

HWND DialogRun::Open() {
    if (m_thread.joinable())
        m_thread.join();
    m_bShowing = true;
    m_thread = std::thread([this] {
        m_dwThreadId = ::GetCurrentThreadId();
        m_nShowResult = m_library.Show(m_pInterface);
        m_bShowing = false;
    });
    HWND hSheet = nullptr;
    WaitUntil(
        [&] {
            hSheet = FindOwnSheet();
            return (hSheet && ::IsWindowVisible(hSheet)) || !m_bShowing;
        },
        5000);
    if (hSheet)
        driver::Settle(hSheet);
    return hSheet && ::IsWindowVisible(hSheet) ? hSheet : nullptr;
}

bool DialogRun::WaitClosed(int milliseconds) {
    if (!WaitUntil([this] { return !m_bShowing; }, milliseconds))
        return false;
    if (m_thread.joinable())
        m_thread.join();
    return true;
}

namespace driver {

void Settle(HWND hSheet, int milliseconds) {
    ::PostMessageW(hSheet, WM_NULL, 0, 0);
    ::Sleep(DWORD(milliseconds / 2));
    ::SendMessageTimeoutW(hSheet, WM_NULL, 0, 0, SMTO_NORMAL, DWORD(milliseconds), nullptr);
    ::PostMessageW(hSheet, WM_NULL, 0, 0);
    ::Sleep(DWORD(milliseconds / 2));
}

std::wstring Text(HWND hWnd) {
    wchar_t buffer[1024] = {};
    ::SendMessageW(hWnd, WM_GETTEXT, 1024, LPARAM(buffer));
    return buffer;
}

HWND SelectTab(HWND hSheet, int nTab) {
    ::SendMessageW(hSheet, PSM_SETCURSEL, WPARAM(nTab), 0);
    Settle(hSheet);
    return CurrentPage(hSheet);
}

HWND CurrentPage(HWND hSheet) { return HWND(::SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

namespace {
HWND DirectChild(HWND hSheet, const wchar_t* className, bool multiLine) {
    for (HWND hChild = ::GetWindow(hSheet, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        ::GetClassNameW(hChild, name, 64);
        bool isMultiLine = (::GetWindowLongW(hChild, GWL_STYLE) & ES_MULTILINE) != 0;
        if (_wcsicmp(name, className) == 0 && ::GetDlgCtrlID(hChild) == 0 && (!multiLine || isMultiLine))
            return hChild;
    }
    return nullptr;
}
}  // namespace

HWND DescriptionEdit(HWND hSheet) { return DirectChild(hSheet, L"Edit", true); }
HWND DescriptionLabel(HWND hSheet) { return DirectChild(hSheet, L"Static", false); }

void Focus(HWND hWnd) {
    DWORD uiThread = ::GetWindowThreadProcessId(hWnd, nullptr);
    DWORD self = ::GetCurrentThreadId();
    ::AttachThreadInput(self, uiThread, TRUE);
    ::SetFocus(hWnd);
    ::AttachThreadInput(self, uiThread, FALSE);
    Settle(::GetAncestor(hWnd, GA_ROOT));
}

void Type(HWND hWnd, const std::wstring& text) {
    for (wchar_t ch : text)
        ::PostMessageW(hWnd, WM_CHAR, WPARAM(ch), 1);
    Settle(::GetAncestor(hWnd, GA_ROOT));
}

void PressKey(HWND hWnd, UINT vk) {
    UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, LPARAM(1 | (scan << 16)));
    ::PostMessageW(hWnd, WM_KEYUP, vk, LPARAM(1 | (scan << 16) | (1u << 30) | (1u << 31)));
    Settle(::GetAncestor(hWnd, GA_ROOT));
}

void Click(HWND hButton) { ::PostMessageW(hButton, BM_CLICK, 0, 0); }

MessageBoxSeen WaitForMessageBox(HWND hOwner, int milliseconds) {
    MessageBoxSeen box;
    DWORD threadId = hOwner ? ::GetWindowThreadProcessId(hOwner, nullptr) : 0;
    WaitUntil(
        [&] {
            ThreadWindowSearch search{threadId, nullptr};
            ::EnumThreadWindows(
                threadId,
                [](HWND hWnd, LPARAM lParam) -> BOOL {
                    auto* pSearch = reinterpret_cast<ThreadWindowSearch*>(lParam);
                    wchar_t name[32] = {};
                    ::GetClassNameW(hWnd, name, 32);
                    if (wcscmp(name, L"#32770") == 0 && ::GetDlgItem(hWnd, 0xFFFF) && ::IsWindowVisible(hWnd)) {
                        pSearch->found = hWnd;
                        return FALSE;
                    }
                    return TRUE;
                },
                LPARAM(&search));
            box.hWnd = search.found;
            return box.hWnd != nullptr;
        },
        milliseconds);
    if (box.hWnd) {
        ::Sleep(100);  // some boxes set their text after they are shown
        box.caption = Text(box.hWnd);
        box.text = Text(::GetDlgItem(box.hWnd, 0xFFFF));
    }
    return box;
}

void Answer(const MessageBoxSeen& box, int nButton) {
    ::PostMessageW(box.hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED), 0);
    ::Sleep(100);
}

}  // namespace driver

std::string MakeTempFolder(const char* name) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "varnel-" + name + "-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}
