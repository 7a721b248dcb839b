#include "import/RemapTokenizer.h"

namespace {
constexpr char16_t Quote = u'"';
}

bool RemapTokenizer::IsSeparator(char16_t ch) const {
    if (m_mode == RemapMode::SectionedMode)
        return ch == u',';
    return ch == u' ' || ch == u'\t';
}

bool RemapTokenizer::AtLineEnd(const char16_t* at) {
    return at[0] == u'\0' || at[0] == u'\n' || (at[0] == u'\r' && at[1] == u'\n');
}

RemapTokenType RemapTokenizer::NextToken(RemapToken& token) {
    if (m_mode == RemapMode::SectionedMode) {
        if (IsSeparator(*m_cursor)) {
            token = {m_cursor, 0};
            ++m_cursor;
            return RemapTokenType::Field;
        }
    } else {
        while (IsSeparator(*m_cursor))
            ++m_cursor;
    }

    char16_t* start = m_cursor;
    switch (*m_cursor) {
    case u'\0':
        token = {start, 1};
        return RemapTokenType::End;
    case u'\n':
        token = {start, 1};
        ++m_cursor;
        return RemapTokenType::Newline;
    case u'\r':
        if (m_cursor[1] == u'\n') {
            token = {start + 1, 1};
            m_cursor += 2;
            return RemapTokenType::Newline;
        }
        break;
    case u'#':
        // The comment takes its line end with it.
        while (*m_cursor != u'\0' && *m_cursor != u'\n')
            ++m_cursor;
        if (*m_cursor == u'\n')
            ++m_cursor;
        token = {start, int32_t(m_cursor - start)};
        return RemapTokenType::Comment;
    case Quote:
        if (m_mode == RemapMode::SectionedMode) {
            token = ScanQuotedField();
            return RemapTokenType::Field;
        }
        break;
    default:
        break;
    }
    token = ScanPlainField();
    return RemapTokenType::Field;
}

RemapToken RemapTokenizer::ScanPlainField() {
    char16_t* start = m_cursor;
    while (!AtLineEnd(m_cursor) && !IsSeparator(*m_cursor))
        ++m_cursor;
    RemapToken token{start, int32_t(m_cursor - start)};
    FinishField();
    return token;
}

// A field that begins with a quote runs to the closing quote; separators and
// line ends inside belong to it and a doubled quote stands for one quote.
// The content is moved left over the quotes, so it stays a view into the
// buffer. Characters after the closing quote, up to the field's end, are
// kept as they are; a quote that never closes runs to the end of the text.
RemapToken RemapTokenizer::ScanQuotedField() {
    char16_t* start = m_cursor;
    char16_t* out = start;
    ++m_cursor;
    while (*m_cursor != u'\0') {
        if (*m_cursor == Quote) {
            if (m_cursor[1] != Quote) {
                ++m_cursor;
                break;
            }
            ++m_cursor;
        }
        *out++ = *m_cursor++;
    }
    while (!AtLineEnd(m_cursor) && !IsSeparator(*m_cursor))
        *out++ = *m_cursor++;
    RemapToken token{start, int32_t(out - start)};
    FinishField();
    return token;
}

void RemapTokenizer::FinishField() {
    if (IsSeparator(*m_cursor))
        ++m_cursor;
    else if (*m_cursor == u'\r')
        ++m_cursor;  // the '\n' of "\r\n" comes next as the newline token
}

bool RemapTokenizer::ReadRow(std::vector<RemapToken>& fields) {
    fields.clear();
    RemapToken token;
    for (;;) {
        switch (NextToken(token)) {
        case RemapTokenType::Field:
            fields.push_back(token);
            break;
        case RemapTokenType::Comment:
            break;
        case RemapTokenType::Newline:
            return true;
        case RemapTokenType::End:
            return !fields.empty();
        }
    }
}
