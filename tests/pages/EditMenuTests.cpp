// The Edit menu under Wine, worked like a user through the real Varnel.dll:
// Find in the system's Find dialog and with F3, Undo and Redo of every kind
// of step with the lists, the tables and the change flag they leave, and
// the keys of the list and of the edit boxes.
#include "driver/FolderTest.h"

#include <memory>

namespace {

enum Tab { kAliases, kColors, kCells, kLevels, kWeights, kMapCmd, kLineStyles };

// The Find dialog's controls.
constexpr int kFindText = 0x480, kWholeWord = 0x410, kMatchCase = 0x411, kUp = 0x420, kDown = 0x421;

std::string FillerLevels() {
    std::string lines;
    for (int i = 10; i < 50; ++i)
        lines += "F" + std::to_string(i) + " = fill\r\n";
    return lines;
}

// In the form Save writes, so that an unchanged file compares byte for byte.
const std::string kFile =
    SavedFile("ARC = PLACE ARC\r\nLINE = PLACE LINE\r\nWALLS = PLACE WALL\r\nZOOM = ZOOM IN\r\n", "1 = 7\r\n3 = 5\r\n",
              "10 = A-WALL-EXT\r\n11 = A-DOOR\r\n12 = WALL\r\n13 = a-wall\r\n14 = S-COLS\r\nB = wallpaper\r\n" +
                  FillerLevels() + "x = X-WALL\r\n");
// Levels in list order: the numbers, then the texts in code unit order.
constexpr int kLevelRows = 47, kRowB = 5, kRowX = 46;

class EditMenuTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        WriteFile(path, kFile);
        run = std::make_unique<DialogRun>(library, path);
        hSheet = run->Open();
        ASSERT_TRUE(hSheet);
        Show(kLevels);
    }
    void TearDown() override {
        run.reset();
        FolderTest::TearDown();
    }

    void Show(Tab tab) {
        hPage = driver::SelectTab(hSheet, tab);
        hList = Item(IDC_LIST);
    }
    HWND Item(int id) const { return ::GetDlgItem(hPage, id); }
    Rows ListRows() const { return driver::ListRows(hList); }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int i = -1; (i = int(::SendMessageW(hList, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED))) >= 0;)
            rows.push_back(i);
        return rows;
    }
    int FocusedRow() const { return int(::SendMessageW(hList, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED)); }
    bool RowInView(int row) const {
        int top = int(::SendMessageW(hList, LVM_GETTOPINDEX, 0, 0));
        return row >= top && row < top + int(::SendMessageW(hList, LVM_GETCOUNTPERPAGE, 0, 0));
    }
    void Select(std::initializer_list<int> rows) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        for (int row : rows)
            ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
        driver::Settle(hSheet);
    }
    void Insert(const wchar_t* first, const wchar_t* second) {
        for (auto [id, text] : {std::pair(IDC_EDIT1, first), std::pair(IDC_EDIT2, second)})
            ::SendMessageW(Item(id), WM_SETTEXT, 0, LPARAM(text));
        driver::Click(Item(IDC_INSERT));
        driver::Settle(hSheet);
    }
    void Command(int id) {
        ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        driver::Settle(hSheet);
    }
    void Undo() { driver::PressShortcut(hList, 'Z', true); }
    void Redo() { driver::PressShortcut(hList, 'Y', true); }
    bool MenuEnabled(int id) const {
        return !(::GetMenuState(::GetMenu(hSheet), UINT(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
    // Every page's rows; visits every tab and comes back.
    std::vector<Rows> AllRows() {
        std::vector<Rows> all;
        int current = int(::SendMessageW(PropSheet_GetTabControl(hSheet), TCM_GETCURSEL, 0, 0));
        for (int tab = kAliases; tab <= kLineStyles; ++tab) {
            Show(Tab(tab));
            all.push_back(ListRows());
        }
        Show(Tab(current));
        return all;
    }
    // Cancel: true when it asked first (answered No: the dialog stays).
    bool CancelAsks() { return !run->Cancel(IDNO).empty(); }

    // The sheet's message box as "caption|text", answered with nButton.
    std::wstring Message(int nButton) {
        std::wstring box = AnswerBox(hSheet, nButton);
        driver::Settle(hSheet);
        return box;
    }

    // The Find dialog, opened with Ctrl+F from the list.
    HWND OpenFind() {
        driver::PressShortcut(hList, 'F', true);
        HWND hFind = nullptr;
        driver::WaitUntil([&] {
            hFind = ::FindWindowW(L"#32770", L"Find");
            return hFind && ::GetWindow(hFind, GW_OWNER) == hSheet && ::IsWindowVisible(hFind);
        });
        return hFind;
    }
    void FindNext(HWND hFind, const wchar_t* text, bool matchCase = false, bool wholeWord = false, bool down = true) {
        ::SendDlgItemMessageW(hFind, kFindText, WM_SETTEXT, 0, LPARAM(text));
        ::CheckDlgButton(hFind, kMatchCase, matchCase ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(hFind, kWholeWord, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        ::CheckRadioButton(hFind, kUp, kDown, down ? kDown : kUp);
        driver::Click(::GetDlgItem(hFind, IDOK));
        driver::Settle(hSheet);
    }

    std::unique_ptr<DialogRun> run;
    HWND hSheet = nullptr, hPage = nullptr, hList = nullptr;
};

}  // namespace

TEST_F(EditMenuTest, FindSearchesKeysAndValuesWithCaseWordAndDirectionAndOffersToWrap) {
    ASSERT_EQ(ListRows().size(), size_t(kLevelRows));
    HWND hFind = OpenFind();
    ASSERT_TRUE(hFind);
    // Nothing focused: from the top, in list order; each match selected,
    // focused and in view, its pair in the inputs.
    FindNext(hFind, L"wall");
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    for (int expected : {2, 3, kRowB, kRowX}) {
        FindNext(hFind, L"wall");
        EXPECT_EQ(SelectedRows(), std::vector<int>{expected});
        EXPECT_EQ(FocusedRow(), expected);
        EXPECT_TRUE(RowInView(expected));
    }
    EXPECT_EQ(driver::Text(Item(IDC_EDIT1)), L"x");
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELETE)));
    // No further match: asked, and No stays; Yes goes on from the top.
    FindNext(hFind, L"wall");
    EXPECT_EQ(Message(IDNO),
              L"Commands Mapping|No row below holds \"wall\".\nDo you want to go on from the top of the list?");
    EXPECT_EQ(SelectedRows(), std::vector<int>{kRowX});
    FindNext(hFind, L"wall");
    EXPECT_NE(Message(IDYES), L"");
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});

    FindNext(hFind, L"WALL", true);  // Match case: past "a-wall" and "wallpaper"
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    FindNext(hFind, L"WALL", true);
    EXPECT_EQ(SelectedRows(), std::vector<int>{kRowX});
    FindNext(hFind, L"wall", false, true, false);  // Whole word, up: past "wallpaper"
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    FindNext(hFind, L"b", true, true);  // a key
    EXPECT_EQ(Message(IDOK), L"Commands Mapping|No row on this page holds \"b\".");
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    FindNext(hFind, L"B", true, true);
    EXPECT_EQ(SelectedRows(), std::vector<int>{kRowB});
    FindNext(hFind, L"B", true, true, false);  // the only match: found again from the other end
    EXPECT_EQ(Message(IDYES),
              L"Commands Mapping|No row above holds \"B\".\nDo you want to go on from the bottom of the list?");
    EXPECT_EQ(SelectedRows(), std::vector<int>{kRowB});

    // Closed, F3 and Shift+F3 go on with the text; another page keeps it.
    FindNext(hFind, L"door");
    EXPECT_NE(Message(IDYES), L"");
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    driver::Click(::GetDlgItem(hFind, IDCANCEL));
    driver::WaitUntil([&] { return !::IsWindow(hFind); });
    Select({3});
    driver::PressKey(hList, VK_F3);
    EXPECT_EQ(Message(IDYES),
              L"Commands Mapping|No row below holds \"door\".\nDo you want to go on from the top of the list?");
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    FindNext(hFind = OpenFind(), L"wall");
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    driver::Click(::GetDlgItem(hFind, IDCANCEL));
    driver::PressShortcut(hList, VK_F3, false, true);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    Show(kAliases);
    driver::PressKey(hList, VK_F3);
    EXPECT_EQ(ListRows()[SelectedRows().at(0)].first, L"WALLS");
    hFind = OpenFind();
    EXPECT_EQ(driver::Text(::GetDlgItem(hFind, kFindText)), L"wall");
    driver::Click(::GetDlgItem(hFind, IDCANCEL));
    driver::WaitUntil([&] { return !::IsWindow(hFind); });
}

TEST_F(EditMenuTest, UndoAndRedoOfInsertsTheirReplacementsAndCaseVariants) {
    const std::vector<Rows> before = AllRows();
    Show(kAliases);
    const Rows aliases = ListRows();
    EXPECT_FALSE(MenuEnabled(ID_EDIT_UNDO) || MenuEnabled(ID_EDIT_REDO));
    Insert(L"MOVE", L"PLACE MOVE");   // appended
    Insert(L"LINE", L"SMARTLINE");    // replaces the value in place
    Insert(L"zoom", L"ZOOM OUT");     // a new key whose row replaces ZOOM's
    const Rows after = ListRows();
    EXPECT_EQ(after, (Rows{{L"ARC", L"PLACE ARC"}, {L"LINE", L"SMARTLINE"}, {L"WALLS", L"PLACE WALL"},
                           {L"zoom", L"ZOOM OUT"}, {L"MOVE", L"PLACE MOVE"}}));
    EXPECT_TRUE(MenuEnabled(ID_EDIT_UNDO));

    Undo();  // each undone row back in its place, selected
    EXPECT_EQ(ListRows()[3], std::make_pair(std::wstring(L"ZOOM"), std::wstring(L"ZOOM IN")));
    EXPECT_EQ(SelectedRows(), std::vector<int>{3});
    EXPECT_EQ(driver::Text(Item(IDC_EDIT1)) + L"|" + driver::Text(Item(IDC_EDIT2)), L"ZOOM|ZOOM IN");
    Undo();
    EXPECT_EQ(ListRows()[1].second, L"PLACE LINE");
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    Show(kLevels);  // Undo comes back to the page of the step
    Command(ID_EDIT_UNDO);
    hPage = driver::CurrentPage(hSheet);
    hList = Item(IDC_LIST);
    EXPECT_EQ(ListRows(), aliases);
    EXPECT_EQ(AllRows(), before);
    EXPECT_FALSE(MenuEnabled(ID_EDIT_UNDO));
    EXPECT_TRUE(MenuEnabled(ID_EDIT_REDO));

    Show(kAliases);
    for (int i = 0; i < 3; ++i)
        Redo();
    EXPECT_EQ(ListRows(), after);
    EXPECT_TRUE(CancelAsks());
    Undo();
    Undo();
    Insert(L"ARC", L"PLACE ARC");  // no change: no step, and redo stays
    EXPECT_TRUE(MenuEnabled(ID_EDIT_REDO));
    Insert(L"FENCE", L"PLACE FENCE");  // a new action: nothing to redo
    EXPECT_FALSE(MenuEnabled(ID_EDIT_REDO));
    Undo();
    Undo();
    EXPECT_EQ(AllRows(), before);
    // Back to what was read: Cancel closes without a question.
    EXPECT_FALSE(CancelAsks());
    EXPECT_FALSE(run->IsOpen());
}

TEST_F(EditMenuTest, UndoOfDeleteBringsTheRowsBackAsShownAndSelected) {
    const std::vector<Rows> before = AllRows();
    // Sorted by the second column, the rows are not the file's order.
    NMLISTVIEW click{};
    click.hdr = {hList, UINT_PTR(IDC_LIST), UINT(LVN_COLUMNCLICK)};
    click.iSubItem = 1;
    ::SendMessageW(hPage, WM_NOTIFY, IDC_LIST, LPARAM(&click));
    const Rows shown = ListRows();
    Select({1, 4, kRowX});
    driver::PressKey(hList, VK_DELETE);  // the Delete key asks as the button does
    EXPECT_NE(Message(IDYES), L"");
    EXPECT_EQ(ListRows().size(), shown.size() - 3);
    Undo();
    EXPECT_EQ(ListRows(), shown);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 4, kRowX}));
    Redo();
    EXPECT_EQ(ListRows().size(), shown.size() - 3);
    EXPECT_TRUE(SelectedRows().empty());
    Undo();

    Select({2});  // one row: no question
    driver::PressKey(hList, VK_DELETE);
    EXPECT_FALSE(driver::WaitForMessageBox(hSheet, 300).hWnd);
    Rows one = shown;
    one.erase(one.begin() + 2);
    EXPECT_EQ(ListRows(), one);
    EXPECT_TRUE(CancelAsks());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(ListRows(), shown);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    // Every page as it was (Levels in the order of its header sort).
    std::vector<Rows> after = AllRows(), expected = before;
    expected[kLevels] = shown;
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(CancelAsks());
    EXPECT_EQ(ReadFile(path), kFile);
}

TEST_F(EditMenuTest, UndoOfAnImportRestoresEveryPageItChangedOpenedOrNot) {
    std::string table = Table("remap.csv", "%section,Levels\r\nLevel,DWGOutputLayer\r\n12,A-WALL-NEW\r\nNEW,A-NEW\r\n"
                                           "%section,Colors\r\nColor,DWGOutputColor\r\n1,ac9\r\n5,2\r\n");
    Show(kAliases);
    Insert(L"MOVE", L"PLACE MOVE");  // a step before the import
    Show(kLevels);
    const Rows levels = ListRows();
    Import(hSheet, ID_IMPORT_V8, table);
    EXPECT_EQ(ListRows().size(), levels.size() + 1);
    EXPECT_TRUE(CancelAsks());
    Undo();  // Colors was never opened: its table is put back all the same
    EXPECT_EQ(ListRows(), levels);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});  // the row whose value came back
    Redo();
    EXPECT_EQ(ListRows().size(), levels.size() + 1);
    Undo();
    Undo();  // the Insert too
    Show(kAliases);
    EXPECT_EQ(ListRows().size(), 4u);
    Show(kColors);
    EXPECT_EQ(ListRows(), (Rows{{L"1", L"7"}, {L"3", L"5"}}));
    Command(ID_EDIT_REDO);
    Command(ID_EDIT_REDO);  // the import again: Colors shows it now
    EXPECT_EQ(ListRows(), (Rows{{L"1", L"9"}, {L"3", L"5"}, {L"5", L"2"}}));
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_UNDO);
    // Saved, every table is the file as read.
    ASSERT_TRUE(run->Save());
    EXPECT_EQ(ReadFile(path), kFile);
}

TEST_F(EditMenuTest, ListKeysAndKeyboardSelectionDriveTheButtonsAndInsertShowsItsRow) {
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_DELETE)));
    driver::Focus(hList);
    driver::Type(hList, L"b");  // type-ahead
    EXPECT_EQ(SelectedRows(), std::vector<int>{kRowB});
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELETE)));
    EXPECT_EQ(driver::Text(Item(IDC_EDIT1)), L"B");
    driver::PressKey(hList, VK_DOWN);
    EXPECT_EQ(driver::Text(Item(IDC_EDIT1)), L"F10");
    driver::PressShortcut(hList, VK_DOWN, false, true);  // a Shift range
    EXPECT_EQ(SelectedRows(), (std::vector<int>{kRowB + 1, kRowB + 2}));
    driver::PressShortcut(hList, 'A', true);  // Select All
    EXPECT_EQ(SelectedRows().size(), size_t(kLevelRows));
    EXPECT_EQ(driver::Text(Item(IDC_EDIT1)), L"10");

    // Insert shows its row wherever it is, and the selection stays.
    Select({0});
    Insert(L"ZZ", L"last");
    EXPECT_TRUE(RowInView(kLevelRows));
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    Insert(L"10", L"first");
    EXPECT_TRUE(RowInView(0));
    EXPECT_EQ(ListRows()[0].second, L"first");
}

TEST_F(EditMenuTest, ShortcutsInAnEditBoxKeepTheirEditMeaning) {
    Insert(L"NEW", L"A-NEW");
    const Rows rows = ListRows();
    HWND hEdit = Item(IDC_EDIT2);
    ::SendMessageW(hEdit, WM_SETTEXT, 0, LPARAM(L""));
    driver::Focus(hEdit);
    driver::Type(hEdit, L"typed");
    driver::PressShortcut(hEdit, 'A', true);  // the edit's text, not the rows
    DWORD start = 1, end = 0;
    ::SendMessageW(hEdit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);
    EXPECT_TRUE(SelectedRows().empty());
    driver::PressShortcut(hEdit, 'Z', true);  // the edit's undo, not the sheet's
    EXPECT_EQ(driver::Text(hEdit), L"");
    EXPECT_EQ(ListRows(), rows);
    driver::PressShortcut(Item(IDC_EDIT1), 'Z', true);
    EXPECT_EQ(ListRows(), rows);
    driver::PressShortcut(Item(IDC_INSERT), 'Z', true);  // anywhere else: the sheet's
    EXPECT_EQ(ListRows().size(), rows.size() - 1);
}
