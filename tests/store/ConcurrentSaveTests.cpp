// Two programs on one machine save their own mapping files at the same
// moment, sharing one TEMP folder and so one backup name: every save of
// both must succeed and leave each file exactly as its program wrote it.
// The second program is this test executable started again in the role of
// the other saver.
#include "StoreTestSupport.h"

#include "store/platform/FileSystem.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace {

constexpr int kSaves = 300;
constexpr const char* kRoleVariable = "VARNEL_OTHER_SAVER";  // the folder the other saver works in

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

// Starts this executable again running only the other saver's test; gives
// a handle to wait on, or a negative value when it could not start.
std::intptr_t StartOtherSaver(const fs::path& folder) {
    SetVariable(kRoleVariable, folder.string());
    const std::string filter = "--gtest_filter=ConcurrentSave.OtherSaverRole";
#ifdef _WIN32
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + std::wstring(filter.begin(), filter.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    BOOL started = ::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &process);
    SetVariable(kRoleVariable, "");
    if (!started)
        return -1;
    ::CloseHandle(process.hThread);
    return std::intptr_t(process.hProcess);
#else
    char* argv[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(filter.c_str()), nullptr};
    pid_t pid = -1;
    int error = posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, environ);
    unsetenv(kRoleVariable);
    return error == 0 ? std::intptr_t(pid) : -1;
#endif
}

// The other saver's exit status, or -1 when it did not end within a minute.
int WaitForOtherSaver(std::intptr_t handle) {
#ifdef _WIN32
    HANDLE process = HANDLE(handle);
    DWORD code = DWORD(-1);
    if (::WaitForSingleObject(process, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process, &code);
    else
        ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    return int(code);
#else
    int status = 0;
    for (int waited = 0; waited < 6000; ++waited) {
        if (waitpid(pid_t(handle), &status, WNOHANG) == pid_t(handle))
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_t(handle), SIGKILL);
    waitpid(pid_t(handle), &status, 0);
    return -1;
#endif
}

// Saves a file of its own kSaves times, each time with one pair changed,
// and checks that every save succeeded and the file holds the last one.
void SaveRepeatedly(const fs::path& mappingPath, const char* who) {
    Tables tables;
    for (int i = 0; i < 2000; ++i)  // large enough that copying it for the backup takes a while
        tables[KindLevels].SetPair(CString::FromLatin1("Level " + std::to_string(i)),
                                   CString::FromLatin1(std::string(who) + "-LAYER"));
    CVNTextFile file(u"mapping", u"\n");
    for (int i = 0; i < kSaves; ++i) {
        tables[KindAliases].SetPair(u"save", CString::FromLatin1(std::to_string(i)));
        CString path = PathText(mappingPath);
        const SaveResult result = MappingFile::Save(file, path, tables.View());
        ASSERT_EQ(result.fault, SaveFault::None) << who << " save " << i << " failed (system code "
                                                 << result.nSystemCode << "): " << file.m_strError.ToUtf8();
    }
    EXPECT_EQ(ReadFile(mappingPath), tables.Written());
}

}  // namespace

TEST_F(StoreTest, TwoProgramsSavingAtOnceBothSucceed) {
    fs::create_directories(m_folder / "other");
    WriteFile(Path("commands.mapping"), "[Aliases]\r\nfirst = file\r\n");
    WriteFile(m_folder / "other" / "commands.mapping", "[Aliases]\r\nsecond = file\r\n");
    const std::intptr_t other = StartOtherSaver(m_folder / "other");
    ASSERT_GE(other, 0) << "the other saver did not start";
    // Both start saving together: the other saver says when it is ready.
    for (int waited = 0; waited < 3000 && !fs::exists(m_folder / "other" / "ready"); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    SaveRepeatedly(Path("commands.mapping"), "first");
    EXPECT_EQ(WaitForOtherSaver(other), 0) << "the other saver's saves failed (its output is above)";
    EXPECT_FALSE(fs::exists(BackupPath()));
}

// Runs only as the other saver started by the test above.
TEST(ConcurrentSave, OtherSaverRole) {
    const char* folder = std::getenv(kRoleVariable);
    if (!folder || !*folder)
        GTEST_SKIP() << "runs only as the other saver of TwoProgramsSavingAtOnceBothSucceed";
    WriteFile(fs::path(folder) / "ready", "");
    SaveRepeatedly(fs::path(folder) / "commands.mapping", "second");
}
