#include "pages/ListOrder.h"

#include "store/model/KeyOrder.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

namespace ListOrder {

int ParseNumber(std::u16string_view text, BOOL* pbNumeric) {

    size_t i = 0;
    while (i < text.size() && IsCWhiteSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > INT_MAX)
            value = INT_MAX + 1LL;  // saturated; more digits change nothing
    }
    if (negative)
        value = -value;
    int result = value > INT_MAX ? INT_MAX : int(value);
    if (pbNumeric)
        *pbNumeric = result != 0;
    return result;
}

namespace {

// Two cells in the list's order, already read as numbers (0: text).
int CompareCells(std::u16string_view a, int aNumber, std::u16string_view b, int bNumber, BOOL bAscending) {
    int result = (aNumber != 0 && bNumber != 0) ? (aNumber > bNumber ? 1 : -1) : KeyOrder::Compare(a, b);
    return bAscending ? result : -result;
}

}  // namespace

size_t FoldedHash(std::u16string_view text) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded units
    for (char16_t ch : text)
        hash = (hash ^ FoldAscii(ch)) * 1099511628211ull;
    return size_t(hash ^ (hash >> 32));  // both halves count in a 32-bit size_t
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::vector<const MappingEntry*> RowsOfTable(const MappingTable& table) {
    std::vector<const MappingEntry*> rows;
    rows.reserve(size_t(table.GetCount()));
    // An open-addressing hash of row numbers (0: empty), at most half full.
    // Each slot keeps its key's hash beside the row (high and low half), so
    // that a probe reads another row's key, wherever it lies, only when
    // the hashes agree.
    size_t buckets = 16;
    while (buckets < size_t(table.GetCount()) * 2)
        buckets *= 2;
    std::vector<uint64_t> rowOfKey(buckets, 0);
    for (const MappingEntry& entry : table) {
        const uint64_t hash = FoldedHash(entry.Key()) & 0xFFFFFFFF;
        size_t slot = hash & (buckets - 1);
        auto row = [&] { return size_t(uint32_t(rowOfKey[slot])); };
        while (row() && ((rowOfKey[slot] >> 32) != hash || !EqualIgnoringCase(rows[row() - 1]->Key(), entry.Key())))
            slot = (slot + 1) & (buckets - 1);
        if (row()) {
            rows[row() - 1] = &entry;
        } else {
            rows.push_back(&entry);
            rowOfKey[slot] = hash << 32 | rows.size();
        }
    }
    return rows;
}

namespace {

// A row to sort: its index, whether its cell is text (reads as 0), and the
// cell's first code units after the prefix all cells share, packed so that
// comparing them as integers compares those units in order: four in nHead
// and, for a text, two more in place of the number.
struct SortCell {
    uint64_t nHead;
    uint32_t nRow : 31;
    uint32_t bText : 1;
    uint32_t nNumberOrUnits;
};

// Units [first, first + count) of text, 16 bits each, 0 past its end.
uint64_t PackUnits(std::u16string_view text, size_t first, size_t count) {
    uint64_t packed = 0;
    for (size_t i = first; i < first + count; ++i)
        packed = (packed << 16) | (i < text.size() ? text[i] : 0);
    return packed;
}

}  // namespace

void SortRows(std::vector<const MappingEntry*>& rows, int nColumn, BOOL bAscending) {
    if (rows.size() < 2 || (nColumn != 0 && nColumn != 1))
        return;  // another column compares every row as equal: nothing moves
    auto cell = [nColumn](const MappingEntry* pEntry) { return nColumn == 0 ? pEntry->Key() : pEntry->Value(); };
    // The rows' entries lie in the order they were added, not in row
    // order: each pass asks for the entry a few rows ahead (prefetch).
    auto ahead = [&rows](size_t i) {
        if (i + 16 < rows.size())
            __builtin_prefetch(rows[i + 16]);
    };
    size_t shared = cell(rows[0]).size();
    for (size_t i = 0; i < rows.size(); ++i) {
        ahead(i);
        std::u16string_view text = cell(rows[i]), first = cell(rows[0]);
        shared = std::min(shared, text.size());
        while (shared > 0 && text.substr(0, shared) != first.substr(0, shared))
            --shared;
    }
    std::vector<SortCell> cells(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        ahead(i);
        std::u16string_view text = cell(rows[i]);
        int number = ParseNumber(text, nullptr);
        text.remove_prefix(shared);
        cells[i].nHead = PackUnits(text, 0, 4);
        cells[i].nRow = uint32_t(i);
        cells[i].bText = number == 0;
        cells[i].nNumberOrUnits = number != 0 ? uint32_t(number) : uint32_t(PackUnits(text, 4, 2));
    }
    // The list's order, decided on the packed units where they differ.
    auto compare = [&](const SortCell& a, const SortCell& b) {
        int result;
        if (!a.bText && !b.bText)
            result = int32_t(a.nNumberOrUnits) > int32_t(b.nNumberOrUnits) ? 1 : -1;
        else if (a.nHead != b.nHead)
            result = a.nHead < b.nHead ? -1 : 1;
        else if (a.bText && b.bText && a.nNumberOrUnits != b.nNumberOrUnits)
            result = a.nNumberOrUnits < b.nNumberOrUnits ? -1 : 1;
        else
            return CompareCells(cell(rows[a.nRow]), 0, cell(rows[b.nRow]), 0, bAscending);
        return bAscending ? result : -result;
    };
    // Bottom-up merge sort: runs of width 1, 2, 4 ... merged pairwise.
    const size_t count = cells.size();
    {
        std::vector<SortCell> merged(count);
        for (size_t width = 1; width < count; width *= 2) {
            for (size_t left = 0; left < count; left += 2 * width) {
                size_t middle = std::min(left + width, count), right = std::min(left + 2 * width, count);
                size_t i = left, j = middle, out = left;
                while (i < middle && j < right)
                    merged[out++] = compare(cells[i], cells[j]) <= 0 ? cells[i++] : cells[j++];
                while (i < middle)
                    merged[out++] = cells[i++];
                while (j < right)
                    merged[out++] = cells[j++];
            }
            cells.swap(merged);
        }
    }
    std::vector<const MappingEntry*> sorted(count);
    for (size_t i = 0; i < count; ++i)
        sorted[i] = rows[cells[i].nRow];
    rows.swap(sorted);
}

}  // namespace ListOrder
