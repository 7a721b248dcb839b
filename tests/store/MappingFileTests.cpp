#include "StoreTestSupport.h"

TEST(MappingRead, HeadersMatchSectionKeysInAnyCase) {
    EXPECT_EQ(Tables::Parse("before = any header\n"
                            "[aliases]\ncopy = cp\n"
                            "  [ LEVELS ]  \n1 = 0\n"  // blanks around and inside the brackets
                            "[ ]\n2 = wall\n"           // an empty name keeps Levels current
                            "[Fonts]\n3 = arial\n"      // unknown: its pairs are skipped
                            "[]\n4 = skipped too\n"
                            "[ALIASES]\nmove = mv\n"    // a repeated section accumulates
                            "[a = b]\n5 = lost\n").Listed(),  // a header before a pair, even with "="
              "Aliases:copy=cp\nAliases:move=mv\nLevels:1=0\nLevels:2=wall\n");
    // A byte-order mark hides the first header; other bytes are the
    // characters of their codes.
    EXPECT_EQ(Tables::Parse("\xEF\xBB\xBF[Aliases]\r\ncopy = cp\r\n[Cells]\r\ncaf\xE9 = \xFF\r\n").Listed(),
              "Cells:caf\u00e9=\u00ff\n");
}

TEST(MappingRead, PairLinesSplitAtTheFirstEqualsAndTrim) {
    EXPECT_EQ(Tables::Parse("[Colors]\r\n"
                            "=1\n  = 2\nno equals sign\n"  // all skipped
                            "\t red \t=\t 1 \r\n"
                            "blank =\n"
                            "a = b = c\n"
                            "dup = first\ndup = second\nDup = other case\n").Listed(),
              "Colors:Dup=other case\nColors:a=b = c\nColors:blank=\nColors:dup=second\nColors:red=1\n");
}

TEST_F(StoreTest, MappingReadReplacesTablesOnlyFromAFileWithLines) {
    Tables t;
    t[KindWeights].SetPair(u"0", u"ByLayer");
    CVNTextFile file(u"mapping", u"\n");
    CString path = PathText(Path("commands.mapping"));

    // Missing: FALSE with a reason; empty: TRUE; both keep the tables.
    EXPECT_FALSE(MappingFile::Read(&file, path, t.View()));
    EXPECT_FALSE(file.m_strError.IsEmpty());
    WriteFile(Path("commands.mapping"), "");
    EXPECT_TRUE(MappingFile::Read(&file, path, t.View()));
    EXPECT_FALSE(MappingFile::Read(nullptr, path, t.View()));
    EXPECT_EQ(t.Listed(), "Weights:0=ByLayer\n");

    // One empty line clears every table; a kind without a table skips.
    WriteFile(Path("commands.mapping"), "\r\n[Weights]\n1 = 5\n[Levels]\n1 = A\n");
    MappingTables partial = t.View();
    partial[KindWeights] = nullptr;
    EXPECT_TRUE(MappingFile::Read(&file, path, partial));
    EXPECT_EQ(t.Listed(), "Weights:0=ByLayer\nLevels:1=A\n");
    WriteFile(Path("commands.mapping"), "\r\n");
    EXPECT_TRUE(MappingFile::Read(&file, path, t.View()));
    EXPECT_EQ(t.Listed(), "");
}

TEST(MappingWrite, AllSectionsInOrderPairsInKeyOrder) {
    Tables t;
    t[KindLevels].SetPair(u"b", u"");
    t[KindLevels].SetPair(u"B", u"x y");
    t[KindLevels].SetPair(u"a", u"\u00e9");
    EXPECT_EQ(t.Written(), "[Aliases]\r\n\r\n[MappingCommands]\r\n\r\n[Colors]\r\n\r\n[LineStyles]\r\n\r\n"
                          "[Cells]\r\n\r\n[Weights]\r\n\r\n[Levels]\r\nB = x y\r\na = \xE9\r\nb = \r\n\r\n");
}

TEST(MappingWrite, WhatIsWrittenReadsBackExceptThreeKindsOfPair) {
    Tables t;
    for (auto& table : t.table) {
        for (int i = 0; i < 40 * (&table - &t.table[0] + 1); ++i) {
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
    EXPECT_EQ(t.Listed(), Tables::Parse(t.Written()).Listed());

    t = Tables();
    t[KindAliases].SetPair(u"a=b", u"c");            // cut at the first "="
    t[KindColors].SetPair(u" padded ", u" both ");   // trimmed on reading
    t[KindCells].SetPair(u"[box", u"lid]");          // reads as a header
    t[KindCells].SetPair(u"later", u"lost");         // ... that hides this
    EXPECT_EQ(Tables::Parse(t.Written()).Listed(), "Aliases:a=b = c\nColors:padded=both\n");
}
