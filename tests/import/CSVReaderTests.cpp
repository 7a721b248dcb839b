#include "ImportTestHelpers.h"
#include "PlainTableReading.h"
#include "SevenTables.h"
#include "import/CSVReader.h"
#include "store/platform/CodePage.h"
#include "store/platform/TextCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

using namespace std::string_literals;

namespace {

// What the pages hold after the import of bytes into empty tables, one
// "Section:key=value" line a pair; or why nothing was read.
std::string Imported(const std::string& bytes, int kind = RemapDetect, std::vector<uint32_t>* leftOut = nullptr) {
    RemapTable table = ReadRemapBytes(bytes, kind);
    if (leftOut)
        for (const RemapRowLeftOut& row : table.rowsLeftOut)
            leftOut->push_back(row.line);
    if (table.result != Parsed)
        return table.result == NotRecognised ? "not recognised" : "cannot read";
    Tables tables;
    for (size_t page = 0; page < tables.table.size(); ++page)
        tables.table[page].Merge(std::move(table.pairs[page]));
    return tables.Listed();
}

// The same as the plain reading of the rules gives it.
std::string PlainlyImported(const std::string& bytes, int kind, std::vector<uint32_t>* leftOut = nullptr) {
    std::u16string text;
    TextCodec::Active().Decode(bytes, text);
    const plain::Reading reading = plain::Read(text, kind);
    if (leftOut)
        leftOut->assign(reading.leftOutLines.begin(), reading.leftOutLines.end());
    if (reading.result != Parsed)
        return "not recognised";
    std::string listed;
    for (int page = 0; page < MappingKindCount; ++page)
        for (const auto& [key, value] : reading.pages[page])
            listed += SectionKey(MappingKind(page)).ToUtf8() + ":" + Utf8(key) + "=" + Utf8(value) + "\n";
    return listed;
}

// The reader, as bytes (code page 1252) and as UTF-16 text (932), and the
// plain reading must all agree.
void ExpectAgreement(const std::string& bytes, int kind) {
    std::vector<uint32_t> leftOut, plainLeftOut;
    for (unsigned codePage : {1252u, 932u}) {
        ASSERT_TRUE(CodePage::Select(codePage));
        leftOut.clear();
        EXPECT_EQ(Imported(bytes, kind, &leftOut), PlainlyImported(bytes, kind, &plainLeftOut))
            << "kind " << kind << ", code page " << codePage << ":\n" << bytes;
        EXPECT_EQ(leftOut, plainLeftOut) << bytes;
    }
    CodePage::Select(0);
}

}  // namespace

TEST(RemapReader, SectionMarkersHeadersAndDataRows) {
    // A short row lacks the wanted cell; a blank line is a row of empty cells.
    EXPECT_EQ(Imported("%section,Levels\nLevel,X,DWGOutputLayer\n1,a,L,extra\n2\n\n3,,M\n"),
              "Levels:1=L\nLevels:3=M\n");
    // A marker row is exactly two fields ("%section" and the first 8
    // characters of the first); others are data rows of the section before.
    EXPECT_EQ(Imported("%section,Levels,\nLevel,DWGOutputLayer\n1,A\n%section,Colors,,\n%sectionX,Cells\n2,B\n"),
              "Levels:%section=Colors\nLevels:1=A\n");
    // The row after a marker is its header, even a blank one.
    EXPECT_EQ(Imported("%section,Levels\n\nLevel,DWGOutputLayer\n1,A\n"), "");
    // Rows before the first marker belong nowhere.
    EXPECT_EQ(Imported("1,A\n\n%section,Levels\nLevel,DWGOutputLayer\n2,B\n"), "Levels:2=B\n");
}

TEST(RemapReader, DetectionNeedsTheMarkerWithItsSeparator) {
    EXPECT_EQ(Imported("Level,DWGOutputLayer\n1,A\n"), "not recognised");
    EXPECT_EQ(Imported("%Section,Levels\n"), "not recognised");
    EXPECT_EQ(Imported("%section Levels\n"), "not recognised");
    // One inside a comment counts; the file then has no sections.
    EXPECT_EQ(Imported("# made by %section,x\n# nothing else\n"), "");
    // A NUL does not end the text.
    EXPECT_EQ(Imported("a\0b\n%section,Levels\nLevel,DWGOutputLayer\n1,A\n"s), "Levels:1=A\n");
    // Version 7 kinds read without a marker; other kinds read nothing.
    EXPECT_EQ(Imported("%section,Levels\n", 7), "not recognised");
    EXPECT_EQ(Imported("A 1\n", -1), "not recognised");
}

TEST(RemapReader, PagesByKindSectionAndColumnNames) {
    const struct {
        const char* text;
        int kind;
        const char* pages;
    } cases[] = {
        // Version 7 tables have fixed columns per kind, the DWG value first;
        // a marker there is a field.
        {"LAYER_A 7 x y z extra\n", RemapLevels, "Levels:7=LAYER_A\n"},
        {"  12\t3\n12\n\n", RemapColors, "Colors:3=12\n"},
        {"DASHED dashes 1\n", RemapLineStyles, "LineStyles:dashes=DASHED\n"},
        {"BLOCK cell # comment\n", RemapCellNames, "Cells:cell=BLOCK\n"},
        {"0.35 2\n", RemapWeights, "Weights:2=0.35\n"},
        {"Arial 1\n", RemapFonts, ""},
        {"%section,Levels\nA 1", RemapLevels, "Levels:1=A\n"},
        // Columns in either order; a section name beginning with a table
        // name matches, a shorter one not; Fonts and others give nothing.
        {"%section,Colors\nDWGOutputColor,Color\nac12,3\nca,5\n", RemapDetect, "Colors:3=12\nColors:5=\n"},
        {"%section,ColorsV8\nColor,DWGOutputColor\n3,12\n", RemapDetect, "Colors:3=12\n"},
        {"%section,Color\nColor,DWGOutputColor\n3,12\n", RemapDetect, ""},
        {"%section,Fonts\nFont,DWGOutputFont\n1,Arial\n%section,Other\nLevel,DWGOutputLayer\n1,A\n", RemapDetect, ""},
        // A header cell matches when the wanted name begins with all of it;
        // an empty one matches every name, so the first one wins both.
        {"%section,Levels\nLev,DWGOutputLayer\n1,A\n", RemapDetect, "Levels:1=A\n"},
        {"%section,Levels\nLevelName,DWGOutputLayer\n1,A\n", RemapDetect, ""},
        {"%section,Levels\nLevel, DWGOutputLayer\n1,A\n", RemapDetect, ""},
        {"%section,Levels\n,Level,DWGOutputLayer\nx,1,A\n", RemapDetect, "Levels:x=x\n"},
        // Empty and missing cells give no pair; a blank one gives an empty
        // value, or no pair when it is the key.
        {"%section,Levels\nLevel,DWGOutputLayer\n,A\n1,\n2\n3, \n , B\n", RemapDetect, "Levels:3=\n"},
        // Only Colors and CellNames values lose 'a' and 'c'.
        {"%section,CellNames\nCellName,V7OutputCellName\ndoor,acad\na,cab\n%section,Levels\nLevel,DWGOutputLayer\n"
         "x,acme\n",
         RemapDetect, "Cells:a=b\nCells:door=d\nLevels:x=acme\n"},
        // As a user brings it: CR LF, comments, blank lines, qualifier
        // columns between the wanted ones, quotes, and no line end at the end.
        {"# site\r\n\r\n%section,Levels\r\nLevel,Color,Class,DWGOutputLayer,V8OutputColor\r\n\"Walls, outer\",,,A-WALL,"
         "\r\n7,3,Primary,A-ANNO,3\r\n\r\n# doors last\r\nDoors,,,A-DOOR",
         RemapDetect, "Levels:7=A-ANNO\nLevels:Doors=A-DOOR\nLevels:Walls, outer=A-WALL\n"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Imported(test.text, test.kind), test.pages) << test.text;
        ExpectAgreement(test.text, test.kind);
    }
}

// The last DWG value for a MicroStation value as written wins, at the place
// where that value first appeared; then the trimmed pairs go in that order.
// So of values that trim to one key, the one written first the latest wins.
TEST(RemapReader, MergeRuleForRepeatedAndPaddedKeys) {
    const std::string levels = "%section,Levels\nLevel,DWGOutputLayer\n";
    const std::pair<std::string, const char*> cases[] = {
        {levels + "3,10\n4,5\n3,12\n", "Levels:3=12\nLevels:4=5\n"},
        // " 3" first appears after "3": its last value wins, though "3" came last.
        {levels + "3,A\n 3,B\n3,C\n", "Levels:3=B\n"},
        {levels + " 3,A\n3,B\n 3,C\n", "Levels:3=B\n"},
        {levels + "3 ,A\n 3,B\n3 ,C\n 3 ,D\n 3,E\n", "Levels:3=D\n"},
        // Blanks differ from tabs; kinds fold apart, across sections of a kind.
        {levels + "\t5,T\n 5,S\n\t5,U\n%section,Colors\nColor,DWGOutputColor\n 5,1\n%section,LevelsMore\n"
                  "DWGOutputLayer,Level\nV,5\n",
         "Colors:5=1\nLevels:5=V\n"},
        // A version 7 table: the fields carry no blanks, so only repeats fold.
        {"A 7\nB 8\nC 7\n", "Levels:7=C\nLevels:8=B\n"},
    };
    for (const auto& [text, pages] : cases) {
        const int kind = text[0] == '%' ? RemapDetect : RemapLevels;
        EXPECT_EQ(Imported(text, kind), pages) << text;
        ExpectAgreement(text, kind);
    }
}

// Rows whose MicroStation or DWG value a mapping-file line cannot carry are
// left out with their lines; the others merge as usual.
TEST(RemapReader, RowsWithLineBreaksOrNulsAreLeftOutByLine) {
    const std::string text = "%section,Levels\r\nLevel,DWGOutputLayer,Class\r\n"
                             "\"Wall\r\nNorth\",A-WALL\r\n"  // lines 3-4
                             "Door,\"A-\nDOOR\"\r\n"         // lines 5-6
                             "Roof,A-ROOF,\"x\ny\"\r\n"      // an unused cell may hold one
                             "Cr\rLf,A\r\n"                  // line 9
                             "Nul,A\0B\r\n"                  // line 10
                             "Wall,\"A-WALL-2\r\n"           // unclosed: ends here
                             "%section,Fonts\r\nFont,DWGOutputFont\r\n\"a\nb\",c\r\n"s;
    RemapTable table = ReadRemapBytes(text, RemapDetect);
    ASSERT_EQ(table.result, Parsed);
    Strings rows;
    for (const RemapRowLeftOut& row : table.rowsLeftOut)
        rows.push_back(std::to_string(row.line) + (row.reason == RemapLeftOutReason::Nul ? " nul" : " break"));
    EXPECT_EQ(rows, (Strings{"3 break", "5 break", "9 break", "10 nul"}));
    EXPECT_EQ(Imported(text), "Levels:Roof=A-ROOF\nLevels:Wall=A-WALL-2\n");
    ExpectAgreement(text, RemapDetect);
}

TEST(RemapReader, ReadsTheFileInTheActiveCodePageOrFailsCleanly) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "varnel-import-tests";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "remap.csv";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << "%section,CellNames\r\nCellName,V7OutputCellName\r\nDOOR1,acdoor\r\n  ,X\r\n"
           "%section,Colors\r\nColor,DWGOutputColor\r\n 3 ,10\r\n14,62ac\r\n3 ,ca\r\n4,\xe9t\xe9\r\n";
    const CString path(file.u16string());
    auto listed = [](RemapTable table) {
        Tables tables;
        for (size_t page = 0; page < tables.table.size(); ++page)
            tables.table[page].Merge(std::move(table.pairs[page]));
        return tables.Listed();
    };
    // " 3 " came first, "3 " later: the later one's value wins.
    EXPECT_EQ(listed(ReadRemapFile(path, RemapDetect)),
              "Colors:14=62\nColors:3=\nColors:4=\u00e9t\u00e9\nCells:DOOR1=door\n");
    // A version 7 read of the same file is one table of the given kind.
    EXPECT_EQ(ReadRemapFile(path, RemapWeights).result, Parsed);
    EXPECT_EQ(ReadRemapFile(CString(), RemapDetect).result, CannotRead);
    const RemapTable missing = ReadRemapFile(CString((folder / "missing.csv").u16string()), RemapDetect);
    EXPECT_EQ(missing.result, CannotRead);
    EXPECT_TRUE(missing.rowsLeftOut.empty() && missing.pairs[KindLevels].GetCount() == 0);
    std::filesystem::remove_all(folder);
}

// Two-byte characters whose second byte is a separator, a quote or a '#'
// in ASCII: the reader decodes the text first and cuts it as characters.
TEST(RemapReader, DoubleByteCodePageIsCutAsCharacters) {
    ASSERT_TRUE(CodePage::Select(932));
    // "\x95\x5C" is one character (U+8868); "\x83\x5C" too (U+30BD).
    const std::string text = "%section,Levels\r\nLevel,DWGOutputLayer\r\n\x95\x5C,\x83\x5C\x83\x5C\r\n \x95\x5C,X\r\n";
    EXPECT_EQ(Imported(text), "Levels:\u8868=X\n");
    CodePage::Select(0);
}

// Tables made of the awkward pieces offices bring (quotes, padded and
// repeated keys, comments, CR LF, markers in odd places, NULs) read as the
// plain reading of the rules reads them.
TEST(RemapReader, AgreesWithThePlainReadingOnGeneratedTables) {
    const char* heads[] = {"%section,Levels\nLevel,DWGOutputLayer\n", "%section,Colors\r\nDWGOutputColor,Color\n",
                           "%section,CellNames\nCellName,x,V7OutputCellName\n", "%section,Levels\n\n"};
    const char* rows[] = {"1,A\n", " 1,B\n", "1 ,C\n", "\t1\t,E\r\n", "A 1\n", "B  1 \n", "2,\"q,\"\"x\"\"\"\n",
                          "\"3\n\",D\n", "\"u\n", "# c\n", "4,#j\n", "\r\n", "\n", ",\n", "a c,ca\n", "x,\0y\n",
                          "\"5\"z,F\n", "6,G", " ", ",", "\"", "%section,Levels\n", "1,,2\n", "c 1 a\n"};
    std::mt19937 random(21);
    for (int round = 0; round < 600; ++round) {
        std::string text;
        for (int n = int(random() % 25); n > 0; --n) {
            if (random() % 6 == 0)
                text += heads[random() % std::size(heads)];
            const char* row = rows[random() % std::size(rows)];
            text += std::string(row, row == rows[15] ? 5 : std::strlen(row));
        }
        ExpectAgreement(text, RemapDetect);
        ExpectAgreement(text, int(1 + random() % RemapKindLast));
    }
}
