// A test driver for the Commands Mapping dialog: the real Varnel.dll runs the
// dialog on a thread of its own while the test acts on it like a user, with
// real window messages.
#pragma once

#include "driver/WholeFile.h"
#include "interface/VarnelExports.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Varnel.dll loaded by full path (VARNEL_DLL_PATH) with its five exports.
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

// One interface object whose dialog runs on the driver's UI thread. Every
// wait has a limit: a dialog that does not close, or a window the test left
// open, fails the test with what the window says instead of holding the run.
class DialogRun {
public:
    // Creates the interface and loads it with the mapping path (ANSI).
    DialogRun(VarnelLibrary& library, const std::string& mappingPath);
    // Closes what the test left open: any other window of the dialog's
    // thread (a message box, a file dialog) fails the test with its caption
    // and text and is answered; the sheet is cancelled (Yes to its question).
    // Frees and deletes the interface.
    ~DialogRun();

    // Shows the dialog on the UI thread; its sheet once visible, else null.
    HWND Open();
    bool WaitClosed(int milliseconds = 5000);  // false on timeout
    bool IsOpen() const { return m_bShowing; }
    int ShowResult() const { return m_nShowResult; }
    // Presses Save and waits for the dialog to close. A message the save
    // shows instead (a refused save, the question about another program's
    // save) is answered with Cancel or No and fails the result with its text.
    ::testing::AssertionResult Save(int milliseconds = 30000);
    // Presses Cancel, answers a question that comes with nAnswer and returns
    // it ("" when none came); waits for the close unless the answer was No.
    std::wstring Cancel(int nAnswer);

    VarnelLibrary& m_library;
    CVNInterface* m_pInterface = nullptr;

private:
    std::thread m_thread;
    HWND m_hSheet = nullptr;
    std::atomic<bool> m_bShowing{false};
    std::atomic<int> m_nShowResult{-2};
    std::atomic<DWORD> m_uiThread{0};
};

// Window helpers; all act through messages from the test's thread.
namespace driver {

// Polls predicate every 10 ms; false when it still fails after the time.
template <typename Predicate>
bool WaitUntil(Predicate predicate, int milliseconds = 5000) {
    for (auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds); !predicate(); ::Sleep(10))
        if (std::chrono::steady_clock::now() > end)
            return false;
    return true;
}
// Lets the UI thread work off what was posted (its loop runs the sheet's
// message pre-translation on each message).
void Settle(HWND hSheet, int milliseconds = 150);
std::wstring Text(HWND hWnd);
// Whether hWnd comes to show text within the time. What follows the focus
// (the description) changes in the loop's pre-translation of the next
// queued message, so each look posts one to the window's root; on a
// timeout, the failure says what it showed.
::testing::AssertionResult ShowsText(HWND hWnd, const std::wstring& text, int milliseconds = 2000);
// Selects tab nTab (PSM_SETCURSEL); returns the page's window.
HWND SelectTab(HWND hSheet, int nTab);
HWND CurrentPage(HWND hSheet);
// The description edit and its label under the pages.
HWND DescriptionEdit(HWND hSheet);
HWND DescriptionLabel(HWND hSheet);
// A list view's rows as (first column, second column), in list order.
std::vector<std::pair<std::wstring, std::wstring>> ListRows(HWND hList);
// Input as the user gives it: the focus as a click gives it, characters
// (WM_CHAR), a key press (down and up), a button click (posted: the call
// does not wait for what the click opens).
void Focus(HWND hWnd);
void Type(HWND hWnd, const std::wstring& text);
void PressKey(HWND hWnd, UINT vk);
// A key pressed with Ctrl and/or Shift held: the modifiers are held in the
// UI thread's keyboard state while the key's messages go to hWnd.
void PressShortcut(HWND hWnd, UINT vk, bool ctrl, bool shift = false);
void Click(HWND hButton);
// Types a pair into the current page's edit boxes and presses Insert.
void InsertPair(HWND hSheet, const std::wstring& key, const std::wstring& value);

// A message box of the dialog's thread: its window, caption, text and icon
// (the system's shared icon of its kind, as LoadIcon(nullptr, IDI_...)).
struct MessageBoxSeen {
    HWND hWnd = nullptr;
    std::wstring caption;
    std::wstring text;
    HICON hIcon = nullptr;
};
// Waits for a message box of hOwner's thread; hWnd null when none came.
MessageBoxSeen WaitForMessageBox(HWND hOwner, int milliseconds = 3000);
void Answer(const MessageBoxSeen& box, int nButton);
// The visible dialogs of the thread other than the sheet (message boxes,
// file dialogs), each with its caption and message text.
std::vector<MessageBoxSeen> OtherDialogs(DWORD threadId, HWND hSheet);
// Closes a dialog the way a user backs out of it: Cancel where it has one,
// else No, else OK; true once it is gone.
bool Dismiss(HWND hDialog);
// Fails the test when a message box of the sheet comes within the time,
// with its text, and dismisses it (an import or save expected to be silent).
void ExpectNoMessage(HWND hSheet, int milliseconds = 300);

// Waits for the "Select File" dialog owned by hOwner and answers it with
// path in its file-name box, or with Cancel when path is "". Returns its
// "Files of type" text ("" when no such dialog came) once it is gone.
std::wstring AnswerOpenDialog(HWND hOwner, const std::string& path);

}  // namespace driver

// A fresh folder for the test.
std::string MakeTempFolder(const char* name);
