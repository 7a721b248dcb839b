// A progress line on standard error for work that takes longer than a
// second: "varnel: <what is being done> (3 s)", redrawn in place and wiped
// at the end. Shown only when standard error is a terminal, so logs and
// pipes never see it.
#pragma once

#include "framework/CString.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class Progress {
public:
    Progress();
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // What is being done now.
    void Phase(const CString& text);
    // Wipes the line (before other output goes to standard error).
    void Clear();

private:
    void Run();
    void Draw(std::unique_lock<std::mutex>& lock);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    CString m_phase;
    int m_shownLength = 0;
    bool m_stop = false;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::thread m_thread;
};
