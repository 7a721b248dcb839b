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

// What a read gives. Unless the result is Parsed, the pairs and the rows
// left out are empty.
struct RemapTable {
    ReadResult result = CannotRead;
    // The pairs each page takes, by MappingKind (the Aliases and Mapping
    // Commands batches stay empty): trimmed, in key order, one pair a key.
    std::array<MappingBatch, MappingKindCount> pairs;
    // The rows left out, in file order.
    std::vector<RemapRowLeftOut> rowsLeftOut;
};

// Reads the file at path. kind 0 detects a version 8 file by a "%section,"
// anywhere in its text (NotRecognised without one); kinds 1 to 6 read a
// version 7 table of that kind; any other kind is NotRecognised. CannotRead
// when the path is empty, the file cannot be read or memory runs out.
// The bytes are read in the active code page: a single-byte one is read as
// bytes, any other is decoded to UTF-16 first. Never throws.
RemapTable ReadRemapFile(const CString& path, int kind) noexcept;

// The same over a file's bytes in memory (each line end "\n" or "\r\n"; a
// NUL is an ordinary character).
RemapTable ReadRemapBytes(std::string bytes, int kind) noexcept;
