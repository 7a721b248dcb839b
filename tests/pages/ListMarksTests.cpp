// The lists' marks and pictures under Wine, through the real dialog: a cell
// AutoCAD or MicroStation will not take is marked by the list's custom draw
// and tells its reason in the description area and in a balloon; a clean
// cell is drawn by the control; the Colors page draws each AutoCAD color as
// a swatch of its index's color and the Line Weights page a line at its
// weight, read back from pixels of the list's own drawing.
#include "OpenPageTest.h"
#include "pages/ListCellPainter.h"

namespace {

enum Tab { kColors = 1, kLevels = 3, kWeights = 4 };

// A 32-bit top-down image of a window's client area, drawn by the window
// itself (WM_PRINTCLIENT), as the list draws on the screen.
class ClientImage {
public:
    explicit ClientImage(HWND hWnd) {
        ::GetClientRect(hWnd, &m_rc);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = m_rc.right;
        info.bmiHeader.biHeight = -m_rc.bottom;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_hDC = ::CreateCompatibleDC(nullptr);
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_pBits = static_cast<const DWORD*>(pBits);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        ::SendMessageW(hWnd, WM_PRINTCLIENT, WPARAM(m_hDC), PRF_CLIENT | PRF_ERASEBKGND);
        ::GdiFlush();
    }
    ~ClientImage() {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    COLORREF At(int x, int y) const {
        const DWORD bits = m_pBits[size_t(y) * size_t(m_rc.right) + size_t(x)];
        return RGB((bits >> 16) & 0xFF, (bits >> 8) & 0xFF, bits & 0xFF);
    }
    // How many pixels of rc have the colour.
    int Count(const RECT& rc, COLORREF colour) const {
        int count = 0;
        for (int y = std::max(0L, rc.top); y < std::min(rc.bottom, m_rc.bottom); ++y)
            for (int x = std::max(0L, rc.left); x < std::min(rc.right, m_rc.right); ++x)
                count += At(x, y) == colour;
        return count;
    }

private:
    RECT m_rc{};
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    const DWORD* m_pBits = nullptr;
};

// The help balloon: a visible tool window of the dialog's thread.
BOOL CALLBACK FindShownToolWindow(HWND hWnd, LPARAM lParam) {
    if (::IsWindowVisible(hWnd) && (::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        *reinterpret_cast<HWND*>(lParam) = hWnd;
    return TRUE;
}

class ListMarksTest : public OpenPageTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        Open("[Colors]\r\n1 = 1\r\n2 = 5\r\n3 = 30\r\n4 = ByLayer\r\n5 = 62x\r\n300 = red\r\n"
             "[Weights]\r\n1 = 211\r\n2 = 25\r\n3 = 0.25\r\n"
             "[Levels]\r\nA = A-WALL/EXT\r\nB = Doors\r\nC = Glass\r\nD = glass\r\n");
    }
    RECT Cell(int row, int column) const {
        RECT rc{};
        rc.top = column;
        rc.left = LVIR_BOUNDS;
        ::SendMessageW(hList, LVM_GETSUBITEMRECT, WPARAM(row), LPARAM(&rc));
        if (column == 0)
            rc.right = rc.left + int(::SendMessageW(hList, LVM_GETCOLUMNWIDTH, 0, 0));
        return rc;
    }
    int Row(const wchar_t* key) const {
        LVFINDINFOW find{};
        find.flags = LVFI_STRING;
        find.psz = key;
        return int(::SendMessageW(hList, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)));
    }
    // The page's answer to the custom-draw item of one cell, with the item
    // as the page leaves it, after the stages a paint sends before it.
    std::pair<LRESULT, NMLVCUSTOMDRAW> CustomDraw(int row, int column) const {
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {hList, UINT_PTR(IDC_LIST), UINT(NM_CUSTOMDRAW)};
        draw.nmcd.dwItemSpec = DWORD_PTR(row);
        draw.clrText = draw.clrTextBk = CLR_DEFAULT;
        LRESULT result = 0;
        for (DWORD stage : {CDDS_PREPAINT, CDDS_ITEMPREPAINT, CDDS_ITEMPREPAINT | CDDS_SUBITEM}) {
            draw.nmcd.dwDrawStage = stage;
            draw.iSubItem = stage & CDDS_SUBITEM ? column : 0;
            result = ::SendMessageW(hPage, WM_NOTIFY, IDC_LIST, LPARAM(&draw));
        }
        return {result, draw};
    }
    void Select(int row) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED;
        ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&item));
        item.state = LVIS_SELECTED;
        ::SendMessageW(hList, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&item));
        driver::Settle(hSheet);
    }
};

}  // namespace

TEST_F(ListMarksTest, AMarkedCellReportsItsMarkAndACleanOneIsLeftToTheList) {
    Show(kLevels);
    const int marked = Row(L"A"), clean = Row(L"B");
    auto [result, draw] = CustomDraw(marked, 1);
    EXPECT_EQ(result, CDRF_SKIPDEFAULT);
    EXPECT_EQ(draw.clrText, kWarningText);
    EXPECT_EQ(draw.clrTextBk, kWarningBack);
    std::tie(result, draw) = CustomDraw(clean, 1);
    EXPECT_EQ(result, CDRF_DODEFAULT);
    EXPECT_NE(draw.clrText, kWarningText);
    EXPECT_EQ(CustomDraw(marked, 0).first, CDRF_DODEFAULT);  // its MicroStation side is clean
    // Two levels mapped to one layer spelt two ways: both are shown.
    EXPECT_EQ(CustomDraw(Row(L"C"), 1).first, CDRF_SKIPDEFAULT);
    EXPECT_EQ(CustomDraw(Row(L"D"), 1).first, CDRF_SKIPDEFAULT);

    // On the screen: the glyph in the marked cell only, the texts unchanged.
    ClientImage image(hList);
    EXPECT_GT(image.Count(Cell(marked, 1), kWarningGlyph), 10);
    EXPECT_EQ(image.Count(Cell(clean, 1), kWarningGlyph), 0);
    EXPECT_EQ(image.Count(Cell(marked, 0), kWarningGlyph), 0);
    EXPECT_EQ(driver::ListRows(hList)[size_t(marked)].second, L"A-WALL/EXT");
}

TEST_F(ListMarksTest, TheSelectedMarkedRowGivesItsReasonInTheDescription) {
    Show(kLevels);
    HWND hDescription = driver::DescriptionEdit(hSheet);
    driver::Focus(hList);
    EXPECT_TRUE(
        driver::ShowsText(hDescription, L"This list contains mappings from MicroStation Levels into AutoCAD Layers."));
    Select(Row(L"A"));
    EXPECT_TRUE(driver::ShowsText(hDescription, L"\"/\" is not allowed in an AutoCAD layer name"));
    Select(Row(L"D"));
    EXPECT_TRUE(driver::ShowsText(
        hDescription, L"\"glass\" and \"Glass\" differ only in letter case: AutoCAD takes them as one layer"));
    // A clean row: the list's own help text again.
    Select(Row(L"B"));
    EXPECT_TRUE(
        driver::ShowsText(hDescription, L"This list contains mappings from MicroStation Levels into AutoCAD Layers."));
    // The focus elsewhere: selecting a marked row tells its reason all the same.
    driver::Focus(::GetDlgItem(hPage, IDC_EDIT1));
    Select(Row(L"A"));
    EXPECT_TRUE(driver::ShowsText(hDescription, L"\"/\" is not allowed in an AutoCAD layer name"));
    // Inserting another spelling of the selected row's value marks that row,
    // and the list tells why once it has the focus again.
    Select(Row(L"B"));
    ::SendMessageW(::GetDlgItem(hPage, IDC_EDIT1), WM_SETTEXT, 0, LPARAM(L"E"));
    ::SendMessageW(::GetDlgItem(hPage, IDC_EDIT2), WM_SETTEXT, 0, LPARAM(L"DOORS"));
    driver::Click(::GetDlgItem(hPage, IDC_INSERT));
    driver::Settle(hSheet);
    driver::Focus(hList);
    EXPECT_TRUE(driver::ShowsText(
        hDescription, L"\"Doors\" and \"DOORS\" differ only in letter case: AutoCAD takes them as one layer"));
    EXPECT_EQ(CustomDraw(Row(L"B"), 1).first, CDRF_SKIPDEFAULT);
    // Both sides of a Colors row break a rule: both reasons, one to a line.
    Show(kColors);
    driver::Focus(hList);
    Select(Row(L"300"));
    EXPECT_TRUE(driver::ShowsText(hDescription,
                                  L"\"300\" is not a MicroStation color (ByLevel, ByCell, BG or 0 to 255)\r\n"
                                  L"\"red\" is not an AutoCAD color (ByLayer, ByBlock or 0 to 255)"));
}

TEST_F(ListMarksTest, RestingOnAMarkedCellShowsItsReasonInABalloon) {
    Show(kLevels);
    const RECT cell = Cell(Row(L"A"), 1);
    POINT pt = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ::ClientToScreen(hList, &pt);
    ASSERT_TRUE(::SetCursorPos(pt.x, pt.y));
    ::PostMessageW(hList, WM_MOUSEMOVE, 0, MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
    HWND hBalloon = nullptr;
    ASSERT_TRUE(driver::WaitUntil([&] {
        ::EnumThreadWindows(::GetWindowThreadProcessId(hSheet, nullptr), FindShownToolWindow, LPARAM(&hBalloon));
        return hBalloon != nullptr;
    }, 4000));
    EXPECT_EQ(driver::Text(hBalloon), L"A-WALL/EXT\r\n\"/\" is not allowed in an AutoCAD layer name");
    // Its stem points at the cell.
    RECT rc{};
    ::GetWindowRect(hBalloon, &rc);
    EXPECT_LE(rc.left, pt.x);
    EXPECT_GE(rc.right, pt.x);
}

TEST_F(ListMarksTest, ColorsAreDrawnInTheirIndexColorAndWeightsAtTheirWidth) {
    Show(kColors);
    {
        ClientImage image(hList);
        const std::pair<const wchar_t*, COLORREF> swatches[] = {
            {L"1", RGB(255, 0, 0)}, {L"2", RGB(0, 0, 255)}, {L"3", RGB(255, 127, 0)}};
        for (auto [key, colour] : swatches) {
            EXPECT_GE(image.Count(Cell(Row(key), 1), colour), 40) << key;
            EXPECT_EQ(image.Count(Cell(Row(key), 0), colour), 0) << key;
        }
        // ByLayer: an empty swatch, no color in it; 62x: marked, no swatch.
        auto colourful = [&image](const RECT& rc) {
            int count = 0;
            for (int y = rc.top; y < rc.bottom; ++y)
                for (int x = rc.left; x < rc.left + 26; ++x) {  // the swatch, before the text
                    COLORREF c = image.At(x, y);
                    count += GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c);
                }
            return count;
        };
        EXPECT_EQ(colourful(Cell(Row(L"4"), 1)), 0);
        EXPECT_GT(image.Count(Cell(Row(L"5"), 1), kWarningGlyph), 10);
        EXPECT_EQ(image.Count(Cell(Row(L"5"), 1), RGB(255, 0, 0)), 0);
    }
    Show(kWeights);
    ClientImage image(hList);
    // The line's height, where it starts: 211 hundredths of a millimetre
    // are 8 pixels at 96 DPI, 25 one pixel; 0.25 is marked and has no line.
    auto lineHeight = [&](const wchar_t* key) {
        const RECT rc = Cell(Row(key), 1);
        int height = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            height += image.At(rc.left + 6, y) == ::GetSysColor(COLOR_WINDOWTEXT);
        return height;
    };
    EXPECT_EQ(lineHeight(L"1"), 8);
    EXPECT_EQ(lineHeight(L"2"), 1);
    EXPECT_EQ(lineHeight(L"3"), 0);
}

TEST_F(ListMarksTest, ALargeTablesCaseVariantsAreMarked) {
    run.reset();
    std::string mapping = "[Levels]\r\n";
    for (int i = 0; i < 100000; ++i)
        mapping += "L" + std::to_string(100000 + i) + " = Layer-" + std::to_string(i) + "\r\n";
    Open(mapping + "zz1 = Roof\r\nzz2 = ROOF\r\n");
    Show(kLevels);
    EXPECT_EQ(CustomDraw(Row(L"zz2"), 1).first, CDRF_SKIPDEFAULT);
    EXPECT_EQ(CustomDraw(Row(L"zz1"), 1).first, CDRF_SKIPDEFAULT);
    EXPECT_EQ(CustomDraw(Row(L"L100000"), 1).first, CDRF_DODEFAULT);
}

TEST_F(ListMarksTest, TheLastImportsRowsAreBoldUntilItsUndoAndTheNextImport) {
    Show(kLevels);
    auto bold = [this](const wchar_t* key) {
        const LRESULT key0 = CustomDraw(Row(key), 0).first, value = CustomDraw(Row(key), 1).first;
        EXPECT_EQ(key0 & CDRF_NEWFONT, value & CDRF_NEWFONT) << key;  // a mark of the whole row
        return (key0 & CDRF_NEWFONT) != 0;
    };
    // The darkness of a cell's text, which bold adds to.
    auto ink = [this](const wchar_t* key) {
        ClientImage image(hList);
        const RECT rc = Cell(Row(key), 0);
        int sum = 0;
        for (int y = rc.top + 1; y < rc.bottom - 1; ++y)
            for (int x = rc.left + 1; x < rc.right - 1; ++x)
                sum += 765 - GetRValue(image.At(x, y)) - GetGValue(image.At(x, y)) - GetBValue(image.At(x, y));
        return sum;
    };
    // B changed, E added, C and Colors' 2 read again as they are.
    Import(hSheet, ID_IMPORT_V8,
           Table("first.csv", "%section,Levels\r\nLevel,DWGOutputLayer\r\nB,Windows\r\nE,Roof\r\nC,Glass\r\n"
                              "%section,Colors\r\nColor,DWGOutputColor\r\n2,5\r\n6,7\r\n"));
    driver::Settle(hSheet);
    EXPECT_TRUE(bold(L"B"));
    EXPECT_TRUE(bold(L"E"));
    EXPECT_FALSE(bold(L"A"));
    EXPECT_FALSE(bold(L"C"));
    EXPECT_TRUE(CustomDraw(Row(L"A"), 1).first & CDRF_SKIPDEFAULT);  // its warning mark stays
    const int boldInk = ink(L"E");
    Show(kColors);  // a page opened after the import
    EXPECT_TRUE(bold(L"6"));
    EXPECT_FALSE(bold(L"2"));
    Show(kLevels);

    ::PostMessageW(hSheet, WM_COMMAND, ID_EDIT_UNDO, 0);
    driver::Settle(hSheet);
    EXPECT_FALSE(bold(L"B"));
    ::PostMessageW(hSheet, WM_COMMAND, ID_EDIT_REDO, 0);
    driver::Settle(hSheet);
    EXPECT_TRUE(bold(L"B"));
    EXPECT_TRUE(bold(L"E"));

    // The next import: only its own rows.
    Import(hSheet, ID_IMPORT_V8, Table("second.csv", "%section,Levels\r\nLevel,DWGOutputLayer\r\nC,Ceiling\r\n"));
    driver::Settle(hSheet);
    EXPECT_TRUE(bold(L"C"));
    EXPECT_FALSE(bold(L"B"));
    EXPECT_FALSE(bold(L"E"));
    EXPECT_GT(boldInk, ink(L"E") * 21 / 20);
    Show(kColors);
    EXPECT_FALSE(bold(L"6"));
    // One that changes nothing ends the marks all the same.
    Import(hSheet, ID_IMPORT_V8, Table("third.csv", "%section,Colors\r\nColor,DWGOutputColor\r\n6,7\r\n"));
    driver::Settle(hSheet);
    Show(kLevels);
    EXPECT_FALSE(bold(L"C"));
}
