#include "store/platform/TextLines.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace TextLines {

namespace {
constexpr size_t kStagedUnits = size_t(1) << 20;
}

void Encoder::Reserve(size_t size) {
    if (!m_codec.IsSingleByte())
        m_staged.reserve(std::min(size, kStagedUnits));
    else
        m_out.reserve(size);
}

// The string's size runs a little ahead of what is written, so that most
// texts find room without a call here; its capacity may run far ahead,
// since reserved pages are touched only once written.
void Encoder::Grow(size_t more) {
    constexpr size_t kAhead = size_t(64) << 10;
    if (m_used + more > m_out.capacity())
        m_out.reserve(std::max(m_out.capacity() * 2, m_used + more + kAhead));
    m_out.resize(std::min(m_out.capacity(), m_used + std::max(more, kAhead)));
}

// A multi-byte code page's text is gathered as it is (LF as CR LF) and
// converted later; a single-byte one goes character by character through
// the code page's table: line feeds widen to CR LF, and a character
// without a byte stops the encoding.
void Encoder::Append(std::u16string_view text) {
    if (Failed())
        return;
    if (!m_codec.IsSingleByte()) {
        for (size_t lf; (lf = text.find(u'\n')) != std::u16string_view::npos; text.remove_prefix(lf + 1)) {
            m_staged += text.substr(0, lf);
            m_staged += u"\r\n";
        }
        m_staged += text;
        return;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const int byte = m_codec.Narrow(text[i]);
        if (byte < 0) {
            Fail(text, i, m_lines + 1);
            return;
        }
        if (m_out.size() - m_used < 2)
            Grow(2);
        if (text[i] == u'\n')
            m_out[m_used++] = '\r';
        m_out[m_used++] = char(byte);
    }
}

void Encoder::Fail(std::u16string_view text, size_t index, int line) {
    m_badLine = line;
    m_badChar = TextCodec::CodePointAt(text, index);
}

void Encoder::AppendLine(std::initializer_list<std::u16string_view> texts, std::u16string_view lineEnd) {
    if (m_codec.IsSingleByte() && lineEnd == u"\n" && !Failed()) {
        size_t size = 2;
        for (std::u16string_view text : texts)
            size += text.size();
        if (size > m_out.size() - m_used)
            Grow(size);
        char* p = m_out.data() + m_used;
        uint64_t all = 0;
        bool lineFeed = false;
        for (std::u16string_view text : texts) {
            const char16_t* in = text.data();
            size_t left = text.size();
            if constexpr (std::endian::native == std::endian::little) {
                // Four units at a time: their low bytes side by side.
                constexpr uint64_t kUnits = 0x0001000100010001ull;
                for (; left >= 4; left -= 4, in += 4, p += 4) {
                    uint64_t word;
                    std::memcpy(&word, in, sizeof word);
                    all |= word;
                    const uint64_t lf = word ^ (kUnits * u'\n');
                    lineFeed |= ((lf - kUnits) & ~lf & (kUnits << 15)) != 0;
                    const uint32_t bytes = uint32_t((word & 0xFF) | (word >> 8 & 0xFF00) | (word >> 16 & 0xFF0000) |
                                                    (word >> 24 & 0xFF000000));
                    std::memcpy(p, &bytes, sizeof bytes);
                }
            }
            for (; left > 0; --left) {
                const char16_t ch = *in++;
                all |= ch;
                lineFeed |= ch == u'\n';
                *p++ = char(ch);
            }
        }
        if ((all & 0xFF80FF80FF80FF80ull) == 0 && !lineFeed) {
            *p++ = '\r';
            *p++ = '\n';
            m_used = size_t(p - m_out.data());
            ++m_lines;
            return;
        }
    }
    // Through the code page's table, or gathered for a multi-byte one.
    for (std::u16string_view text : texts)
        Append(text);
    Append(lineEnd);
    ++m_lines;
    if (!m_codec.IsSingleByte() && !Failed()) {
        m_lineStarts.push_back(m_staged.size());  // where the next line begins
        if (m_staged.size() >= kStagedUnits)
            Flush();
    }
}

// Converts the gathered lines at once; a failure is traced to its line.
void Encoder::Flush() {
    size_t badIndex = 0;
    if (!m_codec.Encode(m_staged, m_out, badIndex)) {
        // m_lineStarts holds where each line after the first begins.
        const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), badIndex);
        Fail(m_staged, badIndex, m_stagedFirstLine + int(after - m_lineStarts.begin()));
    }
    m_used = m_out.size();
    m_stagedFirstLine = m_lines + 1;
    m_staged.clear();
    m_lineStarts.clear();
}

bool Encoder::Take(std::string& bytes) {
    if (!m_codec.IsSingleByte() && !Failed() && !m_staged.empty())
        Flush();
    if (Failed())
        return false;
    m_out.resize(m_used);
    m_used = 0;
    // The encoder goes on in bytes' memory: two buffers taken in turn are
    // written over, never fresh pages the system has to provide.
    bytes.swap(m_out);
    m_out.clear();
    return true;
}

}  // namespace TextLines
