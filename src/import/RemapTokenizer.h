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
    // text: a NUL-terminated buffer the tokenizer may rewrite in place (the
    // content of a quoted field is moved over its quotes); it ends at its
    // first NUL. Every token points into it.
    RemapTokenizer(char16_t* text, RemapMode mode) : m_cursor(text), m_mode(mode) {}

    // The next token at the cursor. At the end of the text every call gives
    // the end token again.
    RemapTokenType NextToken(RemapToken& token);

    // Reads one row into fields (cleared first). Comments are dropped; an
    // empty field is kept. TRUE when a line end ended the row, or the end of
    // the text ended it after at least one field.
    bool ReadRow(std::vector<RemapToken>& fields);

private:
    bool IsSeparator(char16_t ch) const;
    // True at a NUL, a '\n' or a "\r\n", which end a field.
    static bool AtLineEnd(const char16_t* at);
    RemapToken ScanPlainField();
    RemapToken ScanQuotedField();
    // Steps past a separator that ends a field, or onto the '\n' of a "\r\n".
    void FinishField();

    char16_t* m_cursor;
    RemapMode m_mode;
};
