#include "import/CSVReader.h"

#include "import/RemapPairIndex.h"

#include <algorithm>

namespace {

RemapPairIndex pairIndex;

// The last DWG value given for a MicroStation value wins, at the place where
// that value first appeared.
void AddPair(int kind, const RemapToken& microStation, const RemapToken& dwg, uint32_t hash) {
    const std::ptrdiff_t found = pairIndex.FindOrAdd(kind, microStation.View(), hash);
    if (found >= 0) {
        pairs[size_t(found)].dwgValue = dwg.View();
        return;
    }
    pairs.push_back(RemapPair{kind, microStation.View(), dwg.View()});
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

// A value a line of the mapping file can carry; else why not.
bool Carriable(std::u16string_view value, RemapLeftOutReason& reason) {
    for (char16_t ch : value) {
        if (ch == u'\r' || ch == u'\n' || ch == u'\0') {
            reason = ch == u'\0' ? RemapLeftOutReason::Nul : RemapLeftOutReason::LineBreak;
            return false;
        }
    }
    return true;
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
    const size_t count = section.RowCount();
    auto wanted = [&](size_t r) { return !section.Rule(*ms, r).IsEmpty() && !section.Rule(*dwg, r).IsEmpty(); };
    // The hashes of the next rows are worked out ahead so that their slots
    // are already on their way from memory when their turn comes.
    constexpr size_t Ahead = 8;
    uint32_t hashes[Ahead] = {};
    auto lookAhead = [&](size_t r) {
        if (r < count && wanted(r)) {
            hashes[r % Ahead] = RemapPairIndex::Hash(kind, section.Rule(*ms, r).View());
            pairIndex.Prefetch(hashes[r % Ahead]);
        }
    };
    for (size_t r = 0; r < Ahead; ++r)
        lookAhead(r);
    for (size_t r = 0; r < count; ++r) {
        const uint32_t hash = hashes[r % Ahead];
        lookAhead(r + Ahead);
        if (!wanted(r))
            continue;
        const RemapToken key = section.Rule(*ms, r), value = section.Rule(*dwg, r);
        RemapLeftOutReason reason;
        if (Carriable(key.View(), reason) && Carriable(value.View(), reason))
            AddPair(kind, key, value, hash);
        else
            rowsLeftOut.push_back(RemapRowLeftOut{section.rowLines[r], reason});
    }
}

}  // namespace

BOOL ExtractPairs(bool releaseSections) noexcept {
    try {
        size_t rows = 0;
        for (const RemapSection& section : remapTable.sections)
            if (KindOfSection(section) != 0)
                rows += section.RowCount();
        pairIndex.Reserve(rows);
        pairs.reserve(pairs.size() + rows);
        for (RemapSection& section : remapTable.sections) {
            ExtractSection(section);
            if (releaseSections) {
                section.cells = std::vector<RemapCell>();
                section.rowStarts = std::vector<uint32_t>();
                section.rowLines = std::vector<uint32_t>();
            }
        }
        if (releaseSections)
            ReleaseSections();
        return TRUE;
    } catch (...) {
        ReleasePairs();
        return FALSE;
    }
}

void ReleaseSections() noexcept {
    remapTable.sections = std::vector<RemapSection>();
    pairIndex.Clear();
}

void ReleasePairs() noexcept {
    pairs = std::vector<RemapPair>();
    rowsLeftOut = std::vector<RemapRowLeftOut>();
    pairIndex.Clear();
}
