#include "StoreTestSupport.h"

namespace {

std::string Written(Tables& tables) {
    CStringArray lines;
    MappingFile::BuildLines(lines, tables.View());
    CVNTextFile file(u"mapping", u"\n");
    std::string bytes;
    EXPECT_TRUE(file.EncodeLines(lines, bytes));
    return bytes;
}

Tables ReadBack(Tables& tables) {
    Tables back;
    MappingFile::ReadFromBytes(Written(tables), back.View());
    return back;
}

}  // namespace

TEST(MappingWrite, OneAliasIsFifteenLines) {
    Tables t;
    t[KindAliases].SetPair(u"copy", u"cp");
    EXPECT_EQ(Written(t),
              "[Aliases]\r\ncopy = cp\r\n\r\n"
              "[MappingCommands]\r\n\r\n"
              "[Colors]\r\n\r\n"
              "[LineStyles]\r\n\r\n"
              "[Cells]\r\n\r\n"
              "[Weights]\r\n\r\n"
              "[Levels]\r\n\r\n");
}

TEST(MappingWrite, PairsInKeyOrderWithOneBlankAroundEquals) {
    Tables t;
    t[KindLevels].SetPair(u"b", u"");
    t[KindLevels].SetPair(u"B", u"x y");
    t[KindLevels].SetPair(u"a", u"\u00e9");
    MappingTables view = t.View();
    view[KindAliases] = nullptr;  // a kind without a table is an empty section
    CStringArray lines;
    MappingFile::BuildLines(lines, view);
    ASSERT_EQ(lines.GetSize(), 17);
    EXPECT_EQ(lines[0], CString(u"[Aliases]"));
    EXPECT_TRUE(lines[1].IsEmpty());
    EXPECT_EQ(lines[12], CString(u"[Levels]"));
    EXPECT_EQ(lines[13], CString(u"B = x y"));
    EXPECT_EQ(lines[14], CString(u"a = \u00e9"));
    EXPECT_EQ(lines[15], CString(u"b = "));
    EXPECT_TRUE(lines[16].IsEmpty());
    EXPECT_EQ(MappingFile::FormatPairLine(u"k", u""), CString(u"k = "));
    EXPECT_EQ(SectionKey(KindWeights), CString(u"Weights"));
    EXPECT_TRUE(SectionKey(MappingKindCount).IsEmpty());
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
            key += char16_t(0xA1 + (i % 94));
            value += char16_t(0x21 + (i * 13 % 94));
            table.SetPair(key, value);
        }
        table.SetPair(u"empty", u"");
        table.SetPair(u"EMPTY", u"=");
        table.SetPair(u"]x[", u"[y]");
    }
    EXPECT_TRUE(SameTables(t, ReadBack(t)));
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
    EXPECT_FALSE(SameTables(t, back));
}
