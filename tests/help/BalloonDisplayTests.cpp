// The balloon on real windows: its shape and position for a point, and the
// hover, leave and click behaviour driven with the real cursor.
#include "help/CVNToolTipCtrl.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

// Dispatches this thread's messages until `done` holds or `ms` pass.
template <typename Condition>
bool PumpUntil(Condition done, int ms) {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < DWORD(ms);) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done())
            return true;
        ::Sleep(5);
    }
    return done();
}

class BalloonDisplayTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 100, 100, 300, 100, nullptr,
                                      nullptr));
        ASSERT_TRUE(m_save.CreateEx(0, L"BUTTON", L"&Save", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, m_parent.m_hWnd,
                                    HMENU(IDOK)));
        ASSERT_TRUE(m_help.Create(&m_parent, VNTT_BALLOON, 8, nullptr));
        m_help.AddTool(&m_save, IDS_HELP_SAVE, IDI_VARNEL);
    }
    void TearDown() override {
        m_help.DestroyWindow();
        m_parent.DestroyWindow();
    }

    RECT WindowRect() const {
        RECT rc;
        ::GetWindowRect(m_help.m_hWnd, &rc);
        return rc;
    }
    POINT SaveCentre() const {
        RECT rc;
        ::GetWindowRect(m_save.m_hWnd, &rc);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    // A mouse move over the Save button, as the dialog's loop passes it on.
    void RelayMouseMove(HWND hWnd, POINT ptScreen) {
        ASSERT_TRUE(::SetCursorPos(ptScreen.x, ptScreen.y));
        MSG msg{hWnd, WM_MOUSEMOVE, 0, 0, ::GetTickCount(), ptScreen};
        m_help.RelayEvent(&msg);
    }

    CWnd m_parent, m_save;
    CVNToolTipCtrl m_help;
};

TEST_F(BalloonDisplayTest, ShowAtShapesTheWindowAndPutsTheStemTipOnThePoint) {
    ASSERT_TRUE(m_help.ArmTool(m_save.m_hWnd));
    EXPECT_TRUE(m_help.IsArmed());
    EXPECT_EQ(m_help.GetText(), u"<H>Save<D>Saves the changes and closes the window.");

    // Far from the top-left screen edges: the balloon opens left and above,
    // its bottom edge 10 pixels below the point, the stem at its right end.
    const POINT pt = {700, 500};
    m_help.ShowAt(pt);
    EXPECT_FALSE(m_help.IsArmed());
    ASSERT_TRUE(::IsWindowVisible(m_help.m_hWnd));
    RECT rc = WindowRect();
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    EXPECT_EQ(rc.bottom, pt.y + 10);
    EXPECT_EQ(rc.right, pt.x + 12);
    EXPECT_GT(cx, 150);

    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(m_help.m_hWnd, hRgn), COMPLEXREGION);
    RECT box;
    ::GetRgnBox(hRgn, &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_GE(box.right, cx - 1);  // a rounded region ends a pixel short
    const int h = cy - 25;  // body height
    EXPECT_TRUE(::PtInRegion(hRgn, cx / 2, h / 2));             // body
    EXPECT_FALSE(::PtInRegion(hRgn, 0, 0));                     // rounded corner
    EXPECT_TRUE(::PtInRegion(hRgn, cx - 13, h + 10));           // stem, near its outer edge
    EXPECT_FALSE(::PtInRegion(hRgn, cx - 40, h + 10));          // beside the stem
    ::DeleteObject(hRgn);

    // The icon's room: without an icon the same text is 34 pixels narrower.
    const SIZE icon = m_help.GetIconSize();
    EXPECT_EQ(icon.cx, 32);
    EXPECT_EQ(icon.cy, 32);
    m_help.SetIcon(nullptr);
    m_help.ShowAt(pt);
    EXPECT_EQ(WindowRect().right - WindowRect().left, cx - 34);

    // Near the top-left corner: opens right and below, top edge 10 above.
    m_help.ShowAt({30, 20});
    EXPECT_EQ(WindowRect().left, 30 - 12);
    EXPECT_EQ(WindowRect().top, 20 - 10);
}

TEST_F(BalloonDisplayTest, RestingOnAToolShowsTheBalloonAndLeavingHidesIt) {
    const POINT centre = SaveCentre();
    RelayMouseMove(m_save.m_hWnd, centre);
    ASSERT_TRUE(m_help.IsArmed());
    RECT rcSave;
    ::GetWindowRect(m_save.m_hWnd, &rcSave);
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
    // The button is near the screen's left edge: the balloon opens to the
    // right, and above (the body is shorter than the button's y).
    EXPECT_EQ(WindowRect().bottom, centre.y + 10);
    EXPECT_EQ(WindowRect().left, centre.x - 12);

    // Moves on the shown tool change nothing; leaving it hides the balloon.
    RelayMouseMove(m_save.m_hWnd, {centre.x + 1, centre.y});
    EXPECT_TRUE(::IsWindowVisible(m_help.m_hWnd));
    ASSERT_TRUE(::SetCursorPos(rcSave.right + 50, centre.y));
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowVisible(m_help.m_hWnd); }, 1000));
    EXPECT_TRUE(::IsRectEmpty(&m_help.GetToolRect()));
}

TEST_F(BalloonDisplayTest, AClickOnTheBalloonHidesItAndThePollClearsTheToolLater) {
    const POINT centre = SaveCentre();
    RelayMouseMove(m_save.m_hWnd, centre);
    // The show timer's work, without waiting for the delay.
    m_help.SendMessage(WM_TIMER, VNTT_TIMER_SHOW);
    ASSERT_TRUE(::IsWindowVisible(m_help.m_hWnd));

    m_help.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    EXPECT_FALSE(::IsWindowVisible(m_help.m_hWnd));
    EXPECT_FALSE(::IsRectEmpty(&m_help.GetToolRect()));  // still polling

    // Resting on the tool again does not bring it back before the cursor left.
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

}  // namespace
