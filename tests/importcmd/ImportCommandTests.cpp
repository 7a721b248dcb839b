// File > Import under Wine, driven through the real Varnel.dll like a user:
// the menu command reaches the sheet, the real Open dialog is answered with
// a path (or Cancel), and the result is checked in the saved mapping file,
// in the message boxes and in the sheet's question on Cancel.
#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

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

// A visible top-level dialog with this title on the thread of hWnd.
HWND ThreadDialog(HWND hWnd, const wchar_t* pszTitle) {
    struct Search {
        const wchar_t* title;
        HWND found = nullptr;
    } search{pszTitle};
    ::EnumThreadWindows(
        ::GetWindowThreadProcessId(hWnd, nullptr),
        [](HWND hCandidate, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<Search*>(lParam);
            wchar_t name[32] = {};
            ::GetClassNameW(hCandidate, name, 32);
            if (wcscmp(name, L"#32770") == 0 && ::IsWindowVisible(hCandidate) &&
                driver::Text(hCandidate) == pSearch->title) {
                pSearch->found = hCandidate;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

// The file-name edit of the Open dialog: inside the file-name combo box
// (cmb13) of the explorer style, or the plain edit (edt1) of other styles.
HWND FileNameEdit(HWND hDialog) {
    struct Search {
        HWND found = nullptr;
    } search;
    ::EnumChildWindows(
        hDialog,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            wchar_t name[32] = {};
            ::GetClassNameW(hWnd, name, 32);
            int id = ::GetDlgCtrlID(hWnd);
            if (_wcsicmp(name, L"Edit") == 0 && (id == 0x47C || id == 0x480)) {
                reinterpret_cast<Search*>(lParam)->found = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

// The Open button: the dialog's direct child button IDOK (a toolbar of
// the dialog carries the same id).
HWND OpenButton(HWND hDialog) {
    for (HWND hChild = ::GetWindow(hDialog, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(hChild, name, 32);
        if (_wcsicmp(name, L"Button") == 0 && ::GetDlgCtrlID(hChild) == IDOK)
            return hChild;
    }
    return nullptr;
}

// What the test saw of the import's Open dialog.
struct OpenDialogSeen {
    HWND hOwner = nullptr;
    std::wstring filter;  // the selected entry of "Files of type"
};

// Chooses File > Import > v7 or v8 as the menu does and answers the Open
// dialog with path, or with Cancel when path is "". Returns once the dialog
// is gone; a message box the import shows afterwards is left standing.
OpenDialogSeen Import(HWND hSheet, UINT nCommand, const std::string& path) {
    OpenDialogSeen seen;
    ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
    HWND hDialog = nullptr;
    WaitFor([&] {
        hDialog = ThreadDialog(hSheet, L"Select File");
        return hDialog && OpenButton(hDialog);
    });
    if (!hDialog)
        return seen;
    seen.hOwner = ::GetWindow(hDialog, GW_OWNER);
    seen.filter = driver::Text(::GetDlgItem(hDialog, 0x470));
    if (path.empty()) {
        ::PostMessageW(hDialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        std::wstring widePath(path.begin(), path.end());
        ::SendMessageW(FileNameEdit(hDialog), WM_SETTEXT, 0, LPARAM(widePath.c_str()));
        driver::Click(OpenButton(hDialog));
    }
    WaitFor([&] { return !::IsWindow(hDialog); });
    driver::Settle(hSheet);
    return seen;
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
const std::string kAsRead = SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 7\r\n", "", "", "", "Walls = OLD\r\n");

class ImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.IsLoaded());
        folder = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = folder + "\\commands.mapping";
        WriteFile(path, kMappingFile);
    }
    void TearDown() override {
        for (const std::string& file : files)
            ::DeleteFileA(file.c_str());
        ::DeleteFileA(path.c_str());
        for (auto it = folders.rbegin(); it != folders.rend(); ++it)
            ::RemoveDirectoryA(it->c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    // Writes a table file under the test's folder and returns its path.
    std::string Table(const std::string& name, const std::string& content) {
        std::string file = folder + "\\" + name;
        WriteFile(file, content);
        files.push_back(file);
        return file;
    }
    std::string Subfolder(const std::string& name) {
        folders.push_back(folder + "\\" + name);
        ::CreateDirectoryA(folders.back().c_str(), nullptr);
        return name;
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
    std::vector<std::string> files, folders;
};

// A version 8 remap file with CR LF line ends, comments, qualifier columns,
// columns in either order, a repeated key and a Fonts section.
const char kRemapFile[] =
    "# remap table\r\n"
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

    OpenDialogSeen seen = Import(hSheet, ID_IMPORT_V8, remap);
    EXPECT_EQ(seen.hOwner, hSheet);
    EXPECT_EQ(seen.filter, L"MicroStation v8 Files (CSV)");
    EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);
    // The same file again leaves the tables as they are.
    Import(hSheet, ID_IMPORT_V8, remap);

    // Values trimmed; 'a' and 'c' trimmed off Colors and Cells values only;
    // existing keys replaced, others kept; Aliases and Fonts untouched.
    EXPECT_EQ(SaveAndRead(run, hSheet),
              SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 12\r\n5 = \r\n9 = red\r\n", "1 = DASHED\r\n",
                        "a = b\r\ndoor = d\r\n", "2 = 0.25\r\n",
                        "Doors = A-DOOR-NEW\r\nWalls = A-WALL\r\nx = acme\r\n"));
}

TEST_F(ImportCommandTest, VersionSevenFileNameDecidesTheKind) {
    std::string sub = Subfolder("other") + "\\";
    const char* unrecognised[] = {"DWGLEVEL.TBL", "mylevel.tbl", "dwgfont.tbl"};
    std::vector<std::string> refused;
    for (const char* name : unrecognised)
        refused.push_back(Table(sub + name, "LAYER_Z 99\n"));
    std::string tables[] = {
        Table("dwglevel.tbl", "LAYER_A 7 x y z extra\n"),
        Table("dwgcolor.tbl", "  12\t3\nac14 4\n"),
        Table("dwgweight.tbl", "0.35 2\n"),
        Table("dwglinestyle.tbl", "DASHED 1 x\n"),
        Table("dwgcellname.tbl", "cabinet door\n"),
        Table("dwgcolorlevel.tbl", "LAYER_B 8\n"),  // "level" is tested before "color"
    };
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);

    for (const std::string& table : tables) {
        OpenDialogSeen seen = Import(hSheet, ID_IMPORT_V7, table);
        EXPECT_EQ(seen.hOwner, hSheet) << table;
        EXPECT_EQ(seen.filter, L"MicroStation v7 Files (TBL)") << table;
        EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 200).hWnd) << table;
    }
    for (const std::string& table : refused) {
        Import(hSheet, ID_IMPORT_V7, table);
        auto box = driver::WaitForMessageBox(hSheet);
        ASSERT_TRUE(box.hWnd) << table;
        EXPECT_EQ(box.caption, L"Commands Mapping");
        EXPECT_EQ(box.text, L"This is not a recognized MicroStation generated file.");
        EXPECT_EQ(IconOf(box.hWnd), ReferenceIcon(MB_ICONINFORMATION));
        driver::Answer(box, IDOK);
        driver::Settle(hSheet);
    }

    EXPECT_EQ(SaveAndRead(run, hSheet),
              SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 12\r\n4 = 14\r\n", "1 = DASHED\r\n",
                        "door = binet\r\n", "2 = 0.35\r\n", "7 = LAYER_A\r\n8 = LAYER_B\r\nWalls = OLD\r\n"));
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
    auto box = driver::WaitForMessageBox(hSheet);
    ::CloseHandle(hHeld);
    ASSERT_TRUE(box.hWnd);
    EXPECT_EQ(box.caption, L"Commands Mapping");
    EXPECT_EQ(box.text, L"Cannot read file: Access denied.\nMake sure this file is not opened in another process "
                        L"and try again.");
    EXPECT_EQ(IconOf(box.hWnd), ReferenceIcon(MB_ICONERROR));
    driver::Answer(box, IDOK);
    driver::Settle(hSheet);

    EXPECT_FALSE(CancelAsks(run, hSheet));
    EXPECT_EQ(ReadFile(path), kMappingFile);
}

TEST_F(ImportCommandTest, ChangeFlagRaisedOnlyByChangesToOpenedPages) {
    std::string levels = Table("dwglevel.tbl", "A-WALL Walls\nA-DOOR Doors\n");
    std::string same = Table("dwglevelsame.tbl", "OLD Walls\n");
    {
        // Never-opened Levels page: its table changes, the flag does not.
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        Import(hSheet, ID_IMPORT_V7, levels);
        EXPECT_FALSE(CancelAsks(run, hSheet));
        EXPECT_EQ(ReadFile(path), kMappingFile);
    }
    {
        // Opened, but the file only repeats what the page holds.
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        driver::SelectTab(hSheet, 3);
        driver::SelectTab(hSheet, 0);
        Import(hSheet, ID_IMPORT_V7, same);
        EXPECT_FALSE(CancelAsks(run, hSheet));
    }
    {
        // Opened and changed: Cancel asks; the same import again changes
        // nothing more.
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        driver::SelectTab(hSheet, 3);
        Import(hSheet, ID_IMPORT_V7, levels);
        EXPECT_TRUE(CancelAsks(run, hSheet));
        Import(hSheet, ID_IMPORT_V7, levels);
        EXPECT_EQ(SaveAndRead(run, hSheet), SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n3 = 7\r\n", "", "", "",
                                                      "Doors = A-DOOR\r\nWalls = A-WALL\r\n"));
    }
}

}  // namespace
