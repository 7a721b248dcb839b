// Standard streams on POSIX systems: UTF-8, whatever they are.
#include "cli/Console.h"

#include "framework/CString.h"

#include <cstdio>
#include <unistd.h>

namespace Console {

namespace {
FILE* File(Stream stream) { return stream == Stream::Out ? stdout : stderr; }
}  // namespace

void Write(Stream stream, std::u16string_view text) {
    const std::string bytes = CString(text).ToUtf8();
    std::fwrite(bytes.data(), 1, bytes.size(), File(stream));
}

bool IsTerminal(Stream stream) { return ::isatty(stream == Stream::Out ? 1 : 2) == 1; }

void Flush() {
    std::fflush(stdout);
    std::fflush(stderr);
}

}  // namespace Console
