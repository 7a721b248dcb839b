// The Commands Mapping sheet under Wine, driven like a user through the real
// Varnel.dll: Save, Cancel and its question, the Enter rules, the frame and the
// description area (its pixel layout is checked per DPI by the dpi tests).
#include "driver/FolderTest.h"

namespace {

class SheetTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        WriteFile(path, "ignored before any header\r\n[aliases]\r\n  LINE  =  PLACE LINE \r\n"
                        "[Levels]\r\nWalls = A-WALL\r\n[Colors]\r\n1 = 7\r\n");
    }
};

TEST_F(SheetTest, SaveWritesEveryTableWithTheInsertedPairsAndNothingBefore) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"  ARC ", L" PLACE ARC  ");
    driver::SelectTab(hSheet, 3);  // Layers / Levels
    driver::InsertPair(hSheet, L"Doors", L"A-DOOR");
    driver::InsertPair(hSheet, L"   ", L"ignored");  // an empty key stores nothing
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(ReadFile(path).find("ARC"), std::string::npos);  // nothing written before Save
    driver::Click(::GetDlgItem(hSheet, IDOK));
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(run.ShowResult(), 0);
    // Colors was never shown and is still written as read on open.
    EXPECT_EQ(ReadFile(path), SavedFile("ARC = PLACE ARC\r\nLINE = PLACE LINE\r\n", "1 = 7\r\n",
                                        "Doors = A-DOOR\r\nWalls = A-WALL\r\n"));
}

TEST_F(SheetTest, CancelAsksOnlyWhenSomethingChanged) {
    const std::string before = ReadFile(path);
    DialogRun run(library, path);
    // Unchanged: Cancel, Escape and the close box end at once; an Insert
    // that changes nothing is no change either.
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE("way " + std::to_string(way));
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        if (way == 0) driver::InsertPair(hSheet, L"LINE", L"PLACE LINE");
        if (way == 0) driver::Click(::GetDlgItem(hSheet, IDCANCEL));
        if (way == 1) driver::PressKey(driver::CurrentPage(hSheet), VK_ESCAPE);
        if (way == 2) ::PostMessageW(hSheet, WM_SYSCOMMAND, SC_CLOSE, 0);
        driver::ExpectNoMessage(hSheet);  // way 0: nothing changed
        EXPECT_TRUE(run.WaitClosed());
    }
    // A change: No keeps the dialog, Yes ends it and writes nothing.
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"LINE", L"PLACE SMARTLINE");
    ::PostMessageW(hSheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(AnswerBox(hSheet, IDNO), L"Commands Mapping|Your changes will be lost. Do you wish to continue?");
    driver::Settle(hSheet);
    EXPECT_TRUE(run.IsOpen());
    driver::Click(::GetDlgItem(hSheet, IDCANCEL));
    EXPECT_NE(AnswerBox(hSheet, IDYES), L"");
    EXPECT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(SheetTest, EnterNeverPressesSave) {
    const std::string before = ReadFile(path);
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hPage = driver::CurrentPage(hSheet), hEdit = ::GetDlgItem(hPage, IDC_EDIT1);
    auto pressEnterOn = [](HWND hWnd) {
        driver::Focus(hWnd);
        driver::PressKey(hWnd, VK_RETURN);
    };
    // In a single-line edit Enter does nothing at all.
    driver::Type(hEdit, L"ARC");
    pressEnterOn(hEdit);
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(driver::Text(hEdit), L"ARC");
    // On a focused button Enter acts as the space bar: it presses Insert.
    driver::Type(::GetDlgItem(hPage, IDC_EDIT2), L"PLACE ARC");
    pressEnterOn(::GetDlgItem(hPage, IDC_INSERT));
    EXPECT_TRUE(run.IsOpen());
    // The (multi-line, read-only) description takes Enter without ending the dialog.
    pressEnterOn(driver::DescriptionEdit(hSheet));
    EXPECT_TRUE(run.IsOpen());
    // On Cancel it presses Cancel, which now asks because Insert changed a table.
    pressEnterOn(::GetDlgItem(hSheet, IDCANCEL));
    EXPECT_NE(AnswerBox(hSheet, IDYES), L"");
    EXPECT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(SheetTest, FrameAndTheDescriptionOfTheFocus) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hDescription = driver::DescriptionEdit(hSheet), hTab = PropSheet_GetTabControl(hSheet);
    ASSERT_TRUE(hDescription);
    EXPECT_EQ(driver::Text(driver::DescriptionLabel(hSheet)), L"Focus Item Description:");
    driver::Focus(::GetDlgItem(hSheet, IDOK));
    EXPECT_TRUE(driver::ShowsText(hDescription, L"Saves the changes and closes the window."));
    driver::Focus(hDescription);  // the description edit itself changes nothing
    EXPECT_TRUE(driver::ShowsText(hDescription, L"Saves the changes and closes the window."));
    driver::Focus(::GetDlgItem(hSheet, IDCANCEL));
    EXPECT_TRUE(driver::ShowsText(hDescription, L"Closes the dialog without applying changes."));
    driver::Focus(hTab);  // a control without help text empties it
    EXPECT_TRUE(driver::ShowsText(hDescription, L""));
    EXPECT_TRUE(::GetWindowLongW(hSheet, GWL_STYLE) & WS_MINIMIZEBOX);
    EXPECT_TRUE(::GetMenu(hSheet));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hSheet, 0x3021)));  // Apply
    EXPECT_FALSE(::GetDlgItem(hSheet, IDHELP) && ::IsWindowVisible(::GetDlgItem(hSheet, IDHELP)));
    EXPECT_EQ(driver::Text(::GetDlgItem(hSheet, IDOK)), L"&Save");
    EXPECT_TRUE(::GetWindowLongW(hDescription, GWL_STYLE) & ES_READONLY);
}

}  // namespace
