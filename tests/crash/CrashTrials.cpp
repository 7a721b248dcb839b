// Crash trials: saves of a large mapping file through the real dialog of the
// real Varnel.dll, each in a process of its own that is killed at a random
// instant of the save. After every kill the mapping file must be, byte for
// byte, either the old file or the file the save writes.
//
//   crash_trials.exe [N]               N trials (default 20); prints
//                                      "N trials: X old, Y new, Z lost"
//                                      and exits 1 when Z is not 0
//   crash_trials.exe --save PATH EVENT one save: opens the dialog on PATH,
//                                      signals EVENT and presses Save
#include "driver/SheetDriver.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr int kPairs = 200000;

// The old file: 200,000 Levels pairs in a form the writer never produces
// (no blanks around "=", LF ends), so that the saved file differs from it
// throughout while holding the same pairs.
std::string OldFile() {
    std::string text = "[Levels]\n";
    text.reserve(size_t(kPairs) * 32);
    char line[64];
    for (int i = 0; i < kPairs; ++i)
        text.append(line, size_t(std::snprintf(line, sizeof line, "Level %06d=A-LAYER-%d\n", i, i * 7)));
    return text;
}

int SaveOnce(const std::string& path, const std::wstring& eventName) {
    VarnelLibrary library;
    if (!library.IsLoaded())
        return 3;
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    HANDLE hEvent = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str());
    if (!hSheet || !hEvent)
        return 4;
    ::SetEvent(hEvent);
    driver::Click(::GetDlgItem(hSheet, IDOK));
    return run.WaitClosed(120000) ? 0 : 5;
}

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

class Trials {
public:
    explicit Trials(const std::string& folder)
        : m_path(folder + "\\commands.mapping"),
          m_eventName(L"Local\\varnel-crash-trial-" + std::to_wstring(::GetCurrentProcessId())),
          m_hEvent(::CreateEventW(nullptr, FALSE, FALSE, m_eventName.c_str())), m_folder(folder),
          m_old(OldFile()) {}

    // One save to its end: the new file's bytes, and the time from the press
    // of Save until the file at the path changed, the span the kills aim at.
    bool Calibrate() {
        for (int run = 0; run < 3; ++run) {
            PROCESS_INFORMATION child = StartSaving();
            if (!child.hProcess)
                return false;
            const Clock::time_point pressed = Clock::now();
            // The size tells the new file from the old; opening the file to
            // compare would hold it open against the replacement.
            while (SizeOf(m_path) == m_old.size() && ::WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT)
                ::Sleep(0);
            m_window = std::max(m_window, Seconds(pressed, Clock::now()));
            ::WaitForSingleObject(child.hProcess, 60000);
            Close(child);
            m_new = ReadFile(m_path);
        }
        return !m_new.empty() && m_new != m_old;
    }

    // Kills one save at a random instant between the press of Save and a
    // little after the file changed; "old", "new" or "lost". Empty when no
    // save could be started.
    std::string RunOne(std::mt19937& random) {
        PROCESS_INFORMATION child = StartSaving();
        if (!child.hProcess)
            return "";
        const Clock::time_point pressed = Clock::now();
        double delay = std::uniform_real_distribution<double>(0.0, m_window * 1.25)(random);
        while (Seconds(pressed, Clock::now()) < delay && ::WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
        }
        ::TerminateProcess(child.hProcess, 9);
        ::WaitForSingleObject(child.hProcess, 60000);
        Close(child);
        std::string now = ReadFile(m_path);
        // An unfinished new file beside it: the kill came inside the save.
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            if (entry.path().extension() == ".tmp") {
                ++m_midSave;
                break;
            }
        return now == m_old ? "old" : now == m_new ? "new" : "lost";
    }

    double Window() const { return m_window; }
    int MidSave() const { return m_midSave; }

private:
    static std::uintmax_t SizeOf(const std::string& path) {
        std::error_code ignored;
        return std::filesystem::file_size(path, ignored);
    }

    // A process that has pressed Save, or none (null handles) when three
    // attempts ended before the press.
    PROCESS_INFORMATION StartSaving() {
        for (int attempt = 0; attempt < 3; ++attempt) {
            PROCESS_INFORMATION child = Start();
            if (!child.hProcess)
                break;
            HANDLE waits[] = {m_hEvent, child.hProcess};
            if (::WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0)
                return child;
            ::TerminateProcess(child.hProcess, 9);
            ::WaitForSingleObject(child.hProcess, 60000);
            Close(child);
        }
        return PROCESS_INFORMATION{};
    }

    // A fresh old file, alone in its folder (a killed save leaves its
    // unfinished new file behind), and a saving process on it.
    PROCESS_INFORMATION Start() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder, ignored))
            std::filesystem::remove(entry.path(), ignored);
        WriteFile(m_path, m_old);
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(self) + L"\" --save \"" +
                               std::wstring(m_path.begin(), m_path.end()) + L"\" " + m_eventName;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
            return PROCESS_INFORMATION{};
        return child;
    }

    static void Close(PROCESS_INFORMATION& child) {
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);
    }

    std::string m_path;
    std::wstring m_eventName;
    HANDLE m_hEvent;
    std::string m_folder;
    std::string m_old, m_new;
    double m_window = 0;
    int m_midSave = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--save") {
        std::string event = argv[3];
        return SaveOnce(argv[2], std::wstring(event.begin(), event.end()));
    }
    const int count = argc > 1 ? std::atoi(argv[1]) : 20;
    std::string folder = MakeTempFolder("crash-trials");
    Trials trials(folder);
    if (!trials.Calibrate()) {
        std::printf("the uninterrupted save did not complete\n");
        return 2;
    }
    std::mt19937 random{std::random_device()()};
    int old = 0, saved = 0, lost = 0;
    for (int i = 0; i < count; ++i) {
        std::string outcome = trials.RunOne(random);
        if (outcome.empty()) {
            std::printf("no save could be started\n");
            return 2;
        }
        (outcome == "old" ? old : outcome == "new" ? saved : lost)++;
    }
    std::printf("%d trials: %d old, %d new, %d lost\n", count, old, saved, lost);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::printf("(each kill within %.0f ms of the press of Save, the file changing %.0f ms after it; "
                "%d kills came while the new file was being written)\n",
                trials.Window() * 1250, trials.Window() * 1000, trials.MidSave());
    return lost == 0 ? 0 : 1;
}
