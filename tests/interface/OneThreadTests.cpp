// Varnel.dll starts no thread: a host's process keeps exactly the threads
// it had across a save of 200,000 pairs and an import of 1,000,000 table
// rows, driven through the real dialog. Every thread that starts in the
// process runs this executable's TLS callback; the threads that exist are
// also listed by a Toolhelp snapshot before and after.
#include "driver/FolderTest.h"

#include <tlhelp32.h>

#include <atomic>
#include <set>

namespace {

std::atomic<int> g_threadsStarted{0};

void NTAPI CountThread(PVOID, DWORD reason, PVOID) {
    if (reason == DLL_THREAD_ATTACH)
        ++g_threadsStarted;
}

}  // namespace

// The loader calls the callbacks listed between the C runtime's .CRT$XLA
// and .CRT$XLZ for each thread that starts.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK g_countThread = CountThread;

namespace {

std::set<DWORD> ProcessThreads() {
    std::set<DWORD> threads;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Thread32First(hSnapshot, &entry); more; more = ::Thread32Next(hSnapshot, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId())
            threads.insert(entry.th32ThreadID);
    ::CloseHandle(hSnapshot);
    return threads;
}

class OneThreadTest : public FolderTest {
protected:
    // Runs work and expects no thread to have started meanwhile.
    template <typename Work>
    void ExpectNoNewThread(const char* what, Work&& work) {
        const std::set<DWORD> before = ProcessThreads();
        const int started = g_threadsStarted;
        work();
        EXPECT_EQ(g_threadsStarted - started, 0) << what;
        for (DWORD thread : ProcessThreads())
            EXPECT_TRUE(before.count(thread)) << what << ": thread " << thread;
    }
};

}  // namespace

TEST_F(OneThreadTest, TheCountingSeesAThreadStart) {
    const int started = g_threadsStarted;
    std::thread([] {}).join();
    EXPECT_GE(g_threadsStarted - started, 1);  // the platform may start one of its own meanwhile
}

TEST_F(OneThreadTest, SaveAndImportStartNoThread) {
    std::string mapping = "[Levels]\r\n";
    for (int i = 0; i < 200000; ++i)
        mapping += "L" + std::to_string(i) + " = Layer " + std::to_string(i) + "\r\n";
    WriteFile(path, mapping);
    std::string table = "%section,Levels\r\nLevel,DWGOutputLayer\r\n";
    for (int i = 0; i < 1000000; ++i)
        table += "K" + std::to_string(i * 7 % 1000000) + ",Layer " + std::to_string(i % 1000) + "\r\n";
    const std::string tablePath = Table("remap.csv", table);

    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hLevels = driver::SelectTab(hSheet, 3);

    // File > Import: the count starts once the Open dialog has its path,
    // and ends when the sheet is idle again with the rows shown.
    ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(ID_IMPORT_V8, 0), 0);
    HWND hOpen = nullptr;
    ASSERT_TRUE(driver::WaitUntil([&] {
        hOpen = ::FindWindowW(L"#32770", L"Select File");
        return hOpen && ::IsWindowVisible(hOpen);
    }));
    driver::Settle(hOpen);
    ::SetDlgItemTextA(hOpen, 0x47C, tablePath.c_str());
    ExpectNoNewThread("import", [&] {
        ::PostMessageW(hOpen, WM_COMMAND, IDOK, 0);
        driver::WaitUntil([&] { return !::IsWindow(hOpen); }, 60000);
        ::SendMessageTimeoutW(hSheet, WM_NULL, 0, 0, SMTO_NORMAL, 60000, nullptr);
    });
    EXPECT_EQ(::SendMessageW(::GetDlgItem(hLevels, IDC_LIST), LVM_GETITEMCOUNT, 0, 0), 1200000);

    // The dialog's own thread ends with it.
    ExpectNoNewThread("save", [&] { EXPECT_TRUE(run.Save()); });
    EXPECT_NE(ReadFile(path).find("\r\nK999993 = Layer 999\r\n"), std::string::npos);
}
