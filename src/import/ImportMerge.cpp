#include "import/ImportMerge.h"

#include "import/CSVReader.h"

namespace {
bool HasPage(int kind) {
    return kind == RemapLevels || kind == RemapColors || kind == RemapWeights || kind == RemapLineStyles ||
           kind == RemapCellNames;
}
}  // namespace

BOOL TrimImportedPair(int kind, CString& microStation, CString& dwg) {
    microStation.Trim();
    dwg.Trim();
    if (kind == RemapColors || kind == RemapCellNames) {
        dwg.Trim(u"ac");
        dwg.Trim();
    }
    return HasPage(kind) && !microStation.IsEmpty();
}

BOOL CollectImportedPairs(std::vector<ImportedPair>& result) noexcept {
    result.clear();
    ReleasePairs();
    BOOL ok = ExtractPairs();
    try {
        result.reserve(pairs.size());
        for (RemapPair& pair : pairs) {
            if (TrimImportedPair(pair.kind, pair.microStationValue, pair.dwgValue))
                result.push_back({pair.kind, std::move(pair.microStationValue), std::move(pair.dwgValue)});
        }
    } catch (...) {
        result = {};
        ok = FALSE;
    }
    ReleasePairs();
    return ok;
}
