// The Commands Mapping sheet as a DPI-aware host sees it at 100%, 150% and
// 200%: no control of the sheet or of a page overlaps another, every static
// text fits its control, and the description area sits where its pixel
// constants, scaled by DPI/96, put it (at 96 DPI exactly the designed ones).
//
// The screen's DPI is read once per process, so the parent test sets it in
// the registry and runs this program again for each DPI; the child test
// does the checks.
#include "driver/SheetDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

int Scaled(int pixels, int dpi) { return ::MulDiv(pixels, dpi, 96); }

RECT RectIn(HWND hWnd, HWND hParent) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

std::wstring ClassOf(HWND hWnd) {
    wchar_t name[64] = {};
    ::GetClassNameW(hWnd, name, 64);
    return name;
}

std::wstring Describe(HWND hWnd, HWND hParent) {
    RECT rc = RectIn(hWnd, hParent);
    return ClassOf(hWnd) + L" \"" + driver::Text(hWnd) + L"\" (" + std::to_wstring(rc.left) + L"," +
           std::to_wstring(rc.top) + L")-(" + std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom) + L")";
}

// The visible controls directly inside hParent; the sheet's pages are
// windows of their own, checked one by one.
std::vector<HWND> VisibleControls(HWND hParent) {
    std::vector<HWND> controls;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::IsWindowVisible(h) && ClassOf(h) != L"#32770")
            controls.push_back(h);
    return controls;
}

void ExpectNoOverlap(HWND hParent, const char* where) {
    std::vector<HWND> controls = VisibleControls(hParent);
    RECT client;
    ::GetClientRect(hParent, &client);
    for (size_t i = 0; i < controls.size(); ++i) {
        RECT a = RectIn(controls[i], hParent), both;
        EXPECT_TRUE(a.left >= client.left && a.top >= client.top && a.right <= client.right &&
                    a.bottom <= client.bottom)
            << where << ": outside its window: " << testing::PrintToString(Describe(controls[i], hParent));
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT b = RectIn(controls[j], hParent);
            EXPECT_FALSE(::IntersectRect(&both, &a, &b))
                << where << ": " << testing::PrintToString(Describe(controls[i], hParent)) << " overlaps "
                << testing::PrintToString(Describe(controls[j], hParent));
        }
    }
}

// Every static text, in its own font, fits inside its control's client area.
void ExpectStaticTextsFit(HWND hParent, const char* where) {
    for (HWND hStatic : VisibleControls(hParent)) {
        if (ClassOf(hStatic) != L"Static" || driver::Text(hStatic).empty())
            continue;
        std::wstring text = driver::Text(hStatic);
        RECT client, needed = {0, 0, 0, 0};
        ::GetClientRect(hStatic, &client);
        HDC hDC = ::GetDC(hStatic);
        HGDIOBJ hOld = ::SelectObject(hDC, HFONT(::SendMessageW(hStatic, WM_GETFONT, 0, 0)));
        ::DrawTextW(hDC, text.c_str(), int(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(hStatic, hDC);
        EXPECT_LE(needed.right, client.right) << where << ": too narrow: " << testing::PrintToString(Describe(hStatic, hParent));
        EXPECT_LE(needed.bottom, client.bottom)
            << where << ": too low for its text (" << needed.bottom << " px): "
            << testing::PrintToString(Describe(hStatic, hParent));
    }
}

// Parent: each DPI in turn, in this test's own Wine prefix.
TEST(SheetDpi, LayoutAt100150And200Percent) {
    if (std::getenv("VARNEL_TEST_DPI"))
        GTEST_SKIP() << "child run";
    HKEY hKey;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr),
              ERROR_SUCCESS);
    DWORD saved = 0, size = sizeof(saved);
    const bool bHadValue = ::RegQueryValueExW(hKey, L"LogPixels", nullptr, nullptr, LPBYTE(&saved), &size) == ERROR_SUCCESS;
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (DWORD dpi : {96u, 144u, 192u}) {
        ::RegSetValueExW(hKey, L"LogPixels", 0, REG_DWORD, LPBYTE(&dpi), sizeof(dpi));
        ::SetEnvironmentVariableW(L"VARNEL_TEST_DPI", std::to_wstring(dpi).c_str());
        std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=SheetDpiChild.*";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                     &process));
        ::WaitForSingleObject(process.hProcess, 120000);
        DWORD code = 1;
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_EQ(code, 0u) << "at " << dpi << " DPI";
    }
    ::SetEnvironmentVariableW(L"VARNEL_TEST_DPI", nullptr);
    if (bHadValue)
        ::RegSetValueExW(hKey, L"LogPixels", 0, REG_DWORD, LPBYTE(&saved), sizeof(saved));
    else
        ::RegDeleteValueW(hKey, L"LogPixels");
    ::RegCloseKey(hKey);
}

// Child: one DPI, set by the parent.
TEST(SheetDpiChild, ControlsApartTextsFitAndTheDescriptionAreaScaled) {
    const char* setting = std::getenv("VARNEL_TEST_DPI");
    if (!setting)
        GTEST_SKIP() << "run by SheetDpi for each DPI";
    const int dpi = std::atoi(setting);
    ::SetProcessDPIAware();
    HDC hScreen = ::GetDC(nullptr);
    ASSERT_EQ(::GetDeviceCaps(hScreen, LOGPIXELSY), dpi);
    ::ReleaseDC(nullptr, hScreen);
    const std::string at = std::to_string(dpi) + " DPI";

    VarnelLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    std::string folder = MakeTempFolder(("dpi" + std::to_string(dpi)).c_str());
    DialogRun run(library, folder + "\\commands.mapping");
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);

    for (int tab = 0; tab < 7; ++tab) {
        HWND hPage = driver::SelectTab(hSheet, tab);
        ASSERT_TRUE(hPage);
        const std::string page = at + ", page " + std::to_string(tab);
        ExpectNoOverlap(hPage, page.c_str());
        ExpectStaticTextsFit(hPage, page.c_str());
        // The page lies on the tab control, below its tabs.
        RECT rcPage = RectIn(hPage, hSheet), rcTab = RectIn(PropSheet_GetTabControl(hSheet), hSheet), both;
        ::IntersectRect(&both, &rcPage, &rcTab);
        EXPECT_TRUE(::EqualRect(&both, &rcPage)) << page << ": the page leaves the tab control";
    }
    ExpectNoOverlap(hSheet, at.c_str());
    ExpectStaticTextsFit(hSheet, at.c_str());

    // Bottom up: 4 pixels, the buttons, 8, the 60-pixel description, 4, the
    // 12-pixel label; 7-pixel side margins; all scaled by DPI/96.
    RECT client, outer = RectIn(hSheet, hSheet);
    ::GetClientRect(hSheet, &client);
    RECT ok = RectIn(::GetDlgItem(hSheet, IDOK), hSheet), cancel = RectIn(::GetDlgItem(hSheet, IDCANCEL), hSheet);
    RECT edit = RectIn(driver::DescriptionEdit(hSheet), hSheet), label = RectIn(driver::DescriptionLabel(hSheet), hSheet);
    const int margin = Scaled(7, dpi), width = outer.right - outer.left, buttonWidth = (width - 2 * margin) / 6;
    EXPECT_EQ(ok.left, outer.left + margin) << at;
    EXPECT_EQ(ok.right - ok.left, buttonWidth) << at;
    EXPECT_EQ(ok.bottom, client.bottom - Scaled(4, dpi)) << at;
    EXPECT_EQ(cancel.right, outer.right - margin) << at;
    EXPECT_EQ(cancel.right - cancel.left, buttonWidth) << at;
    EXPECT_EQ(cancel.top, ok.top) << at;
    EXPECT_EQ(edit.top, ok.top - Scaled(68, dpi)) << at;
    EXPECT_EQ(edit.bottom - edit.top, Scaled(60, dpi)) << at;
    EXPECT_EQ(edit.left, outer.left + margin) << at;
    EXPECT_EQ(edit.right - edit.left, width - 2 * margin) << at;
    EXPECT_EQ(label.top, ok.top - Scaled(84, dpi)) << at;
    EXPECT_EQ(label.bottom - label.top, Scaled(12, dpi)) << at;
    run.Cancel(IDYES);
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
