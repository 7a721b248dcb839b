// Line splitting and the 8-bit character form shared by the text file and
// the mapping-file reader. A line ends at LF; a CR directly before the LF is
// not part of the line; the LF after the last line adds no empty line; an
// empty text has no lines. Each byte stands for the character of its code
// (CString::FromLatin1).
#pragma once

#include "framework/CString.h"

#include <cstring>
#include <string>
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

namespace TextLines {

// Appends characters to 8-bit bytes: each character becomes the byte of its
// code and every LF becomes CR LF. A character above 255 cannot be held:
// Append then adds nothing, returns false and keeps the character.
class Encoder {
public:
    explicit Encoder(std::string& out) : m_out(out) {}

    bool Append(std::u16string_view text) {
        size_t start = m_out.size();
        m_out.resize(start + text.size());
        char* p = m_out.data() + start;
        char16_t all = 0;
        bool lineFeed = false;
        for (size_t i = 0; i < text.size(); ++i) {  // straight copy, vectorised
            all |= text[i];
            lineFeed |= text[i] == u'\n';
            p[i] = char(text[i]);
        }
        if (all <= 0xFF && !lineFeed)
            return true;
        m_out.resize(start);
        for (char16_t ch : text) {
            if (ch > 0xFF) {
                m_out.resize(start);
                m_badChar = ch;
                return false;
            }
            if (ch == u'\n')
                m_out += '\r';
            m_out += char(ch);
        }
        return true;
    }

    char16_t BadChar() const { return m_badChar; }

private:
    std::string& m_out;
    char16_t m_badChar = 0;
};

}  // namespace TextLines
