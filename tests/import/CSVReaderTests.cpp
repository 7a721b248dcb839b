#include "ImportTestHelpers.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace std::string_literals;

namespace {
// Reads text as a table of the given kind and lists its pairs as
// "kind:MicroStation=DWG", in list order.
Strings PairsOf(const std::string& text, int kind = RemapDetect) {
    if (ReadRemapText(CString::FromUtf8(text).View(), kind) != Parsed)
        return {"not parsed"};
    ExtractPairs();
    Strings result;
    for (const RemapPair& pair : pairs)
        result.push_back(std::to_string(pair.kind) + ":" + Utf8(pair.microStationValue) + "=" + Utf8(pair.dwgValue));
    ReleaseRemapData();
    return result;
}

// What the merge hands to the pages for the table just read, as
// "Page:key=value"; the rows it leaves out go to leftOut.
Strings MergedPairs(std::vector<RemapRowLeftOut>* leftOut = nullptr) {
    Strings result;
    const BOOL ok = ForEachImportedPair([&](MappingKind page, std::u16string_view key, std::u16string_view value) {
        result.push_back(SectionKey(page).ToUtf8() + ":" + Utf8(key) + "=" + Utf8(value));
    }, leftOut);
    if (!ok)
        result.push_back("failed");
    return result;
}

// Section names and their column names, as "Name:col1,col2".
Strings SectionsRead() {
    Strings result;
    for (const RemapSection& section : remapTable.sections) {
        result.push_back(Utf8(section.name.View()) + ":");
        for (const RemapColumn& column : section.columns)
            result.back() += (column.index ? "," : "") + Utf8(column.name.View());
    }
    return result;
}

ReadResult Read(const std::string& text, int kind = RemapDetect) {
    return ReadRemapText(CString::FromUtf8(text).View(), kind);
}
}  // namespace

TEST(RemapSectionedParse, ReadsMarkersHeadersAndDataRows) {
    // Every column gets a rule per data row; a short row leaves empty rules.
    ASSERT_EQ(Read("%section,Levels\nLevel,X,DWGOutputLayer\n1,a,L,extra\n2\n\n"), Parsed);
    const RemapSection& section = remapTable.sections.at(0);
    ASSERT_EQ(section.RowCount(), 3u);
    EXPECT_EQ(Utf8(section.Rule(section.columns[2], 0).View()), "L");
    EXPECT_EQ(Utf8(section.Rule(section.columns[0], 1).View()), "2");
    EXPECT_TRUE(section.Rule(section.columns[1], 1).IsEmpty());
    EXPECT_TRUE(section.Rule(section.columns[0], 2).IsEmpty());
    // Marker rows are exactly two fields.
    ASSERT_EQ(Read("%section,Levels,\nLevel\n%section,Colors,,\n %section,Weights\n%sectionX,Cells\na\n"), Parsed);
    EXPECT_EQ(SectionsRead(), (Strings{"Levels:Level", "Cells:a"}));
    // The row after a marker is its header, even a blank one.
    EXPECT_EQ(PairsOf("%section,Levels\n\nLevel,DWGOutputLayer\n1,A\n"), Strings{});
    // Rows before the first marker are skipped, not an error.
    EXPECT_EQ(PairsOf("1,A\n\n%section,Levels\nLevel,DWGOutputLayer\n2,B\n"), Strings{"1:2=B"});
    ReleaseRemapData();
}

TEST(RemapSectionedParse, DetectionNeedsTheMarkerWithItsSeparatorAndStartsEmpty) {
    ASSERT_EQ(Read("%section,Levels\nLevel,DWGOutputLayer\n1,A\n"), Parsed);
    ExtractPairs();
    // A failed detection leaves nothing of the previous read.
    EXPECT_EQ(ReadRemapText(u"Level,DWGOutputLayer\n1,A\n", RemapDetect, CString(u"b.csv")), NotRecognised);
    EXPECT_TRUE(remapTable.sections.empty() && pairs.empty());
    EXPECT_EQ(remapTable.fileName, CString(u"b.csv"));
    EXPECT_EQ(Read("%Section,Levels\n"), NotRecognised);
    EXPECT_EQ(Read("%section Levels\n"), NotRecognised);
    // One inside a comment counts; the file then has no sections.
    EXPECT_EQ(Read("# made by %section,x\n# nothing else\n"), Parsed);
    EXPECT_TRUE(remapTable.sections.empty());
    // A NUL does not end the text.
    EXPECT_EQ(ReadRemapText(std::u16string_view(u"a\0%section,Levels\n", 19), RemapDetect), Parsed);
    EXPECT_EQ(Read("%section,Levels\n", 7), NotRecognised);
    ReleaseRemapData();
    EXPECT_TRUE(remapTable.fileName.IsEmpty());
}

TEST(RemapExtraction, PairsByKindSectionAndColumnNames) {
    const struct { const char* text; int kind; Strings pairs; } rows[] = {
        // Version 7 tables have fixed columns per kind; a marker there is a field.
        {"LAYER_A 7 x y z extra\n", RemapLevels, {"1:7=LAYER_A"}},
        {"  12\t3\n12\n\n", RemapColors, {"2:3=12"}},
        {"DASHED dashes 1\n", RemapLineStyles, {"4:dashes=DASHED"}},
        {"BLOCK cell # comment\n", RemapCellNames, {"6:cell=BLOCK"}},
        {"Arial 1\n", RemapFonts, {}},
        {"%section,Levels\nA 1", RemapLevels, {"1:1=A"}},
        // Columns in either order; a section name beginning with a table name
        // matches, a shorter one not.
        {"%section,Colors\nDWGOutputColor,Color\n12,3\n", RemapDetect, {"2:3=12"}},
        {"%section,ColorsV8\nColor,DWGOutputColor\n3,12\n", RemapDetect, {"2:3=12"}},
        {"%section,Color\nColor,DWGOutputColor\n3,12\n", RemapDetect, {}},
        {"%section,Fonts\nFont,DWGOutputFont\n1,Arial\n%section,Other\nLevel,DWGOutputLayer\n1,A\n", RemapDetect, {}},
        // A header cell matches when the wanted name begins with all of it; an
        // empty one matches every name, so the first one wins both.
        {"%section,Levels\nLev,DWGOutputLayer\n1,A\n", RemapDetect, {"1:1=A"}},
        {"%section,Levels\nLevelName,DWGOutputLayer\n1,A\n", RemapDetect, {}},
        {"%section,Levels\nLevel, DWGOutputLayer\n1,A\n", RemapDetect, {}},
        {"%section,Levels\n,Level,DWGOutputLayer\nx,1,A\n", RemapDetect, {"1:x=x"}},
        // Empty cells and missing cells give no pair.
        {"%section,Levels\nLevel,DWGOutputLayer\n,A\n1,\n2\n", RemapDetect, {}},
        // Duplicates fold to the last value at the first place, per kind and
        // case-sensitive, across sections of a kind; blanks are not trimmed.
        {"%section,Colors\nColor,DWGOutputColor\n3,10\n4,5\n3,12\n", RemapDetect, {"2:3=12", "2:4=5"}},
        {"%section,Colors\nColor,DWGOutputColor\n3,10\n%section,Weights\nWeight,DWGOutputWeight\n3,1\n"
         "%section,ColorsMore\nColor,DWGOutputColor\n3,11\na,1\nA,2\n",
         RemapDetect, {"2:3=11", "3:3=1", "2:a=1", "2:A=2"}},
        {"%section,Colors\nColor,DWGOutputColor\n3,1\n 3,2\n", RemapDetect, {"2:3=1", "2: 3=2"}},
        // As a user brings it: CR LF, comments, blank lines, qualifier columns
        // between the wanted ones, and no line end after the last row.
        {"# site\r\n\r\n%section,Levels\r\nLevel,Color,Class,DWGOutputLayer,V8OutputColor\r\n\"Walls, outer\",,,A-WALL,\r\n"
         "7,3,Primary,A-ANNO,3\r\n\r\n# doors last\r\nDoors,,,A-DOOR", RemapDetect,
         {"1:Walls, outer=A-WALL", "1:7=A-ANNO", "1:Doors=A-DOOR"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PairsOf(row.text, row.kind), row.pairs) << row.text;
}

// Rows whose MicroStation or DWG value a mapping-file line cannot carry are
// left out with their lines; the others merge as usual.
TEST(RemapExtraction, RowsWithLineBreaksOrNulsAreLeftOutByLine) {
    const std::string text = "%section,Levels\r\nLevel,DWGOutputLayer,Class\r\n"
                                         "\"Wall\r\nNorth\",A-WALL\r\n"     // lines 3-4
                                         "Door,\"A-\nDOOR\"\r\n"              // lines 5-6
                                         "Roof,A-ROOF,\"x\ny\"\r\n"           // an unused cell may hold one
                                         "Cr\rLf,A\r\n"                       // line 9
                                         "Nul,A\0B\r\n"                       // line 10
                                         "Wall,\"A-WALL-2\r\n"                // unclosed: ends here
                                         "%section,Fonts\r\nFont,DWGOutputFont\r\n\"a\nb\",c\r\n"s;
    ASSERT_EQ(Read(text), Parsed);
    std::vector<RemapRowLeftOut> leftOut;
    EXPECT_EQ(MergedPairs(&leftOut), (Strings{"Levels:Roof=A-ROOF", "Levels:Wall=A-WALL-2"}));
    Strings rows;
    for (const RemapRowLeftOut& row : leftOut)
        rows.push_back(std::to_string(row.line) + (row.reason == RemapLeftOutReason::Nul ? " nul" : " break"));
    EXPECT_EQ(rows, (Strings{"3 break", "5 break", "9 break", "10 nul"}));
    ReleaseRemapData();
}

TEST(RemapReadFile, ReadsTheFileAndHandsTrimmedPairsToPagesOrFailsCleanly) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "varnel-import-tests";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "remap.csv";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << "%section,CellNames\r\nCellName,V7OutputCellName\r\nDOOR1,acdoor\r\n  ,X\r\n"
           "%section,Colors\r\nColor,DWGOutputColor\r\n 3 ,10\r\n14,62ac\r\n3 ,ca\r\n4,\xe9t\xe9\r\n";
    const CString path(file.u16string());
    ASSERT_EQ(ReadRemapFile(path, RemapDetect), Parsed);
    EXPECT_EQ(remapTable.fileName, path);
    // " 3 " and "3 " are two reader pairs that only the pages fold.
    EXPECT_EQ(MergedPairs(), (Strings{"Cells:DOOR1=door", "Colors:3=10", "Colors:14=62", "Colors:3=",
                                      "Colors:4=\u00e9t\u00e9"}));
    EXPECT_TRUE(pairs.empty());
    // A version 7 read of the same file is one table of the given kind.
    ASSERT_EQ(ReadRemapFile(path, RemapWeights), Parsed);
    EXPECT_EQ(remapTable.sections.size(), 1u);

    EXPECT_EQ(ReadRemapFile(CString(), RemapDetect), CannotRead);
    EXPECT_EQ(ReadRemapFile(CString((folder / "missing.csv").u16string()), RemapDetect), CannotRead);
    EXPECT_TRUE(remapTable.sections.empty());
    ReleaseRemapData();
    std::filesystem::remove_all(folder);
}

TEST(RemapExtraction, ByteValuesAreCheckedForLineBreaksAtEveryPlace) {
    // Bytes go a word at a time: every length around a word, every place.
    for (size_t length = 0; length <= 20; ++length)
        for (size_t at = 0; at <= length; ++at)
            for (char ch : {'\r', '\n', '\0', '\t', 'x'}) {
                std::string value(length, 'a');
                if (at < length)
                    value[at] = ch;
                RemapLeftOutReason bytes{}, units{};
                const std::u16string wide(value.begin(), value.end());
                EXPECT_EQ(IsCarriableValue(std::string_view(value), bytes),
                          IsCarriableValue(std::u16string_view(wide), units))
                    << length << " " << at << " " << int(ch);
                EXPECT_EQ(bytes, units);
            }
}
