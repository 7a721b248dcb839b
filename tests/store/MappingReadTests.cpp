#include "StoreTestSupport.h"

namespace {

Tables Parse(const std::string& bytes) {
    Tables tables;
    MappingFile::ReadFromBytes(bytes, tables.View());
    return tables;
}

int Total(const Tables& t) {
    int total = 0;
    for (auto& table : t.table)
        total += table.GetCount();
    return total;
}

using MappingReadTest = StoreTest;

}  // namespace

TEST(MappingRead, HeadersMatchSectionKeysInAnyCase) {
    Tables t = Parse(
        "before = any header\n"
        "[aliases]\ncopy = cp\n"
        "  [ LEVELS ]  \n1 = 0\n"    // blanks around and inside the brackets
        "[ ]\n2 = wall\n"             // an empty name keeps Levels current
        "[Fonts]\n3 = arial\n"        // unknown: its pairs are skipped
        "[]\n4 = skipped too\n"
        "[ALIASES]\nmove = mv\n"      // a repeated section accumulates
        "[a = b]\n5 = lost\n");       // a header before a pair, even with "="
    EXPECT_EQ(t[KindAliases].GetValue(u"copy"), CString(u"cp"));
    EXPECT_EQ(t[KindAliases].GetValue(u"move"), CString(u"mv"));
    EXPECT_EQ(t[KindLevels].GetValue(u"2"), CString(u"wall"));
    EXPECT_EQ(Total(t), 4);

    // A byte-order mark hides the first header; other bytes are the
    // characters of their codes.
    t = Parse("\xEF\xBB\xBF[Aliases]\r\ncopy = cp\r\n[Cells]\r\ncaf\xE9 = \xFF\r\n");
    EXPECT_EQ(t[KindCells].GetValue(CString(u"caf\u00e9")), CString(u"\u00ff"));
    EXPECT_EQ(Total(t), 1);
}

TEST(MappingRead, PairLinesSplitAtTheFirstEqualsAndTrim) {
    Tables t = Parse(
        "[Colors]\r\n"
        "=1\n  = 2\nno equals sign\n"  // all skipped
        "\t red \t=\t 1 \r\n"
        "blank =\n"
        "a = b = c\n"
        "dup = first\ndup = second\nDup = other case\n");
    const MappingTable& colors = t[KindColors];
    EXPECT_EQ(colors.GetCount(), 5);
    EXPECT_EQ(colors.GetValue(u"red"), CString(u"1"));
    EXPECT_EQ(colors.GetValue(u"a"), CString(u"b = c"));
    EXPECT_EQ(colors.GetValue(u"dup"), CString(u"second"));
    EXPECT_EQ(colors.GetValue(u"Dup"), CString(u"other case"));
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

    // One empty line clears every table; a kind without a table skips.
    WriteBytes(Path("commands.mapping"), "\r\n[Weights]\n1 = 5\n[Levels]\n1 = A\n");
    MappingTables partial = t.View();
    partial[KindWeights] = nullptr;
    EXPECT_TRUE(MappingFile::Read(&file, path, partial));
    EXPECT_EQ(t[KindWeights].GetCount(), 1);  // not cleared: no table given
    EXPECT_EQ(t[KindLevels].GetValue(u"1"), CString(u"A"));
    WriteBytes(Path("commands.mapping"), "\r\n");
    EXPECT_TRUE(MappingFile::Read(&file, path, t.View()));
    EXPECT_EQ(Total(t), 0);
}
