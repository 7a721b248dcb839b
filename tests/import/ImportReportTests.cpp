// The import's report beyond what the corpus shows: which rows count for
// each kind, the forms for one and for many, and the lines it names.
#include "ImportTestHelpers.h"
#include "import/CSVReader.h"
#include "import/ImportReport.h"
#include "store/platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

// Each line of the report as "LINE: text".
Strings Report(const std::string& bytes, int kind = RemapDetect) {
    Strings lines;
    for (const ImportReportLine& line : ImportReport(ReadRemapBytes(bytes, kind)))
        lines.push_back(std::to_string(line.line) + ": " + line.text.ToUtf8());
    return lines;
}

// How many rows (or values) the report's line for remark counts.
uint32_t Counted(const std::string& bytes, RemapRemark remark) {
    return ReadRemapBytes(bytes, RemapDetect).Remarks(remark).count;
}

}  // namespace

TEST(ImportReport, CleanTablesSayNothing) {
    EXPECT_EQ(Report("%section,Levels\nLevel,Color,DWGOutputLayer,Description\nWalls,,A-WALL,\"a, b\"\n"
                     "%section,Fonts\nFont,DWGOutputFont\n1,Arial\n%section,ColorsV8\nColor,DWGOutputColor\n3,12\n"),
              Strings{});
    EXPECT_EQ(Report("A-WALL 1 x\n", RemapLevels), Strings{});
}

TEST(ImportReport, WhichRowsCount) {
    // A qualifier is any of the seven columns but the section's own, in any
    // letter case; only rows that give a pair count.
    const std::string levels = "%section,Levels\nlevel,COLOR,Level,Cell,DWGOutputLayer,ElementType\n";
    EXPECT_EQ(Counted(levels + "x,,W1,,L1,\n,3,W2,,L2,\n,4,,,L3,\n,,W4,, L4, ~17\n", RemapRemark::Qualifier), 2u);
    EXPECT_EQ(Counted("%section,CellNames\nCellName,Cell,V7OutputCellName\nD,X,B\n", RemapRemark::Qualifier), 1u);
    // Keywords, brackets and "~" as the key begins, after trimming; the
    // output keywords in any letter case.
    const std::string colors = "%section,Colors\nColor,Level,DWGOutputColor\n";
    EXPECT_EQ(Counted(colors + " %unmapped,,1\nx%,,1\n", RemapRemark::Keyword), 1u);
    EXPECT_EQ(Counted(colors + "[2],,1\n[2,,1\n2],,1\n", RemapRemark::BracketedKey), 1u);
    EXPECT_EQ(Counted(colors + "~3,,1\n3,~A,1\n~4,~B,1\n5~,,1\n", RemapRemark::NotCondition), 3u);
    EXPECT_EQ(Counted(colors + "3,,%ByLevel\n4,,%DROP\n5,,%dropped\n", RemapRemark::OutputKeyword), 2u);
    // Sections no page takes, by their marker's line; Fonts needs no word.
    EXPECT_EQ(Report("%section,Fonts\nFont\n%section,LineWeights\nWeight,DWGOutputWeight\n1,2\n"),
              Strings{"3: One section of the table has a name that no page takes, so its rows were not imported. "
                      "Its marker is on line 3 of the table (\"LineWeights\")."});
}

// A value counts when the import brings it in: a later row for its key
// replaces it, and then it does not.
TEST(ImportReport, RefusedValuesAreThoseImported) {
    const std::string levels = "%section,Levels\nLevel,DWGOutputLayer\n";
    EXPECT_EQ(Counted(levels + "Walls,A/B\nWalls,A-WALL\n", RemapRemark::Refused), 0u);
    EXPECT_EQ(Report(levels + "Walls,A-WALL\nWalls,A|B\n"),
              Strings{"4: One imported value is one that AutoCAD will not take. Line 4: \"|\" is not allowed in an "
                      "AutoCAD layer name."});
    // The AutoCAD side only: MicroStation's own table holds MicroStation's values.
    EXPECT_EQ(Counted("%section,Colors\nColor,DWGOutputColor\n300,red\n301,7\n", RemapRemark::Refused), 1u);
}

TEST(ImportReport, ManyRowsNameTheFirstFive) {
    std::string table = "%section,Levels\nLevel,DWGOutputLayer\n";
    for (int i = 0; i < 7; ++i)
        table += "\"Wall\n" + std::to_string(i) + "\",A\n";
    EXPECT_EQ(Report(table),
              Strings{"3: 7 rows of the table were left out of the import: their MicroStation or AutoCAD values hold "
                      "line breaks or NUL characters, which a line of the mapping file cannot hold. The rows begin on "
                      "these lines of the table: 3, 5, 7, 9, 11 and 2 more."});
}

// A big-endian UTF-16 table; a character the code page cannot hold leaves
// its row out, named with its line; a Ctrl-Z ends the text.
TEST(ImportReport, MarkedTablesInTheOfficesCodePage) {
    ASSERT_TRUE(CodePage::Select(1252));
    const std::u16string text = u"%section,Levels\r\nLevel,DWGOutputLayer\r\nD\u00e9p\u00f4t,A\r\n\u0421,B\r\n\x1A" u"x,C\r\n";
    std::string bytes = "\xFE\xFF";
    for (char16_t ch : text)
        bytes += {char(ch >> 8), char(ch & 0xFF)};
    RemapTable table = ReadRemapBytes(bytes, RemapDetect);
    EXPECT_EQ(table.pairs[KindLevels].GetCount(), 1u);
    EXPECT_EQ(Report(bytes),
              Strings{"4: One row of the table was left out of the import: its MicroStation or AutoCAD value holds a "
                      "character that code page 1252 cannot hold, and the mapping file is saved in that code page. "
                      "The row begins on line 4 of the table (\"\u0421\", U+0421)."});
    CodePage::Select(0);
}
