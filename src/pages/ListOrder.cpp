#include "pages/ListOrder.h"

#include "store/KeyOrder.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>

namespace ListOrder {

int ParseNumber(const CString& strText, BOOL* pbNumeric) {
    std::u16string_view text = strText.View();
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

int CompareItems(const MappingPair* pFirst, const MappingPair* pSecond, int nColumn, BOOL bAscending) {
    if (!pFirst || !pSecond)
        return -1;
    if (nColumn != 0 && nColumn != 1)
        return 0;
    const CString& a = nColumn == 0 ? pFirst->key : pFirst->value;
    const CString& b = nColumn == 0 ? pSecond->key : pSecond->value;
    BOOL aNumeric = FALSE, bNumeric = FALSE;
    int aValue = ParseNumber(a, &aNumeric);
    int bValue = ParseNumber(b, &bNumeric);
    int result = (aNumeric && bNumeric) ? (aValue > bValue ? 1 : -1) : a.Compare(b);
    return bAscending ? result : -result;
}

namespace {

struct FoldedHash {
    size_t operator()(std::u16string_view key) const noexcept {
        size_t hash = 14695981039346656037ull;  // FNV-1a over the folded units
        for (char16_t ch : key)
            hash = (hash ^ FoldAscii(ch)) * 1099511628211ull;
        return hash;
    }
};

struct FoldedEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (FoldAscii(a[i]) != FoldAscii(b[i]))
                return false;
        return true;
    }
};

}  // namespace

std::vector<const MappingPair*> RowsOfTable(const MappingTable& table) {
    std::vector<const MappingPair*> rows;
    rows.reserve(size_t(table.GetCount()));
    // Views into the table's keys: the table does not change meanwhile.
    std::unordered_map<std::u16string_view, size_t, FoldedHash, FoldedEqual> rowOfKey;
    rowOfKey.reserve(size_t(table.GetCount()));
    for (const MappingPair& entry : table) {
        auto [it, added] = rowOfKey.emplace(entry.key.View(), rows.size());
        if (added)
            rows.push_back(&entry);
        else
            rows[it->second] = &entry;
    }
    return rows;
}

namespace {

// A row with its cell read as a number (0: text).
struct SortCell {
    const MappingPair* pPair;
    int nNumber;
};

}  // namespace

void SortRows(std::vector<const MappingPair*>& rows, int nColumn, BOOL bAscending) {
    if (rows.size() < 2 || (nColumn != 0 && nColumn != 1))
        return;  // another column compares every row as equal: nothing moves
    std::vector<SortCell> cells(rows.size()), merged(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const MappingPair* pPair = rows[i];
        cells[i] = {pPair, pPair ? ParseNumber(nColumn == 0 ? pPair->key : pPair->value, nullptr) : 0};
    }
    // CompareItems on the cells, with the numbers already read.
    auto compare = [nColumn, bAscending](const SortCell& a, const SortCell& b) {
        if (!a.pPair || !b.pPair)
            return -1;
        int result;
        if (a.nNumber != 0 && b.nNumber != 0)
            result = a.nNumber > b.nNumber ? 1 : -1;
        else
            result = nColumn == 0 ? KeyOrder::Compare(a.pPair->key.View(), b.pPair->key.View())
                                  : KeyOrder::Compare(a.pPair->value.View(), b.pPair->value.View());
        return bAscending ? result : -result;
    };
    // Bottom-up merge sort: runs of width 1, 2, 4 ... merged pairwise.
    const size_t count = cells.size();
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
    for (size_t i = 0; i < count; ++i)
        rows[i] = cells[i].pPair;
}

}  // namespace ListOrder
