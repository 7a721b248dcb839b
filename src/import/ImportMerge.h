// The rules by which imported pairs reach the pages: values are trimmed,
// Fonts pairs and pairs without a MicroStation value are skipped, and each
// kind goes to its page. The sheet hands the result to the pages' SetPair.
#pragma once

#include "framework/Types.h"
#include "import/CSVReader.h"
#include "store/MappingFile.h"

#include <functional>
#include <string_view>
#include <vector>

// Trims a pair as the merge stores it: white space from both ends of both
// values; for Colors and CellNames also 'a' and 'c' from both ends of the
// DWG value, then white space again. FALSE when the pair is to be skipped:
// a kind without a page (Fonts, unknown kinds) or an empty MicroStation
// value. An empty DWG value is kept. Also over the bytes of a single-byte
// code page, whose white space and letters 'a' and 'c' are ASCII.
template <class Char>
BOOL TrimImportedPair(int kind, std::basic_string_view<Char>& microStation, std::basic_string_view<Char>& dwg);

// The page that receives pairs of a RemapKind: Levels, Colors, Weights,
// LineStyles and CellNames have one; FALSE for Fonts and any other kind.
BOOL PageOfRemapKind(int kind, MappingKind& page);

// Receives one pair for a page: the page's kind, the MicroStation value
// (the key) and the DWG value, possibly "". The views are valid during the
// call only.
using ImportedPairHandler = std::function<void(MappingKind page, std::u16string_view key, std::u16string_view value)>;

// Extracts the reader's pairs from the table just read and hands each that
// reaches a page, trimmed, to handle in list order; the reader's pair list
// is released again. The rows left out of the import (a value holding a
// line break or a NUL), in file order, go to leftOut when it is given.
// The reader's sections are released once the pairs are built; its text,
// which the pairs point into, stays until ReleaseRemapData.
// FALSE when memory ran out or handle threw; the pairs handed until then
// stay handed. Never throws.
BOOL ForEachImportedPair(const ImportedPairHandler& handle, std::vector<RemapRowLeftOut>* leftOut = nullptr) noexcept;
