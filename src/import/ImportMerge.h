// The rules by which imported pairs reach the pages: values are trimmed,
// Fonts pairs and pairs without a MicroStation value are skipped, and each
// kind goes to its page. PageOfRemapKind is the one place where a table
// kind (RemapKind) meets a page's kind (MappingKind).
#pragma once

#include "framework/Types.h"
#include "store/model/MappingKind.h"

#include <string_view>

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
