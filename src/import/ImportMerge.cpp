#include "import/ImportMerge.h"

#include "framework/CString.h"
#include "import/CSVReader.h"

namespace {

template <typename Predicate>
void TrimEnds(std::u16string_view& text, Predicate drop) {
    while (!text.empty() && drop(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && drop(text.back()))
        text.remove_suffix(1);
}

bool IsColorOrCellSuffix(char16_t ch) { return ch == u'a' || ch == u'c'; }

}  // namespace

BOOL PageOfRemapKind(int kind, MappingKind& page) {
    switch (kind) {
    case RemapLevels: page = KindLevels; return TRUE;
    case RemapColors: page = KindColors; return TRUE;
    case RemapWeights: page = KindWeights; return TRUE;
    case RemapLineStyles: page = KindLineStyles; return TRUE;
    case RemapCellNames: page = KindCells; return TRUE;
    default: return FALSE;
    }
}

BOOL TrimImportedPair(int kind, std::u16string_view& microStation, std::u16string_view& dwg) {
    TrimEnds(microStation, IsCWhiteSpace);
    TrimEnds(dwg, IsCWhiteSpace);
    if (kind == RemapColors || kind == RemapCellNames) {
        TrimEnds(dwg, IsColorOrCellSuffix);
        TrimEnds(dwg, IsCWhiteSpace);
    }
    MappingKind page;
    return PageOfRemapKind(kind, page) && !microStation.empty();
}

BOOL ForEachImportedPair(const ImportedPairHandler& handle, std::vector<RemapRowLeftOut>* leftOut) noexcept {
    ReleasePairs();
    BOOL ok = ExtractPairs(true);
    ReleaseSections();
    try {
        if (leftOut)
            *leftOut = rowsLeftOut;
        for (const RemapPair& pair : pairs) {
            std::u16string_view key = pair.microStationValue;
            std::u16string_view value = pair.dwgValue;
            MappingKind page;
            if (TrimImportedPair(pair.kind, key, value) && PageOfRemapKind(pair.kind, page))
                handle(page, key, value);
        }
    } catch (...) {
        ok = FALSE;
    }
    ReleasePairs();
    return ok;
}
