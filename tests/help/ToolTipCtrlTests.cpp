// The help control on real windows, with the string table linked into this
// executable (the resource module of the framework code).
#include "help/CVNToolTipCtrl.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

// A top-level window with two child buttons, destroyed with the fixture.
class ToolTipCtrlTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(m_save.CreateEx(0, L"BUTTON", L"&Save", WS_CHILD, 0, 0, 50, 20, m_parent.m_hWnd, HMENU(IDOK)));
        ASSERT_TRUE(m_cancel.CreateEx(0, L"BUTTON", L"Cancel", WS_CHILD, 60, 0, 50, 20, m_parent.m_hWnd,
                                      HMENU(IDCANCEL)));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CWnd m_parent, m_save, m_cancel;
};

TEST_F(ToolTipCtrlTest, CreateMakesAHiddenOwnedToolWindowOnlyForAParent) {
    CVNToolTipCtrl help;
    EXPECT_FALSE(help.Create(nullptr, VNTT_BALLOON, 8, nullptr));
    EXPECT_EQ(help.GetSafeHwnd(), nullptr);

    ASSERT_TRUE(help.Create(&m_parent, VNTT_BALLOON, 8, nullptr));
    HWND hWnd = help.GetSafeHwnd();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    EXPECT_EQ(::GetWindow(hWnd, GW_OWNER), m_parent.m_hWnd);
    EXPECT_TRUE(::GetWindowLongPtrW(hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_POPUP);
    help.Hide();
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    EXPECT_TRUE(help.DestroyWindow());
    EXPECT_EQ(help.GetSafeHwnd(), nullptr);

    // A parent object whose window does not exist yet gives an unowned popup.
    CWnd notYetShown;
    CVNToolTipCtrl unowned;
    ASSERT_TRUE(unowned.Create(&notYetShown, VNTT_BALLOON, 8, nullptr));
    EXPECT_EQ(::GetWindow(unowned.GetSafeHwnd(), GW_OWNER), nullptr);
}

TEST_F(ToolTipCtrlTest, DescriptionsComeFromTheStringTableByWindow) {
    CVNToolTipCtrl help;
    help.AddTool(&m_save, IDS_HELP_SAVE, IDI_VARNEL);
    help.AddTool(&m_cancel, IDS_HELP_CANCEL, IDI_VARNEL);
    EXPECT_EQ(help.GetToolDescription(&m_save), u"Saves the changes and closes the window.");
    EXPECT_EQ(help.GetToolDescription(m_cancel.m_hWnd), u"Closes the dialog without applying changes.");

    // Registering a window again keeps one record with the later text.
    help.AddTool(&m_save, IDS_HELP_ALIASES_EDIT1, IDI_VARNEL);
    EXPECT_EQ(help.GetToolDescription(&m_save),
              u"Defines one or more synonyms or aliases for the active MicroStation Command.");

    // Unregistered, windowless and null controls have no description, and
    // registering them does nothing.
    CWnd windowless;
    help.AddTool(&windowless, IDS_HELP_SAVE, IDI_VARNEL);
    help.AddTool(nullptr, IDS_HELP_SAVE, IDI_VARNEL);
    EXPECT_EQ(help.GetToolDescription(&m_parent), u"");
    EXPECT_EQ(help.GetToolDescription(&windowless), u"");
    EXPECT_EQ(help.GetToolDescription(static_cast<CWnd*>(nullptr)), u"");
    EXPECT_EQ(help.GetToolDescription(static_cast<HWND>(nullptr)), u"");
}

class CountingProvider : public CVNToolTextProvider {
public:
    void FillToolText(ToolRecord* pRecord) override {
        ++m_nCalls;
        pRecord->text = CString(u"<H>Supplied<D>From the provider");
    }
    int m_nCalls = 0;
};

TEST_F(ToolTipCtrlTest, ProviderFillsOnlyEmptyTextsAndOnlyForOneAnswer) {
    CountingProvider provider;
    CVNToolTipCtrl help;
    ASSERT_TRUE(help.Create(&m_parent, VNTT_BALLOON, 8, &provider));
    help.AddTool(&m_save, IDS_HELP_SAVE, IDI_VARNEL);
    help.AddTool(&m_cancel, 4999, IDI_VARNEL);  // no such string: empty text

    EXPECT_EQ(help.GetToolDescription(&m_save), u"Saves the changes and closes the window.");
    EXPECT_EQ(provider.m_nCalls, 0);
    EXPECT_EQ(help.GetToolDescription(&m_cancel), u"From the provider");
    EXPECT_EQ(help.GetToolDescription(&m_cancel), u"From the provider");
    EXPECT_EQ(provider.m_nCalls, 2);  // the filled copy is never stored
    help.DestroyWindow();
}

}  // namespace
