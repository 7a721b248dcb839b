#include "store/model/MappingTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

TEST(MappingTable, SetPairReportsRealChangesAndKeysAreCaseSensitiveInOrdinalOrder) {
    MappingTable table;
    EXPECT_TRUE(table.SetPair(u"LINE", u"line"));
    EXPECT_FALSE(table.SetPair(u"LINE", u"line"));
    EXPECT_TRUE(table.SetPair(u"LINE", u"Line"));  // a change of letter case replaces
    EXPECT_TRUE(table.SetPair(u"LINE", u""));
    EXPECT_FALSE(table.SetPair(u"LINE", u""));
    // Out of order, so both the append and the search path insert.
    for (const char16_t* key : {u"b", u"B", u"a", u"A", u"c", u"\u00e9", u"_"})
        table.SetPair(key, u"v");
    EXPECT_TRUE(table.SetPair(u"a", u"w"));
    std::vector<CString> keys;
    for (const auto& pair : table)
        keys.push_back(CString(pair.Key()));
    EXPECT_EQ(keys, (std::vector<CString>{u"A", u"B", u"LINE", u"_", u"a", u"b", u"c", u"\u00e9"}));
    EXPECT_EQ(table.GetValue(u"a"), CString(u"w"));
    EXPECT_EQ(table.GetValue(u"A"), CString(u"v"));
}

TEST(MappingTable, KeyOrderAgreesWithCompare) {
    // Differences before, at and after each four-unit step, prefixes, and
    // code units whose top bit is set.
    std::vector<CString> keys = {u"", u"a", u"ab", u"abcd", u"abcde", u"abcdefgh", u"abcdefgi", u"abcdefghi",
                                 u"abcdXfgh", u"abcdefgH", u"Level_000012345", u"Level_000012346",
                                 u"Level_00001234", u"\u00ff", u"\u0100", u"\u7fff", u"\u8000", u"\uffff",
                                 u"abcd\uffff", u"abcd\u0001", u"\xd800\xdc00", u"\ue000"};
    auto sign = [](int value) { return (value > 0) - (value < 0); };
    for (const CString& a : keys)
        for (const CString& b : keys)
            EXPECT_EQ(sign(KeyOrder::Compare(a.View(), b.View())), a.Compare(b))
                << a.ToUtf8() << " vs " << b.ToUtf8();
}

TEST(MappingTable, StaysConsistentThroughRemovalsCopiesMovesAndClears) {
    // Enough keys, in a scrambled order, to split chunks and fill several blocks.
    std::map<std::u16string, std::u16string> expected;
    MappingTable table;
    auto key = [](int i) { return CString::FromLatin1("key " + std::to_string(i)); };
    auto fill = [&](int count, int salt) {
        for (int i = 0; i < count; ++i) {
            CString k = key((i * 7919 + salt) % count), v = CString::FromLatin1(std::to_string(i + salt));
            expected[k.Str()] = v.Str();
            table.SetPair(k, v);
        }
    };
    auto same = [&](const MappingTable& t) {
        std::map<std::u16string, std::u16string> actual;
        for (const auto& [k, v] : t)
            actual.emplace(k.View(), v.View());
        return actual == expected && t.GetCount() == int(expected.size());
    };
    fill(5000, 1);
    for (int i = 0; i < 5000; i += 3) {
        table.RemovePair(key(i));
        expected.erase(key(i).Str());
    }
    fill(2000, 11);  // into chunks the removals thinned
    EXPECT_TRUE(same(table));

    // A copy is independent; a moved-from table is empty and usable.
    MappingTable copy = table;
    copy.SetPair(u"key 1", u"changed in the copy");
    EXPECT_TRUE(same(table));
    MappingTable moved = std::move(copy);
    EXPECT_EQ(moved.GetValue(u"key 1"), CString(u"changed in the copy"));
    EXPECT_TRUE(copy.IsEmpty());
    copy.SetPair(u"after the move", u"x");
    EXPECT_EQ(copy.GetCount(), 1);

    // Cleared, the pool starts over and takes more than before.
    table.ClearPairs();
    expected.clear();
    fill(20000, 3);
    EXPECT_TRUE(same(table));
}
