// Standard streams on Windows: a console window gets UTF-16 through
// WriteConsoleW, so every character shows whatever its code page; a pipe or
// file gets UTF-8 bytes with LF line ends, the same as the native build.
#include "cli/Console.h"

#include "framework/CString.h"

#include <windows.h>

#include <cstdio>

namespace Console {

namespace {

HANDLE Handle(Stream stream) { return ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE); }

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

}  // namespace

void Write(Stream stream, std::u16string_view text) {
    HANDLE handle = Handle(stream);
    if (IsConsole(handle)) {
        Flush();
        DWORD written = 0;
        ::WriteConsoleW(handle, text.data(), DWORD(text.size()), &written, nullptr);
        return;
    }
    // Through the C library's buffer, in binary mode: no LF becomes CR LF.
    FILE* file = stream == Stream::Out ? stdout : stderr;
    const std::string bytes = CString(text).ToUtf8();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
}

bool IsTerminal(Stream stream) { return IsConsole(Handle(stream)); }

void Flush() {
    std::fflush(stdout);
    std::fflush(stderr);
}

}  // namespace Console
