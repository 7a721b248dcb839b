// The MicroStation mapping table reader: reads a version 8 remap file
// (sectioned, comma-separated, a header row per section) or a version 7
// table (one kind, blank-separated, fixed columns) whole, once, and gives
// what each page is to take: its pairs trimmed, folded by the merge rule
// and sorted, for a merge in one pass (MappingTable::Merge), with the rows
// left out. The result is a value the caller owns; the reader keeps nothing
// between reads. The dialog's File > Import and varnel import both read
// through here.
#pragma once

#include "framework/CString.h"
#include "import/RemapKind.h"
#include "store/model/MappingBatch.h"
#include "store/model/MappingKind.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Why a row of the table was left out of the import.
enum class RemapLeftOutReason {
    LineBreak,  // its MicroStation or DWG value, trimmed, holds a CR or an LF (a quoted line break, say)
    Nul,        // ... or a NUL character
    CodePage,   // ... or a character the office's code page cannot hold (a table in UTF-8 or UTF-16)
};

// A row left out: the line of the table it begins on (from 1) and why.
// A line of the mapping file cannot carry such a value: the pair would come
// back from the next read as something else, or not at all, or Save would
// refuse it.
struct RemapRowLeftOut {
    uint32_t line = 0;
    RemapLeftOutReason reason = RemapLeftOutReason::LineBreak;
    char32_t character = 0;  // CodePage: the first character the code page cannot hold
};

// Whether a value can be a pair's: false (and why) when it holds a CR, an
// LF or a NUL. Also over the bytes of a single-byte code page.
template <class Char>
bool IsCarriableValue(std::basic_string_view<Char> value, RemapLeftOutReason& reason) {
    for (Char ch : value) {
        if (ch == Char('\r') || ch == Char('\n') || ch == Char('\0')) {
            reason = ch == Char('\0') ? RemapLeftOutReason::Nul : RemapLeftOutReason::LineBreak;
            return false;
        }
    }
    return true;
}

// What else the import's report names: rules of the table that a mapping
// file cannot hold, and imported values that will not be taken. The import
// brings these rows in as the reading rules say all the same.
enum class RemapRemark {
    UnknownSection,  // a section whose name no page takes ("Fonts" is known): its marker's line and name
    Qualifier,       // a row narrowed by a qualifier column (Level, Color, Weight, LineStyle, Class,
                     // ElementType, Cell) that is not its section's own
    Keyword,         // a keyword row: its MicroStation value begins with "%" (%unmapped)
    BracketedKey,    // a MicroStation value in brackets ("[2]": the effective value)
    NotCondition,    // a MicroStation value or a qualifier beginning with "~" (must not match)
    OutputKeyword,   // a %bylevel or %drop output
    Refused,         // an imported AutoCAD value AutoCAD will not take (MappingRules)
};
inline constexpr size_t RemapRemarkCount = size_t(RemapRemark::Refused) + 1;
// How many lines, and names, a remark keeps to be named.
inline constexpr size_t RemapLinesNamed = 5;

// One kind of remark: how many, and the first lines with what was found.
struct RemapRemarks {
    uint32_t count = 0;
    std::vector<uint32_t> lines;   // the first RemapLinesNamed, in file order
    std::vector<CString> details;  // beside lines: a section's name, a value's reasons ("" where none)
    std::vector<CString> names;    // what was found, each once, the first RemapLinesNamed

    void Note(uint32_t line);
    void Note(uint32_t line, CString detail);
    void Name(const CString& name);
};

// What a read gives. Unless the result is Parsed, the pairs, the rows
// left out and the remarks are empty.
struct RemapTable {
    ReadResult result = CannotRead;
    // The pairs each page takes, by MappingKind (the Aliases and Mapping
    // Commands batches stay empty): trimmed, in key order, one pair a key.
    std::array<MappingBatch, MappingKindCount> pairs;
    // The rows left out, in file order.
    std::vector<RemapRowLeftOut> rowsLeftOut;
    std::array<RemapRemarks, RemapRemarkCount> remarks;

    RemapRemarks& Remarks(RemapRemark remark) { return remarks[size_t(remark)]; }
    const RemapRemarks& Remarks(RemapRemark remark) const { return remarks[size_t(remark)]; }
};

// Reads the file at path. kind 0 detects a version 8 file by a "%section,"
// anywhere in its text (NotRecognised without one); kinds 1 to 6 read a
// version 7 table of that kind; any other kind is NotRecognised. CannotRead
// when the path is empty, the file cannot be read or memory runs out.
// A file that begins with a byte-order mark is read in its encoding (UTF-8
// or UTF-16), the mark not part of the first row; a row whose values the
// active code page cannot hold is then left out. Other files are in the
// active code page: a single-byte one is read as bytes, any other is
// decoded to UTF-16 first. The text ends at a Ctrl-Z, as the platform's
// text mode reads it. Never throws.
RemapTable ReadRemapFile(const CString& path, int kind) noexcept;

// The same over a file's bytes in memory (a NUL is an ordinary character).
RemapTable ReadRemapBytes(std::string bytes, int kind) noexcept;
