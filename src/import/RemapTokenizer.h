// Splits the reader's text into fields, line ends and comments, and groups
// fields into rows. Two modes: the comma-separated sectioned form of a
// version 8 remap file and the blank-separated single table of version 7.
//
// Every character that shapes a row (separators, quotes, '#', CR, LF, NUL)
// is ASCII, so the same rules hold over UTF-16 text and over the bytes of a
// single-byte code page whose bytes below 0x80 are ASCII.
#pragma once

#include "import/RemapToken.h"

#include <cstddef>
#include <vector>

enum class RemapMode { SectionedMode, SingleTableMode };

enum class RemapTokenType { Field, Newline, Comment, End };

template <class Char>
class BasicRemapTokenizer {
public:
    using Token = BasicRemapToken<Char>;

    // [text, end): the whole text, with a NUL at end (and, for bytes,
    // kPadding more bytes that may be read but mean nothing). A NUL before
    // end is an ordinary character. Every token points into the text; a
    // row has its quoted fields rewritten to their content in place.
    BasicRemapTokenizer(Char* text, Char* end, RemapMode mode) : m_cursor(text), m_end(end), m_mode(mode) {}

    // Bytes after the end's NUL that the byte reader may read ahead.
    static constexpr size_t kPadding = 16;

    // Reads one row into fields (cleared first). Comments are dropped; an
    // empty field is kept. True when a line end ended the row, or the end
    // of the text ended it after at least one field; false at the end of
    // the text without a field.
    bool ReadRow(std::vector<Token>& fields);
    // The line (from 1) the last row read began on: that of its first
    // field, or of its line end when it has none.
    int RowLine() const { return m_rowLine; }

private:
    // The common row of the sectioned form in bytes, read in one pass:
    // unquoted fields, no comment, the line end within the buffer. False,
    // having moved nothing, for any other row.
    bool ReadPlainRow(std::vector<Token>& fields);
    RemapTokenType NextToken(Token& token);
    bool IsSeparator(Char ch) const;
    // True at the end, a '\n' or a "\r\n", which end a field.
    bool AtLineEnd(const Char* at) const;
    // Whether a quote that closes a quoted field follows at or after at.
    bool ClosingQuoteFollows(const Char* at) const;
    // Each scan leaves the cursor after its token.
    void ScanPlainField(Token& token);
    void ScanQuotedField(Token& token);
    // Steps past a separator that ends a field, or onto the '\n' of a "\r\n".
    void FinishField();
    // Rewrites a quoted field to its content, over its own characters.
    static void Unquote(Token& token);

    Char* m_cursor;
    Char* m_end;
    RemapMode m_mode;
    int m_line = 1;  // the line the cursor is on
    int m_rowLine = 0;
};

using RemapTokenizer = BasicRemapTokenizer<char16_t>;
using RemapByteTokenizer = BasicRemapTokenizer<char>;
