#include "driver/SheetDriver.h"

#include "resource.h"

#include <algorithm>
#include <cstdio>

namespace {

// The Find dialog's text box; its label is a static 0xFFFF as a message is.
constexpr int kFindText = 0x480;

bool IsDialog(HWND hWnd) {
    wchar_t name[32] = {};
    ::GetClassNameW(hWnd, name, 32);
    return wcscmp(name, L"#32770") == 0;
}

// A top-level window of this process that matches, waiting up to the time
// for one; null when none came. Tests run in parallel processes under one
// wineserver, so a search by caption alone could find another test's window.
template <typename Predicate>
HWND FindOwnWindow(Predicate matches, int milliseconds = 0) {
    HWND found = nullptr;
    auto search = [&] {
        for (found = ::GetTopWindow(nullptr); found; found = ::GetWindow(found, GW_HWNDNEXT)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(found, &pid);
            if (pid == ::GetCurrentProcessId() && matches(found))
                return true;
        }
        return false;
    };
    driver::WaitUntil(search, milliseconds);
    return found;
}

// The visible or hidden "Commands Mapping" sheet of this process.
HWND FindOwnSheet() {
    return FindOwnWindow([](HWND hWnd) { return IsDialog(hWnd) && driver::Text(hWnd) == L"Commands Mapping"; });
}

}  // namespace

VarnelLibrary::VarnelLibrary() : m_hModule(::LoadLibraryA(VARNEL_DLL_PATH)) {
    auto resolve = [this](auto& function, const char* name) {
        if (m_hModule)
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                reinterpret_cast<void*>(::GetProcAddress(m_hModule, name)));
    };
    resolve(Create, "CreateVNInterface");
    resolve(Delete, "DeleteVNInterface");
    resolve(Free, "FreeInterface");
    resolve(Load, "LoadInterface");
    resolve(Show, "ShowVarnelDlg");
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
        HWND hSheet = m_hSheet ? m_hSheet : FindOwnSheet();
        // What the test left open besides the sheet is a failure of its own;
        // answering one window can bring up another, so a few rounds.
        for (int round = 0; round < 4; ++round) {
            const auto others = driver::OtherDialogs(m_uiThread, hSheet);
            for (const driver::MessageBoxSeen& other : others) {
                ADD_FAILURE() << "The test ended with a window of the dialog open: \"" << other.caption << "\""
                              << (other.text.empty() ? L"" : L": " + other.text);
                driver::Dismiss(other.hWnd);
            }
            if (others.empty())
                break;
        }
        if (m_bShowing && hSheet && ::IsWindow(hSheet)) {
            m_hSheet = hSheet;
            Cancel(IDYES);
        }
        if (!WaitClosed(10000)) {
            ADD_FAILURE() << "The dialog did not close within 10 s of Cancel; ending this test executable.";
            std::fflush(stdout);
            std::fflush(stderr);
            // Its thread cannot be joined, nor the interface freed under it.
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
    }
    if (m_thread.joinable())
        m_thread.join();
    m_library.Free(m_pInterface);
    m_library.Delete(m_pInterface);
}

HWND DialogRun::Open() {
    if (m_bShowing) {
        ADD_FAILURE() << "Open() while the dialog is still open";
        return nullptr;
    }
    if (m_thread.joinable())
        m_thread.join();
    m_bShowing = true;
    m_thread = std::thread([this] {
        m_uiThread = ::GetCurrentThreadId();
        m_nShowResult = m_library.Show(m_pInterface);
        m_bShowing = false;
    });
    HWND hSheet = nullptr;
    driver::WaitUntil([&] { return ((hSheet = FindOwnSheet()) && ::IsWindowVisible(hSheet)) || !m_bShowing; }, 15000);
    if (hSheet)
        driver::Settle(hSheet);
    return m_hSheet = hSheet && ::IsWindowVisible(hSheet) ? hSheet : nullptr;
}

bool DialogRun::WaitClosed(int milliseconds) {
    if (!driver::WaitUntil([this] { return !m_bShowing; }, milliseconds))
        return false;
    if (m_thread.joinable())
        m_thread.join();
    return true;
}

::testing::AssertionResult DialogRun::Save(int milliseconds) {
    driver::Click(::GetDlgItem(m_hSheet, IDOK));
    std::vector<driver::MessageBoxSeen> shown;
    driver::WaitUntil([&] { return !m_bShowing || !(shown = driver::OtherDialogs(m_uiThread, m_hSheet)).empty(); },
                      milliseconds);
    if (!shown.empty()) {
        ::Sleep(100);  // some boxes set their text after they are shown
        auto again = driver::OtherDialogs(m_uiThread, m_hSheet);
        const driver::MessageBoxSeen& box = again.empty() ? shown.front() : again.front();
        driver::Dismiss(box.hWnd);
        return ::testing::AssertionFailure() << "Save showed \"" << box.caption << "\": " << box.text;
    }
    if (!WaitClosed(0))
        return ::testing::AssertionFailure() << "the dialog did not close within " << milliseconds << " ms of Save";
    return ::testing::AssertionSuccess();
}

std::wstring DialogRun::Cancel(int nAnswer) {
    driver::Click(::GetDlgItem(m_hSheet, IDCANCEL));
    auto box = driver::WaitForMessageBox(m_hSheet, 500);
    if (box.hWnd)
        driver::Answer(box, nAnswer);
    if (box.hWnd && nAnswer == IDNO)
        driver::Settle(m_hSheet);
    else
        WaitClosed();
    return box.text;
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
    std::wstring text(size_t(::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(size_t(::SendMessageW(hWnd, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()))));
    return text;
}

::testing::AssertionResult ShowsText(HWND hWnd, const std::wstring& text, int milliseconds) {
    HWND hRoot = ::GetAncestor(hWnd, GA_ROOT);
    if (WaitUntil([&] { return ::PostMessageW(hRoot, WM_NULL, 0, 0), Text(hWnd) == text; }, milliseconds))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "shows \"" << Text(hWnd) << "\", not \"" << text << "\"";
}

HWND SelectTab(HWND hSheet, int nTab) {
    ::SendMessageW(hSheet, PSM_SETCURSEL, WPARAM(nTab), 0);
    Settle(hSheet);
    return CurrentPage(hSheet);
}

HWND CurrentPage(HWND hSheet) { return HWND(::SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// The sheet's first own child (control id 0) of the class with the style bits.
static HWND DirectChild(HWND hSheet, const wchar_t* className, LONG style) {
    HWND hChild = nullptr;
    while ((hChild = ::FindWindowExW(hSheet, hChild, className, nullptr)) &&
           (::GetDlgCtrlID(hChild) != 0 || (::GetWindowLongW(hChild, GWL_STYLE) & style) != style)) {
    }
    return hChild;
}
HWND DescriptionEdit(HWND hSheet) { return DirectChild(hSheet, L"Edit", ES_MULTILINE); }
HWND DescriptionLabel(HWND hSheet) { return DirectChild(hSheet, L"Static", 0); }

std::vector<std::pair<std::wstring, std::wstring>> ListRows(HWND hList) {
    auto cell = [hList](int row, int column) {
        wchar_t buffer[512] = {};
        ListView_GetItemText(hList, row, column, buffer, 512);
        return std::wstring(buffer);
    };
    std::vector<std::pair<std::wstring, std::wstring>> rows;
    for (int i = 0, count = int(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)); i < count; ++i)
        rows.emplace_back(cell(i, 0), cell(i, 1));
    return rows;
}

void Focus(HWND hWnd) {
    DWORD uiThread = ::GetWindowThreadProcessId(hWnd, nullptr), self = ::GetCurrentThreadId();
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
    LPARAM scan = LPARAM(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1 | scan);
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | scan | (1u << 30) | (1u << 31));
    Settle(::GetAncestor(hWnd, GA_ROOT));
}

void PressShortcut(HWND hWnd, UINT vk, bool ctrl, bool shift) {
    // Attached, the two threads share one keyboard state.
    DWORD uiThread = ::GetWindowThreadProcessId(hWnd, nullptr), self = ::GetCurrentThreadId();
    ::AttachThreadInput(self, uiThread, TRUE);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    PressKey(hWnd, vk);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
    ::SetKeyboardState(keys);
    ::AttachThreadInput(self, uiThread, FALSE);
}

void Click(HWND hButton) { ::PostMessageW(hButton, BM_CLICK, 0, 0); }

void InsertPair(HWND hSheet, const std::wstring& key, const std::wstring& value) {
    HWND hPage = CurrentPage(hSheet);
    for (int id : {IDC_EDIT1, IDC_EDIT2})
        ::SendMessageW(::GetDlgItem(hPage, id), WM_SETTEXT, 0, LPARAM(L""));
    Type(::GetDlgItem(hPage, IDC_EDIT1), key);
    Type(::GetDlgItem(hPage, IDC_EDIT2), value);
    Click(::GetDlgItem(hPage, IDC_INSERT));
    Settle(hSheet);
}

MessageBoxSeen WaitForMessageBox(HWND hOwner, int milliseconds) {
    DWORD threadId = hOwner ? ::GetWindowThreadProcessId(hOwner, nullptr) : 0;
    MessageBoxSeen box;
    box.hWnd = FindOwnWindow(
        [&](HWND hWnd) {  // a dialog of the owner's thread with a message text (static 0xFFFF)
            return ::GetWindowThreadProcessId(hWnd, nullptr) == threadId && IsDialog(hWnd) &&
                   ::GetDlgItem(hWnd, 0xFFFF) && !::GetDlgItem(hWnd, kFindText) && ::IsWindowVisible(hWnd);
        },
        milliseconds);
    if (box.hWnd) {
        ::Sleep(100);  // some boxes set their text after they are shown
        box.caption = Text(box.hWnd);
        box.text = Text(::GetDlgItem(box.hWnd, 0xFFFF));
        box.hIcon = HICON(::SendDlgItemMessageW(box.hWnd, 0x440, STM_GETICON, 0, 0));
    }
    return box;
}

void Answer(const MessageBoxSeen& box, int nButton) {
    ::PostMessageW(box.hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED), 0);
    ::Sleep(100);
}

std::vector<MessageBoxSeen> OtherDialogs(DWORD threadId, HWND hSheet) {
    std::vector<MessageBoxSeen> dialogs;
    FindOwnWindow([&](HWND hWnd) {
        if (hWnd != hSheet && threadId && ::GetWindowThreadProcessId(hWnd, nullptr) == threadId && IsDialog(hWnd) &&
            ::IsWindowVisible(hWnd)) {
            MessageBoxSeen seen;
            seen.hWnd = hWnd;
            seen.caption = Text(hWnd);
            if (HWND hText = ::GetDlgItem(hWnd, 0xFFFF))
                seen.text = Text(hText);
            dialogs.push_back(seen);
        }
        return false;  // every window
    });
    return dialogs;
}

bool Dismiss(HWND hDialog) {
    int button = IDOK;
    for (int candidate : {IDOK, IDNO, IDCANCEL})
        if (::GetDlgItem(hDialog, candidate))
            button = candidate;
    ::PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    if (WaitUntil([&] { return !::IsWindow(hDialog); }, 2000))
        return true;
    ::PostMessageW(hDialog, WM_CLOSE, 0, 0);
    return WaitUntil([&] { return !::IsWindow(hDialog); }, 2000);
}

void ExpectNoMessage(HWND hSheet, int milliseconds) {
    MessageBoxSeen box = WaitForMessageBox(hSheet, milliseconds);
    if (!box.hWnd)
        return;
    ADD_FAILURE() << "Unexpected message \"" << box.caption << "\": " << box.text;
    Dismiss(box.hWnd);
    Settle(hSheet);
}

std::wstring AnswerOpenDialog(HWND hOwner, const std::string& path) {
    HWND hDialog = FindOwnWindow(
        [&](HWND hWnd) {
            return IsDialog(hWnd) && ::GetWindow(hWnd, GW_OWNER) == hOwner && Text(hWnd) == L"Select File" &&
                   ::IsWindowVisible(hWnd);
        },
        5000);
    if (!hDialog)
        return L"";
    Settle(hOwner);
    std::wstring filter = Text(::GetDlgItem(hDialog, 0x470));  // "Files of type"
    // The path goes into the file-name box (cmb13) as typed.
    ::SetDlgItemTextW(hDialog, 0x47C, std::wstring(path.begin(), path.end()).c_str());
    ::PostMessageW(hDialog, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
    WaitUntil([&] { return !::IsWindow(hDialog); });
    Settle(hOwner);
    return filter;
}

}  // namespace driver

std::string MakeTempFolder(const char* name) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    // A parameterised test's name holds "/", which a folder's name cannot.
    std::string leaf = name;
    std::replace(leaf.begin(), leaf.end(), '/', '_');
    std::string folder = std::string(temp) + "varnel-" + leaf + "-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
