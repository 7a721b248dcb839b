#include "pages/FixedValueLists.h"
#include "pages/ListOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace ListOrder;

TEST(ListOrder, ParseNumberReadsLikeWtoiAndOnlyNonZeroIsNumeric) {
    const std::pair<const char16_t*, int> cases[] = {
        {u"12abc", 12}, {u" \t-7", -7}, {u"+5", 5}, {u"0", 0},  {u"00", 0}, {u"abc", 0},
        {u"", 0},       {u"- 5", 0},    {u"x1", 0}, {u"99999999999", 2147483647}, {u"-99999999999", -2147483647 - 1}};
    for (auto [text, value] : cases) {
        BOOL numeric = 2;
        EXPECT_EQ(ParseNumber(text, &numeric), value) << CString(text).ToUtf8();
        EXPECT_EQ(numeric, value != 0) << CString(text).ToUtf8();
    }
}

namespace {

// The list's order, plainly: two numeric cells as numbers (equal numbers
// give -1), otherwise ordinal; a descending sort negates it.
int Order(std::u16string_view a, std::u16string_view b, BOOL ascending) {
    const int x = ParseNumber(a, nullptr), y = ParseNumber(b, nullptr);
    const int order = x && y ? (x > y ? 1 : -1) : (a < b ? -1 : a == b ? 0 : 1);
    return ascending ? order : -order;
}

// A bottom-up merge sort that takes the left row unless it orders after
// the right one, as the platform's list sort merges.
std::vector<std::u16string> PlainlySorted(std::vector<std::u16string> cells, BOOL ascending) {
    for (size_t width = 1; width < cells.size(); width *= 2) {
        std::vector<std::u16string> merged;
        for (size_t left = 0; left < cells.size(); left += 2 * width) {
            size_t i = left, middle = std::min(left + width, cells.size()), j = middle;
            const size_t right = std::min(left + 2 * width, cells.size());
            while (i < middle || j < right)
                merged.push_back(j == right || (i < middle && Order(cells[i], cells[j], ascending) <= 0) ? cells[i++]
                                                                                                         : cells[j++]);
        }
        cells.swap(merged);
    }
    return cells;
}

}  // namespace

TEST(ListOrder, RowsOfTableShareOneRowPerKeyIgnoringAsciiCase) {
    MappingTable table;
    EXPECT_TRUE(RowsOfTable(table).empty());
    for (const char16_t* key : {u"zoom", u"Arc", u"ZOOM", u"arc2", u"Zoom", u"\u00c9", u"\u00e9"})
        table.SetPair(key, CString(key) + u"-value");
    // Table order: Arc ZOOM Zoom arc2 zoom \u00c9 \u00e9. The zoom keys share the
    // row of the first one, showing the last; non-ASCII letters never fold.
    std::vector<CString> keys;
    for (const MappingEntry* row : RowsOfTable(table))
        keys.push_back(CString(row->Key()));
    EXPECT_EQ(keys, (std::vector<CString>{u"Arc", u"zoom", u"arc2", u"\u00c9", u"\u00e9"}));
    EXPECT_EQ(CString(RowsOfTable(table)[1]->Value()), CString(u"zoom-value"));
}

// The sort keeps the list's order, numbers read once and texts told apart
// past a prefix they all share; of two equal numbers the earlier row stays
// first going up and goes second going down, as the platform merges.
TEST(ListOrder, SortRowsFollowsTheListsOrderAndMergesTies) {
    MappingTable table;
    const char16_t* keys[] = {u"Lvl-7", u"Lvl-07", u"Lvl-10", u"Lvl-9", u"Lvl-", u"Lvl-x", u"Lvl-Y", u"Lvl-10b"};
    const char16_t* values[] = {u"7", u"07", u"x", u"0", u"9", u"10", u"abc", u"B"};
    for (size_t i = 0; i < std::size(keys); ++i)
        table.SetPair(keys[i], values[i]);
    auto sorted = [&](int column, BOOL ascending) {
        std::vector<const MappingEntry*> rows = RowsOfTable(table);
        SortRows(rows, column, ascending);
        std::vector<CString> cells;
        for (const MappingEntry* row : rows)
            cells.push_back(CString(column == 0 ? row->Key() : row->Value()));
        return cells;
    };
    // Table order: Lvl- Lvl-07 Lvl-10 Lvl-10b Lvl-7 Lvl-9 Lvl-Y Lvl-x.
    EXPECT_EQ(sorted(0, TRUE), (std::vector<CString>{u"Lvl-", u"Lvl-07", u"Lvl-10", u"Lvl-10b", u"Lvl-7", u"Lvl-9",
                                                     u"Lvl-Y", u"Lvl-x"}));
    EXPECT_EQ(sorted(0, FALSE), (std::vector<CString>{u"Lvl-x", u"Lvl-Y", u"Lvl-9", u"Lvl-7", u"Lvl-10b", u"Lvl-10",
                                                      u"Lvl-07", u"Lvl-"}));
    // Values by table order: 9 07 x B 7 0 abc 10; "07" and "7" are equal numbers.
    EXPECT_EQ(sorted(1, TRUE), (std::vector<CString>{u"0", u"07", u"7", u"9", u"10", u"B", u"abc", u"x"}));
    EXPECT_EQ(sorted(1, FALSE), (std::vector<CString>{u"x", u"abc", u"B", u"10", u"9", u"7", u"07", u"0"}));
    // Another column: table order.
    EXPECT_EQ(sorted(2, TRUE), (std::vector<CString>{u"9", u"07", u"x", u"B", u"7", u"0", u"abc", u"10"}));
}

// Random cells of numbers, texts, shared prefixes and white space: the
// sort's shortcuts (numbers read once, units packed past a shared prefix)
// give what the plain merge sort gives.
TEST(ListOrder, SortRowsAgreesWithThePlainMergeSort) {
    const char16_t* parts[] = {u"", u"0", u"7", u"07", u"12", u"-3", u" ", u"x", u"X", u"Lvl-", u"\u00e9", u"\uffff"};
    std::mt19937 random(9);
    for (int round = 0; round < 200; ++round) {
        MappingTable table;
        for (int n = int(random() % 60); n > 0; --n) {
            std::u16string key = u"Row-";
            std::u16string value;
            for (int p = int(random() % 4); p > 0; --p) {
                key += parts[random() % std::size(parts)];
                value += parts[random() % std::size(parts)];
            }
            key += char16_t(u'a' + n % 26);
            table.SetPair(std::u16string_view(key), std::u16string_view(value));
        }
        for (int column : {0, 1})
            for (BOOL ascending : {TRUE, FALSE}) {
                std::vector<const MappingEntry*> rows = RowsOfTable(table);
                std::vector<std::u16string> cells;
                for (const MappingEntry* row : rows)
                    cells.emplace_back(column == 0 ? row->Key() : row->Value());
                SortRows(rows, column, ascending);
                std::vector<std::u16string> got;
                for (const MappingEntry* row : rows)
                    got.emplace_back(column == 0 ? row->Key() : row->Value());
                EXPECT_EQ(got, PlainlySorted(cells, ascending)) << round;
            }
    }
}

TEST(FixedValueLists, CountsOrderAndEnds) {
    using namespace FixedValueLists;
    auto describe = [](const std::vector<CString>& list) {
        CString text;  // size, first three and last two entries
        text.Format(u"%d:", int(list.size()));
        for (size_t i : {size_t(0), size_t(1), size_t(2), list.size() - 2, list.size() - 1})
            text += list.at(i) + u",";
        return text.ToUtf8();
    };
    EXPECT_EQ(describe(MicroStationColors()), "258:ByLevel,ByCell,0,254,BG,");
    EXPECT_EQ(describe(AutoCadColors()), "258:ByLayer,ByBlock,0,254,255,");
    EXPECT_EQ(describe(MicroStationWeights()), "34:ByLevel,ByCell,0,30,31,");
    EXPECT_EQ(describe(AutoCadWeights()), "27:ByLayer,ByBlock,0,211,Default,");
    EXPECT_EQ(MicroStationColors()[12], CString(u"10"));  // never sorted: "10" after "9"
    EXPECT_EQ(AutoCadWeights()[3], CString(u"5"));
}
