#include "store/MappingTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CString> Keys(const MappingTable& table) {
    std::vector<CString> keys;
    for (const auto& pair : table)
        keys.push_back(pair.first);
    return keys;
}

}  // namespace

TEST(MappingTable, SetPairReportsOnlyRealChanges) {
    MappingTable table;
    EXPECT_TRUE(table.SetPair(u"LINE", u"line"));
    EXPECT_FALSE(table.SetPair(u"LINE", u"line"));
    // A value differing only in letter case is a change and replaces.
    EXPECT_TRUE(table.SetPair(u"LINE", u"Line"));
    EXPECT_EQ(table.GetValue(u"LINE"), CString(u"Line"));
    EXPECT_EQ(table.GetCount(), 1);
    // The empty value is a value like any other.
    EXPECT_TRUE(table.SetPair(u"LINE", u""));
    EXPECT_FALSE(table.SetPair(u"LINE", u""));
    EXPECT_EQ(table.GetCount(), 1);
}

TEST(MappingTable, KeysAreCaseSensitiveAndIterateInOrdinalOrder) {
    MappingTable table;
    // Out of order, so both the append and the search path insert.
    for (const char16_t* key : {u"b", u"B", u"a", u"A", u"c", u"\u00e9", u"_"})
        table.SetPair(CString(key), CString(u"v"));
    EXPECT_EQ(Keys(table), (std::vector<CString>{u"A", u"B", u"_", u"a", u"b", u"c", u"\u00e9"}));
    // A later equal key in the middle replaces instead of adding.
    EXPECT_TRUE(table.SetPair(u"a", u"w"));
    EXPECT_EQ(table.GetCount(), 7);
    EXPECT_EQ(table.GetValue(u"a"), CString(u"w"));
    EXPECT_EQ(table.GetValue(u"A"), CString(u"v"));
}

TEST(MappingTable, MissingKeysReadEmptyAndRemoveNothing) {
    MappingTable table;
    table.SetPair(u"key", u"value");
    EXPECT_EQ(table.GetValue(u"KEY"), CString());
    table.RemovePair(u"KEY");
    EXPECT_EQ(table.GetCount(), 1);
    table.RemovePair(u"key");
    EXPECT_TRUE(table.IsEmpty());
    table.SetPair(u"x", u"1");
    table.SetPair(u"y", u"2");
    table.ClearPairs();
    EXPECT_EQ(table.GetCount(), 0);
    EXPECT_EQ(table.begin(), table.end());
}
