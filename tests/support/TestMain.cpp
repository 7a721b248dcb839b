// The main of every test executable: GoogleTest's, with a watchdog. A test
// that waits forever (on a window that never comes or never goes, a thread
// that never ends) would hold a whole run; instead, when no test starts or
// ends for a minute, the process says so in one line, names the test and
// the windows it has open, and ends itself with a failure.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Progress {
    std::mutex mutex;
    Clock::time_point last = Clock::now();
    std::string where = "starting";
};
Progress g_progress;

#ifdef _WIN32
// The visible top-level windows of this process, with a message box's text.
std::string OpenWindows() {
    std::string list;
    auto add = [&list](HWND hWnd) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        if (pid != ::GetCurrentProcessId() || !::IsWindowVisible(hWnd))
            return;
        char caption[256] = {}, text[1024] = {};
        ::GetWindowTextA(hWnd, caption, sizeof caption);
        ::GetDlgItemTextA(hWnd, 0xFFFF, text, sizeof text);
        list += std::string(list.empty() ? "" : "; ") + "\"" + caption + "\"" + (*text ? std::string(": ") + text : "");
    };
    for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        add(hWnd);
    return list.empty() ? "none" : list;
}
#endif

[[noreturn]] void EndProcess(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef _WIN32
    // Not ExitProcess: a thread stuck in a window call could hold up the
    // libraries' detach, and the end must not wait for anything.
    ::TerminateProcess(::GetCurrentProcess(), UINT(code));
#endif
    std::_Exit(code);
}

void Watch(std::chrono::seconds limit) {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        std::string where;
        {
            std::lock_guard<std::mutex> lock(g_progress.mutex);
            if (Clock::now() - g_progress.last < limit)
                continue;
            where = g_progress.where;
        }
        std::fprintf(stderr, "\nWATCHDOG: no progress for %lld s in %s; ending this test executable.\n",
                     static_cast<long long>(limit.count()), where.c_str());
#ifdef _WIN32
        std::fprintf(stderr, "WATCHDOG: open windows: %s\n", OpenWindows().c_str());
#endif
        EndProcess(3);
    }
}

void NoteProgress(const std::string& where) {
    std::lock_guard<std::mutex> lock(g_progress.mutex);
    g_progress.last = Clock::now();
    g_progress.where = where;
}

class ProgressListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        NoteProgress(std::string(test.test_suite_name()) + "." + test.name());
    }
    void OnTestEnd(const ::testing::TestInfo& test) override {
        NoteProgress("the end of " + std::string(test.test_suite_name()) + "." + test.name());
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // VARNEL_TEST_STALL_SECONDS shortens the minute (the watchdog's own test).
    const char* stall = std::getenv("VARNEL_TEST_STALL_SECONDS");
    const std::chrono::seconds limit(stall && std::atoi(stall) > 0 ? std::atoi(stall) : 60);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProgressListener);
    std::thread(Watch, limit).detach();
    const int result = RUN_ALL_TESTS();
    NoteProgress("the end of the process, after its tests");
#ifdef _WIN32
    // Under Wine a process that used the platform's file dialogs can wait at
    // its exit for threads of theirs; every test has unloaded Varnel.dll by
    // now, so the process ends here.
    EndProcess(result);
#else
    return result;  // the exit handlers run (the sanitizers' leak check)
#endif
}
