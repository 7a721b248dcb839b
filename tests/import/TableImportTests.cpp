// The streamed import against the dialog's road (the whole text, the pair
// list, SetPair in list order) on the same bytes: every window size from one
// byte up must leave the same tables and report the same rows left out.
#include "ImportTestHelpers.h"
#include "SevenTables.h"
#include "import/ImportMerge.h"
#include "import/TableImport.h"
#include "store/CodePage.h"
#include "store/TextCodec.h"

#include <gtest/gtest.h>

namespace {

struct Outcome {
    TableImportResult result = TableImportResult::CannotRead;
    std::string tables;  // Tables::Listed
    std::vector<uint32_t> leftOutLines;
    bool operator==(const Outcome&) const = default;
};

// Tables that already hold pairs the import may change.
Tables Existing() {
    Tables tables;
    tables[KindLevels].SetPair(u"7", u"Old");
    tables[KindColors].SetPair(u"3", u"1");
    return tables;
}

Outcome Finish(TableImportResult result, const Tables& tables, const std::vector<RemapRowLeftOut>& leftOut) {
    Outcome outcome{result, tables.Listed(), {}};
    for (const RemapRowLeftOut& row : leftOut)
        outcome.leftOutLines.push_back(row.line);
    return outcome;
}

Outcome ThroughPairList(const std::string& bytes, int kind) {
    Tables tables = Existing();
    std::vector<RemapRowLeftOut> leftOut;
    std::u16string text;
    TextCodec::Active().Decode(bytes, text);
    const ReadResult read = ReadRemapBuffer(std::move(text), kind);
    TableImportResult result = read == NotRecognised ? TableImportResult::NotRecognised : TableImportResult::Merged;
    if (read == Parsed)
        ForEachImportedPair([&](MappingKind page, std::u16string_view key,
                                std::u16string_view value) { tables[page].SetPair(key, value); },
                            &leftOut);
    ReleaseRemapData();
    return Finish(result, tables, leftOut);
}

// parts: a version 8 table is cut into about so many parts, however small.
Outcome Streamed(const std::string& bytes, int kind, size_t window, size_t parts = 1) {
    Tables tables = Existing();
    std::vector<RemapRowLeftOut> leftOut;
    TableImportOptions options;
    options.windowSize = window;
    options.splitFrom = 0;
    options.parts = parts;
    const TableImportResult result = ImportTableBytes(bytes, kind, tables.View(), leftOut, options);
    return Finish(result, tables, leftOut);
}

}  // namespace

using namespace std::string_literals;

TEST(TableImport, EveryWindowSizeGivesTheDialogsTables) {
    const std::pair<std::string, int> cases[] = {
        {"%section,Levels\r\nLevel,Color,DWGOutputLayer\r\nLevel 1,3,LAYER_A\r\n7,1,Walls\r\n7,2,Doors\r\n", RemapDetect},
        // Quoted fields across lines and separators, a comment joining rows,
        // a marker split anywhere, no line end at the end.
        {"# head\n%section,Colors\nDWGOutputColor,Color\n\"a,c\"\"5\",\"1\n2\"\nac9,#joined\n4\n\"x\",\"unclosed\n12,13",
         RemapDetect},
        // Rows left out (a quoted line break, a NUL), blank lines, rows
        // before the first marker, a section without its columns.
        {"a,b\n%section,CellNames\nCellName,V7OutputCellName\n\"d\r\noor\",D\nwin,W\0X\n\nc,ac\n%section,"
         "LineStyles\n"s,
         RemapDetect},
        // Keys that trim to one: the pair list's order decides.
        {"%section,Weights\nWeight,DWGOutputWeight\n 1,0.1\n1,0.2\n 1,0.3\n2 ,0.4\n", RemapDetect},
        {"no marker here,1\n", RemapDetect},
        // The marker is looked for in the text as written, not as unquoted.
        {"\"x\"%section,Levels\n", RemapDetect},
        {"LAYER_A  7 x y z extra\r\n\tWalls 8\nDoors 8\r\n", RemapLevels},
        {"12 3\n  ac14\t\t4 #c\n5\n", RemapColors},
        {"Arial 1\n", RemapFonts},
        {"x 1\n", 9},
    };
    // A single-byte code page reads the bytes in windows, a double-byte one
    // the whole text.
    for (unsigned codePage : {1252u, 932u}) {
        ASSERT_TRUE(CodePage::Select(codePage));
        for (const auto& [bytes, kind] : cases) {
            const Outcome expected = ThroughPairList(bytes, kind);
            for (size_t window : {size_t(1), size_t(2), size_t(3), size_t(7), size_t(16), size_t(1) << 20})
                for (size_t parts : {1, 2, 5})
                    EXPECT_EQ(Streamed(bytes, kind, window, parts), expected)
                        << bytes << " (window " << window << ", " << parts << " parts)";
        }
    }
    CodePage::Select(0);
}

// A part begins at the section marker nearest its share of the text (in
// two parts, the middle); its rows count only where the reader before
// would have read them the same way.
TEST(TableImport, PartsReadApartGiveTheDialogsTables) {
    const std::string head = "%section,Levels\nLevel,DWGOutputLayer\n1,A\n2,B\n3,C\n";
    const std::string cases[] = {
        // A clean join: a second Levels section, a row left out after it
        // (its line counted through both halves), a repeated key.
        head + "%section,Levels\nLevel,DWGOutputLayer\n1,Z\n\"x\ny\",Q\n4,D\n5,E\n6,F\n7,G\n8,H\n",
        // The marker inside a quoted field: the second reader's rows are not rows.
        head + "4,\"multi\n%section,Colors\nColor,DWGOutputColor\n9,1\n\",D\n5,E\n6,F\n7,G\n8,H\n9,I\n",
        // The marker right after another marker: read as that one's header.
        "%section,Levels\nLevel,DWGOutputLayer\n1,A\n2,B\n%section,Colors\n"
        "%section,Levels\nLevel,DWGOutputLayer\n3,C\n4,D\n5,E\n6,F\n7,G\n8,H\n",
        // A marker row of three fields is no marker: the rows after it stay
        // in the section before.
        head + "%section,Colors,x\n9,Y\n4,D\n5,E\n6,F\n7,G\n8,H\n9,I\n",
        // A part that begins with a marker row whose comment joins the next
        // line, the next part's marker: a data row of the section before.
        head + "4,D\n%section,u,b,#c\n%section,Levels,\nua,ub\n5,E\n6,F\n",
        // Three sections, a row left out in each: lines count on through
        // every part joined.
        "%section,Levels\nLevel,DWGOutputLayer\n1,A\n\"x\ny\",Q\n2,B\n%section,Colors\nColor,DWGOutputColor\n"
        "1,2\n\"p\nq\",3\n4,5\n%section,Weights\nWeight,DWGOutputWeight\n1,0.1\n\"r\ns\",0.2\n3,0.3\n",
        // Keys that trim to one, in the second half only.
        head + "3,c\n%section,Weights\nWeight,DWGOutputWeight\n 1,0.1\n1,0.2\n4,0.4\n5,0.5\n6,0.6\n7,0.7\n",
        // One long section, cut inside it: the parts there take its columns
        // from its marker and header rows (here in another order).
        "# head\n%section,Levels\nDWGOutputLayer,x,Level\nA,,1\nB,,2\n\"x\ny\",,3\nD,,4\n#c\nE,,5\nF,,6\nG,,7\nH,,8\n"
        "I,,9\nJ,,10\nK,,11\nL,,12\n",
        // A quoted field whose line breaks span the middle of the section.
        head + "4,\"a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl\",D\n5,E\n",
        // A marker line inside a quoted field before the middle: the part
        // after it would take the wrong columns.
        head + "4,\"q\n%section,Colors\nColor,x,DWGOutputColor\n\",D\n5,E\n6,F\n7,G\n8,H\n9,I\n10,J\n11,K\n12,L\n",
        // No section marker row at all, and rows before the first one.
        "1,A\n2,B\n3,C\n4,D\n5,E\n6,F\n7,G\n8,H\n9,I\n%section,Levels\nLevel,DWGOutputLayer\n1,Z\n",
    };
    for (const std::string& bytes : cases) {
        const Outcome expected = ThroughPairList(bytes, RemapDetect);
        for (size_t window : {size_t(1), size_t(5), size_t(1) << 20})
            for (size_t parts : {2, 3, 8})
                EXPECT_EQ(Streamed(bytes, RemapDetect, window, parts), expected)
                    << bytes << " (window " << window << ", " << parts << " parts)";
    }
}

TEST(TableImport, TablesStayAsTheyWereUnlessMerged) {
    Tables tables = Existing();
    std::vector<RemapRowLeftOut> leftOut;
    EXPECT_EQ(ImportTableBytes("Level,DWGOutputLayer\n7,New\n", RemapDetect, tables.View(), leftOut),
              TableImportResult::NotRecognised);
    // A marker row without "%section," in the text: rows were read, and
    // one left out, before the text turned out not to be a table.
    EXPECT_EQ(ImportTableBytes("%section;,Colors\n,\nx\0y\n"s, RemapDetect, tables.View(), leftOut),
              TableImportResult::NotRecognised);
    EXPECT_TRUE(leftOut.empty());
    EXPECT_EQ(ImportTableFile(CString(u"/no/such/table.csv"), RemapDetect, tables.View(), leftOut),
              TableImportResult::CannotRead);
    EXPECT_EQ(tables.Listed(), Existing().Listed());
}
