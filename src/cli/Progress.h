// A progress line on standard error once varnel has worked for a second:
// "varnel: <what is being done> (3 s)", drawn in place as each phase of the
// work begins and wiped at the end. Shown only when standard error is a
// terminal, so logs and pipes never see it. varnel runs on one thread: the
// line changes when the work reaches a new phase, never in between.
#pragma once

#include "framework/CString.h"

#include <chrono>

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
    const bool m_bShown;  // standard error is a terminal
    int m_shownLength = 0;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
