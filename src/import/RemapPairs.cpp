#include "import/CSVReader.h"

#include <unordered_map>

namespace {

// Key of the duplicate search: a kind and a MicroStation value. The value
// is a view into the text buffer, which outlives the pair list.
struct PairKey {
    int kind;
    std::u16string_view microStationValue;
    bool operator==(const PairKey&) const = default;
};

struct PairKeyHash {
    size_t operator()(const PairKey& key) const noexcept {
        return std::hash<std::u16string_view>()(key.microStationValue) * 31u + size_t(key.kind);
    }
};

// Position in pairs of each (kind, MicroStation value).
std::unordered_map<PairKey, size_t, PairKeyHash> pairIndex;

// The last DWG value given for a MicroStation value wins, at the place where
// that value first appeared.
void AddPair(int kind, const RemapToken& microStation, const RemapToken& dwg) {
    auto [found, added] = pairIndex.try_emplace(PairKey{kind, microStation.View()}, pairs.size());
    if (!added) {
        pairs[found->second].dwgValue = CString(dwg.View());
        return;
    }
    pairs.push_back(RemapPair{kind, CString(microStation.View()), CString(dwg.View())});
}

// A section name matches a table name when it begins with it: "ColorsV8"
// is a Colors section, "Color" is none.
bool SectionNameMatches(const RemapToken& name, std::u16string_view tableName) {
    return name.View().substr(0, tableName.size()) == tableName;
}

// A header cell matches a wanted column name when the wanted name begins
// with the whole cell: "Lev" and "" match "Level", "LevelName" does not.
bool ColumnNameMatches(const RemapToken& name, std::u16string_view wanted) {
    return wanted.substr(0, name.View().size()) == name.View();
}

const RemapColumn* FindColumn(const RemapSection& section, std::u16string_view wanted) {
    for (const RemapColumn& column : section.columns)
        if (ColumnNameMatches(column.name, wanted))
            return &column;
    return nullptr;
}

// The kind a section's name gives, tested in this order; 0 for none.
int KindOfSection(const RemapSection& section) {
    static constexpr int order[] = {RemapColors, RemapWeights, RemapLineStyles, RemapCellNames, RemapLevels};
    for (int kind : order)
        if (SectionNameMatches(section.name, RemapNames::ForKind(kind).section))
            return kind;
    return 0;
}

void ExtractSection(const RemapSection& section) {
    const int kind = KindOfSection(section);
    if (kind == 0)
        return;
    const RemapNames::KindNames names = RemapNames::ForKind(kind);
    const RemapColumn* ms = FindColumn(section, names.microStationColumn);
    const RemapColumn* dwg = FindColumn(section, names.dwgColumn);
    if (!ms || !dwg)
        return;
    const size_t count = std::min(ms->rules.size(), dwg->rules.size());
    for (size_t r = 0; r < count; ++r)
        if (!ms->rules[r].IsEmpty() && !dwg->rules[r].IsEmpty())
            AddPair(kind, ms->rules[r], dwg->rules[r]);
}

}  // namespace

BOOL ExtractPairs() noexcept {
    try {
        size_t rows = 0;
        for (const RemapSection& section : remapTable.sections)
            if (!section.columns.empty())
                rows += section.columns.front().rules.size();
        pairIndex.reserve(pairIndex.size() + rows);
        for (const RemapSection& section : remapTable.sections)
            ExtractSection(section);
        return TRUE;
    } catch (...) {
        ReleasePairs();
        return FALSE;
    }
}

void ReleasePairs() noexcept {
    pairs = {};
    pairIndex = {};
}
