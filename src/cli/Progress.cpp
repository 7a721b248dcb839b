#include "cli/Progress.h"

#include "cli/Console.h"

namespace {
constexpr auto kQuietTime = std::chrono::seconds(1);
}  // namespace

Progress::Progress() : m_bShown(Console::IsTerminal(Console::Stream::Err)) {}

Progress::~Progress() { Clear(); }

void Progress::Phase(const CString& text) {
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    if (!m_bShown || elapsed < kQuietTime)
        return;
    CString line;
    line.Format(u"varnel: %s (%d s)", text, int(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count()));
    const int length = line.GetLength();
    if (length < m_shownLength)
        line += CString(u' ', m_shownLength - length);
    Console::Write(Console::Stream::Err, (u"\r" + line).View());
    Console::Flush();
    m_shownLength = length > m_shownLength ? length : m_shownLength;
}

void Progress::Clear() {
    if (m_shownLength == 0)
        return;
    Console::Write(Console::Stream::Err, (u"\r" + CString(u' ', m_shownLength) + u"\r").View());
    m_shownLength = 0;
}
