// The rules by which imported pairs reach the pages: values are trimmed,
// Fonts pairs and pairs without a MicroStation value are skipped, and each
// kind goes to its page. The sheet hands the result to the pages' SetPair.
#pragma once

#include "framework/CString.h"

#include <vector>

// Trims a pair as the merge stores it: white space from both ends of both
// values; for Colors and CellNames also 'a' and 'c' from both ends of the
// DWG value, then white space again. FALSE when the pair is to be skipped:
// a kind without a page (Fonts, unknown kinds) or an empty MicroStation
// value. An empty DWG value is kept.
BOOL TrimImportedPair(int kind, CString& microStation, CString& dwg);

struct ImportedPair {
    int kind;     // the RemapKind, which names the receiving page
    CString key;  // MicroStation value
    CString value;  // DWG value, possibly ""
};

// Extracts the reader's pairs from the table just read and returns those
// that reach a page, trimmed, in list order; the reader's pair list is
// released again. FALSE (and an empty list) when memory runs out.
BOOL CollectImportedPairs(std::vector<ImportedPair>& result) noexcept;
