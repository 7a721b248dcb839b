// Line splitting and the 8-bit character form shared by the text file and
// the mapping-file reader. A line ends at LF; a CR directly before the LF is
// not part of the line; the LF after the last line adds no empty line; an
// empty text has no lines. Each byte stands for the character of its code
// (CString::FromLatin1).
#pragma once

#include "framework/CString.h"

#include <cstring>
#include <string_view>

namespace TextLines {

// Calls visit(std::string_view line) for every line of bytes, in order.
template <typename Visit>
void ForEachLine(std::string_view bytes, Visit&& visit) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* lineEnd = lf ? lf : end;
        const char* textEnd = (lf && lineEnd > p && lineEnd[-1] == '\r') ? lineEnd - 1 : lineEnd;
        visit(std::string_view(p, size_t(textEnd - p)));
        p = lf ? lf + 1 : end;
    }
}

}  // namespace TextLines
