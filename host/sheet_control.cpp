// varnel-sheet-control: acts on an open "Commands Mapping" dialog from
// outside, for scripted runs of the sample host (tools/run).
//
//   varnel-sheet-control wait [seconds]   waits until the dialog is shown
//   varnel-sheet-control edit-menu        inserts a pair on the current page (so
//                                         that there is something to undo) and
//                                         opens the Edit menu, as Alt+E does
//   varnel-sheet-control cancel           closes an open menu, presses Cancel and
//                                         answers Yes when it asks
//
// Exits 0 on success, 1 when the dialog did not appear in time.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindSheet() {
    HWND hSheet = ::FindWindowW(L"#32770", L"Commands Mapping");
    return hSheet && ::IsWindowVisible(hSheet) ? hSheet : nullptr;
}

// The sheet's question (a message box of the same caption), or null.
HWND FindQuestion(HWND hSheet) {
    for (HWND hWnd = ::FindWindowW(L"#32770", L"Commands Mapping"); hWnd;
         hWnd = ::FindWindowExW(nullptr, hWnd, L"#32770", L"Commands Mapping"))
        if (hWnd != hSheet && ::GetDlgItem(hWnd, 0xFFFF) && ::IsWindowVisible(hWnd))
            return hWnd;
    return nullptr;
}

HWND WaitForSheet(int seconds) {
    for (int waited = 0; waited < seconds * 10; ++waited) {
        if (HWND hSheet = FindSheet())
            return hSheet;
        ::Sleep(100);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const char* command = argc > 1 ? argv[1] : "wait";
    int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    HWND hSheet = WaitForSheet(seconds > 0 ? seconds : 30);
    if (!hSheet) {
        std::printf("Commands Mapping did not appear\n");
        return 1;
    }
    if (std::strcmp(command, "cancel") == 0) {
        ::PostMessageW(hSheet, WM_CANCELMODE, 0, 0);  // ends an open menu
        ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        for (int waited = 0; waited < 20 && ::IsWindow(hSheet); ++waited, ::Sleep(100))
            if (HWND hQuestion = FindQuestion(hSheet))
                ::PostMessageW(hQuestion, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        std::printf("Commands Mapping: Cancel pressed\n");
    } else if (std::strcmp(command, "edit-menu") == 0) {
        // The page's edit boxes (504, 505) and Insert (508).
        HWND hPage = HWND(::SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ::SendDlgItemMessageW(hPage, 504, WM_SETTEXT, 0, LPARAM(L"delete"));
        ::SendDlgItemMessageW(hPage, 505, WM_SETTEXT, 0, LPARAM(L"del"));
        ::SendDlgItemMessageW(hPage, 508, BM_CLICK, 0, 0);
        ::SetCursorPos(0, 0);  // away from the controls and their help balloons
        ::PostMessageW(hSheet, WM_SYSCOMMAND, SC_KEYMENU, 'e');
        ::Sleep(1000);  // let it open and paint
        std::printf("Commands Mapping: Edit menu open\n");
    } else {
        ::Sleep(500);  // let it paint
        std::printf("Commands Mapping is open\n");
    }
    return 0;
}
