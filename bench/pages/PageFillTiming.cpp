// Timing harness (not a test): how long a page takes to build its list from
// tables of 1,000, 10,000 and 100,000 pairs, in the real dialog under Wine.
// The pairs sit in the Levels section; the dialog opens on the (empty)
// Aliases page, and selecting the Levels tab creates the Levels page, which
// fills its list from the table and sorts it. Also timed: opening the
// dialog on the file (read and first page), and a header click that
// re-sorts the filled list, and the same number of rows put into a bare
// list view (the platform's floor). Prints the times and the 10k -> 100k
// ratios.
//
// Run: tools/wine-run build/<folder>/tests/pages/pages_fill_timing.exe
#include "driver/SheetDriver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// N pairs whose keys are the numbers 1..N in a scattered order, so that
// the table's text order and the list's numeric order differ; every tenth
// pair brings two more keys that differ only in case and share one row.
std::string MappingFile(int n) {
    std::string text = "[Levels]\r\n";
    text.reserve(size_t(n) * 40);
    for (int i = 0; i < n; ++i) {
        std::string key = std::to_string((i * 7919LL) % n + 1);
        text += key + " = Layer-" + std::to_string(i) + "\r\n";
        if (i % 10 == 0)
            text += "lvl" + key + " = Lower\r\nLVL" + key + " = Upper\r\n";
    }
    return text;
}

struct Timing {
    double open = 0, fill = 0, fillCpu = 0, sort = 0, bare = 0;
    int rows = 0;
};

// CPU time (user and kernel) of a thread so far; the machine's other load
// does not count in it.
double ThreadCpuSeconds(HANDLE hThread) {
    FILETIME created, exited, kernel, user;
    if (!hThread || !::GetThreadTimes(hThread, &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime); };
    return (ticks(kernel) + ticks(user)) / 1e7;
}

Timing Measure(VarnelLibrary& library, const std::string& path, int n) {
    WriteFile(path, MappingFile(n));
    Timing timing;
    DialogRun run(library, path);
    auto start = std::chrono::steady_clock::now();
    HWND hSheet = run.Open();
    timing.open = Seconds(std::chrono::steady_clock::now() - start);
    if (!hSheet)
        return timing;
    HANDLE hUiThread = ::OpenThread(THREAD_QUERY_INFORMATION, FALSE, ::GetWindowThreadProcessId(hSheet, nullptr));
    double cpu = ThreadCpuSeconds(hUiThread);
    start = std::chrono::steady_clock::now();
    ::SendMessageW(hSheet, PSM_SETCURSEL, 3, 0);  // Layers / Levels: created and filled now
    timing.fill = Seconds(std::chrono::steady_clock::now() - start);
    timing.fillCpu = ThreadCpuSeconds(hUiThread) - cpu;
    if (hUiThread)
        ::CloseHandle(hUiThread);
    HWND hList = ::GetDlgItem(driver::CurrentPage(hSheet), 510);
    timing.rows = int(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0));
    // A click on the second column's header, as the header reports it.
    NMLISTVIEW click{};
    click.hdr.hwndFrom = hList;
    click.hdr.idFrom = 510;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 1;
    start = std::chrono::steady_clock::now();
    ::SendMessageW(::GetParent(hList), WM_NOTIFY, 510, LPARAM(&click));
    timing.sort = Seconds(std::chrono::steady_clock::now() - start);
    ::PostMessageW(hSheet, WM_COMMAND, IDCANCEL, 0);
    run.WaitClosed(60000);
    return timing;
}

// The platform's own cost: N rows into a bare list view, no page, no
// pairs, no sort. Its growth is the floor of the page's.
double BareListSeconds(int n) {
    HWND hList = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT, 0, 0, 300, 300, nullptr, nullptr,
                                   nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ::SendMessageW(hList, LVM_INSERTCOLUMNW, 0, LPARAM(&column));
    ::SendMessageW(hList, WM_SETREDRAW, FALSE, 0);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(hList, LVM_INSERTITEMW, 0, LPARAM(&item));
    }
    double seconds = Seconds(std::chrono::steady_clock::now() - start);
    ::DestroyWindow(hList);
    return seconds;
}

}  // namespace

// Arguments: the table sizes (default 1000 10000 100000). Each size runs
// three times; the best run counts.
int main(int argc, char** argv) {
    VarnelLibrary library;
    if (!library.IsLoaded()) {
        std::printf("Varnel.dll not loaded from %s\n", VARNEL_DLL_PATH);
        return 1;
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {1000, 10000, 100000};
    std::string folder = MakeTempFolder("page-fill-timing");
    std::string path = folder + "\\commands.mapping";
    std::printf("%8s %8s %8s %8s %9s %8s %8s\n", "pairs", "rows", "open s", "fill s", "fill cpu", "sort s", "bare s");
    std::map<int, Timing> best;
    for (int n : sizes) {
        Timing b;
        for (int run = 0; run < 3; ++run) {
            Timing t = Measure(library, path, n);
            if (run == 0 || t.fill < b.fill) {
                b.fill = t.fill;
                b.rows = t.rows;
            }
            if (run == 0 || t.fillCpu < b.fillCpu) b.fillCpu = t.fillCpu;
            if (run == 0 || t.open < b.open) b.open = t.open;
            if (run == 0 || t.sort < b.sort) b.sort = t.sort;
            double bare = BareListSeconds(n + n / 10);
            if (run == 0 || bare < b.bare) b.bare = bare;
        }
        best[n] = b;
        std::printf("%8d %8d %8.3f %8.3f %9.3f %8.3f %8.3f\n", n, b.rows, b.open, b.fill, b.fillCpu, b.sort, b.bare);
        std::fflush(stdout);
    }
    if (best.count(10000) && best.count(100000) && best[10000].fill > 0)
        std::printf("fill ratio 10k -> 100k: %.2f wall, %.2f cpu (target: at most 12); "
                    "bare list view alone: %.2f\n",
                    best[100000].fill / best[10000].fill,
                    best[10000].fillCpu > 0 ? best[100000].fillCpu / best[10000].fillCpu : 0.0,
                    best[10000].bare > 0 ? best[100000].bare / best[10000].bare : 0.0);
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
    return 0;
}
