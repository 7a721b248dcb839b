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

// Encodes characters as 8-bit bytes: each character becomes the byte of its
// code and every LF becomes CR LF. A character above 255 cannot be held:
// Append then adds nothing, returns false and keeps the character. The
// buffer grows by doubling and is zero-filled only when it grows, so small
// pieces cost a copy each and nothing more.
class Encoder {
public:
    // Room for about size bytes before the first growth.
    void Reserve(size_t size) {
        if (size > m_out.size())
            m_out.resize(size);
    }

    bool Append(std::u16string_view text) {
        if (text.size() > m_out.size() - m_used)
            Grow(text.size());
        char* p = m_out.data() + m_used;
        char16_t all = 0;
        bool lineFeed = false;
        for (size_t i = 0; i < text.size(); ++i) {  // straight copy, vectorised
            all |= text[i];
            lineFeed |= text[i] == u'\n';
            p[i] = char(text[i]);
        }
        if (all <= 0xFF && !lineFeed) {
            m_used += text.size();
            return true;
        }
        return AppendSlowly(text);
    }

    char16_t BadChar() const { return m_badChar; }

    // The bytes appended so far; the encoder is empty afterwards.
    std::string Take() {
        m_out.resize(m_used);
        m_used = 0;
        return std::move(m_out);
    }

private:
    void Grow(size_t more) {
        size_t doubled = m_out.size() * 2;
        m_out.resize(doubled > m_used + more ? doubled : m_used + more + 64);
    }

    // Character by character: line feeds widen to CR LF, and a character
    // above 255 undoes the piece.
    bool AppendSlowly(std::u16string_view text) {
        size_t start = m_used;
        for (char16_t ch : text) {
            if (ch > 0xFF) {
                m_used = start;
                m_badChar = ch;
                return false;
            }
            if (m_out.size() - m_used < 2)
                Grow(2);
            if (ch == u'\n')
                m_out[m_used++] = '\r';
            m_out[m_used++] = char(ch);
        }
        return true;
    }

    std::string m_out;
    size_t m_used = 0;
    char16_t m_badChar = 0;
};

}  // namespace TextLines
