// Splits the reader's text buffer into fields, line ends and comments, and
// groups fields into rows. Two modes: the comma-separated sectioned form of
// a version 8 remap file and the blank-separated single table of version 7.
#pragma once

#include "import/RemapToken.h"

#include <vector>

enum class RemapMode { SectionedMode, SingleTableMode };

enum class RemapTokenType { Field, Newline, Comment, End };

class RemapTokenizer {
public:
    // [text, end): a buffer with a NUL at end, which the tokenizer may
    // rewrite in place (the content of a quoted field is moved over its
    // quotes). A NUL before end is an ordinary character. Every token
    // points into the buffer.
    RemapTokenizer(char16_t* text, char16_t* end, RemapMode mode) : m_cursor(text), m_end(end), m_mode(mode) {}

    // The next token at the cursor. At the end of the text every call gives
    // the end token again.
    RemapTokenType NextToken(RemapToken& token);

    // Reads one row into fields (cleared first). Comments are dropped; an
    // empty field is kept. TRUE when a line end ended the row, or the end of
    // the text ended it after at least one field.
    bool ReadRow(std::vector<RemapToken>& fields);
    // The line (from 1) the last row read began on: that of its first
    // field, or of its line end when it has none.
    int RowLine() const { return m_rowLine; }

private:
    bool IsSeparator(char16_t ch) const;
    // True at the end, a '\n' or a "\r\n", which end a field.
    bool AtLineEnd(const char16_t* at) const;
    // True when a quote that closes a quoted field follows at or after at.
    bool ClosingQuoteFollows(const char16_t* at) const;
    RemapToken ScanPlainField();
    RemapToken ScanQuotedField();
    // Steps past a separator that ends a field, or onto the '\n' of a "\r\n".
    void FinishField();

    char16_t* m_cursor;
    char16_t* m_end;
    RemapMode m_mode;
    int m_line = 1;  // the line the cursor is on
    int m_rowLine = 0;
};
