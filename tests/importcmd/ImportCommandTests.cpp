// File > Import under Wine, driven through the real Varnel.dll like a user:
// the menu command reaches the sheet, the real Open dialog is answered with
// a path (or Cancel), and the result is checked in the saved mapping file,
// in the message boxes and in the sheet's question on Cancel.
#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

template <typename Predicate>
bool WaitFor(Predicate predicate, int milliseconds = 5000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        ::Sleep(10);
    }
    return true;
}

// Chooses File > Import > v7 or v8 as the menu does and answers the Open
// dialog, which must belong to the sheet and offer the command's filter,
// with path, or with Cancel when path is "". Returns once the dialog is
// gone; a message box the import shows afterwards is left standing.
void Import(HWND hSheet, UINT nCommand, const std::string& path) {
    ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
    HWND hDialog = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (hDialog = ::FindWindowW(L"#32770", L"Select File")) && ::IsWindowVisible(hDialog); }));
    driver::Settle(hSheet);
    EXPECT_EQ(::GetWindow(hDialog, GW_OWNER), hSheet);
    EXPECT_EQ(driver::Text(::GetDlgItem(hDialog, 0x470)),  // "Files of type"
              nCommand == ID_IMPORT_V7 ? L"MicroStation v7 Files (TBL)" : L"MicroStation v8 Files (CSV)");
    // The path goes into the file-name box (cmb13) as typed.
    ::SetDlgItemTextW(hDialog, 0x47C, std::wstring(path.begin(), path.end()).c_str());
    ::PostMessageW(hDialog, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
    WaitFor([&] { return !::IsWindow(hDialog); });
    driver::Settle(hSheet);
}

// The icon a message box shows (the system's shared icon of its kind).
HICON IconOf(HWND hBox) { return HICON(::SendDlgItemMessageW(hBox, 0x440, STM_GETICON, 0, 0)); }

// The icon of a message box of type nIconType, seen on a box of our own.
HICON ReferenceIcon(UINT nIconType) {
    std::thread shower([nIconType] { ::MessageBoxW(nullptr, L"reference", L"Reference Icon", nIconType); });
    HWND hBox = nullptr;
    WaitFor([&] { return (hBox = ::FindWindowW(L"#32770", L"Reference Icon")) != nullptr; });
    ::Sleep(50);
    HICON hIcon = IconOf(hBox);
    ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    shower.join();
    return hIcon;
}

// Expects the import's message box with this text and icon, and closes it.
void ExpectMessage(HWND hSheet, const std::wstring& text, UINT nIconType) {
    auto box = driver::WaitForMessageBox(hSheet);
    ASSERT_TRUE(box.hWnd) << "no message box";
    EXPECT_EQ(box.caption, L"Commands Mapping");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(IconOf(box.hWnd), ReferenceIcon(nIconType));
    driver::Answer(box, IDOK);
    driver::Settle(hSheet);
}

// A page's list rows as "key=value", sorted: the page decides their order.
std::vector<std::wstring> ListRows(HWND hPage) {
    HWND hList = ::GetDlgItem(hPage, IDC_LIST);
    std::vector<std::wstring> rows;
    for (int i = 0, count = int(::SendMessageW(hList, LVM_GETITEMCOUNT, 0, 0)); i < count; ++i) {
        std::wstring row;
        for (int column = 0; column < 2; ++column) {
            wchar_t text[256] = {};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 256;
            ::SendMessageW(hList, LVM_GETITEMTEXTW, WPARAM(i), LPARAM(&item));
            row += column ? L"=" + std::wstring(text) : std::wstring(text);
        }
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The saved file from its seven sections' pair lines, in file order.
std::string SavedFile(const std::string& aliases, const std::string& colors, const std::string& lineStyles,
                      const std::string& cells, const std::string& weights, const std::string& levels) {
    auto section = [](const char* name, const std::string& pairs) {
        return std::string("[") + name + "]\r\n" + pairs + "\r\n";
    };
    return section("Aliases", aliases) + section("MappingCommands", "") + section("Colors", colors) +
           section("LineStyles", lineStyles) + section("Cells", cells) + section("Weights", weights) +
           section("Levels", levels);
}

const char kMappingFile[] = "[Aliases]\r\nLINE = PLACE LINE\r\n[Colors]\r\n1 = 7\r\n3 = 7\r\n"
                            "[Levels]\r\nWalls = OLD\r\n";
class ImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.IsLoaded());
        folder = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = folder + "\\commands.mapping";
        WriteFile(path, kMappingFile);
    }
    void TearDown() override {
        // The Open dialog leaves the process in the folder it chose from.
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(folder);
    }
    // Writes a table file under the test's folder and returns its path.
    std::string Table(const std::string& name, const std::string& content) {
        std::string file = folder + "\\" + name;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        WriteFile(file, content);
        return file;
    }
    // Saves and returns the file written.
    std::string SaveAndRead(DialogRun& run, HWND hSheet) {
        driver::Click(::GetDlgItem(hSheet, IDOK));
        EXPECT_TRUE(run.WaitClosed());
        return ReadFile(path);
    }
    // Cancels the dialog: true when it asked first (the question is then
    // answered No, which keeps the dialog open).
    bool CancelAsks(DialogRun& run, HWND hSheet) {
        driver::Click(::GetDlgItem(hSheet, IDCANCEL));
        auto box = driver::WaitForMessageBox(hSheet, 500);
        if (!box.hWnd) {
            EXPECT_TRUE(run.WaitClosed());
            return false;
        }
        EXPECT_EQ(box.text, L"Your changes will be lost. Do you wish to continue?");
        driver::Answer(box, IDNO);
        driver::Settle(hSheet);
        return true;
    }

    VarnelLibrary library;
    std::string folder, path;
};

// A version 8 remap file with CR LF line ends, comments, qualifier columns,
// columns in either order, a repeated key and a Fonts section.
const char kRemapFile[] = "# remap table\r\n"
                          "%section,Levels\r\n"
                          "Level,DWGOutputLayer,Qualifier\r\n"
                          " Walls , A-WALL ,exterior\r\n"
                          "x,acme,\r\n"
                          "Doors,A-DOOR\r\n"
                          "Doors,A-DOOR-NEW\r\n"
                          "%section,Colors\r\n"
                          "DWGOutputColor,Color,Qualifier\r\n"
                          "ac12,3,any\r\n"
                          "ca,5\r\n"
                          "red,9\r\n"
                          "%section,Weights\r\n"
                          "Weight,DWGOutputWeight\r\n"
                          "2,0.25\r\n"
                          "%section,LineStyles\r\n"
                          "LineStyle,DWGOutputLineStyle\r\n"
                          "1,DASHED\r\n"
                          "%section,CellNames\r\n"
                          "CellName,V7OutputCellName\r\n"
                          "door,acad\r\n"
                          "a,cab\r\n"
                          "  ,orphan\r\n"
                          "%section,Fonts\r\n"
                          "Font,DWGOutputFont\r\n"
                          "1,Arial\r\n";

TEST_F(ImportCommandTest, VersionEightFileMergesIntoFivePages) {
    std::string remap = Table("remap.csv", kRemapFile);
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hColors = driver::SelectTab(hSheet, 1);
    HWND hLevels = driver::SelectTab(hSheet, 3);

    Import(hSheet, ID_IMPORT_V8, remap);
    EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);
    // The same file again leaves the tables as they are.
    Import(hSheet, ID_IMPORT_V8, remap);
    // Opened pages show the result at once, hidden ones included.
    EXPECT_EQ(ListRows(hColors), (std::vector<std::wstring>{L"1=7", L"3=12", L"5=", L"9=red"}));
    EXPECT_EQ(ListRows(hLevels), (std::vector<std::wstring>{L"Doors=A-DOOR-NEW", L"Walls=A-WALL", L"x=acme"}));

    // Values trimmed; 'a' and 'c' trimmed off Colors and Cells values only;
    // existing keys replaced, others kept; Aliases and Fonts untouched.
    EXPECT_EQ(SaveAndRead(run, hSheet), SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 12\r\n5 = \r\n9 = red\r\n",
                                                  "1 = DASHED\r\n", "a = b\r\ndoor = d\r\n", "2 = 0.25\r\n",
                                                  "Doors = A-DOOR-NEW\r\nWalls = A-WALL\r\nx = acme\r\n"));
}

TEST_F(ImportCommandTest, VersionSevenFileNameDecidesTheKind) {
    std::string refused[] = {Table("other\\DWGLEVEL.TBL", "LAYER_Z 99\n"), Table("other\\mylevel.tbl", "LAYER_Z 99\n"),
                             Table("other\\dwgfont.tbl", "LAYER_Z 99\n")};
    std::string tables[] = {
        Table("dwglevel.tbl", "LAYER_A 7 x y z extra\n"),
        Table("dwgcolor.tbl", "  12\t3\nac14 4\n"),
        Table("dwgweight.tbl", "0.35 2\n"),
        Table("dwglinestyle.tbl", "DASHED 1 x\n"),
        Table("dwgcellname.tbl", "cabinet door\n"),
        Table("dwgcolorlevel.tbl",
              "LAYER_B 8\n"),  // "level" is tested before "color"
    };
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);

    for (const std::string& table : tables) {
        Import(hSheet, ID_IMPORT_V7, table);
        EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 200).hWnd) << table;
    }
    for (const std::string& table : refused) {
        Import(hSheet, ID_IMPORT_V7, table);
        ExpectMessage(hSheet, L"This is not a recognized MicroStation generated file.", MB_ICONINFORMATION);
    }

    EXPECT_EQ(SaveAndRead(run, hSheet),
              SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 12\r\n4 = 14\r\n", "1 = DASHED\r\n", "door = binet\r\n",
                        "2 = 0.35\r\n", "7 = LAYER_A\r\n8 = LAYER_B\r\nWalls = OLD\r\n"));
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
    EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);
    Import(hSheet, ID_IMPORT_V8, unmarked);
    EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);

    // A file another process holds open without sharing cannot be read.
    HANDLE hHeld = ::CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    Import(hSheet, ID_IMPORT_V8, held);
    ExpectMessage(hSheet,
                  L"Cannot read file: Access denied.\nMake sure this file is not "
                  L"opened in another process and try again.",
                  MB_ICONERROR);
    ::CloseHandle(hHeld);

    EXPECT_FALSE(CancelAsks(run, hSheet));
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
    EXPECT_FALSE(CancelAsks(run, hSheet));
    EXPECT_EQ(ReadFile(path), kMappingFile);

    // Opened, but the file only repeats what the page holds.
    ASSERT_TRUE(hSheet = run.Open());
    driver::SelectTab(hSheet, 3);
    driver::SelectTab(hSheet, 0);
    Import(hSheet, ID_IMPORT_V7, same);
    EXPECT_FALSE(CancelAsks(run, hSheet));

    // Opened and changed: Cancel asks; the same import again changes
    // nothing more.
    ASSERT_TRUE(hSheet = run.Open());
    driver::SelectTab(hSheet, 3);
    Import(hSheet, ID_IMPORT_V7, levels);
    EXPECT_TRUE(CancelAsks(run, hSheet));
    Import(hSheet, ID_IMPORT_V7, levels);
    EXPECT_EQ(SaveAndRead(run, hSheet), SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 7\r\n", "", "", "",
                                                  "Doors = A-DOOR\r\nWalls = A-WALL\r\n"));
}

}  // namespace
