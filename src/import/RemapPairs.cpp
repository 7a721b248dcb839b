#include "import/CSVReader.h"

#include "import/RemapPairIndex.h"
#include "import/RemapRows.h"

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

const RemapColumn* FindColumn(const RemapSection& section, std::u16string_view wanted) {
    const int index =
        RemapColumnIndex(section.columns, wanted, [](const RemapColumn& column) { return column.name.View(); });
    return index < 0 ? nullptr : &section.columns[size_t(index)];
}

int KindOfSection(const RemapSection& section) { return RemapKindOfSection(section.name.View()); }

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
        if (IsCarriableValue(key.View(), reason) && IsCarriableValue(value.View(), reason))
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
