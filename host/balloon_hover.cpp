// varnel-balloon-hover: rests the mouse on the Save button of an open
// "Commands Mapping" dialog and waits until its help balloon is shown, so
// that a scripted run can take a screenshot (tools/screenshot-balloon).
// Given a tab, it shows that page, clicks the list's second row (the list
// takes the focus, and the description area its help) and rests on the
// AutoCAD cell of the first row instead (the balloon of a marked cell tells
// its reason).
//
//   varnel-balloon-hover marker-file [seconds [tab]]
//
// It runs on the dialog's Wine desktop, which passes on no exit code, so it
// reports through the marker file: "shown" once the balloon is on screen,
// otherwise what did not appear in time.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

HWND FindSheet() {
    HWND hSheet = ::FindWindowW(L"#32770", L"Commands Mapping");
    return hSheet && ::IsWindowVisible(hSheet) ? hSheet : nullptr;
}

// The help control's popup: a visible tool window of the library's own class.
BOOL CALLBACK FindBalloon(HWND hWnd, LPARAM lParam) {
    wchar_t className[64] = {};
    ::GetClassNameW(hWnd, className, 64);
    const bool bOurs = std::wcsncmp(className, L"Varnel:", 7) == 0;
    if (bOurs && ::IsWindowVisible(hWnd) && (::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

template <typename Find>
HWND WaitFor(Find find, int tenths) {
    for (int waited = 0; waited < tenths; ++waited) {
        if (HWND hWnd = find())
            return hWnd;
        ::Sleep(100);
    }
    return nullptr;
}

// Writes the outcome where the script waits for it; the exit code repeats it.
int Report(const char* pszMarker, const char* pszOutcome, int code) {
    if (FILE* pFile = std::fopen(pszMarker, "w")) {
        std::fprintf(pFile, "%s\n", pszOutcome);
        std::fclose(pFile);
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: varnel-balloon-hover marker-file [seconds]\n");
        return 2;
    }
    const char* pszMarker = argv[1];
    int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    HWND hSheet = WaitFor(FindSheet, (seconds > 0 ? seconds : 30) * 10);
    HWND hSave = hSheet ? ::GetDlgItem(hSheet, IDOK) : nullptr;
    if (!hSave)
        return Report(pszMarker, "Commands Mapping did not appear", 1);
    ::Sleep(500);  // let the sheet settle and paint

    // Where to rest: the middle of Save, or the list's first row in the
    // AutoCAD column (the right half of the list, just below its header).
    RECT rc;
    ::GetWindowRect(hSave, &rc);
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    if (argc > 3) {
        ::SendMessageW(hSheet, PSM_SETCURSEL, WPARAM(std::atoi(argv[3])), 0);
        HWND hPage = HWND(::SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        HWND hList = hPage ? ::GetDlgItem(hPage, 510) : nullptr;
        HWND hHeader = hList ? HWND(::SendMessageW(hList, LVM_GETHEADER, 0, 0)) : nullptr;
        if (!hHeader)
            return Report(pszMarker, "no list on that tab", 1);
        RECT rcHeader, rcClient;
        ::GetWindowRect(hList, &rc);
        ::GetWindowRect(hHeader, &rcHeader);
        ::GetClientRect(hList, &rcClient);
        // A row's height from the rows that fit below the header.
        const int rows = int(::SendMessageW(hList, LVM_GETCOUNTPERPAGE, 0, 0));
        const int rowHeight = rows > 0 ? (rcClient.bottom - (rcHeader.bottom - rcHeader.top)) / rows : 16;
        x = rc.left + (rc.right - rc.left) * 3 / 4;
        y = rcHeader.bottom + rowHeight / 2;
        ::Sleep(500);  // let the page paint
        ::SetCursorPos(x, y + rowHeight);
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        ::SendInput(2, click, sizeof(INPUT));
        ::Sleep(300);
    }

    // Come in from beside the spot and rest on it: each step moves the
    // pointer, so the dialog sees mouse moves over it.
    for (int step = 20; step >= 0; step -= 4) {
        ::SetCursorPos(x - step, y);
        ::Sleep(50);
    }

    const DWORD thread = ::GetWindowThreadProcessId(hSheet, nullptr);
    HWND hBalloon = WaitFor(
        [thread] {
            HWND hFound = nullptr;
            ::EnumThreadWindows(thread, FindBalloon, reinterpret_cast<LPARAM>(&hFound));
            return hFound;
        },
        50);
    if (!hBalloon)
        return Report(pszMarker, "no balloon appeared", 1);
    ::Sleep(300);  // let it paint
    return Report(pszMarker, "shown", 0);
}
