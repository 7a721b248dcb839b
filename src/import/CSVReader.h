// The MicroStation mapping table reader: reads a version 8 remap file
// (sectioned, comma-separated, a header row per section) or a version 7
// table (one kind, blank-separated, fixed columns) into remapTable, and
// turns it into a list of (kind, MicroStation value, DWG value) pairs.
//
// The state is module-level and single-instance: one read at a time, on one
// thread. Order of calls for one import: ReadRemapFile, then only on Parsed
// ReleasePairs, ExtractPairs, use of pairs, ReleasePairs, ReleaseRemapData.
// Every read starts by releasing what the previous one left.
#pragma once

#include "framework/CString.h"
#include "import/RemapKind.h"
#include "import/RemapToken.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

struct RemapColumn {
    RemapToken name;  // the header text
    int index = 0;    // position in the header row
};

// A section's data rows are kept row after row, each with at most one field
// per column, so that the table never holds more cells than the file has
// fields: a wide header over many blank lines costs nothing. A column's
// rule in a row is that row's field at the column's index, or an empty
// rule when the row is shorter.
// A cell is kept as its place in the reader's text, half the size of a
// token: a million rows of a wide section are millions of cells.
struct RemapCell {
    uint32_t offset = 0;  // from the section's text
    int32_t length = 0;
};

struct RemapSection {
    RemapToken name;
    const char16_t* text = nullptr;    // the reader's text, where cells count from
    std::vector<RemapColumn> columns;
    std::vector<RemapCell> cells;      // the fields of all rows
    std::vector<uint32_t> rowStarts;   // where each row begins in cells
    std::vector<uint32_t> rowLines;    // the line (from 1) each row begins on

    size_t RowCount() const { return rowStarts.size(); }
    RemapToken Rule(const RemapColumn& column, size_t row) const {
        const size_t end = row + 1 < rowStarts.size() ? rowStarts[row + 1] : cells.size();
        const size_t at = rowStarts[row] + size_t(column.index);
        if (at >= end)
            return RemapToken{};
        return RemapToken{text + cells[at].offset, cells[at].length};
    }
};

struct RemapTable {
    CString fileName;  // the path being read; "" after release
    std::vector<RemapSection> sections;
};

// A pair's values are views into the reader's text buffer, like the
// tokens: the buffer is only ever released together with the pairs, so
// nothing needs copying until a page stores a pair.
struct RemapPair {
    int kind = 0;
    std::u16string_view microStationValue;
    std::u16string_view dwgValue;
};

// Why a row of the table was left out of the import.
enum class RemapLeftOutReason {
    LineBreak,  // its MicroStation or DWG value holds a CR or an LF (a quoted line break, say)
    Nul,        // ... or a NUL character
};

// A row left out: the line of the table it begins on (from 1) and why.
// A line of the mapping file cannot carry such a value: the pair would come
// back from the next read as something else, or not at all.
struct RemapRowLeftOut {
    uint32_t line = 0;
    RemapLeftOutReason reason = RemapLeftOutReason::LineBreak;
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

namespace CarriableDetail {
// A word holding each of the n bytes at p (n at most 8; some twice), the
// rest 0xFF.
inline uint64_t Gather(const char* p, size_t n) {
    if (n >= 4) {
        uint32_t first, last;
        std::memcpy(&first, p, 4);
        std::memcpy(&last, p + n - 4, 4);
        return first | uint64_t(last) << 32;
    }
    if (n == 0)
        return ~uint64_t(0);
    return uint64_t(uint8_t(p[0])) | uint64_t(uint8_t(p[n / 2])) << 8 | uint64_t(uint8_t(p[n - 1])) << 16 |
           ~uint64_t(0xFFFFFF);
}
// Whether a byte of the word is below 0x0E, as CR, LF and NUL are.
inline bool HasLowByte(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    return ((word - kOnes * 0x0E) & ~word & (kOnes * 0x80)) != 0;
}
}  // namespace CarriableDetail

// Bytes a word at a time: a value seldom holds any byte below 0x0E.
template <>
inline bool IsCarriableValue<char>(std::string_view value, RemapLeftOutReason& reason) {
    using namespace CarriableDetail;
    const char* p = value.data();
    const size_t n = value.size();
    bool low = false;
    if (n <= 8) {
        low = HasLowByte(Gather(p, n));
    } else {
        for (size_t i = 0; i + 8 < n && !low; i += 8)
            low = HasLowByte(Gather(p + i, 8));
        low = low || HasLowByte(Gather(p + n - 8, 8));
    }
    if (!low)
        return true;
    for (char ch : value) {
        if (ch == '\r' || ch == '\n' || ch == '\0') {
            reason = ch == '\0' ? RemapLeftOutReason::Nul : RemapLeftOutReason::LineBreak;
            return false;
        }
    }
    return true;
}

// All tokens of remapTable and all pairs point into the reader's text
// buffer or at static names; they are valid until the next read,
// ReleasePairs (for pairs) or ReleaseRemapData.
extern RemapTable remapTable;
extern std::vector<RemapPair> pairs;
// The rows ExtractPairs left out, in file order; released with the pairs.
extern std::vector<RemapRowLeftOut> rowsLeftOut;

// Reads the file at path. kind 0 detects a version 8 file by a "%section,"
// anywhere in its text (NotRecognised without one); kinds 1 to 6 read a
// version 7 table of that kind; any other kind is NotRecognised. CannotRead
// when the path is empty, the file cannot be read or memory runs out; the
// reader then holds no sections. Never throws.
ReadResult ReadRemapFile(const CString& path, int kind) noexcept;

// The same over text already in memory (each line end "\n" or "\r\n"; a
// NUL is an ordinary character). fileName is set to path.
ReadResult ReadRemapText(std::u16string_view text, int kind, const CString& path = CString()) noexcept;
// The same, taking the text over as the reader's buffer.
ReadResult ReadRemapBuffer(std::u16string&& text, int kind, const CString& path = CString()) noexcept;

// Builds pairs from remapTable. A MicroStation value seen again in the same
// kind keeps its first place and takes the latest DWG value. A row whose
// MicroStation or DWG value holds a CR, an LF or a NUL gives no pair and is
// listed in rowsLeftOut instead. FALSE (and no pairs) when memory runs out.
// With releaseSections, each section's rows are freed once its pairs are
// built and the sections with the duplicate search are released at the
// end, as ReleaseSections does: the import needs only the pairs then.
// Never throws.
BOOL ExtractPairs(bool releaseSections = false) noexcept;

// Frees the pair list.
void ReleasePairs() noexcept;

// Frees the sections and the duplicate search of the pairs but keeps the
// pairs and the text they point into: once the pairs are built, the cells
// are no longer needed.
void ReleaseSections() noexcept;

// Frees the text buffer, the sections and the pairs; fileName becomes "".
void ReleaseRemapData() noexcept;
