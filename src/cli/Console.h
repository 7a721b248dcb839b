// The command-line tool's door to the platform's standard streams, one
// implementation per platform (ConsolePosix.cpp, ConsoleWin32.cpp). Text is
// UTF-16 inside; a terminal gets it as the platform shows text, a pipe or
// file as UTF-8 with LF line ends.
#pragma once

#include <string_view>

namespace Console {

enum class Stream { Out, Err };

void Write(Stream stream, std::u16string_view text);
// True when the stream is a terminal (a console window on Windows).
bool IsTerminal(Stream stream);
void Flush();

}  // namespace Console
