#include "StoreTestSupport.h"

namespace {

Tables Parse(const std::string& bytes) {
    Tables tables;
    MappingFile::ReadFromBytes(bytes, tables.View());
    return tables;
}

using MappingReadTest = StoreTest;

}  // namespace

TEST(MappingRead, HeadersMatchSectionKeysInAnyCase) {
    Tables t = Parse(
        "[aliases]\n"
        "copy = cp\n"
        "  [ LEVELS ]  \n"           // blanks around and inside the brackets
        "1 = 0\n"
        "[ ]\n"                       // an empty name keeps Levels current
        "2 = wall\n"
        "[Fonts]\n"                   // unknown: its pairs are skipped
        "3 = arial\n"
        "[]\n"
        "4 = skipped too\n"
        "[ALIASES]\n"                 // a repeated section accumulates
        "move = mv\n"
        "[a = b]\n"                   // a header before a pair, even with "="
        "5 = lost\n"
        "[MappingCommands]\n"
        "place line = line\n");
    EXPECT_EQ(t[KindAliases].GetCount(), 2);
    EXPECT_EQ(t[KindAliases].GetValue(u"copy"), CString(u"cp"));
    EXPECT_EQ(t[KindAliases].GetValue(u"move"), CString(u"mv"));
    EXPECT_EQ(t[KindLevels].GetCount(), 2);
    EXPECT_EQ(t[KindLevels].GetValue(u"2"), CString(u"wall"));
    EXPECT_EQ(t[KindMappingCommands].GetValue(u"place line"), CString(u"line"));
    int total = 0;
    for (auto& table : t.table)
        total += table.GetCount();
    EXPECT_EQ(total, 5);
}

TEST(MappingRead, PairLinesSplitAtTheFirstEqualsAndTrim) {
    Tables t = Parse(
        "before = header\n"           // no section yet: skipped
        "[Colors]\r\n"
        "=1\n"                        // "=" first: skipped
        "  = 2\n"                     // "=" first once trimmed
        "no equals sign\n"
        "\t red \t=\t 1 \r\n"
        "blank =\n"                   // empty value
        "a = b = c\n"                 // value keeps later "="
        "dup = first\n"
        "dup = second\n"
        "Dup = other case\n");
    const MappingTable& colors = t[KindColors];
    EXPECT_EQ(colors.GetCount(), 5);
    EXPECT_EQ(colors.GetValue(u"red"), CString(u"1"));
    EXPECT_TRUE(colors.GetValue(u"blank").IsEmpty());
    EXPECT_EQ(colors.GetValue(u"a"), CString(u"b = c"));
    EXPECT_EQ(colors.GetValue(u"dup"), CString(u"second"));
    EXPECT_EQ(colors.GetValue(u"Dup"), CString(u"other case"));
    EXPECT_EQ(t[KindAliases].GetCount(), 0);
}

TEST(MappingRead, ByteOrderMarkHidesTheFirstHeader) {
    Tables t = Parse("\xEF\xBB\xBF[Aliases]\r\ncopy = cp\r\n[Cells]\r\ndoor = DOOR-1\r\n");
    EXPECT_EQ(t[KindAliases].GetCount(), 0);
    EXPECT_EQ(t[KindCells].GetValue(u"door"), CString(u"DOOR-1"));
    // Bytes above 127 are the characters of the same code.
    Tables latin = Parse("[Levels]\ncaf\xE9 = \xFF\n");
    EXPECT_EQ(latin[KindLevels].GetValue(CString(u"caf\u00e9")), CString(u"\u00ff"));
}

TEST_F(MappingReadTest, TablesAreReplacedOnlyByAFileWithLines) {
    Tables t;
    t[KindWeights].SetPair(u"0", u"ByLayer");
    CVNTextFile file(u"mapping", u"\n");
    CString path = PathText(Path("commands.mapping"));

    // Missing: FALSE with a reason; empty: TRUE; both keep the tables.
    EXPECT_FALSE(MappingFile::Read(&file, path, t.View()));
    EXPECT_FALSE(file.m_strError.IsEmpty());
    WriteBytes(Path("commands.mapping"), "");
    EXPECT_TRUE(MappingFile::Read(&file, path, t.View()));
    EXPECT_EQ(t[KindWeights].GetCount(), 1);
    EXPECT_FALSE(MappingFile::Read(nullptr, path, t.View()));

    // One empty line is a file with lines: every table is cleared.
    WriteBytes(Path("commands.mapping"), "\r\n");
    EXPECT_TRUE(MappingFile::Read(&file, path, t.View()));
    EXPECT_EQ(t[KindWeights].GetCount(), 0);

    // A kind without a table skips its pairs.
    WriteBytes(Path("commands.mapping"), "[Weights]\n1 = 5\n[Levels]\n1 = A\n");
    MappingTables partial = t.View();
    partial[KindWeights] = nullptr;
    EXPECT_TRUE(MappingFile::Read(&file, path, partial));
    EXPECT_EQ(t[KindWeights].GetCount(), 0);
    EXPECT_EQ(t[KindLevels].GetValue(u"1"), CString(u"A"));
}
