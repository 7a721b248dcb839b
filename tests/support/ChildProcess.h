// This test executable started again as a second process that runs only the
// tests the filter names (usually a test that does nothing unless a variable
// of the environment gives it its role), with its output collected.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

class ChildProcess {
public:
    // Starts it with the variables set for it alone (and GoogleTest's
    // filter); Started() tells whether that worked.
    ChildProcess(const std::string& filter, const std::vector<std::pair<std::string, std::string>>& variables) {
        for (const auto& [name, value] : variables)
            SetVariable(name, value);
        const std::string argument = "--gtest_filter=" + filter;
#ifdef _WIN32
        wchar_t self[MAX_PATH];
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + std::wstring(argument.begin(), argument.end());
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE hWrite = nullptr;
        ::CreatePipe(&m_hOutput, &hWrite, &inherit, 0);
        ::SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = hWrite;
        startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        PROCESS_INFORMATION process{};
        if (::CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                             &process)) {
            ::CloseHandle(process.hThread);
            m_hProcess = process.hProcess;
        }
        ::CloseHandle(hWrite);
#else
        int fds[2];
        if (::pipe(fds) == 0) {
            posix_spawn_file_actions_t actions;
            posix_spawn_file_actions_init(&actions);
            posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
            posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
            posix_spawn_file_actions_addclose(&actions, fds[0]);
            char* argv[] = {const_cast<char*>("/proc/self/exe"), const_cast<char*>(argument.c_str()), nullptr};
            if (posix_spawn(&m_pid, "/proc/self/exe", &actions, nullptr, argv, environ) != 0)
                m_pid = -1;
            posix_spawn_file_actions_destroy(&actions);
            ::close(fds[1]);
            m_output = fds[0];
            ::fcntl(m_output, F_SETFL, O_NONBLOCK);
        }
#endif
        for (const auto& variable : variables)
            SetVariable(variable.first, "");
    }
    ~ChildProcess() { Wait(0); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const {
#ifdef _WIN32
        return m_hProcess != nullptr;
#else
        return m_pid > 0;
#endif
    }

    // Its exit status once it ended within the time; otherwise it is killed
    // and the result is -1. Its output so far is in Output().
    int Wait(int milliseconds) {
        if (!Started() || m_exitCode != kRunning)
            return m_exitCode;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        for (;;) {
            Collect();
            if (Ended() || std::chrono::steady_clock::now() >= end)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (m_exitCode == kRunning) {
            Kill();
            m_exitCode = -1;
        }
        Collect();
        Close();
        return m_exitCode;
    }
    const std::string& Output() const { return m_text; }

private:
    static constexpr int kRunning = -2;

    static void SetVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
        _putenv_s(name.c_str(), value.c_str());
#else
        value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
#endif
    }

#ifdef _WIN32
    void Collect() {
        DWORD available = 0;
        char buffer[4096];
        DWORD got = 0;
        while (m_hOutput && ::PeekNamedPipe(m_hOutput, nullptr, 0, nullptr, &available, nullptr) && available &&
               ::ReadFile(m_hOutput, buffer, sizeof buffer, &got, nullptr) && got)
            m_text.append(buffer, got);
    }
    bool Ended() {
        DWORD code = 0;
        if (::WaitForSingleObject(m_hProcess, 0) != WAIT_OBJECT_0 || !::GetExitCodeProcess(m_hProcess, &code))
            return false;
        m_exitCode = int(code);
        return true;
    }
    void Kill() { ::TerminateProcess(m_hProcess, 1); ::WaitForSingleObject(m_hProcess, 5000); }
    void Close() {
        ::CloseHandle(m_hProcess);
        ::CloseHandle(m_hOutput);
        m_hOutput = nullptr;
    }
    HANDLE m_hProcess = nullptr;
    HANDLE m_hOutput = nullptr;
#else
    void Collect() {
        char buffer[4096];
        ssize_t got;
        while (m_output >= 0 && (got = ::read(m_output, buffer, sizeof buffer)) > 0)
            m_text.append(buffer, size_t(got));
    }
    bool Ended() {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
            return false;
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
    }
    void Kill() {
        int status = 0;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, &status, 0);
    }
    void Close() {
        ::close(m_output);
        m_output = -1;
    }
    pid_t m_pid = -1;
    int m_output = -1;
#endif
    int m_exitCode = kRunning;
    std::string m_text;
};
