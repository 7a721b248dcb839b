#include "store/MappingTable.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MappingTable, SetPairReportsOnlyRealChanges) {
    MappingTable table;
    EXPECT_TRUE(table.SetPair(u"LINE", u"line"));
    EXPECT_FALSE(table.SetPair(u"LINE", u"line"));
    // A value differing only in letter case is a change and replaces.
    EXPECT_TRUE(table.SetPair(u"LINE", u"Line"));
    EXPECT_TRUE(table.SetPair(u"LINE", u""));
    EXPECT_FALSE(table.SetPair(u"LINE", u""));
    EXPECT_EQ(table.GetCount(), 1);
    EXPECT_EQ(table.GetValue(u"line"), CString());
    table.RemovePair(u"line");
    EXPECT_EQ(table.GetCount(), 1);
}

TEST(MappingTable, KeysAreCaseSensitiveAndIterateInOrdinalOrder) {
    MappingTable table;
    // Out of order, so both the append and the search path insert.
    for (const char16_t* key : {u"b", u"B", u"a", u"A", u"c", u"\u00e9", u"_"})
        table.SetPair(CString(key), CString(u"v"));
    EXPECT_TRUE(table.SetPair(u"a", u"w"));
    std::vector<CString> keys;
    for (const auto& pair : table)
        keys.push_back(pair.first);
    EXPECT_EQ(keys, (std::vector<CString>{u"A", u"B", u"_", u"a", u"b", u"c", u"\u00e9"}));
    EXPECT_EQ(table.GetValue(u"a"), CString(u"w"));
    EXPECT_EQ(table.GetValue(u"A"), CString(u"v"));
}
