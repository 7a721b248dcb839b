/* Runs the C example of docs/HOSTING.md as a user would: the example
 * loads Varnel.dll, creates, loads, shows, frees and deletes; a watcher
 * thread presses Cancel on the dialog once it is visible. Passes when the
 * example reports every result as documented (exit code 0) and the dialog
 * really was shown and cancelled. */
#include <stdio.h>
#include <windows.h>

int example_main(int argc, char** argv);

static volatile LONG cancelled, finished;

/* The visible "Commands Mapping" sheet of this process, if any (a message
 * box has the same caption but no tabs). */
static BOOL CALLBACK FindSheet(HWND hWnd, LPARAM lParam)
{
    DWORD process = 0;
    WCHAR caption[64];
    GetWindowThreadProcessId(hWnd, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(hWnd) && GetWindowTextW(hWnd, caption, 64) &&
        lstrcmpW(caption, L"Commands Mapping") == 0 && FindWindowExW(hWnd, NULL, L"SysTabControl32", NULL)) {
        *(HWND*)lParam = hWnd;
        return FALSE;
    }
    return TRUE;
}

/* Presses Cancel on the sheet once it has settled, and again every half
 * second while it stays open, until the example has returned. When it has
 * not returned within 30 s, the process ends itself with a clear line
 * rather than wait for ever on a dialog that never came or never went. */
static DWORD WINAPI CancelWhenShown(void* unused)
{
    int i;
    (void)unused;
    for (i = 0; i < 3000 && !finished; ++i, Sleep(10)) {
        HWND hSheet = NULL;
        EnumWindows(FindSheet, (LPARAM)&hSheet);
        if (hSheet && i % 50 == 49) {
            PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(hSheet, IDCANCEL));
            InterlockedIncrement(&cancelled);
        }
    }
    if (!finished) {
        fprintf(stderr, "host_c_example: the example had not returned 30 s after it started (dialog %s); ending it\n",
                cancelled ? "cancelled but still open" : "never shown");
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

int main(int argc, char** argv)
{
    char folder[MAX_PATH], mapping[MAX_PATH];
    char* exampleArgs[3];
    HANDLE hWatcher;
    HWND hSheetBefore = NULL;
    int result;

    if (argc < 2) {
        fprintf(stderr, "usage: host_c_example <Varnel.dll>\n");
        return 2;
    }
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "vnh", 0, mapping);
    exampleArgs[0] = argv[0];
    exampleArgs[1] = argv[1];
    exampleArgs[2] = mapping;

    /* The window layer's one-time start happens here, before a second
     * thread uses it. Under Wine a first use on the watcher while the example
     * loads the library (comctl32 registering its classes under the loader
     * lock) can make the two threads wait on each other for ever; a host's
     * user-interface thread has always made that start long before. */
    EnumWindows(FindSheet, (LPARAM)&hSheetBefore);
    hWatcher = CreateThread(NULL, 0, CancelWhenShown, NULL, 0, NULL);
    result = example_main(3, exampleArgs);
    InterlockedIncrement(&finished);
    WaitForSingleObject(hWatcher, 35000);
    CloseHandle(hWatcher);
    DeleteFileA(mapping);

    printf("example exit code %d, dialog cancelled %ld time(s)\n", result, (long)cancelled);
    return result == 0 && cancelled > 0 ? 0 : 1;
}
