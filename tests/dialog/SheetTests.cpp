// The Commands Mapping sheet under Wine, driven like a user through the real
// Varnel.dll: reading on open, Save, Cancel and its question, the Enter
// rules, the description area, the layout, a failed save.
#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {


// The file as Save writes it from sections given as "header|pairs" lines.
std::string SavedFile(const std::string& aliases, const std::string& colors = "",
                      const std::string& levels = "") {
    auto section = [](const char* name, const std::string& pairs) {
        return std::string("[") + name + "]\r\n" + pairs + "\r\n";
    };
    return section("Aliases", aliases) + section("MappingCommands", "") + section("Colors", colors) +
           section("LineStyles", "") + section("Cells", "") + section("Weights", "") + section("Levels", levels);
}

class SheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.IsLoaded());
        folder = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = folder + "\\commands.mapping";
        WriteFile(path, "ignored before any header\r\n[aliases]\r\n  LINE  =  PLACE LINE \r\n"
                        "[Levels]\r\nWalls = A-WALL\r\n[Colors]\r\n1 = 7\r\n");
    }
    void TearDown() override {
        ::DeleteFileA(path.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    // Types a pair into the current page's edit boxes and presses Insert.
    void InsertPair(HWND hSheet, const std::wstring& key, const std::wstring& value) {
        HWND hPage = driver::CurrentPage(hSheet);
        ::SendMessageW(::GetDlgItem(hPage, IDC_EDIT1), WM_SETTEXT, 0, LPARAM(L""));
        ::SendMessageW(::GetDlgItem(hPage, IDC_EDIT2), WM_SETTEXT, 0, LPARAM(L""));
        driver::Type(::GetDlgItem(hPage, IDC_EDIT1), key);
        driver::Type(::GetDlgItem(hPage, IDC_EDIT2), value);
        driver::Click(::GetDlgItem(hPage, IDC_INSERT));
        driver::Settle(hSheet);
    }

    VarnelLibrary library;
    std::string folder, path;
};

const std::string kAsRead = SavedFile("LINE = PLACE LINE\r\n", "1 = 7\r\n", "Walls = A-WALL\r\n");

TEST_F(SheetTest, SaveWritesEveryTableAsReadOnOpen) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    // Only the first page was ever shown; Save still writes all seven.
    driver::Click(::GetDlgItem(hSheet, IDOK));
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(run.ShowResult(), 0);
    EXPECT_EQ(ReadFile(path), kAsRead);
}

TEST_F(SheetTest, SaveWritesInsertedPairsAndKeepsTheDialogUpToIt) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    InsertPair(hSheet, L"  ARC ", L" PLACE ARC  ");
    driver::SelectTab(hSheet, 3);  // Layers / Levels
    InsertPair(hSheet, L"Doors", L"A-DOOR");
    InsertPair(hSheet, L"   ", L"ignored");  // an empty key stores nothing
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(ReadFile(path).find("ARC"), std::string::npos);  // nothing written before Save
    driver::Click(::GetDlgItem(hSheet, IDOK));
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), SavedFile("ARC = PLACE ARC\r\nLINE = PLACE LINE\r\n", "1 = 7\r\n",
                                        "Doors = A-DOOR\r\nWalls = A-WALL\r\n"));
}

TEST_F(SheetTest, CancelAsksOnlyWhenSomethingChanged) {
    {
        // Unchanged: Cancel, Escape and the close box end at once.
        DialogRun run(library, path);
        for (int way = 0; way < 3; ++way) {
            HWND hSheet = run.Open();
            ASSERT_TRUE(hSheet);
            if (way == 0)
                driver::Click(::GetDlgItem(hSheet, IDCANCEL));
            else if (way == 1)
                driver::PressKey(driver::CurrentPage(hSheet), VK_ESCAPE);
            else
                ::PostMessageW(hSheet, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd) << "way " << way;
            EXPECT_TRUE(run.WaitClosed()) << "way " << way;
        }
    }
    {
        // An Insert that changes nothing is no change either.
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        InsertPair(hSheet, L"LINE", L"PLACE LINE");
        driver::Click(::GetDlgItem(hSheet, IDCANCEL));
        EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);
        EXPECT_TRUE(run.WaitClosed());
    }
    {
        // A change: No keeps the dialog, Yes ends it and writes nothing.
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        InsertPair(hSheet, L"LINE", L"PLACE SMARTLINE");
        ::PostMessageW(hSheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        auto box = driver::WaitForMessageBox(hSheet);
        ASSERT_TRUE(box.hWnd);
        EXPECT_EQ(box.caption, L"Commands Mapping");
        EXPECT_EQ(box.text, L"Your changes will be lost. Do you wish to continue?");
        driver::Answer(box, IDNO);
        driver::Settle(hSheet);
        EXPECT_TRUE(run.IsOpen());
        driver::Click(::GetDlgItem(hSheet, IDCANCEL));
        box = driver::WaitForMessageBox(hSheet);
        ASSERT_TRUE(box.hWnd);
        driver::Answer(box, IDYES);
        EXPECT_TRUE(run.WaitClosed());
    }
    std::string original = ReadFile(path);
    EXPECT_NE(original.find("PLACE LINE"), std::string::npos);
    EXPECT_EQ(original.find("SMARTLINE"), std::string::npos);
}

TEST_F(SheetTest, EnterNeverPressesSave) {
    std::string before = ReadFile(path);
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hPage = driver::CurrentPage(hSheet);
    HWND hEdit = ::GetDlgItem(hPage, IDC_EDIT1);

    // In a single-line edit Enter does nothing at all.
    driver::Focus(hEdit);
    driver::Type(hEdit, L"ARC");
    driver::PressKey(hEdit, VK_RETURN);
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(driver::Text(hEdit), L"ARC");
    EXPECT_EQ(ReadFile(path), before);

    // On a focused button Enter acts as the space bar: it presses Insert...
    driver::Type(::GetDlgItem(hPage, IDC_EDIT2), L"PLACE ARC");
    HWND hInsert = ::GetDlgItem(hPage, IDC_INSERT);
    driver::Focus(hInsert);
    driver::PressKey(hInsert, VK_RETURN);
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(ReadFile(path), before);

    // ...and Cancel, which now asks because Insert changed a table.
    HWND hCancel = ::GetDlgItem(hSheet, IDCANCEL);
    driver::Focus(hCancel);
    driver::PressKey(hCancel, VK_RETURN);
    auto box = driver::WaitForMessageBox(hSheet);
    ASSERT_TRUE(box.hWnd);
    driver::Answer(box, IDYES);
    EXPECT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(SheetTest, DescriptionFollowsTheFocus) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hDescription = driver::DescriptionEdit(hSheet);
    ASSERT_TRUE(hDescription);
    EXPECT_EQ(driver::Text(driver::DescriptionLabel(hSheet)), L"Focus Item Description:");

    driver::Focus(::GetDlgItem(hSheet, IDOK));
    EXPECT_EQ(driver::Text(hDescription), L"Saves the changes and closes the window.");
    // The description edit itself changes nothing.
    driver::Focus(hDescription);
    EXPECT_EQ(driver::Text(hDescription), L"Saves the changes and closes the window.");
    driver::Focus(::GetDlgItem(hSheet, IDCANCEL));
    EXPECT_EQ(driver::Text(hDescription), L"Closes the dialog without applying changes.");
    // A control without help text empties it.
    HWND hTab = HWND(::SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
    driver::Focus(hTab);
    EXPECT_EQ(driver::Text(hDescription), L"");
    // Enter in the (multi-line, read-only) description does not end the dialog.
    driver::Focus(hDescription);
    driver::PressKey(hDescription, VK_RETURN);
    EXPECT_TRUE(run.IsOpen());
}

TEST_F(SheetTest, FrameMenuTabsAndLayout) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);

    EXPECT_TRUE(::GetWindowLongW(hSheet, GWL_STYLE) & WS_MINIMIZEBOX);
    HMENU hMenu = ::GetMenu(hSheet);
    ASSERT_TRUE(hMenu);
    wchar_t item[64] = {};
    ::GetMenuStringW(hMenu, 0, item, 64, MF_BYPOSITION);
    EXPECT_STREQ(item, L"&File");
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hSheet, 0x3021)));  // Apply
    EXPECT_FALSE(::GetDlgItem(hSheet, IDHELP) && ::IsWindowVisible(::GetDlgItem(hSheet, IDHELP)));
    EXPECT_EQ(driver::Text(::GetDlgItem(hSheet, IDOK)), L"&Save");

    HWND hTab = HWND(::SendMessageW(hSheet, PSM_GETTABCONTROL, 0, 0));
    const wchar_t* titles[] = {L"Aliases", L"Colors", L"Blocks / Cells", L"Layers / Levels",
                               L"Line Weights", L"Mapping Commands", L"Line Styles"};
    ASSERT_EQ(::SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0), 7);
    for (int i = 0; i < 7; ++i) {
        wchar_t text[64] = {};
        TCITEMW tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        tab.cchTextMax = 64;
        ::SendMessageW(hTab, TCM_GETITEMW, i, LPARAM(&tab));
        EXPECT_STREQ(text, titles[i]);
    }

    // Bottom up: 4 pixels, the buttons at both ends, 8, the 60-pixel
    // description, 4, the 12-pixel label.
    RECT outer, client;
    ::GetWindowRect(hSheet, &outer);
    int width = outer.right - outer.left;
    ::MapWindowPoints(nullptr, hSheet, reinterpret_cast<POINT*>(&outer), 2);
    ::GetClientRect(hSheet, &client);
    auto childRect = [hSheet](HWND hChild) {
        RECT rc;
        ::GetWindowRect(hChild, &rc);
        ::MapWindowPoints(nullptr, hSheet, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    RECT ok = childRect(::GetDlgItem(hSheet, IDOK)), cancel = childRect(::GetDlgItem(hSheet, IDCANCEL));
    RECT edit = childRect(driver::DescriptionEdit(hSheet)), label = childRect(driver::DescriptionLabel(hSheet));
    int buttonWidth = (width - 14) / 6;
    EXPECT_EQ(ok.left, outer.left + 7);
    EXPECT_EQ(ok.right - ok.left, buttonWidth);
    EXPECT_EQ(ok.bottom, client.bottom - 4);
    EXPECT_EQ(cancel.right, outer.right - 7);
    EXPECT_EQ(cancel.right - cancel.left, buttonWidth);
    EXPECT_EQ(cancel.top, ok.top);
    EXPECT_EQ(edit.top, ok.top - 68);
    EXPECT_EQ(edit.bottom - edit.top, 60);
    EXPECT_EQ(edit.left, outer.left + 7);
    EXPECT_EQ(edit.right - edit.left, width - 14);
    EXPECT_EQ(label.top, ok.top - 84);
    EXPECT_EQ(label.bottom - label.top, 12);
    EXPECT_TRUE(::GetWindowLongW(driver::DescriptionEdit(hSheet), GWL_STYLE) & ES_READONLY);
}

TEST_F(SheetTest, FailedSaveIsReportedAndKeepsTheTables) {
    std::string missing = folder + "\\not-yet";
    std::string target = missing + "\\commands.mapping";
    DialogRun run(library, target);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    InsertPair(hSheet, L"ARC", L"PLACE ARC");
    driver::Click(::GetDlgItem(hSheet, IDOK));
    auto box = driver::WaitForMessageBox(hSheet);
    ASSERT_TRUE(box.hWnd);
    EXPECT_EQ(box.caption, L"Commands Mapping");
    EXPECT_FALSE(box.text.empty());
    driver::Answer(box, IDOK);
    driver::Settle(hSheet);
    EXPECT_TRUE(run.IsOpen());

    // Once the folder exists the same tables save.
    ::CreateDirectoryA(missing.c_str(), nullptr);
    driver::Click(::GetDlgItem(hSheet, IDOK));
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(target), SavedFile("ARC = PLACE ARC\r\n"));
    ::DeleteFileA(target.c_str());
    ::RemoveDirectoryA(missing.c_str());
}

}  // namespace
