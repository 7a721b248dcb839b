// Checks the resources compiled into this executable (the same object that
// Varnel.dll links): texts, menu, dialog templates, icons and manifest.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "resource.h"

// Win32 structures are filled by field name, the fields not named are zero.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }
INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::u16string LoadText(UINT id) {
    const wchar_t* raw = nullptr;
    int length = LoadStringW(Module(), id, reinterpret_cast<LPWSTR>(&raw), 0);
    return length > 0 ? std::u16string(reinterpret_cast<const char16_t*>(raw), size_t(length)) : u"";
}

TEST(Resources, StringTableHoldsEveryIdAndHelpTextsHaveTheirParts) {
    for (UINT id = 1000; id <= 5038; id = (id == 1020 ? 5001 : id + 1)) {
        const bool present = id != 1004 && id != 5038;
        EXPECT_EQ(LoadText(id).empty(), !present) << "string " << id;
        if (id > 5000 && present) {  // help texts: a header, then a description
            EXPECT_TRUE(LoadText(id).starts_with(u"<H>") && LoadText(id).find(u"<D>") != std::u16string::npos) << id;
        }
    }
    // The texts themselves are checked where the dialog shows them.
}

TEST(Resources, SheetMenuHasFileWithTheImportCommandsThenEditWithItsShortcuts) {
    HMENU bar = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MENU_SHEET));
    ASSERT_NE(bar, nullptr);
    HMENU import = GetSubMenu(GetSubMenu(bar, 0), 0);
    ASSERT_NE(import, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    ASSERT_EQ(GetMenuItemCount(import), 2);
    EXPECT_EQ(GetMenuItemID(import, 0), UINT(ID_IMPORT_V7));
    EXPECT_EQ(GetMenuItemID(import, 1), UINT(ID_IMPORT_V8));

    auto text = [](HMENU menu, UINT position) {
        wchar_t buffer[64] = {};
        GetMenuStringW(menu, position, buffer, 64, MF_BYPOSITION);
        return std::wstring(buffer);
    };
    EXPECT_EQ(text(bar, 0) + L"|" + text(bar, 1), L"&File|&Edit");
    HMENU edit = GetSubMenu(bar, 1);
    const std::pair<UINT, const wchar_t*> items[] = {{ID_EDIT_UNDO, L"&Undo\tCtrl+Z"},
                                                     {ID_EDIT_REDO, L"&Redo\tCtrl+Y"},
                                                     {ID_EDIT_FIND, L"&Find...\tCtrl+F"},
                                                     {ID_EDIT_FIND_NEXT, L"Find &Next\tF3"},
                                                     {ID_EDIT_SELECT_ALL, L"Select &All\tCtrl+A"}};
    ASSERT_EQ(GetMenuItemCount(edit), 5);
    for (UINT i = 0; i < 5; ++i) {
        EXPECT_EQ(GetMenuItemID(edit, int(i)), items[i].first);
        EXPECT_EQ(text(edit, i), items[i].second);
    }
    DestroyMenu(bar);
}

const struct PageFacts { UINT id; const wchar_t* caption; bool combos; } kPages[] = {
    {IDD_PAGE_WEIGHTS, L"Line Weights", true},  {IDD_PAGE_COLORS, L"Colors", true},
    {IDD_PAGE_LINESTYLES, L"Line Styles", false}, {IDD_PAGE_ALIASES, L"Aliases", false},
    {IDD_PAGE_MAPCMD, L"Mapping Commands", false}, {IDD_PAGE_CELLS, L"Blocks / Cells", false},
    {IDD_PAGE_LEVELS, L"Layers / Levels", false},
};

// The templates are written as captioned popups; the property sheet must
// still turn every one into a child page whose tab shows the caption.
TEST(Resources, PageTemplatesBecomeChildPagesWithTheirSizeCaptionAndControls) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    PROPSHEETPAGEW pages[std::size(kPages)] = {};
    for (size_t i = 0; i < std::size(kPages); ++i)
        pages[i] = {.dwSize = sizeof(PROPSHEETPAGEW), .hInstance = Module(),
                    .pszTemplate = MAKEINTRESOURCEW(kPages[i].id), .pfnDlgProc = NoDialogProc};
    PROPSHEETHEADERW header = {.dwSize = sizeof(header), .dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW,
                               .hInstance = Module(), .nPages = UINT(std::size(kPages)), .ppsp = pages};
    HWND sheet = HWND(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);
    HWND tabs = PropSheet_GetTabControl(sheet);
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), int(std::size(kPages)));
    for (size_t i = 0; i < std::size(kPages); ++i) {
        SCOPED_TRACE(testing::Message() << "template " << kPages[i].id);
        // DLGTEMPLATEEX: the width and height follow 22 bytes of header.
        HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(kPages[i].id), RT_DIALOG);
        ASSERT_NE(found, nullptr);
        const short* words = static_cast<const short*>(LockResource(LoadResource(Module(), found)));
        EXPECT_EQ(words[11], 302);
        EXPECT_EQ(words[12], 153);
        wchar_t text[64] = {};
        TCITEMW item = {.mask = TCIF_TEXT, .pszText = text, .cchTextMax = 64};
        TabCtrl_GetItem(tabs, int(i), &item);
        EXPECT_STREQ(text, kPages[i].caption);

        PropSheet_SetCurSel(sheet, nullptr, int(i));
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        ASSERT_NE(page, nullptr);
        LONG_PTR style = GetWindowLongPtrW(page, GWL_STYLE);
        EXPECT_TRUE((style & WS_CHILD) && !(style & (WS_POPUP | WS_CAPTION)));
        EXPECT_EQ(GetParent(page), sheet);
        for (int id : {IDC_PAGE_LABEL, IDC_LIST, IDC_INSERT, IDC_DELETE})
            EXPECT_NE(GetDlgItem(page, id), nullptr) << id;
        for (int id : {IDC_EDIT1, IDC_EDIT2, IDC_COMBO1, IDC_COMBO2})
            EXPECT_EQ(GetDlgItem(page, id) != nullptr, (id >= IDC_COMBO1) == kPages[i].combos) << id;
        // A plain report list in the template; the page makes it owner-data.
        const DWORD listStyle = DWORD(GetWindowLongPtrW(GetDlgItem(page, IDC_LIST), GWL_STYLE));
        EXPECT_EQ(listStyle & (LVS_TYPEMASK | LVS_SHOWSELALWAYS | LVS_OWNERDATA), DWORD(LVS_REPORT | LVS_SHOWSELALWAYS));
    }
    DestroyWindow(sheet);
}

TEST(Resources, AboutBoxIconsAndManifest) {
    HWND about = CreateDialogParamW(Module(), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, NoDialogProc, 0);
    ASSERT_NE(about, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(about, caption, 64);
    EXPECT_STREQ(caption, L"About Varnel");
    EXPECT_NE(GetDlgItem(about, IDOK), nullptr);
    DestroyWindow(about);

    for (UINT id : {IDI_VARNEL, IDI_SHEET})
        for (int size : {16, 32})
            EXPECT_TRUE(DestroyIcon(HICON(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0))))
                << "icon " << id << " at " << size;
    // The manifest asks for common controls v6 and parses into an activation context.
    HRSRC manifest = FindResourceW(Module(), MAKEINTRESOURCEW(IDR_MANIFEST), RT_MANIFEST);
    ASSERT_NE(manifest, nullptr);
    std::string xml(static_cast<const char*>(LockResource(LoadResource(Module(), manifest))),
                    SizeofResource(Module(), manifest));
    EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos) << xml;
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(Module(), path, MAX_PATH);
    ACTCTXW context = {.cbSize = sizeof(context),
                       .dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID,
                       .lpSource = path, .lpResourceName = MAKEINTRESOURCEW(IDR_MANIFEST), .hModule = Module()};
    HANDLE handle = CreateActCtxW(&context);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ReleaseActCtx(handle);
}

}  // namespace
