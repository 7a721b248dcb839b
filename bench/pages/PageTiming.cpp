// Timing harness (not a test): the mapping pages at 10,000, 100,000 and
// 1,000,000 rows in the real dialog under Wine, each figure beside a
// baseline measured in the same run, with the growth from size to size.
//
//   open      Show until the sheet is up and idle (file read, Aliases page),
//             the file's lines in key order ("open") and shuffled ("open~");
//             baseline: reading the file and splitting it into lines.
//   fill      the Layers / Levels tab click until the page is idle;
//   paint     then the list's first paint, with what its cells' looks need
//             (the table's case variants are found on the first one);
//   sort      a header click on the filled list;
//   find      Edit > Find in the system's Find dialog, after the sorts:
//             Find Next for the value of the list's last row, from the top,
//             until the match is selected and the page idle; baseline: a
//             plain substring scan of as many keys and values.
//   select+delete  every row selected (as Ctrl+A does), Delete pressed, its
//             question shown and answered Yes, until the page is idle
//             ("left": the rows of the case variants not deleted);
//             baseline of these three: one std::sort of as many integers.
//   undo      Edit > Undo of the select all + Delete, until the page is
//             idle with the rows back and selected; baselines: the sort of
//             as many integers, and the select all alone.
//   save      the Save click until the dialog is gone, with the Levels page
//             open (and, "save*", never opened: the writer's part alone);
//             baseline: writing the same bytes to a file.
//   import    a 1,000,000-row version 8 table into the open dialog (Levels
//             page open), from the Open dialog's OK until the sheet is
//             idle, its rows in the order their keys were made, shuffled,
//             and with one key in a thousand padded; baseline: the same
//             reader and merge into seven tables in this process (what
//             import_bench times natively). Then, for the ordered import,
//             the list's first paint after it (the rows it added or
//             changed bold, the table's case variants found again), and
//             Edit > Undo and Edit > Redo, each until the sheet is idle;
//             baseline: the import itself.
//   memory    the peak working set of a process whose dialog holds the
//             pairs with the Levels page shown; baseline: the same process
//             on an empty mapping file. For the import: the peak after the
//             import, its undo and its redo; baseline: after the import
//             alone.
//
// Run: tools/wine-run build/windows/tests/pages/pages_timing.exe [sizes...]
#include "../import/GeneratedRemapTable.h"
#include "driver/SheetDriver.h"
#include "import/CSVReader.h"
#include "store/file/MappingFile.h"
#include "resource.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// n rows in the Levels section, whose keys are numbers, so that the
// table's text order and the list's numeric order differ; every twentieth
// row is two keys differing only in case ("LVL<i>", "lvl<i>") that share
// it, so n + n / 20 pairs. The lines come in key order, as Save writes
// them, or shuffled, as files written by hand or by scripts come.
std::string GeneratedMappingFile(int n, bool shuffled = false) {
    std::vector<std::pair<std::string, std::string>> lines;  // key, line
    for (int i = 0; i < n; ++i) {
        std::string value = " = Layer-" + std::to_string(i) + "\r\n";
        if (i % 20 == 19) {
            lines.emplace_back("LVL" + std::to_string(i), "LVL" + std::to_string(i) + value);
            lines.emplace_back("lvl" + std::to_string(i), "lvl" + std::to_string(i) + value);
        } else {
            const std::string key = std::to_string((i * 7919LL) % n + 1);
            lines.emplace_back(key, key + value);
        }
    }
    if (shuffled)
        std::shuffle(lines.begin(), lines.end(), std::mt19937(3));
    else
        std::sort(lines.begin(), lines.end());
    std::string text = "[Aliases]\r\nLINE = PLACE LINE\r\n[Levels]\r\n";
    text.reserve(size_t(n) * 32);
    for (const auto& line : lines)
        text += line.second;
    return text;
}

// Polls every millisecond; false when the time ran out.
template <typename Predicate>
bool Poll(Predicate done, int milliseconds = 120000) {
    auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > end)
            return false;
        ::Sleep(1);
    }
    return true;
}

// Returns once the UI thread has worked off everything before (a sent
// message is taken when its loop runs again).
void WaitIdle(HWND hWnd) { ::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 120000, nullptr); }

HWND FindSheet() {
    HWND hSheet = ::FindWindowW(L"#32770", L"Commands Mapping");
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hSheet, &pid);
    return pid == ::GetCurrentProcessId() && ::IsWindowVisible(hSheet) ? hSheet : nullptr;
}

// A visible dialog of the thread with a message text (a message box).
HWND FindMessageBox(DWORD threadId) {
    HWND found = nullptr;
    ::EnumThreadWindows(
        threadId,
        [](HWND hWnd, LPARAM lParam) {
            wchar_t name[16] = {};
            ::GetClassNameW(hWnd, name, 16);
            if (wcscmp(name, L"#32770") == 0 && ::GetDlgItem(hWnd, 0xFFFF) && ::IsWindowVisible(hWnd)) {
                *reinterpret_cast<HWND*>(lParam) = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&found));
    return found;
}

// One dialog run on its own UI thread, timed from the Show call.
class TimedRun {
public:
    TimedRun(VarnelLibrary& library, const std::string& path) : m_library(library) {
        m_pInterface = library.Create();
        library.Load(m_pInterface, path.c_str(), nullptr);
    }
    ~TimedRun() {
        if (m_hSheet && ::IsWindow(m_hSheet)) {
            ::PostMessageW(m_hSheet, WM_COMMAND, IDCANCEL, 0);
            Poll([&] { return AnswerBox(IDYES) || !::IsWindow(m_hSheet); }, 10000);
        }
        if (m_thread.joinable())
            m_thread.join();
        m_library.Free(m_pInterface);
        m_library.Delete(m_pInterface);
    }
    // Seconds from Show to a visible, idle sheet.
    double Open() {
        auto start = Clock::now();
        m_thread = std::thread([this] { m_library.Show(m_pInterface); });
        Poll([&] { return (m_hSheet = FindSheet()) != nullptr; });
        WaitIdle(m_hSheet);
        double seconds = Since(start);
        m_uiThread = ::GetWindowThreadProcessId(m_hSheet, nullptr);
        return seconds;
    }
    // Seconds the tab takes to be created, filled and idle.
    double SelectTab(int nTab) {
        auto start = Clock::now();
        ::SendMessageW(m_hSheet, PSM_SETCURSEL, WPARAM(nTab), 0);
        m_hPage = HWND(::SendMessageW(m_hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        m_hList = ::GetDlgItem(m_hPage, IDC_LIST);
        WaitIdle(m_hSheet);
        return Since(start);
    }
    int Rows() const { return int(::SendMessageW(m_hList, LVM_GETITEMCOUNT, 0, 0)); }
    // The select all of the last SelectAllAndDelete alone.
    double SelectAllSeconds() const { return m_selectAll; }
    // Seconds the list takes to paint every visible row (WM_PAINT is sent
    // to its thread and waited for).
    double Paint() {
        auto start = Clock::now();
        ::RedrawWindow(m_hList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return Since(start);
    }
    // A click on a column header, as the header reports it.
    double ClickHeader(int nColumn) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = m_hList;
        click.hdr.idFrom = IDC_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = nColumn;
        auto start = Clock::now();
        ::SendMessageW(m_hPage, WM_NOTIFY, IDC_LIST, LPARAM(&click));
        return Since(start);
    }
    // Every row selected, Delete, Yes: the program's time, without the wait
    // for the answer. 0 when no question came.
    double SelectAllAndDelete() {
        LVITEMW item{};
        item.state = item.stateMask = LVIS_SELECTED;
        auto start = Clock::now();
        ::SendMessageW(m_hList, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&item));
        double seconds = m_selectAll = Since(start);
        start = Clock::now();
        ::PostMessageW(::GetDlgItem(m_hPage, IDC_DELETE), BM_CLICK, 0, 0);
        HWND hBox = nullptr;
        if (!Poll([&] { return (hBox = FindMessageBox(m_uiThread)) != nullptr; }))
            return 0;
        seconds += Since(start);
        start = Clock::now();
        ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        Poll([&] { return !::IsWindow(hBox); });
        WaitIdle(m_hSheet);
        return seconds + Since(start);
    }
    // An Edit menu command, sent: the call returns when it is done.
    double Command(int nCommand) {
        auto start = Clock::now();
        ::SendMessageW(m_hSheet, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
        WaitIdle(m_hSheet);
        return Since(start);
    }
    // The list's last row's second column.
    std::wstring LastValue() const {
        wchar_t text[256] = {};
        ListView_GetItemText(m_hList, Rows() - 1, 1, text, 256);
        return text;
    }
    // Edit > Find, text typed, Match case and Whole word, Find Next: from
    // the click until the sheet is idle. 0 when the match is not the last
    // row.
    double FindLast(const std::wstring& text) {
        HWND hFind = OpenDialog(ID_EDIT_FIND, L"Find");
        ::SetDlgItemTextW(hFind, 0x480, text.c_str());
        ::CheckDlgButton(hFind, 0x410, BST_CHECKED);
        ::CheckDlgButton(hFind, 0x411, BST_CHECKED);
        // Find Next, sent: the dialog reports it to the sheet, which searches.
        auto start = Clock::now();
        ::SendMessageW(hFind, WM_COMMAND, IDOK, 0);
        WaitIdle(m_hSheet);
        double seconds = Since(start);
        ::PostMessageW(hFind, WM_COMMAND, IDCANCEL, 0);
        Poll([&] { return !::IsWindow(hFind); });
        int found = int(::SendMessageW(m_hList, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
        return found == Rows() - 1 ? seconds : 0;
    }
    // Save until the sheet's window is gone.
    double Save() {
        auto start = Clock::now();
        ::PostMessageW(::GetDlgItem(m_hSheet, IDOK), BM_CLICK, 0, 0);
        Poll([&] { return !::IsWindow(m_hSheet); });
        return Since(start);
    }
    // File > Import > v8 with path, from the Open dialog's OK to idle (or
    // to the import's report, which is then closed).
    double Import(const std::string& path) {
        HWND hDialog = OpenDialog(ID_IMPORT_V8, L"Select File");
        ::SetDlgItemTextW(hDialog, 0x47C, std::wstring(path.begin(), path.end()).c_str());
        auto start = Clock::now();
        ::PostMessageW(hDialog, WM_COMMAND, IDOK, 0);
        Poll([&] { return !::IsWindow(hDialog); });
        WaitIdle(m_hSheet);
        const double seconds = Since(start);
        if (HWND hBox = FindMessageBox(m_uiThread)) {
            ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Poll([&] { return !::IsWindow(hBox); });
            WaitIdle(m_hSheet);
        }
        return seconds;
    }

private:
    // The dialog with this caption that the menu command opens, once idle.
    HWND OpenDialog(int nCommand, const wchar_t* caption) {
        ::PostMessageW(m_hSheet, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
        HWND hDialog = nullptr;
        Poll([&] {
            hDialog = ::FindWindowW(L"#32770", caption);
            return hDialog && ::IsWindowVisible(hDialog);
        });
        WaitIdle(hDialog);
        return hDialog;
    }
    bool AnswerBox(int nAnswer) {
        HWND hBox = FindMessageBox(m_uiThread);
        if (hBox)
            ::PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(nAnswer, BN_CLICKED), 0);
        return false;
    }

    VarnelLibrary& m_library;
    CVNInterface* m_pInterface = nullptr;
    std::thread m_thread;
    HWND m_hSheet = nullptr, m_hPage = nullptr, m_hList = nullptr;
    DWORD m_uiThread = 0;
    double m_selectAll = 0;
};

constexpr int kLevelsTab = 3;

// Baselines, in this process.
double SortIntegers(int n) {
    std::vector<int> values(static_cast<size_t>(n));
    std::mt19937 random(42);
    for (int& value : values)
        value = int(random());
    auto start = Clock::now();
    std::sort(values.begin(), values.end());
    return Since(start);
}

// The keys and values of the generated file, scanned for text as a plain
// loop would.
double ScanForText(const std::string& file, const std::wstring& wanted) {
    std::vector<std::u16string> cells;
    for (size_t begin = file.find("[Levels]"), end; begin < file.size(); begin = end + 2) {
        end = file.find("\r\n", begin);
        std::string line = file.substr(begin, end - begin);
        size_t equals = line.find(" = ");
        if (equals == std::string::npos)
            continue;
        cells.emplace_back(line.begin(), line.begin() + std::ptrdiff_t(equals));
        cells.emplace_back(line.begin() + std::ptrdiff_t(equals + 3), line.end());
    }
    std::u16string text(wanted.begin(), wanted.end());
    auto start = Clock::now();
    size_t found = 0;
    for (const std::u16string& cell : cells)
        found += cell.find(text) != std::u16string::npos;
    double seconds = Since(start);
    return found ? seconds : 0;
}

double ReadAndSplit(const std::string& path) {
    auto start = Clock::now();
    std::string bytes = ReadFile(path);
    std::vector<std::string_view> lines;
    for (size_t begin = 0, end; begin < bytes.size(); begin = end + 1) {
        end = bytes.find('\n', begin);
        if (end == std::string::npos)
            end = bytes.size();
        lines.emplace_back(bytes.data() + begin, end - begin);
    }
    return Since(start);
}

double WriteBytes(const std::string& path, const std::string& bytes) {
    auto start = Clock::now();
    HANDLE hFile =
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(hFile);
    double seconds = Since(start);
    ::DeleteFileA(path.c_str());
    return seconds;
}

// The table reader and the merge into seven tables in this process, as
// the dialog's import runs them (what import_bench times natively).
double ReadAndMerge(const std::string& bytes) {
    std::vector<MappingTable> tables(MappingKindCount);
    auto start = Clock::now();
    RemapTable table = ReadRemapBytes(bytes, RemapDetect);
    for (size_t page = 0; page < tables.size(); ++page)
        tables[page].Merge(std::move(table.pairs[page]));
    return table.result == Parsed ? Since(start) : 0;
}

// The peak working set, in MB, of a child process that opens the dialog on
// path and shows the Levels page: its exit code.
int PeakMegabytes(const std::string& arguments) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return int(code);
}

int MemoryChild(const std::string& path) {
    VarnelLibrary library;
    {
        TimedRun run(library, path);
        run.Open();
        run.SelectTab(kLevelsTab);
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return int(counters.PeakWorkingSetSize >> 20);
}

// The peak working set, in MB, of a child whose dialog imports table with
// the Levels page shown, and with bUndoRedo undoes and redoes it.
int ImportPeakMegabytes(const std::string& path, const std::string& table, bool bUndoRedo) {
    return PeakMegabytes("--import-memory \"" + path + "\" \"" + table + "\"" + (bUndoRedo ? " undo" : ""));
}

int ImportMemoryChild(const std::string& path, const std::string& table, bool bUndoRedo) {
    VarnelLibrary library;
    {
        TimedRun run(library, path);
        run.Open();
        run.SelectTab(kLevelsTab);
        run.Import(table);
        if (bUndoRedo) {
            run.Command(ID_EDIT_UNDO);
            run.Command(ID_EDIT_REDO);
        }
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return int(counters.PeakWorkingSetSize >> 20);
}

struct Figures {
    double open = 0, openShuffled = 0, read = 0, fill = 0, paint = 0, find = 0, scan = 0, sort = 0, resort = 0,
           remove = 0, undo = 0, sortInts = 0, selectAll = 0, save = 0, saveUnopened = 0, write = 0;
    int rows = 0, removedRows = 0, peak = 0;
};

template <typename T>
void KeepBest(T& best, T value, bool first) {
    if (first || (value > 0 && value < best))
        best = value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return MemoryChild(argv[2]);
    if (argc >= 4 && std::string(argv[1]) == "--import-memory")
        return ImportMemoryChild(argv[2], argv[3], argc == 5);
    VarnelLibrary library;
    if (!library.IsLoaded()) {
        std::printf("Varnel.dll not loaded from %s\n", VARNEL_DLL_PATH);
        return 1;
    }
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {10000, 100000, 1000000};
    std::string folder = MakeTempFolder("page-timing");
    std::string path = folder + "\\commands.mapping";

    std::printf("%8s %8s | %7s %7s %7s | %7s %7s %7s %7s | %7s %7s %7s %7s %7s | %7s %7s %7s | %6s\n", "rows",
                "left", "open s", "open~ s", "read s", "fill s", "paint s", "find s", "scan s", "sort s", "resort",
                "sel+del", "undo s", "sort n", "save s", "save*", "write s", "peakMB");
    {
        // One run first, so that the first size does not pay for the
        // process's first dialog (classes, fonts, the property sheet).
        WriteFile(path, GeneratedMappingFile(100));
        TimedRun warmUp(library, path);
        warmUp.Open();
        warmUp.SelectTab(kLevelsTab);
    }
    std::map<int, Figures> figures;
    for (int n : sizes) {
        std::string text = GeneratedMappingFile(n);
        const std::string shuffledPath = folder + "\\shuffled.mapping";
        WriteFile(shuffledPath, GeneratedMappingFile(n, true));
        WriteFile(path, text);
        Figures f;
        const int runs = n >= 1000000 ? 2 : 3;
        for (int run = 0; run < runs; ++run) {
            bool first = run == 0;
            // The file in key order and shuffled, opened in turn, twice
            // each: the first dialog after others takes longer, whichever.
            const std::pair<const std::string*, double*> opens[] = {{&path, &f.open}, {&shuffledPath, &f.openShuffled}};
            for (int turn = 0; turn < 4; ++turn) {
                TimedRun dialog(library, *opens[turn % 2].first);
                KeepBest(*opens[turn % 2].second, dialog.Open(), first && turn < 2);
            }
            {
                TimedRun dialog(library, path);
                dialog.Open();
                KeepBest(f.fill, dialog.SelectTab(kLevelsTab), first);
                KeepBest(f.paint, dialog.Paint(), first);
                f.rows = dialog.Rows();
                KeepBest(f.sort, dialog.ClickHeader(1), first);
                KeepBest(f.resort, dialog.ClickHeader(1), first);
                // After the sorts, which carry a selection along at a cost.
                std::wstring last = dialog.LastValue();
                KeepBest(f.find, dialog.FindLast(last), first);
                KeepBest(f.scan, ScanForText(text, last), first);
                KeepBest(f.remove, dialog.SelectAllAndDelete(), first);
                KeepBest(f.selectAll, dialog.SelectAllSeconds(), first);
                f.removedRows = f.rows - dialog.Rows();
                KeepBest(f.undo, dialog.Command(ID_EDIT_UNDO), first);
            }
            {
                TimedRun dialog(library, path);
                dialog.Open();
                dialog.SelectTab(kLevelsTab);
                KeepBest(f.save, dialog.Save(), first);
            }
            {
                TimedRun dialog(library, path);
                dialog.Open();
                KeepBest(f.saveUnopened, dialog.Save(), first);
            }
            KeepBest(f.read, ReadAndSplit(path), first);
            KeepBest(f.write, WriteBytes(folder + "\\written.bin", text), first);
            KeepBest(f.sortInts, SortIntegers(f.rows), first);
        }
        f.peak = PeakMegabytes("--memory \"" + path + "\"");
        ::DeleteFileA(shuffledPath.c_str());
        figures[n] = f;
        std::printf("%8d %8d | %7.3f %7.3f %7.3f | %7.3f %7.3f %7.3f %7.3f | %7.3f %7.3f %7.3f %7.3f %7.3f | %7.3f"
                    " %7.3f %7.3f | %6d\n",
                    f.rows, f.rows - f.removedRows, f.open, f.openShuffled, f.read, f.fill, f.paint, f.find, f.scan,
                    f.sort, f.resort, f.remove, f.undo, f.sortInts, f.save, f.saveUnopened, f.write, f.peak);
        std::fflush(stdout);
    }
    WriteFile(path, "[Aliases]\r\nLINE = PLACE LINE\r\n");
    int emptyPeak = PeakMegabytes("--memory \"" + path + "\"");
    std::printf("\npeak working set on a one-pair file (baseline): %d MB\n", emptyPeak);

    // Growth against n log n, from each size to the next.
    for (auto it = figures.begin(); std::next(it) != figures.end(); ++it) {
        auto next = std::next(it);
        auto nlogn = [](int n) { return double(n) * std::log(double(n)); };
        double growth = nlogn(next->first) / nlogn(it->first);
        auto ratio = [](double a, double b) { return a > 0 ? b / a : 0.0; };
        std::printf("growth %d -> %d (n log n: %.1f): open %.1f, fill %.1f, sort %.1f, select+delete %.1f, save %.1f, "
                    "plain sort %.1f\n",
                    it->first, next->first, growth, ratio(it->second.open, next->second.open),
                    ratio(it->second.fill, next->second.fill), ratio(it->second.sort, next->second.sort),
                    ratio(it->second.remove, next->second.remove), ratio(it->second.save, next->second.save),
                    ratio(it->second.sortInts, next->second.sortInts));
    }
    if (figures.count(1000000)) {
        const Figures& m = figures[1000000];
        std::printf("\nat %d rows (%d pairs):\n", m.rows, 1000000 + 1000000 / 20);
        std::printf("  fill %.3f s (goal 1 s) = %.1fx a plain sort of as many integers (%.3f s); first paint %.3f s\n",
                    m.fill, m.fill / m.sortInts, m.sortInts, m.paint);
        std::printf("  header sort %.3f s (goal 1 s) = %.1fx the plain sort\n", m.sort, m.sort / m.sortInts);
        std::printf("  open %.3f s (goal 0.3 s) = %.1fx reading and splitting the file (%.3f s)\n", m.open,
                    m.open / m.read, m.read);
        std::printf("  open of the shuffled file %.3f s (goal 0.3 s) = %.2fx the ordered one (goal 1.25x)\n",
                    m.openShuffled, m.openShuffled / m.open);
        std::printf("  save %.3f s (goal 0.3 s) = %.1fx writing the bytes (%.3f s); %.3f s with the Levels page "
                    "never opened\n",
                    m.save, m.save / m.write, m.write, m.saveUnopened);
        std::printf("  peak working set %d MB (goal 150 MB) = %.2fx the one-pair dialog (%d MB)\n", m.peak,
                    emptyPeak ? double(m.peak) / emptyPeak : 0.0, emptyPeak);
        std::printf("  Find Next to the last row %.3f s (goal 0.2 s) = %.1fx a plain scan of the keys and values "
                    "(%.3f s)\n",
                    m.find, m.scan > 0 ? m.find / m.scan : 0.0, m.scan);
        std::printf("  undo of select all + Delete %.3f s (goal 0.5 s) = %.1fx the plain sort, %.1fx the select all "
                    "alone (%.3f s; the list control sets each row's state); select all + Delete took %.3f s\n",
                    m.undo, m.undo / m.sortInts, m.selectAll > 0 ? m.undo / m.selectAll : 0.0, m.selectAll, m.remove);
    }
    if (figures.count(100000)) {
        const Figures& h = figures[100000];
        std::printf("  select all %d rows + Delete %.3f s (goal 1 s) = %.1fx a plain sort of as many integers\n",
                    h.rows, h.remove, h.remove / h.sortInts);
    }

    // Import of a 1,000,000-row version 8 table into a dialog with the
    // Levels page open: rows in the order their keys were made, shuffled,
    // and with one key in a thousand padded; Undo and Redo of the first.
    const char* shapes[] = {"ordered", "shuffled", "padded"};
    double imports[3] = {}, undoImport = 0, redoImport = 0, importPaint = 0;
    const std::string tablePath = folder + "\\remap.csv";
    for (int shape = 0; shape < 3; ++shape) {
        std::string table = GeneratedRemapTable(1000000, false, TableShape(shape));
        WriteFile(tablePath, table);
        double import = 0, merge = 0;
        for (int run = 0; run < 3; ++run) {
            {
                TimedRun dialog(library, path);
                dialog.Open();
                dialog.SelectTab(kLevelsTab);
                KeepBest(import, dialog.Import(tablePath), run == 0);
                if (shape == 0) {
                    KeepBest(importPaint, dialog.Paint(), run == 0);
                    KeepBest(undoImport, dialog.Command(ID_EDIT_UNDO), run == 0);
                    KeepBest(redoImport, dialog.Command(ID_EDIT_REDO), run == 0);
                }
            }
            KeepBest(merge, ReadAndMerge(table), run == 0);
        }
        imports[shape] = import;
        std::printf("  import of 1,000,000 table rows, %s: %.3f s (goal 0.25 s) = %.1fx reading and merging them "
                    "in this process (%.3f s)",
                    shapes[shape], import, merge > 0 ? import / merge : 0.0, merge);
        if (shape > 0)
            std::printf("; %.2fx the ordered table (goal 1.25x)", imports[0] > 0 ? import / imports[0] : 0.0);
        std::printf("\n");
    }
    std::printf("  first paint after the ordered import %.3f s (its rows bold) = %.2fx the first paint after the "
                "fill\n",
                importPaint, figures.count(1000000) && figures[1000000].paint > 0 ? importPaint / figures[1000000].paint
                                                                               : 0.0);
    std::printf("  undo of the ordered import %.3f s (goal 1 s) = %.2fx the import; redo %.3f s = %.2fx\n",
                undoImport, imports[0] > 0 ? undoImport / imports[0] : 0.0, redoImport,
                imports[0] > 0 ? redoImport / imports[0] : 0.0);
    WriteFile(tablePath, GeneratedRemapTable(1000000));
    int importPeak = ImportPeakMegabytes(path, tablePath, false);
    int undoRedoPeak = ImportPeakMegabytes(path, tablePath, true);
    std::printf("  peak working set after import, undo and redo %d MB (goal 1.5x) = %.2fx after the import alone "
                "(%d MB)\n",
                undoRedoPeak, importPeak ? double(undoRedoPeak) / importPeak : 0.0, importPeak);
    ::DeleteFileA(tablePath.c_str());
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
    return 0;
}
