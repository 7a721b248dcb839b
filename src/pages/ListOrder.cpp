#include "pages/ListOrder.h"

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

std::vector<const TableEntry*> RowsOfTable(const MappingTable& table) {
    std::vector<const TableEntry*> rows;
    rows.reserve(size_t(table.GetCount()));
    // Views into the table's keys: the table does not change meanwhile.
    std::unordered_map<std::u16string_view, size_t, FoldedHash, FoldedEqual> rowOfKey;
    rowOfKey.reserve(size_t(table.GetCount()));
    for (const TableEntry& entry : table) {
        auto [it, added] = rowOfKey.emplace(entry.first.View(), rows.size());
        if (added)
            rows.push_back(&entry);
        else
            rows[it->second] = &entry;
    }
    return rows;
}

}  // namespace ListOrder
