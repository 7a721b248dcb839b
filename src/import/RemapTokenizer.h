// Splits the reader's text buffer into fields, line ends and comments, and
// groups fields into rows. Two modes: the comma-separated sectioned form of
// a version 8 remap file and the blank-separated single table of version 7.
//
// The buffer may be the whole text or a window onto it (a part of a file
// being read piece by piece): a row that reaches the window's end is given
// back as NeedMore, untouched, to be read again once more text follows.
// Every character that shapes a row (separators, quotes, '#', CR, LF, NUL)
// is ASCII, and no byte of a multi-byte character in an ANSI code page is
// below 0x40, so the same rules hold over UTF-16 text and over the bytes.
#pragma once

#include "import/RemapToken.h"

#include <vector>

enum class RemapMode { SectionedMode, SingleTableMode };

enum class RemapTokenType { Field, Newline, Comment, End, NeedMore };

enum class RemapRowResult { Row, End, NeedMore };

template <class Char>
class BasicRemapTokenizer {
public:
    using Token = BasicRemapToken<Char>;

    // [text, end): a buffer with a NUL at end (and, for bytes, 16 more bytes
    // that may be read but mean nothing). A NUL before end is an
    // ordinary character. wholeText: end is the end of the text; else more
    // may follow it. Every token points into the buffer; a row that is
    // read whole has its quoted fields rewritten to their content in place.
    BasicRemapTokenizer(Char* text, Char* end, RemapMode mode, bool wholeText = true)
        : m_cursor(text), m_end(end), m_mode(mode), m_wholeText(wholeText) {}

    // Reads one row into fields (cleared first). Comments are dropped; an
    // empty field is kept. Row when a line end ended the row, or the end of
    // the whole text ended it after at least one field; End at the end of
    // the whole text without a field; NeedMore when the row runs past the
    // window: the cursor and the line count are back at the row's start.
    RemapRowResult ReadRow(std::vector<Token>& fields);
    // The line (from 1) the last row read began on: that of its first
    // field, or of its line end when it has none.
    int RowLine() const { return m_rowLine; }

    // Where the next row begins and its line, to carry an unread row over
    // into the next window.
    const Char* Cursor() const { return m_cursor; }
    int Line() const { return m_line; }
    void SetLine(int line) { m_line = line; }

private:
    // The common row of the sectioned form in bytes, read in one pass:
    // unquoted fields, no comment, the line end within the buffer. False,
    // having moved nothing, for any other row.
    bool ReadPlainRow(std::vector<Token>& fields);
    RemapTokenType NextToken(Token& token);
    bool IsSeparator(Char ch) const;
    // True at the end, a '\n' or a "\r\n", which end a field.
    bool AtLineEnd(const Char* at) const;
    enum class Closing { Closes, Open, Unknown };
    // Whether a quote that closes a quoted field follows at or after at;
    // Unknown when the window ends before that is decided.
    Closing ClosingQuoteFollows(const Char* at) const;
    // Each scan leaves the cursor after its token; false when it ran into
    // the end of a window.
    bool ScanPlainField(Token& token);
    bool ScanQuotedField(Token& token);
    // Steps past a separator that ends a field, or onto the '\n' of a "\r\n".
    void FinishField();
    bool AtWindowEnd(const Char* at) const { return at == m_end && !m_wholeText; }
    // Rewrites a quoted field to its content, over its own characters.
    static void Unquote(Token& token);

    Char* m_cursor;
    Char* m_end;
    RemapMode m_mode;
    bool m_wholeText;
    int m_line = 1;  // the line the cursor is on
    int m_rowLine = 0;
};

using RemapTokenizer = BasicRemapTokenizer<char16_t>;
using RemapByteTokenizer = BasicRemapTokenizer<char>;
