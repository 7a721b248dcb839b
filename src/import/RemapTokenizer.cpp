#include "import/RemapTokenizer.h"

namespace {
constexpr char16_t Quote = u'"';
}

bool RemapTokenizer::IsSeparator(char16_t ch) const {
    if (m_mode == RemapMode::SectionedMode)
        return ch == u',';
    return ch == u' ' || ch == u'\t';
}

// The buffer's NUL at m_end makes at[1] safe to read before the end.
bool RemapTokenizer::AtLineEnd(const char16_t* at) const {
    return at == m_end || at[0] == u'\n' || (at[0] == u'\r' && at[1] == u'\n');
}

RemapTokenType RemapTokenizer::NextToken(RemapToken& token) {
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

    char16_t* start = m_cursor;
    if (m_cursor == m_end) {
        token = {start, 1};
        return RemapTokenType::End;
    }
    switch (*m_cursor) {
    case u'\n':
        token = {start, 1};
        ++m_cursor;
        ++m_line;
        return RemapTokenType::Newline;
    case u'\r':
        if (m_cursor[1] == u'\n') {
            token = {start + 1, 1};
            m_cursor += 2;
            ++m_line;
            return RemapTokenType::Newline;
        }
        break;
    case u'#':
        // The comment takes its line end with it.
        while (m_cursor != m_end && *m_cursor != u'\n')
            ++m_cursor;
        if (m_cursor != m_end) {
            ++m_cursor;
            ++m_line;
        }
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
    for (;;) {
        // No character above ',' ends a field in either mode, and the NUL
        // at the end is below it.
        while (*m_cursor > u',')
            ++m_cursor;
        if (AtLineEnd(m_cursor) || IsSeparator(*m_cursor))
            break;
        ++m_cursor;
    }
    RemapToken token{start, int32_t(m_cursor - start)};
    FinishField();
    return token;
}

// On the field's own line any quote that is not doubled closes it. On a
// later line only the first such quote can, and only when a separator or
// a line end follows it, as a quoted line break is written; a quote there
// that opens another field means this one never closed.
bool RemapTokenizer::ClosingQuoteFollows(const char16_t* at) const {
    bool sameLine = true;
    for (; at != m_end; ++at) {
        if (*at == u'\n')
            sameLine = false;
        if (*at != Quote)
            continue;
        if (at + 1 != m_end && at[1] == Quote) {
            ++at;
            continue;
        }
        return sameLine || AtLineEnd(at + 1) || IsSeparator(at[1]);
    }
    return false;
}

// A field that begins with a quote runs to the closing quote; separators and
// line ends inside belong to it and a doubled quote stands for one quote.
// The content is moved left over the quotes, so it stays a view into the
// buffer. Characters after the closing quote, up to the field's end, are
// kept as they are. A quote that never closes ends with its own line, so
// the rest of the file is read as usual.
RemapToken RemapTokenizer::ScanQuotedField() {
    char16_t* start = m_cursor;
    char16_t* out = start;
    ++m_cursor;
    const bool closes = ClosingQuoteFollows(m_cursor);
    while (m_cursor != m_end && (closes || !AtLineEnd(m_cursor))) {
        if (*m_cursor == Quote) {
            if (m_cursor + 1 == m_end || m_cursor[1] != Quote) {
                ++m_cursor;
                break;
            }
            ++m_cursor;
        }
        if (*m_cursor == u'\n')
            ++m_line;
        *out++ = *m_cursor++;
    }
    while (!AtLineEnd(m_cursor) && !IsSeparator(*m_cursor))
        *out++ = *m_cursor++;
    RemapToken token{start, int32_t(out - start)};
    FinishField();
    return token;
}

void RemapTokenizer::FinishField() {
    if (m_cursor == m_end)
        return;
    if (IsSeparator(*m_cursor))
        ++m_cursor;
    else if (*m_cursor == u'\r')
        ++m_cursor;  // the '\n' of "\r\n" comes next as the newline token
}

bool RemapTokenizer::ReadRow(std::vector<RemapToken>& fields) {
    fields.clear();
    RemapToken token;
    for (;;) {
        const int line = m_line;
        switch (NextToken(token)) {
        case RemapTokenType::Field:
            if (fields.empty())
                m_rowLine = line;
            fields.push_back(token);
            break;
        case RemapTokenType::Comment:
            break;
        case RemapTokenType::Newline:
            if (fields.empty())
                m_rowLine = line;
            return true;
        case RemapTokenType::End:
            return !fields.empty();
        }
    }
}
