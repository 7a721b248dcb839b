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

// "Class "text" (left,top)-(right,bottom)" for failure messages.
std::string Describe(HWND hWnd, HWND hParent) {
    RECT rc = RectIn(hWnd, hParent);
    return testing::PrintToString(ClassOf(hWnd) + L" " + driver::Text(hWnd)) + " (" + std::to_string(rc.left) + "," +
           std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," + std::to_string(rc.bottom) + ")";
}

// Inside hParent's client area and apart from each other: its visible
// controls (the sheet's pages, windows of their own, are checked one by one);
// and each static text, in its own font, fits its control.
void ExpectControlsApartAndTextsFit(HWND hParent, const std::string& where) {
    std::vector<HWND> controls;
    for (HWND h = ::GetWindow(hParent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (::IsWindowVisible(h) && ClassOf(h) != L"#32770")
            controls.push_back(h);
    RECT client, both;
    ::GetClientRect(hParent, &client);
    for (size_t i = 0; i < controls.size(); ++i) {
        RECT a = RectIn(controls[i], hParent);
        EXPECT_TRUE(::IntersectRect(&both, &a, &client) && ::EqualRect(&both, &a))
            << where << ": outside its window: " << Describe(controls[i], hParent);
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT b = RectIn(controls[j], hParent);
            EXPECT_FALSE(::IntersectRect(&both, &a, &b))
                << where << ": " << Describe(controls[i], hParent) << " overlaps " << Describe(controls[j], hParent);
        }
        const std::wstring text = driver::Text(controls[i]);
        if (ClassOf(controls[i]) != L"Static" || text.empty())
            continue;
        RECT room, needed = {};
        ::GetClientRect(controls[i], &room);
        HDC hDC = ::GetDC(controls[i]);
        HGDIOBJ hOld = ::SelectObject(hDC, HFONT(::SendMessageW(controls[i], WM_GETFONT, 0, 0)));
        ::DrawTextW(hDC, text.c_str(), int(text.size()), &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(hDC, hOld);
        ::ReleaseDC(controls[i], hDC);
        EXPECT_TRUE(needed.right <= room.right && needed.bottom <= room.bottom)
            << where << ": its text needs " << needed.right << " x " << needed.bottom << " pixels: "
            << Describe(controls[i], hParent);
    }
}

// Parent: each DPI in turn, in this test's own Wine prefix.
TEST(SheetDpi, LayoutAt100150And200Percent) {
    if (std::getenv("VARNEL_TEST_DPI"))
        GTEST_SKIP() << "child run";
    HKEY hKey;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &hKey, nullptr),
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
        ExpectControlsApartAndTextsFit(hPage, at + ", page " + std::to_string(tab));
        // The page lies on the tab control.
        RECT rcPage = RectIn(hPage, hSheet), rcTab = RectIn(PropSheet_GetTabControl(hSheet), hSheet), both;
        EXPECT_TRUE(::IntersectRect(&both, &rcPage, &rcTab) && ::EqualRect(&both, &rcPage)) << at << ", page " << tab;
    }
    ExpectControlsApartAndTextsFit(hSheet, at);

    // Bottom up: 4 pixels, the buttons, 8, the 60-pixel description, 4, the
    // 12-pixel label; 7-pixel side margins; all scaled by DPI/96.
    auto px = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };
    RECT client, outer = RectIn(hSheet, hSheet);
    ::GetClientRect(hSheet, &client);
    RECT ok = RectIn(::GetDlgItem(hSheet, IDOK), hSheet), cancel = RectIn(::GetDlgItem(hSheet, IDCANCEL), hSheet);
    RECT edit = RectIn(driver::DescriptionEdit(hSheet), hSheet), label = RectIn(driver::DescriptionLabel(hSheet), hSheet);
    const int width = outer.right - outer.left - 2 * px(7), buttonWidth = width / 6;
    const std::vector<int> placed = {ok.left, ok.right - ok.left, ok.bottom, cancel.right, cancel.right - cancel.left,
                                     cancel.top, edit.left, edit.right - edit.left, edit.top, edit.bottom - edit.top,
                                     label.top, label.bottom - label.top};
    const std::vector<int> designed = {outer.left + px(7), buttonWidth, client.bottom - px(4), outer.right - px(7),
                                       buttonWidth, ok.top, outer.left + px(7), width, ok.top - px(68), px(60),
                                       ok.top - px(84), px(12)};
    EXPECT_EQ(placed, designed) << at;
    run.Cancel(IDYES);
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
