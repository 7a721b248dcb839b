#include "StoreTestSupport.h"

namespace {

Tables ReadBack(Tables& tables) {
    Tables back;
    MappingFile::ReadFromBytes(Written(tables), back.View());
    return back;
}

}  // namespace

TEST(MappingWrite, AllSectionsInOrderPairsInKeyOrder) {
    Tables t;
    t[KindAliases].SetPair(u"copy", u"cp");
    const char* others =
        "[MappingCommands]\r\n\r\n[Colors]\r\n\r\n[LineStyles]\r\n\r\n[Cells]\r\n\r\n[Weights]\r\n\r\n";
    // One alias: fifteen lines.
    EXPECT_EQ(Written(t), std::string("[Aliases]\r\ncopy = cp\r\n\r\n") + others + "[Levels]\r\n\r\n");

    t[KindAliases].ClearPairs();
    t[KindLevels].SetPair(u"b", u"");
    t[KindLevels].SetPair(u"B", u"x y");
    t[KindLevels].SetPair(u"a", u"\u00e9");
    EXPECT_EQ(Written(t), std::string("[Aliases]\r\n\r\n") + others + "[Levels]\r\nB = x y\r\na = \xE9\r\nb = \r\n\r\n");
}

TEST(MappingWrite, WhatIsWrittenReadsBackTheSame) {
    Tables t;
    int n = 0;
    for (auto& table : t.table) {
        ++n;
        for (int i = 0; i < 40 * n; ++i) {
            CString key, value;
            key.Format(u"K%d x", i * 7919 % 1000);
            value.Format(u"v %d", i);
            // Characters up to 255 that are no white space, "=" or "[".
            table.SetPair(key + char16_t(0xA1 + (i % 94)), value + char16_t(0x21 + (i * 13 % 94)));
        }
        table.SetPair(u"empty", u"");
        table.SetPair(u"EMPTY", u"=");
        table.SetPair(u"]x[", u"[y]");
    }
    EXPECT_TRUE(t == ReadBack(t));
}

TEST(MappingWrite, ThreeKindsOfPairDoNotSurviveARoundTrip) {
    Tables t;
    t[KindAliases].SetPair(u"a=b", u"c");            // cut at the first "="
    t[KindColors].SetPair(u" padded ", u" both ");   // trimmed on reading
    t[KindCells].SetPair(u"[box", u"lid]");          // reads as a header
    t[KindCells].SetPair(u"later", u"lost");         // ... that hides this
    Tables back = ReadBack(t);
    EXPECT_EQ(back[KindAliases].GetValue(u"a"), CString(u"b = c"));
    EXPECT_EQ(back[KindColors].GetValue(u"padded"), CString(u"both"));
    EXPECT_EQ(back[KindCells].GetCount(), 0);
}
