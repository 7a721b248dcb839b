// Line splitting and the encoding of lines, shared by the text file and
// the mapping file. A line ends at LF; a CR directly before the LF does not
// belong to the line; the LF after the last line adds no empty line; an
// empty text has no lines. In every code page an LF byte is a line end:
// no character of two bytes has an LF (or a CR) as its second half.
#pragma once

#include "store/platform/TextCodec.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace TextLines {

namespace detail {
inline const char* FindLineFeed(const char* p, const char* end) {
    return static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
}
inline const char16_t* FindLineFeed(const char16_t* p, const char16_t* end) {
    while (p != end && *p != u'\n')
        ++p;
    return p == end ? nullptr : p;
}
}  // namespace detail

// Calls visit(line) for every line of the bytes or characters, in order.
template <typename Char, typename Visit>
void ForEachLine(std::basic_string_view<Char> text, Visit&& visit) {
    using detail::FindLineFeed;
    const Char* p = text.data();
    const Char* end = p + text.size();
    while (p < end) {
        const Char* lf = FindLineFeed(p, end);
        const Char* lineEnd = lf ? lf : end;
        const Char* textEnd = (lf && lineEnd > p && lineEnd[-1] == Char('\r')) ? lineEnd - 1 : lineEnd;
        visit(std::basic_string_view<Char>(p, size_t(textEnd - p)));
        p = lf ? lf + 1 : end;
    }
}

// Calls visit(std::u16string_view line) for every line of bytes in the
// codec's code page. Single-byte text is widened line by line; other text
// is decoded whole first (a line feed byte is always a line end, but a
// line of bytes might end inside a character when the text is broken).
template <typename Visit>
void ForEachDecodedLine(std::string_view bytes, const TextCodec& codec, Visit&& visit) {
    if (codec.IsSingleByte()) {
        std::u16string line;
        ForEachLine(bytes, [&](std::string_view lineBytes) {
            line.clear();
            codec.WidenInto(lineBytes, line);
            visit(std::u16string_view(line));
        });
        return;
    }
    std::u16string text;
    codec.Decode(bytes, text);
    ForEachLine(std::u16string_view(text), visit);
}

// Encodes lines of characters into the bytes of a code page, every LF as
// CR LF. The first character the code page cannot hold stops the encoding,
// and BadLine and BadChar tell where it was. Single-byte code pages encode
// through the codec's table; other code pages gather about a megabyte of
// lines and convert them at once.
class Encoder {
public:
    explicit Encoder(const TextCodec& codec = TextCodec::Active()) : m_codec(codec) {}

    // Room for about size bytes before the first growth; untouched room
    // costs no memory.
    void Reserve(size_t size);
    // One line: its texts, then lineEnd. A line of ASCII alone in a
    // single-byte code page is copied straight, four units at a time.
    void AppendLine(std::initializer_list<std::u16string_view> texts, std::u16string_view lineEnd);

    // True once a character without a form in the code page was met (for
    // multi-byte code pages, at the latest when Take converts the rest).
    bool Failed() const { return m_badLine != 0; }
    // The line (from 1) and the character that failed.
    int BadLine() const { return m_badLine; }
    char32_t BadChar() const { return m_badChar; }
    // Bytes encoded and not yet taken (a multi-byte code page's last lines,
    // up to a megabyte of characters, are converted later).
    size_t Pending() const { return m_used; }

    // The bytes of every line ended so far (in place of what bytes held);
    // false when a character failed. The encoder is empty afterwards and
    // goes on with the next line.
    bool Take(std::string& bytes);

private:
    void Grow(size_t more);
    void Append(std::u16string_view text);
    void Fail(std::u16string_view text, size_t index, int line);
    void Flush();

    const TextCodec& m_codec;
    std::string m_out;  // single-byte: m_used of it hold bytes, the room beyond is reserved
    size_t m_used = 0;
    int m_lines = 0;  // lines ended
    int m_badLine = 0;
    char32_t m_badChar = 0;
    // Multi-byte: the characters gathered (LF already CR LF) and where each
    // of their lines begins; m_stagedFirstLine is the number of the first.
    std::u16string m_staged;
    std::vector<size_t> m_lineStarts;
    int m_stagedFirstLine = 1;
};

}  // namespace TextLines
