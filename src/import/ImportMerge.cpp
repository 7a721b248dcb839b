#include "import/ImportMerge.h"

#include "framework/CString.h"
#include "import/CSVReader.h"

namespace {

bool HasPage(int kind) {
    return kind == RemapLevels || kind == RemapColors || kind == RemapWeights || kind == RemapLineStyles ||
           kind == RemapCellNames;
}

template <typename Predicate>
void TrimEnds(std::u16string_view& text, Predicate drop) {
    while (!text.empty() && drop(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && drop(text.back()))
        text.remove_suffix(1);
}

bool IsColorOrCellSuffix(char16_t ch) { return ch == u'a' || ch == u'c'; }

}  // namespace

BOOL TrimImportedPair(int kind, std::u16string_view& microStation, std::u16string_view& dwg) {
    TrimEnds(microStation, IsCWhiteSpace);
    TrimEnds(dwg, IsCWhiteSpace);
    if (kind == RemapColors || kind == RemapCellNames) {
        TrimEnds(dwg, IsColorOrCellSuffix);
        TrimEnds(dwg, IsCWhiteSpace);
    }
    return HasPage(kind) && !microStation.empty();
}

BOOL ForEachImportedPair(const ImportedPairHandler& handle) noexcept {
    ReleasePairs();
    BOOL ok = ExtractPairs();
    try {
        for (const RemapPair& pair : pairs) {
            std::u16string_view key = pair.microStationValue;
            std::u16string_view value = pair.dwgValue;
            if (TrimImportedPair(pair.kind, key, value))
                handle(pair.kind, key, value);
        }
    } catch (...) {
        ok = FALSE;
    }
    ReleasePairs();
    return ok;
}
