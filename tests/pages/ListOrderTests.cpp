#include "pages/FixedValueLists.h"
#include "pages/ListOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace ListOrder;

TEST(ListOrder, ParseNumberReadsLikeWtoiAndOnlyNonZeroIsNumeric) {
    struct Case {
        const char16_t* text;
        int value;
        BOOL numeric;
    };
    const Case cases[] = {{u"12abc", 12, TRUE},  {u" \t-7", -7, TRUE},  {u"+5", 5, TRUE},
                          {u"0", 0, FALSE},      {u"00", 0, FALSE},     {u"abc", 0, FALSE},
                          {u"", 0, FALSE},       {u"- 5", 0, FALSE},    {u"x12", 0, FALSE},
                          {u"99999999999", 2147483647, TRUE}, {u"-99999999999", -2147483647 - 1, TRUE}};
    for (const Case& c : cases) {
        BOOL numeric = 2;
        EXPECT_EQ(ParseNumber(c.text, &numeric), c.value) << CString(c.text).ToUtf8();
        EXPECT_EQ(numeric, c.numeric) << CString(c.text).ToUtf8();
    }
}

TEST(ListOrder, CompareItemsNumbersTextDirectionAndColumns) {
    auto cmp = [](const char16_t* a, const char16_t* b, int column = 0, BOOL ascending = TRUE) {
        MappingPair first{a, b}, second{b, a};
        return CompareItems(&first, &second, column, ascending);
    };
    EXPECT_GT(cmp(u"10", u"9"), 0);        // numbers, not text
    EXPECT_LT(cmp(u"9", u"100"), 0);
    EXPECT_EQ(cmp(u"7", u"07"), -1);       // equal numbers: -1 in both orders
    EXPECT_EQ(cmp(u"07", u"7"), -1);
    EXPECT_EQ(cmp(u"7", u"07", 0, FALSE), 1);
    EXPECT_LT(cmp(u"10", u"abc"), 0);      // one side is text: ordinal
    EXPECT_LT(cmp(u"0", u"00"), 0);        // "0" is not a number
    EXPECT_LT(cmp(u"Zoom", u"apple"), 0);  // every upper-case letter first
    EXPECT_LT(cmp(u"10", u"9", 0, FALSE), 0);
    EXPECT_EQ(cmp(u"same", u"same"), 0);
    // Column 1 compares the second strings; other columns give 0.
    MappingPair a{u"1", u"b"}, b{u"2", u"a"};
    EXPECT_GT(CompareItems(&a, &b, 1, TRUE), 0);
    EXPECT_EQ(CompareItems(&a, &b, 2, TRUE), 0);
    EXPECT_EQ(CompareItems(nullptr, &b, 0, FALSE), -1);
    EXPECT_EQ(CompareItems(&a, nullptr, 0, TRUE), -1);
}

TEST(ListOrder, RowsOfTableShareOneRowPerKeyIgnoringAsciiCase) {
    MappingTable table;
    EXPECT_TRUE(RowsOfTable(table).empty());
    for (const char16_t* key : {u"zoom", u"Arc", u"ZOOM", u"arc2", u"Zoom", u"\u00c9", u"\u00e9"})
        table.SetPair(key, CString(key) + u"-value");
    // Table order: Arc ZOOM Zoom arc2 zoom \u00c9 \u00e9. The zoom keys share the
    // row of the first one, showing the last; non-ASCII letters never fold.
    std::vector<CString> keys;
    for (const TableEntry* row : RowsOfTable(table))
        keys.push_back(row->first);
    EXPECT_EQ(keys, (std::vector<CString>{u"Arc", u"zoom", u"arc2", u"\u00c9", u"\u00e9"}));
    EXPECT_EQ(RowsOfTable(table)[1]->second, CString(u"zoom-value"));
}

TEST(FixedValueLists, CountsOrderAndAbsentValues) {
    using namespace FixedValueLists;
    auto has = [](const std::vector<CString>& list, const char16_t* value) {
        return std::find(list.begin(), list.end(), CString(value)) != list.end();
    };
    const auto& msColors = MicroStationColors();
    const auto& acadColors = AutoCadColors();
    ASSERT_EQ(msColors.size(), 258u);
    ASSERT_EQ(acadColors.size(), 258u);
    EXPECT_EQ(msColors[0], CString(u"ByLevel"));
    EXPECT_EQ(msColors[1], CString(u"ByCell"));
    EXPECT_EQ(msColors[2], CString(u"0"));
    EXPECT_EQ(msColors[12], CString(u"10"));  // never sorted: "10" after "9"
    EXPECT_EQ(msColors[256], CString(u"254"));
    EXPECT_EQ(msColors[257], CString(u"BG"));
    EXPECT_FALSE(has(msColors, u"255"));
    EXPECT_EQ(acadColors[0], CString(u"ByLayer"));
    EXPECT_EQ(acadColors[1], CString(u"ByBlock"));
    EXPECT_EQ(acadColors[257], CString(u"255"));
    EXPECT_FALSE(has(acadColors, u"BG"));

    const auto& msWeights = MicroStationWeights();
    const auto& acadWeights = AutoCadWeights();
    ASSERT_EQ(msWeights.size(), 34u);
    EXPECT_EQ(msWeights[0], CString(u"ByLevel"));
    EXPECT_EQ(msWeights[33], CString(u"31"));
    ASSERT_EQ(acadWeights.size(), 27u);
    EXPECT_EQ(acadWeights[0], CString(u"ByLayer"));
    EXPECT_EQ(acadWeights[2], CString(u"0"));
    EXPECT_EQ(acadWeights[3], CString(u"5"));
    EXPECT_EQ(acadWeights[25], CString(u"211"));
    EXPECT_EQ(acadWeights[26], CString(u"Default"));
    EXPECT_FALSE(has(acadWeights, u"1"));
    EXPECT_FALSE(has(acadWeights, u"210"));
}
