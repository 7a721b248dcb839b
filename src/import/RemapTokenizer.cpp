#include "import/RemapTokenizer.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Every field passes these: one call per row, not several per field.
#define VARNEL_HOT_INLINE [[gnu::always_inline]] inline

namespace {

constexpr char Quote = '"';

// A character's code as a number: bytes above 0x7F must not count as
// negative.
template <class Char>
unsigned Unit(Char ch) {
    return unsigned(std::make_unsigned_t<Char>(ch));
}

// The first character at or after at that is not above ',': none above it
// ends a field in either mode, and the NUL at the end is below it.
template <class Char>
VARNEL_HOT_INLINE const Char* SkipAboveComma(const Char* at) {
    while (Unit(*at) > unsigned(','))
        ++at;
    return at;
}

// In the sectioned form only ',' and the bytes below 0x0E (LF, CR, the NUL
// at the end) can end a field: the first such byte at or after at, eight
// bytes at a time (the buffer may be read up to 8 bytes past its NUL): a
// byte below 0x0E turns on its top bit in the difference, and so does a
// ',' in the difference of the word with ',' in every byte; the lowest
// such bit marks the first such byte. Spaces, common in values, do not
// stop the scan.
VARNEL_HOT_INLINE const char* SkipToCommaOrControl(const char* at) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kOnes = 0x0101010101010101ull;
        constexpr uint64_t kHigh = kOnes * 0x80;
        for (;;) {
            uint64_t word;
            std::memcpy(&word, at, sizeof word);
            const uint64_t notComma = word ^ (kOnes * ',');
            const uint64_t stops = ((word - kOnes * 0x0E) & ~word & kHigh) | ((notComma - kOnes) & ~notComma & kHigh);
            if (stops)
                return at + std::countr_zero(stops) / 8;
            at += sizeof word;
        }
    }
    return SkipAboveComma(at);
}

// Where fields of the sectioned form in bytes may end: the next ',' or byte
// below 0x0E at or after a place, sixteen bytes at a time where the
// processor has them (the buffer may be read up to 16 bytes past its NUL),
// else eight. Places asked for only ever move on.
class FieldEnds {
public:
    VARNEL_HOT_INLINE char* Next(char* from) {
#if defined(__SSE2__)
        if (m_loaded == nullptr || from - m_loaded >= 16)
            Load(from);
        uint32_t ahead = m_stops >> (from - m_loaded);
        while (ahead == 0) {
            Load(m_loaded + 16);
            ahead = m_stops;
            from = m_loaded;
        }
        return from + std::countr_zero(ahead);
#else
        return const_cast<char*>(SkipToCommaOrControl(from));
#endif
    }

private:
#if defined(__SSE2__)
    VARNEL_HOT_INLINE void Load(char* at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i comma = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(','));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, _mm_set1_epi8(0x0D)), bytes);
        m_loaded = at;
        m_stops = uint32_t(_mm_movemask_epi8(_mm_or_si128(comma, control)));
    }
    char* m_loaded = nullptr;  // the sixteen bytes last looked at
    uint32_t m_stops = 0;      // bit i: a stop at m_loaded[i]
#endif
};

}  // namespace

template <class Char>
VARNEL_HOT_INLINE bool BasicRemapTokenizer<Char>::IsSeparator(Char ch) const {
    if (m_mode == RemapMode::SectionedMode)
        return ch == Char(',');
    return ch == Char(' ') || ch == Char('\t');
}

// The buffer's NUL at m_end makes at[1] safe to read before the end.
template <class Char>
VARNEL_HOT_INLINE bool BasicRemapTokenizer<Char>::AtLineEnd(const Char* at) const {
    return at == m_end || at[0] == Char('\n') || (at[0] == Char('\r') && at[1] == Char('\n'));
}

template <class Char>
VARNEL_HOT_INLINE RemapTokenType BasicRemapTokenizer<Char>::NextToken(Token& token) {
    if (m_mode == RemapMode::SectionedMode) {
        if (m_cursor != m_end && IsSeparator(*m_cursor)) {
            token = {m_cursor, 0};
            ++m_cursor;
            return RemapTokenType::Field;
        }
    } else {
        while (m_cursor != m_end && IsSeparator(*m_cursor))
            ++m_cursor;
    }

    Char* start = m_cursor;
    if (m_cursor == m_end) {
        token = {start, 1};
        return RemapTokenType::End;
    }
    switch (*m_cursor) {
    case Char('\n'):
        token = {start, 1};
        ++m_cursor;
        ++m_line;
        return RemapTokenType::Newline;
    case Char('\r'):
        if (m_cursor[1] == Char('\n')) {
            token = {start + 1, 1};
            m_cursor += 2;
            ++m_line;
            return RemapTokenType::Newline;
        }
        break;
    case Char('#'):
        // The comment takes its line end with it.
        while (m_cursor != m_end && *m_cursor != Char('\n'))
            ++m_cursor;
        if (m_cursor != m_end) {
            ++m_cursor;
            ++m_line;
        }
        token = {start, int32_t(m_cursor - start)};
        return RemapTokenType::Comment;
    case Char(Quote):
        if (m_mode == RemapMode::SectionedMode) {
            ScanQuotedField(token);
            return RemapTokenType::Field;
        }
        break;
    default:
        break;
    }
    ScanPlainField(token);
    return RemapTokenType::Field;
}

template <class Char>
VARNEL_HOT_INLINE void BasicRemapTokenizer<Char>::ScanPlainField(Token& token) {
    Char* at = m_cursor;
    for (;;) {
        if constexpr (std::is_same_v<Char, char>)
            at = const_cast<Char*>(m_mode == RemapMode::SectionedMode ? SkipToCommaOrControl(at) : SkipAboveComma(at));
        else
            at = const_cast<Char*>(SkipAboveComma<Char>(at));
        if (AtLineEnd(at) || IsSeparator(*at))
            break;
        ++at;
    }
    token = {m_cursor, int32_t(at - m_cursor)};
    m_cursor = at;
    FinishField();
}

// On the field's own line any quote that is not doubled closes it. On a
// later line only the first such quote can, and only when a separator or
// a line end follows it, as a quoted line break is written; a quote there
// that opens another field means this one never closed.
template <class Char>
bool BasicRemapTokenizer<Char>::ClosingQuoteFollows(const Char* at) const {
    bool sameLine = true;
    for (; at != m_end; ++at) {
        if (*at == Char('\n'))
            sameLine = false;
        if (*at != Char(Quote))
            continue;
        if (at + 1 != m_end && at[1] == Char(Quote)) {
            ++at;
            continue;
        }
        return sameLine || AtLineEnd(at + 1) || IsSeparator(at[1]);
    }
    return false;
}

// A field that begins with a quote runs to the closing quote; separators and
// line ends inside belong to it. Characters after the closing quote, up to
// the field's end, belong to it too. A quote that never closes ends with
// its own line, so the rest of the file is read as usual. The token keeps
// the written form; Unquote makes it the content once its row is whole.
template <class Char>
void BasicRemapTokenizer<Char>::ScanQuotedField(Token& token) {
    const Char* at = m_cursor + 1;
    const bool closes = ClosingQuoteFollows(at);
    int lines = 0;
    while (at != m_end && (closes || !AtLineEnd(at))) {
        if (*at == Char(Quote)) {
            if (at + 1 == m_end || at[1] != Char(Quote)) {
                ++at;
                break;
            }
            at += 2;
            continue;
        }
        if (*at == Char('\n'))
            ++lines;
        ++at;
    }
    while (!AtLineEnd(at) && !IsSeparator(*at))
        ++at;
    token = {m_cursor, int32_t(at - m_cursor), true};
    m_cursor += at - m_cursor;
    m_line += lines;
    FinishField();
}

template <class Char>
void BasicRemapTokenizer<Char>::Unquote(Token& token) {
    // The buffer is the tokenizer's to rewrite (see the constructor).
    Char* out = const_cast<Char*>(token.text);
    const Char* in = token.text + 1;
    const Char* end = token.text + token.length;
    while (in != end) {
        if (*in == Char(Quote)) {
            ++in;
            if (in == end || *in != Char(Quote))
                break;  // the closing quote
        }
        *out++ = *in++;
    }
    while (in != end)
        *out++ = *in++;
    token.length = int32_t(out - token.text);
    token.quoted = false;
}

template <class Char>
VARNEL_HOT_INLINE void BasicRemapTokenizer<Char>::FinishField() {
    if (m_cursor == m_end)
        return;
    if (IsSeparator(*m_cursor))
        ++m_cursor;
    else if (*m_cursor == Char('\r'))
        ++m_cursor;  // the '\n' of "\r\n" comes next as the newline token
}

template <class Char>
VARNEL_HOT_INLINE bool BasicRemapTokenizer<Char>::ReadPlainRow(std::vector<Token>& fields) {
    // A LF or a CR LF, before the buffer's end (where the NUL is).
    auto AtCrLfOrLf = [](const Char* at) { return at[0] == Char('\n') || (at[0] == Char('\r') && at[1] == Char('\n')); };
    if constexpr (std::is_same_v<Char, char> && std::endian::native == std::endian::little) {
        FieldEnds ends;
        Char* at = m_cursor;
        for (;;) {
            // A field's first byte: a quote, a comment, another control
            // character and the buffer's end take the general road.
            const Char first = *at;
            if (AtCrLfOrLf(at))
                break;
            if (first == Char(Quote) || first == Char('#') || Unit(first) < 0x0E)
                return false;
            Char* const start = at;
            for (at = ends.Next(at); *at != Char(',') && !AtCrLfOrLf(at); at = ends.Next(at + 1)) {
                if (at == m_end)
                    return false;
                // Another control character, or a CR alone: in the field.
            }
            fields.push_back(Token{start, int32_t(at - start)});
            if (*at != Char(','))
                break;
            ++at;
        }
        // at is on the row's line end.
        m_rowLine = m_line;
        ++m_line;
        m_cursor = at + (*at == Char('\r') ? 2 : 1);
        return true;
    }
    return false;
}

template <class Char>
bool BasicRemapTokenizer<Char>::ReadRow(std::vector<Token>& fields) {
    fields.clear();
    if (m_mode == RemapMode::SectionedMode && ReadPlainRow(fields))
        return true;
    fields.clear();
    Token token;
    for (;;) {
        const int line = m_line;
        switch (NextToken(token)) {
        case RemapTokenType::Field:
            if (fields.empty())
                m_rowLine = line;
            // Field by field: a copy of the whole token would read it back from
            // memory just written member by member, which stalls.
            fields.push_back(Token{token.text, token.length, token.quoted});
            continue;
        case RemapTokenType::Comment:
            continue;
        case RemapTokenType::Newline:
            if (fields.empty())
                m_rowLine = line;
            break;
        case RemapTokenType::End:
            if (fields.empty())
                return false;
            break;
        }
        for (Token& field : fields)
            if (field.quoted)
                Unquote(field);
        return true;
    }
}

template class BasicRemapTokenizer<char16_t>;
template class BasicRemapTokenizer<char>;
