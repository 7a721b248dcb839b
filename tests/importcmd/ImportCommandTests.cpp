// File > Import under Wine, driven through the real Varnel.dll like a user:
// the menu command reaches the sheet, the real Open dialog is answered with
// a path (or Cancel), and the result is checked in the pages' lists, the
// saved mapping file, the message boxes and the sheet's question on Cancel.
#include "driver/FolderTest.h"

namespace {

const char kLine[] = "LINE = PLACE LINE\r\n";  // Aliases, untouched by imports
const char kMappingFile[] = "[Aliases]\r\nLINE = PLACE LINE\r\n[Colors]\r\n1 = 7\r\n3 = 7\r\n"
                            "[Levels]\r\nWalls = OLD\r\n";

class ImportCommandTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        WriteFile(path, kMappingFile);
    }
};

TEST_F(ImportCommandTest, VersionEightFileMergesIntoFivePages) {
    std::string remap = Table("remap.csv", "%section,Levels\r\nLevel,DWGOutputLayer\r\n Walls , A-WALL \r\nx,acme\r\n"
                                           "%section,Colors\r\nDWGOutputColor,Color\r\nac12,3\r\nca,5\r\n"
                                           "%section,Weights\r\nWeight,DWGOutputWeight\r\n2,0.25\r\n"
                                           "%section,LineStyles\r\nLineStyle,DWGOutputLineStyle\r\n1,DASHED\r\n"
                                           "%section,CellNames\r\nCellName,V7OutputCellName\r\na,cab\r\n"
                                           "%section,Fonts\r\nFont,DWGOutputFont\r\n1,Arial\r\n");
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hColors = driver::SelectTab(hSheet, 1);
    HWND hLevels = driver::SelectTab(hSheet, 3);

    Import(hSheet, ID_IMPORT_V8, remap);
    driver::ExpectNoMessage(hSheet);
    Import(hSheet, ID_IMPORT_V8, remap);  // the same file again changes nothing
    // Opened pages show the result at once, hidden ones included.
    EXPECT_EQ(SortedRows(hColors), (Rows{{L"1", L"7"}, {L"3", L"12"}, {L"5", L""}}));
    EXPECT_EQ(SortedRows(hLevels), (Rows{{L"Walls", L"A-WALL"}, {L"x", L"acme"}}));

    // Trimmed pairs replace existing keys; 'a' and 'c' leave Colors and Cells
    // values only; Aliases and Fonts untouched.
    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), SavedFile(kLine, "1 = 7\r\n3 = 12\r\n5 = \r\n", "Walls = A-WALL\r\nx = acme\r\n",
                                        "1 = DASHED\r\n", "a = b\r\n", "2 = 0.25\r\n"));
}

// The merge rule with padded and repeated keys, in both table forms: the
// tables of varnel's golden case (tests/cli/cases), and its saved file.
TEST_F(ImportCommandTest, PaddedAndRepeatedKeysFollowTheMergeRule) {
    const std::filesystem::path golden =
        std::filesystem::path(VARNEL_CLI_CASES) / "import-merge-rule-padded-and-repeated";
    WriteFile(path, ReadFile((golden / "in" / "office.mapping").string()));
    const std::string remap = Table("remap.csv", ReadFile((golden / "in" / "remap.csv").string()));
    const std::string levels = Table("dwglevel.tbl", ReadFile((golden / "in" / "dwglevel.tbl").string()));
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hLevels = driver::SelectTab(hSheet, 3);

    Import(hSheet, ID_IMPORT_V8, remap);
    Import(hSheet, ID_IMPORT_V7, levels);
    EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);
    EXPECT_EQ(SortedRows(hLevels), (Rows{{L"7", L"LAYER_C"}, {L"8", L"LAYER_D"}, {L"Doors", L"D2"}, {L"Roof", L"R2"},
                                         {L"Walls", L"B"}}));
    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), ReadFile((golden / "out" / "office.mapping").string()));
}

TEST_F(ImportCommandTest, VersionSevenFileNameDecidesTheKind) {
    const std::string tables[] = {Table("dwglevel.tbl", "LAYER_A 7 x y z extra\n"), Table("dwgcolor.tbl", "  12\t3\n"),
                                  Table("dwgweight.tbl", "0.35 2\n"), Table("dwglinestyle.tbl", "DASHED 1 x\n"),
                                  Table("dwgcellname.tbl", "cabinet door\n")};
    std::string refused = Table("mylevel.tbl", "LAYER_Z 99\n");
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);

    for (const std::string& table : tables) {
        SCOPED_TRACE(table);
        Import(hSheet, ID_IMPORT_V7, table);
        driver::ExpectNoMessage(hSheet, 200);
    }
    Import(hSheet, ID_IMPORT_V7, refused);
    ExpectMessage(hSheet, L"This is not a recognized MicroStation generated file.", IDI_INFORMATION);

    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), SavedFile(kLine, "1 = 7\r\n3 = 12\r\n", "7 = LAYER_A\r\nWalls = OLD\r\n", "1 = DASHED\r\n",
                                        "door = binet\r\n", "2 = 0.35\r\n"));
}

TEST_F(ImportCommandTest, RowsWhoseValueALineCannotCarryAreLeftOutAndNamed) {
    using namespace std::string_literals;
    std::string hostile = Table("hostile.csv", "%section,Levels\r\nLevel,DWGOutputLayer\r\n"
                                               "\"Wall\r\nNorth\",A-WALL\r\n"  // lines 3-4
                                               "Roof,A-ROOF\r\n"
                                               "Door,A-\0DOOR\r\n"              // 6
                                               "Stair,\"A-STAIR\r\n"            // never closes: ends here
                                               "a\rb,x\r\nc,\"x\ny\"\r\nd,\"x\ny\"\r\ne,\"x\ny\"\r\n"  // 8, 9, 11, 13
                                               "%section,Colors\r\nColor,DWGOutputColor\r\n\"1\n\",2\r\n3,12\r\n"s);
    std::string one = Table("one.csv", "%section,Levels\nLevel,DWGOutputLayer\nWindow,A-GLAZ\n\"Sill\n\",X\n");
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hLevels = driver::SelectTab(hSheet, 3);

    Import(hSheet, ID_IMPORT_V8, hostile);
    ExpectMessage(hSheet,
                  L"7 rows of the table were left out of the import: their MicroStation or AutoCAD values hold line "
                  L"breaks or NUL characters, which a line of the mapping file cannot hold.\n\nThe rows begin on these "
                  L"lines of the table: 3, 6, 8, 9, 11 and 2 more. The other rows were imported.",
                  IDI_WARNING);
    EXPECT_EQ(SortedRows(hLevels), (Rows{{L"Roof", L"A-ROOF"}, {L"Stair", L"A-STAIR"}, {L"Walls", L"OLD"}}));
    Import(hSheet, ID_IMPORT_V8, one);
    ExpectMessage(hSheet,
                  L"One row of the table was left out of the import: its MicroStation or AutoCAD value holds a line "
                  L"break or a NUL character, which a line of the mapping file cannot hold.\n\nThe row begins on line 4 "
                  L"of the table. The other rows were imported.",
                  IDI_WARNING);

    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), SavedFile(kLine, "1 = 7\r\n3 = 12\r\n",
                                        "Roof = A-ROOF\r\nStair = A-STAIR\r\nWalls = OLD\r\nWindow = A-GLAZ\r\n"));
}

TEST_F(ImportCommandTest, ImportThatReadsNothingChangesNothing) {
    std::string held = Table("held.csv", "%section,Levels\nLevel,DWGOutputLayer\nWalls,HELD\n");
    std::string unmarked = Table("unmarked.csv", "Level,DWGOutputLayer\nWalls,UNMARKED\n");
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::SelectTab(hSheet, 3);  // Layers / Levels: a change there would count

    // Cancel in the Open dialog; a version 8 file without a section marker.
    Import(hSheet, ID_IMPORT_V8, "");
    Import(hSheet, ID_IMPORT_V8, unmarked);
    driver::ExpectNoMessage(hSheet);
    // A file another process holds open without sharing cannot be read.
    HANDLE hHeld = ::CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    Import(hSheet, ID_IMPORT_V8, held);
    ExpectMessage(hSheet,
                  L"Cannot read file: Access denied.\nMake sure this file is not opened in another process and try again.",
                  IDI_ERROR);
    ::CloseHandle(hHeld);

    EXPECT_EQ(run.Cancel(IDYES), L"");  // Yes closes it even after a wrong question
    EXPECT_FALSE(run.IsOpen());
    EXPECT_EQ(ReadFile(path), kMappingFile);
}

TEST_F(ImportCommandTest, ChangeFlagRaisedOnlyByChangesToOpenedPages) {
    std::string levels = Table("dwglevel.tbl", "A-WALL Walls\nA-DOOR Doors\n");
    std::string same = Table("dwglevelsame.tbl", "OLD Walls\n");
    DialogRun run(library, path);
    // Never-opened Levels page: its table changes, the flag does not.
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    Import(hSheet, ID_IMPORT_V7, levels);
    EXPECT_EQ(run.Cancel(IDYES), L"");
    EXPECT_EQ(ReadFile(path), kMappingFile);

    // Opened, but the file only repeats what the page holds.
    ASSERT_TRUE(hSheet = run.Open());
    driver::SelectTab(hSheet, 3);
    driver::SelectTab(hSheet, 0);
    Import(hSheet, ID_IMPORT_V7, same);
    EXPECT_EQ(run.Cancel(IDYES), L"");

    // Opened and changed: Cancel asks (No keeps the dialog open); the same
    // import again changes nothing more.
    ASSERT_TRUE(hSheet = run.Open());
    driver::SelectTab(hSheet, 3);
    Import(hSheet, ID_IMPORT_V7, levels);
    EXPECT_EQ(run.Cancel(IDNO), L"Your changes will be lost. Do you wish to continue?");
    Import(hSheet, ID_IMPORT_V7, levels);
    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), SavedFile(kLine, "1 = 7\r\n3 = 7\r\n", "Doors = A-DOOR\r\nWalls = A-WALL\r\n"));
}

}  // namespace
