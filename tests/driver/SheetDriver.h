// A test driver for the Commands Mapping dialog: the real Varnel.dll runs
// the dialog on a thread of its own while the test acts on it like a user,
// with real window messages: finding the sheet, switching tabs, focusing,
// typing, pressing keys and buttons, and answering message boxes.
#pragma once

#include "interface/VarnelExports.h"

#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

// Varnel.dll loaded by full path (VARNEL_DLL_PATH) with its five exports;
// unloaded again by the destructor.
class VarnelLibrary {
public:
    VarnelLibrary();
    ~VarnelLibrary();
    bool IsLoaded() const { return m_hModule && Create && Delete && Free && Load && Show; }

    HMODULE m_hModule = nullptr;
    PFN_CreateVNInterface Create = nullptr;
    PFN_DeleteVNInterface Delete = nullptr;
    PFN_FreeInterface Free = nullptr;
    PFN_LoadInterface Load = nullptr;
    PFN_ShowVarnelDlg Show = nullptr;
};

// One interface object whose dialog runs on the driver's UI thread.
class DialogRun {
public:
    // Creates the interface and loads it with the mapping path (ANSI).
    DialogRun(VarnelLibrary& library, const std::string& mappingPath);
    // Ends a dialog still open (Cancel, answering Yes), frees and deletes.
    ~DialogRun();

    // Shows the dialog on the UI thread and returns its sheet window once
    // it is visible; null when it did not appear.
    HWND Open();
    // Waits until the dialog has closed; false on timeout.
    bool WaitClosed(int milliseconds = 5000);
    bool IsOpen() const { return m_bShowing; }
    int ShowResult() const { return m_nShowResult; }

    VarnelLibrary& m_library;
    CVNInterface* m_pInterface = nullptr;

private:
    std::thread m_thread;
    std::atomic<bool> m_bShowing{false};
    std::atomic<int> m_nShowResult{-2};
    std::atomic<DWORD> m_dwThreadId{0};
};

// Window helpers; all act through messages from the test's thread.
namespace driver {

// Lets the UI thread work off what was posted (its loop runs the sheet's
// message pre-translation on each message).
void Settle(HWND hSheet, int milliseconds = 150);
// The window text (WM_GETTEXT).
std::wstring Text(HWND hWnd);
// Selects tab nTab (PSM_SETCURSEL); returns the page's window.
HWND SelectTab(HWND hSheet, int nTab);
HWND CurrentPage(HWND hSheet);
// The description edit and its label under the pages.
HWND DescriptionEdit(HWND hSheet);
HWND DescriptionLabel(HWND hSheet);
// Gives hWnd the keyboard focus as a click would.
void Focus(HWND hWnd);
// Types the text into the control, character by character (WM_CHAR).
void Type(HWND hWnd, const std::wstring& text);
// Posts a key press (down and up) to the window, as the keyboard would.
void PressKey(HWND hWnd, UINT vk);
// Clicks a button without waiting for what it opens.
void Click(HWND hButton);

// A message box of the dialog's thread: its window, caption and text.
struct MessageBoxSeen {
    HWND hWnd = nullptr;
    std::wstring caption;
    std::wstring text;
};
// Waits for a message box owned by hOwner; hWnd null when none came.
MessageBoxSeen WaitForMessageBox(HWND hOwner, int milliseconds = 3000);
// Presses the box's button (IDYES, IDNO, IDOK...).
void Answer(const MessageBoxSeen& box, int nButton);

}  // namespace driver

// Files for the tests: a fresh folder, whole-file reads and writes.
std::string MakeTempFolder(const char* name);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
