// A MicroStation table merged straight into mapping tables, for batch work
// on large tables (the command-line tool). The rules are the dialog's
// import (File > Import, then the merge) and so is the code: the same
// tokenizer, section and column rules, trimming and merge. What differs is
// the road: in a single-byte code page the file is read piece by piece and
// tokenized as bytes (a large version 8 table in parts, two at a time; see
// TableParts), only each row's two values become UTF-16, and
// each table takes its new pairs in one sorted pass. A table of a million
// rows then needs little more memory than the pairs it adds.
#pragma once

#include "framework/CString.h"
#include "import/CSVReader.h"
#include "store/MappingFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

enum class TableImportResult {
    Merged,
    NotRecognised,  // as ReadRemapFile: no "%section," in a version 8 read, or an unknown kind
    CannotRead,     // the file could not be read
    OutOfMemory,    // while merging: tables may hold part of the pairs
};

// Reads the table at path, kind as ReadRemapFile takes it, and merges its
// pairs into the tables of their pages (null tables are skipped): the
// tables end as the dialog's import leaves its pages' tables. Unless the
// result is Merged or OutOfMemory they are untouched. The rows left out
// (a value holding a line break or a NUL) go to leftOut in file order.
// Never throws.
TableImportResult ImportTableFile(const CString& path, int kind, const MappingTables& tables,
                                  std::vector<RemapRowLeftOut>& leftOut) noexcept;

// How a table's bytes are read: the defaults suit a file; the tests and
// the fuzz target choose small values to take every road.
struct TableImportOptions {
    // Bytes read at a time (a row longer than the window widens it).
    size_t windowSize = size_t(256) << 10;
    // A version 8 table in a single-byte code page at least this large is
    // cut into about this many parts at section markers (the largest cut
    // again, up to twice as many), read two at a time on a machine of more
    // than one processor (splitFrom 0: whatever the size and the machine).
    uint64_t splitFrom = uint64_t(4) << 20;
    size_t parts = 6;
};

// The same over a file's bytes in memory.
TableImportResult ImportTableBytes(std::string_view bytes, int kind, const MappingTables& tables,
                                   std::vector<RemapRowLeftOut>& leftOut,
                                   const TableImportOptions& options = {}) noexcept;
