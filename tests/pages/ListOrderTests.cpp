#include "pages/FixedValueLists.h"
#include "pages/ListOrder.h"

#include <gtest/gtest.h>

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

// What the page's sort test cannot show: ties, a tie's direction, a third column, no pair.
TEST(ListOrder, CompareItemsTiesColumnsAndMissingPairs) {
    auto cmp = [](const char16_t* a, const char16_t* b, int column = 0, BOOL ascending = TRUE) {
        MappingPair first{a, b}, second{b, a};
        return CompareItems(&first, &second, column, ascending);
    };
    EXPECT_LT(cmp(u"10", u"9", 0, FALSE), 0);
    EXPECT_EQ(cmp(u"7", u"07"), -1);  // equal numbers: -1 in both orders
    EXPECT_EQ(cmp(u"07", u"7"), -1);
    EXPECT_EQ(cmp(u"7", u"07", 0, FALSE), 1);
    EXPECT_LT(cmp(u"10", u"abc"), 0);  // one side is text: ordinal
    EXPECT_EQ(cmp(u"same", u"same"), 0);
    EXPECT_EQ(cmp(u"9", u"10", 2), 0);
    MappingPair pair{u"1", u"2"};
    EXPECT_EQ(CompareItems(nullptr, &pair, 0, FALSE), -1);
    EXPECT_EQ(CompareItems(&pair, nullptr, 0, TRUE), -1);
}

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

// The sort keeps CompareItems' order, numbers read once and texts told
// apart past a prefix they all share; of two equal numbers the earlier row
// stays first going up and goes second going down, as the platform merges.
TEST(ListOrder, SortRowsFollowsCompareItemsAndMergesTies) {
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
