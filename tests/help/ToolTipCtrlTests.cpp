// The help control on real windows, with the string table linked into this
// executable: registration, texts, the balloon's shape and position, and
// the hover, leave and click behaviour driven with the real cursor.
#include "help/CVNToolTipCtrl.h"

#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

// Dispatches this thread's messages until `done` holds or `ms` pass.
template <typename Condition>
bool PumpUntil(Condition done, int ms) {
    return driver::WaitUntil([&] {
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            ::DispatchMessageW(&msg);
        return done();
    }, ms);
}

// A visible top-level window with Save and Cancel buttons; the fixture's
// balloon is created for it and knows the Save button.
class ToolTipCtrlTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, L"STATIC", L"p", WS_POPUP | WS_VISIBLE, 100, 100, 300, 100, nullptr, nullptr));
        ASSERT_TRUE(m_save.CreateEx(0, L"BUTTON", L"&Save", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, m_parent.m_hWnd,
                                    HMENU(IDOK)));
        ASSERT_TRUE(m_cancel.CreateEx(0, L"BUTTON", L"Cancel", WS_CHILD, 100, 10, 80, 24, m_parent.m_hWnd,
                                      HMENU(IDCANCEL)));
        ASSERT_TRUE(m_help.Create(&m_parent, VNTT_BALLOON, 8, nullptr));
        m_help.AddTool(&m_save, IDS_HELP_SAVE, IDI_VARNEL);
    }
    void TearDown() override {
        m_help.DestroyWindow();
        m_parent.DestroyWindow();
    }
    RECT Rect(HWND hWnd) const {
        RECT rc;
        ::GetWindowRect(hWnd, &rc);
        return rc;
    }
    // A mouse move at ptScreen over hWnd, as the dialog's loop passes it on.
    void RelayMouseMove(HWND hWnd, POINT ptScreen) {
        ASSERT_TRUE(::SetCursorPos(ptScreen.x, ptScreen.y));
        MSG msg{hWnd, WM_MOUSEMOVE, 0, 0, ::GetTickCount(), ptScreen};
        m_help.RelayEvent(&msg);
    }

    CWnd m_parent, m_save, m_cancel;
    CVNToolTipCtrl m_help;
};

TEST_F(ToolTipCtrlTest, CreateMakesAHiddenOwnedWindowOnlyForAParent) {
    CVNToolTipCtrl help;
    EXPECT_FALSE(help.Create(nullptr, VNTT_BALLOON, 8, nullptr));
    EXPECT_EQ(help.GetSafeHwnd(), nullptr);
    HWND hWnd = m_help.GetSafeHwnd();
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    EXPECT_EQ(::GetWindow(hWnd, GW_OWNER), m_parent.m_hWnd);
    // A parent object whose window does not exist yet gives an unowned popup.
    CWnd notYetShown;
    ASSERT_TRUE(help.Create(&notYetShown, VNTT_BALLOON, 8, nullptr));
    EXPECT_EQ(::GetWindow(help.GetSafeHwnd(), GW_OWNER), nullptr);
    help.DestroyWindow();
}

TEST_F(ToolTipCtrlTest, TextsComeFromTheStringTableOrForEmptyOnesFromTheProvider) {
    // Unregistered, windowless and null controls have no description, and
    // registering them does nothing.
    CWnd windowless;
    m_help.AddTool(&windowless, IDS_HELP_SAVE, IDI_VARNEL);
    m_help.AddTool(nullptr, IDS_HELP_SAVE, IDI_VARNEL);
    for (CWnd* pWnd : {&m_parent, &windowless, static_cast<CWnd*>(nullptr)})
        EXPECT_EQ(m_help.GetToolDescription(pWnd), u"");
    EXPECT_EQ(m_help.GetToolDescription(static_cast<HWND>(nullptr)), u"");

    struct CountingProvider : CVNToolTextProvider {
        void FillToolText(ToolRecord* pRecord) override {
            ++m_nCalls;
            pRecord->text = CString(u"<H>Supplied<D>From the provider");
        }
        int m_nCalls = 0;
    } provider;
    CVNToolTipCtrl help;
    ASSERT_TRUE(help.Create(&m_parent, VNTT_BALLOON, 8, &provider));
    help.AddTool(&m_save, IDS_HELP_SAVE, IDI_VARNEL);
    help.AddTool(&m_cancel, 4999, IDI_VARNEL);  // no such string: empty text
    EXPECT_EQ(help.GetToolDescription(&m_save), u"Saves the changes and closes the window.");
    EXPECT_EQ(provider.m_nCalls, 0);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(help.GetToolDescription(m_cancel.m_hWnd), u"From the provider");
    EXPECT_EQ(provider.m_nCalls, 2);  // the filled copy is never stored
    help.DestroyWindow();
}

TEST_F(ToolTipCtrlTest, ShowAtShapesTheWindowAndPutsTheStemTipOnThePoint) {
    ASSERT_TRUE(m_help.ArmTool(m_save.m_hWnd));
    EXPECT_EQ(m_help.GetText(), u"<H>Save<D>Saves the changes and closes the window.");
    // Far from the top-left screen edges: the balloon opens left and above.
    m_help.ShowAt({700, 500});
    EXPECT_FALSE(m_help.IsArmed());
    ASSERT_TRUE(::IsWindowVisible(m_help.m_hWnd));
    RECT rc = Rect(m_help.m_hWnd);
    const int cx = rc.right - rc.left, h = rc.bottom - rc.top - 25;  // body height
    EXPECT_EQ(rc.right, 700 + 12);  // the stem's tip on the point
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(m_help.m_hWnd, hRgn), COMPLEXREGION);
    EXPECT_TRUE(::PtInRegion(hRgn, cx / 2, h / 2));     // body
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));             // rounded corner
    EXPECT_TRUE(::PtInRegion(hRgn, cx - 13, h + 10));   // stem, near its outer edge
    EXPECT_FALSE(::PtInRegion(hRgn, cx - 40, h + 10));  // beside the stem
    ::DeleteObject(hRgn);
    // The icon's room: without an icon the same text is 34 pixels narrower.
    EXPECT_EQ(m_help.GetIconSize().cx, 32);
    m_help.SetIcon(nullptr);
    m_help.ShowAt({700, 500});
    EXPECT_EQ(Rect(m_help.m_hWnd).right - Rect(m_help.m_hWnd).left, cx - 34);
}

TEST_F(ToolTipCtrlTest, RestingOnAToolShowsTheBalloonAndLeavingHidesIt) {
    const RECT rcSave = Rect(m_save.m_hWnd);
    const POINT centre = {(rcSave.left + rcSave.right) / 2, (rcSave.top + rcSave.bottom) / 2};
    RelayMouseMove(m_save.m_hWnd, centre);
    ASSERT_TRUE(m_help.IsArmed());
    EXPECT_TRUE(::EqualRect(&m_help.GetToolRect(), &rcSave));
    // Moving off the tool before the delay disarms it; coming back re-arms.
    RelayMouseMove(m_parent.m_hWnd, {rcSave.right + 50, centre.y});
    EXPECT_FALSE(m_help.IsArmed());
    EXPECT_TRUE(::IsRectEmpty(&m_help.GetToolRect()));
    RelayMouseMove(m_save.m_hWnd, centre);
    ASSERT_TRUE(m_help.IsArmed());
    // After the hover delay the balloon shows with its tip at the cursor.
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(m_help.m_hWnd); }, 3000));
    EXPECT_FALSE(m_help.IsArmed());
    EXPECT_EQ(Rect(m_help.m_hWnd).left, centre.x - 12);
    // Moves on the shown tool change nothing; leaving it hides the balloon.
    RelayMouseMove(m_save.m_hWnd, {centre.x + 1, centre.y});
    EXPECT_TRUE(::IsWindowVisible(m_help.m_hWnd));
    ASSERT_TRUE(::SetCursorPos(rcSave.right + 50, centre.y));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(m_help.m_hWnd); }, 1000));
    EXPECT_TRUE(::IsRectEmpty(&m_help.GetToolRect()));

    // A click on the shown balloon hides it; the poll clears the tool only
    // once the cursor has left, and resting on it meanwhile does not re-arm.
    RelayMouseMove(m_save.m_hWnd, centre);
    m_help.SendMessage(WM_TIMER, VNTT_TIMER_SHOW);  // the show timer's work, without the delay
    ASSERT_TRUE(::IsWindowVisible(m_help.m_hWnd));
    m_help.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    EXPECT_FALSE(::IsWindowVisible(m_help.m_hWnd));
    EXPECT_FALSE(::IsRectEmpty(&m_help.GetToolRect()));
    RelayMouseMove(m_save.m_hWnd, centre);
    EXPECT_FALSE(m_help.IsArmed());
    ASSERT_TRUE(::SetCursorPos(centre.x, centre.y + 200));
    ASSERT_TRUE(PumpUntil([&] { return ::IsRectEmpty(&m_help.GetToolRect()); }, 1000));
    // A click on the tool while the balloon waits cancels it.
    RelayMouseMove(m_save.m_hWnd, centre);
    ASSERT_TRUE(m_help.IsArmed());
    MSG click{m_save.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0, ::GetTickCount(), centre};
    m_help.RelayEvent(&click);
    EXPECT_FALSE(m_help.IsArmed());
}

// Notes: a control whose right half has a note of its own (as a list's
// marked cell has) and whose state may have one.
struct HalfNotes : CVNToolNotes {
    explicit HalfNotes(HWND hWnd) : m_hWnd(hWnd) {}
    bool NoteAt(POINT ptScreen, ToolNote& note, RECT& rcSpot) const override {
        ::GetWindowRect(m_hWnd, &rcSpot);
        rcSpot.left = (rcSpot.left + rcSpot.right) / 2;
        note = {u"x<y>", {u"\"<\" and \">\" are not allowed", u"second line"}};
        return ::PtInRect(&rcSpot, ptScreen);
    }
    bool CurrentNote(ToolNote& note) const override {
        note = {u"", {u"first <D> reason", u"second"}};
        return true;
    }
    HWND m_hWnd;
};

TEST_F(ToolTipCtrlTest, NotesTakeThePlaceOfTheHelpTextWhereTheyHold) {
    HalfNotes notes(m_save.m_hWnd);
    m_help.SetToolNotes(&m_save, &notes);
    EXPECT_EQ(m_help.GetToolDescription(&m_save), u"first <D> reason\r\nsecond");  // as they are, no markup
    const RECT rcSave = Rect(m_save.m_hWnd);
    const int y = (rcSave.top + rcSave.bottom) / 2;
    RelayMouseMove(m_save.m_hWnd, {rcSave.left + 5, y});
    EXPECT_TRUE(::EqualRect(&m_help.GetToolRect(), &rcSave));
    // Onto the note's spot: armed for the note, over the spot only.
    RelayMouseMove(m_save.m_hWnd, {rcSave.right - 5, y});
    EXPECT_EQ(m_help.GetToolRect().left, (rcSave.left + rcSave.right) / 2);
    m_help.SendMessage(WM_TIMER, VNTT_TIMER_SHOW);
    ASSERT_TRUE(::IsWindowVisible(m_help.m_hWnd));
    EXPECT_EQ(m_help.GetWindowText(), u"x<y>\r\n\"<\" and \">\" are not allowed\r\nsecond line");
    // Shown, back onto the help text's part: it takes the note's place at once.
    RelayMouseMove(m_save.m_hWnd, {rcSave.left + 5, y});
    EXPECT_FALSE(::IsWindowVisible(m_help.m_hWnd));
    EXPECT_EQ(m_help.GetText(), u"<H>Save<D>Saves the changes and closes the window.");
    // Registering the control again leaves it without notes.
    m_help.AddTool(&m_save, IDS_HELP_SAVE, IDI_VARNEL);
    EXPECT_EQ(m_help.GetToolDescription(&m_save), u"Saves the changes and closes the window.");
}

}  // namespace
