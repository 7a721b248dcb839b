// The mapping pages under Wine, worked like a user through the real
// Varnel.dll: the list's rows and order, Insert, Delete, selection into the
// inputs, the buttons, the drop-down lists, the change flag, Save, and the
// help texts in the description area.
#include "OpenPageTest.h"
#include "pages/FixedValueLists.h"

#include <tuple>

namespace {

enum Tab { kAliases, kColors, kCells, kLevels, kWeights, kMapCmd, kLineStyles };

std::vector<CString> ComboItems(HWND hCombo) {
    std::vector<CString> items;
    for (int i = 0, count = int(::SendMessageW(hCombo, CB_GETCOUNT, 0, 0)); i < count; ++i) {
        wchar_t text[64] = {};
        ::SendMessageW(hCombo, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        items.push_back(CString(text));
    }
    return items;
}

// One section of a saved mapping file, from its header to the next one.
std::string Section(const std::string& file, const std::string& name) {
    size_t begin = file.find("[" + name + "]");
    return begin == std::string::npos ? "" : file.substr(begin, file.find('[', begin + 1) - begin);
}

class PageTest : public OpenPageTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        Open("[Aliases]\r\nLINE = PLACE LINE\r\nZOOM = ZOOM IN\r\nARC = PLACE ARC\r\n"
             "[Colors]\r\nred = 1\r\n3 = 3\r\n[Weights]\r\n2 = 0.25\r\n[Levels]\r\nabc = v1\r\n"
             "10 = v3\r\n00 = v5\r\n9 = v2\r\n0 = v6\r\nB = v4\r\n100 = v7\r\na = v0\r\n");
    }
    HWND Item(int id) const { return ::GetDlgItem(hPage, id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    // Both inputs' texts; a drop-down list's text is its selected entry.
    std::wstring Inputs(int first = IDC_EDIT1, int second = IDC_EDIT2) const {
        return driver::Text(Item(first)) + L"|" + driver::Text(Item(second));
    }
    Rows ListRows() const { return driver::ListRows(hList); }
    void Press(int id) {
        driver::Click(Item(id));
        driver::Settle(hSheet);
    }
    // Fills both inputs (edits, or the drop-down lists' entries) and presses Insert.
    void Insert(const wchar_t* first, const wchar_t* second) {
        for (auto [id, text] : {std::pair(IDC_EDIT1, first), std::pair(IDC_EDIT2, second)})
            ::SendMessageW(Item(id), WM_SETTEXT, 0, LPARAM(text));
        Press(IDC_INSERT);
    }
    void Choose(const wchar_t* first, const wchar_t* second) {
        for (auto [id, text] : {std::pair(IDC_COMBO1, first), std::pair(IDC_COMBO2, second)}) {
            ::SendMessageW(Item(id), CB_SELECTSTRING, WPARAM(-1), LPARAM(text));
            ::SendMessageW(hPage, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(Item(id)));
        }
    }
    void Select(std::initializer_list<int> rows) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&item));
        item.state = LVIS_SELECTED;
        for (int row : rows)
            ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
        driver::Settle(hSheet);
    }
    // A mouse click on a row's first cell; MK_SHIFT extends the selection to it.
    void ClickRow(int row, WPARAM keys = 0) {
        RECT rc{};
        rc.left = LVIR_BOUNDS;
        ::SendMessageW(hList, LVM_GETITEMRECT, WPARAM(row), LPARAM(&rc));
        LPARAM at = MAKELPARAM(rc.left + 10, (rc.top + rc.bottom) / 2);
        ::PostMessageW(hList, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        ::PostMessageW(hList, WM_LBUTTONUP, keys, at);
        driver::Settle(hSheet);
    }
    std::vector<int> SelectedRows() const {
        std::vector<int> rows;
        for (int i = -1; (i = int(::SendMessageW(hList, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED))) >= 0;)
            rows.push_back(i);
        return rows;
    }
    // Presses Delete and answers its question, which must name the count.
    void DeleteAnswering(int nAnswer, int nCount) {
        driver::Click(Item(IDC_DELETE));
        EXPECT_EQ(AnswerBox(hSheet, nAnswer), L"Commands Mapping|This will delete " + std::to_wstring(nCount) +
                                                  L" items from the list.\nDo you want to continue with this operation?");
        driver::Settle(hSheet);
    }
    // The column's header text and width; with bClick after a mouse click on it.
    std::pair<std::wstring, int> Column(int column, bool bClick = false) {
        HWND hHeader = HWND(::SendMessageW(hList, LVM_GETHEADER, 0, 0));
        RECT rc{};
        ::SendMessageW(hHeader, HDM_GETITEMRECT, WPARAM(column), LPARAM(&rc));
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        if (bClick) {
            ::PostMessageW(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, at);
            ::PostMessageW(hHeader, WM_LBUTTONUP, 0, at);
            driver::Settle(hSheet);
        }
        wchar_t text[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        ::SendMessageW(hHeader, HDM_GETITEMW, WPARAM(column), LPARAM(&item));
        return {text, rc.right - rc.left};
    }
    std::string SaveAndRead() {
        EXPECT_TRUE(run->Save());
        return ReadFile(path);
    }

};

const Rows kLevelsSorted = {{L"0", L"v6"},   {L"00", L"v5"}, {L"9", L"v2"}, {L"10", L"v3"},
                            {L"100", L"v7"}, {L"B", L"v4"},  {L"a", L"v0"}, {L"abc", L"v1"}};

}  // namespace

TEST_F(PageTest, ColumnsStyleAndSortOrder) {
    Show(kAliases);
    RECT rc{};
    ::GetWindowRect(hList, &rc);
    int width = rc.right - rc.left;
    EXPECT_EQ(Column(0), std::make_pair(std::wstring(L"MicroStation Commands"), width * 50 / 100));
    EXPECT_EQ(Column(1), std::make_pair(std::wstring(L"MicroStation Synonyms"), width * 49 / 100));
    EXPECT_EQ(::SendMessageW(hList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x421);
    EXPECT_EQ(ListRows(), (Rows{{L"ARC", L"PLACE ARC"}, {L"LINE", L"PLACE LINE"}, {L"ZOOM", L"ZOOM IN"}}));

    Show(kLevels);
    EXPECT_EQ(Column(0).first + L"|" + Column(1).first, L"MicroStation|AutoCAD");
    // Numbers as numbers, "0" and "00" as text, upper case before lower.
    EXPECT_EQ(ListRows(), kLevelsSorted);
    Column(1, true);  // another column: ascending; the same again: descending
    Rows byValue = {{L"a", L"v0"}, {L"abc", L"v1"}, {L"9", L"v2"}, {L"10", L"v3"},
                    {L"B", L"v4"}, {L"00", L"v5"},  {L"0", L"v6"}, {L"100", L"v7"}};
    EXPECT_EQ(ListRows(), byValue);
    Column(1, true);
    EXPECT_EQ(ListRows(), Rows(byValue.rbegin(), byValue.rend()));
    Column(0, true);
    EXPECT_EQ(ListRows(), kLevelsSorted);
}

TEST_F(PageTest, InsertTrimsReplacesByKeyIgnoringCaseAndAppends) {
    Show(kAliases);
    Select({1});  // LINE; the selection plays no part in Insert
    Insert(L"  line ", L"  PLACE SMARTLINE ");
    EXPECT_EQ(Inputs(), L"line|PLACE SMARTLINE");
    // The LINE row is replaced in place by a new, unselected line row.
    EXPECT_EQ(ListRows(), (Rows{{L"ARC", L"PLACE ARC"}, {L"line", L"PLACE SMARTLINE"}, {L"ZOOM", L"ZOOM IN"}}));
    EXPECT_EQ(::SendMessageW(hList, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    Insert(L"MOVE", L"");  // appended, unsorted, with an empty value
    ::SendMessageW(Item(IDC_EDIT1), WM_SETTEXT, 0, LPARAM(L"   "));
    EXPECT_TRUE(Enabled(IDC_INSERT));  // blanks alone enable Insert but store nothing
    Insert(L"   ", L"ignored");
    EXPECT_EQ(Inputs(), L"|ignored");
    EXPECT_FALSE(Enabled(IDC_INSERT));
    EXPECT_EQ(ListRows().back(), std::make_pair(std::wstring(L"MOVE"), std::wstring(L"")));

    // Replacing a row selected with others leaves the inputs as typed.
    Select({0, 1});  // ARC, and the row Insert replaces
    Insert(L"LINE", L"PLACE LINE");
    EXPECT_EQ(Inputs(), L"LINE|PLACE LINE");
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});

    // The table keeps both case variants (one row shows them).
    EXPECT_EQ(Section(SaveAndRead(), "Aliases"), "[Aliases]\r\nARC = PLACE ARC\r\nLINE = PLACE LINE\r\nMOVE = \r\n"
                                                 "ZOOM = ZOOM IN\r\nline = PLACE SMARTLINE\r\n\r\n");
}

TEST_F(PageTest, SelectionFillsInputsAndDrivesTheButtons) {
    Show(kAliases);
    EXPECT_FALSE(Enabled(IDC_DELETE));
    driver::Type(Item(IDC_EDIT2), L"x");  // only the first input decides Insert
    EXPECT_FALSE(Enabled(IDC_INSERT));
    Select({1});
    EXPECT_EQ(Inputs(), L"LINE|PLACE LINE");
    EXPECT_TRUE(Enabled(IDC_DELETE) && Enabled(IDC_INSERT));
    Select({2, 0});  // several rows: the first selected one
    EXPECT_EQ(Inputs(), L"ARC|PLACE ARC");
    Select({0});
    Select({});  // none: the inputs keep their texts
    EXPECT_EQ(Inputs(), L"ARC|PLACE ARC");
    EXPECT_FALSE(Enabled(IDC_DELETE));
    // Deleting a row is a change: Cancel asks.
    Select({0});
    Press(IDC_DELETE);
    EXPECT_NE(run->Cancel(IDYES), L"");
    EXPECT_FALSE(run->IsOpen());
}

TEST_F(PageTest, DeleteOneRowOrAskForSeveral) {
    Show(kLevels);
    Select({2});  // "9": no question, the others keep their order
    Press(IDC_DELETE);
    driver::ExpectNoMessage(hSheet);
    Rows expected = kLevelsSorted;
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(ListRows(), expected);
    EXPECT_FALSE(Enabled(IDC_DELETE));

    Select({0, 3, 5});  // "0", "100", "a"
    for (int answer : {IDNO, IDYES}) {
        DeleteAnswering(answer, 3);
        EXPECT_EQ(ListRows().size(), answer == IDNO ? 7u : 4u);
    }
    EXPECT_EQ(ListRows(), (Rows{{L"00", L"v5"}, {L"10", L"v3"}, {L"B", L"v4"}, {L"abc", L"v1"}}));
    EXPECT_EQ(Section(SaveAndRead(), "Levels"), "[Levels]\r\n00 = v5\r\n10 = v3\r\nB = v4\r\nabc = v1\r\n\r\n");
}

TEST_F(PageTest, ColorsAndWeightsChooseFromFixedLists) {
    Show(kColors);
    EXPECT_EQ(ComboItems(Item(IDC_COMBO1)), FixedValueLists::MicroStationColors());
    EXPECT_EQ(ComboItems(Item(IDC_COMBO2)), FixedValueLists::AutoCadColors());
    EXPECT_EQ(Inputs(IDC_COMBO1, IDC_COMBO2), L"ByLevel|ByLayer");
    EXPECT_TRUE(Enabled(IDC_INSERT));
    Press(IDC_INSERT);  // the first entries as the page opens
    Choose(L"BG", L"255");
    Press(IDC_INSERT);
    // An imported text in no list selects the first entry; "3" is found.
    Select({1});
    ASSERT_EQ(ListRows()[1].first, L"red");
    EXPECT_EQ(Inputs(IDC_COMBO1, IDC_COMBO2), L"ByLevel|1");
    Select({0});
    EXPECT_EQ(Inputs(IDC_COMBO1, IDC_COMBO2), L"3|3");

    Show(kWeights);
    EXPECT_EQ(ComboItems(Item(IDC_COMBO1)), FixedValueLists::MicroStationWeights());
    EXPECT_EQ(ComboItems(Item(IDC_COMBO2)), FixedValueLists::AutoCadWeights());
    Select({0});  // "2" -> "0.25", not a weight of the list
    EXPECT_EQ(Inputs(IDC_COMBO1, IDC_COMBO2), L"2|ByLayer");
    Choose(L"31", L"Default");
    Press(IDC_INSERT);

    std::string saved = SaveAndRead();
    EXPECT_EQ(Section(saved, "Colors"), "[Colors]\r\n3 = 3\r\nBG = 255\r\nByLevel = ByLayer\r\nred = 1\r\n\r\n");
    EXPECT_EQ(Section(saved, "Weights"), "[Weights]\r\n2 = 0.25\r\n31 = Default\r\n\r\n");
}

TEST_F(PageTest, ControlsShowTheirHelpTexts) {
    // Enabled controls only: a disabled button cannot take the focus.
    const std::tuple<Tab, int, const wchar_t*> expected[] = {
        {kAliases, IDC_EDIT1, L"Defines one or more synonyms or aliases for the active MicroStation Command."},
        {kAliases, IDC_EDIT2, L"Defines the original MicroStation Command."},
        {kCells, IDC_EDIT1, L"Defines the MicroStation Cell Name."},
        {kLevels, IDC_EDIT2, L"Defines the AutoCAD Layer Name."},
        {kColors, IDC_COMBO1, L"Defines the active MicroStation Color."},
        {kWeights, IDC_COMBO2, L"Defines the active AutoCAD Line Weight."},
    };
    HWND hDescription = driver::DescriptionEdit(hSheet);
    for (auto [tab, control, description] : expected) {
        Show(tab);
        driver::Focus(Item(control));
        EXPECT_TRUE(driver::ShowsText(hDescription, description)) << "tab " << tab << " control " << control;
    }
}

TEST_F(PageTest, RangeSelectionDeletesAndEndsWithTheRefresh) {
    Show(kLevels);
    ClickRow(1);  // "00", then shift-click through "10": one range
    ClickRow(3, MK_SHIFT);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Inputs(), L"00|v5");
    EXPECT_TRUE(Enabled(IDC_DELETE));
    DeleteAnswering(IDYES, 3);
    // The rebuilt rows carry no selection over from the old ones.
    EXPECT_EQ(ListRows(), (Rows{{L"0", L"v6"}, {L"100", L"v7"}, {L"B", L"v4"}, {L"a", L"v0"}, {L"abc", L"v1"}}));
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_FALSE(Enabled(IDC_DELETE));
    EXPECT_EQ(Inputs(), L"00|v5");

    LVITEMW all{};  // every row at once, as Ctrl+A does: the first one fills the inputs
    all.state = all.stateMask = LVIS_SELECTED;
    ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&all));
    driver::Settle(hSheet);
    EXPECT_EQ(Inputs(), L"0|v6");
    DeleteAnswering(IDNO, 5);
    EXPECT_EQ(SelectedRows().size(), 5u);
    DeleteAnswering(IDYES, 5);
    EXPECT_TRUE(ListRows().empty());
    EXPECT_EQ(Section(SaveAndRead(), "Levels"), "[Levels]\r\n\r\n");
}

TEST_F(PageTest, SortAfterInsertPlacesTheNewRowAndKeepsItsSelection) {
    Show(kLevels);
    Insert(L"5", L"v9");  // appended, unsorted
    ASSERT_EQ(ListRows().back(), std::make_pair(std::wstring(L"5"), std::wstring(L"v9")));
    Select({8});
    EXPECT_EQ(Inputs(), L"5|v9");
    ::SendMessageW(Item(IDC_EDIT2), WM_SETTEXT, 0, LPARAM(L"typed"));
    Column(0, true);  // the refresh sorted by column 0 ascending: now descending
    Rows ascending = kLevelsSorted;
    ascending.insert(ascending.begin() + 2, {L"5", L"v9"});
    EXPECT_EQ(ListRows(), Rows(ascending.rbegin(), ascending.rend()));
    EXPECT_EQ(SelectedRows(), std::vector<int>{6});
    EXPECT_EQ(Inputs(), L"5|typed");  // a sort is no change of the selection
    Column(0, true);
    EXPECT_EQ(ListRows(), ascending);
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
}
