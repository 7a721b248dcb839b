#include "cli/Progress.h"

#include "cli/Console.h"

namespace {
constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedraw = std::chrono::milliseconds(250);
}  // namespace

Progress::Progress() {
    if (Console::IsTerminal(Console::Stream::Err))
        m_thread = std::thread([this] { Run(); });
}

Progress::~Progress() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    Clear();
}

void Progress::Phase(const CString& text) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_phase = text;
}

void Progress::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_shownLength == 0)
        return;
    Console::Write(Console::Stream::Err, (u"\r" + CString(u' ', m_shownLength) + u"\r").View());
    m_shownLength = 0;
}

void Progress::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_wake.wait_until(lock, m_start + kQuietTime, [this] { return m_stop; }))
        return;
    while (!m_stop) {
        Draw(lock);
        m_wake.wait_for(lock, kRedraw, [this] { return m_stop; });
    }
}

void Progress::Draw(std::unique_lock<std::mutex>&) {
    if (m_phase.IsEmpty())
        return;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_start);
    CString line;
    line.Format(u"varnel: %s (%d s)", m_phase, int(seconds.count()));
    const int length = line.GetLength();
    if (length < m_shownLength)
        line += CString(u' ', m_shownLength - length);
    Console::Write(Console::Stream::Err, (u"\r" + line).View());
    Console::Flush();
    m_shownLength = length > m_shownLength ? length : m_shownLength;
}
