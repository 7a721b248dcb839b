// Checks the resources compiled into this executable (the same object that
// Varnel.dll links): texts, menu, dialog templates, icons and manifest.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resource.h"

namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

std::u16string FromWide(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

struct StringEntry {
    UINT id;
    const char16_t* text;
};

const StringEntry kStrings[] = {
    {1000, u"&About Varnel..."},
    {1001, u"&Save"},
    {1002, u"&Cancel"},
    {1003, u"Commands Mapping"},
    {1005, u"Your changes will be lost. Do you wish to continue?"},
    {1006, u"MicroStation"},
    {1007, u"AutoCAD"},
    {1008, u"Aliases"},
    {1009, u"Mapping Commands"},
    {1010, u"Colors"},
    {1011, u"Line Types/Styles"},
    {1012, u"Blocks/Cells"},
    {1013, u"Line Weights"},
    {1014, u"MicroStation Synonyms"},
    {1015, u"MicroStation Commands"},
    {1016, u"Focus Item Description:"},
    {1017, u"This will delete %d items from the list.\nDo you want to continue with this operation?"},
    {1018, u"Select File"},
    {1019, u"This is not a recognized MicroStation generated file."},
    {1020, u"Cannot read file: Access denied.\nMake sure this file is not opened in another process and try again."},
    {5001, u"<H>Save<D>Saves the changes and closes the window."},
    {5002, u"<H>Cancel<D>Closes the dialog without applying changes."},
    {5003, u"<H>Line Weights Mapping List<D>This list contains mappings for Line Weights from MicroStation to AutoCAD"},
    {5004, u"<H>Line Weights Mapping Insert<D>Inserts a new row or updates the selected row with the active Line Weights settings."},
    {5005, u"<H>Line Weights Mapping Delete<D>Deletes the selected row(s) from the Line Weights mapping list."},
    {5006, u"<H>MicroStation Weights<D>Defines the active MicroStation Line Weight."},
    {5007, u"<H>AutoCAD Line Weights<D>Defines the active AutoCAD Line Weight."},
    {5008, u"<H>Colors Mapping List<D>This list contains color mapping from MicroStation to AutoCAD"},
    {5009, u"<H>Colors Mapping Insert<D>Inserts a new row or updates the selected row with the active Color settings."},
    {5010, u"<H>Colors Mapping Delete<D>Deletes the selected row(s) from the Colors Mapping list."},
    {5011, u"<H>MicroStation Colors<D>Defines the active MicroStation Color."},
    {5012, u"<H>AutoCAD Colors<D>Defines the active AutoCAD Color."},
    {5013, u"<H>Aliases Mapping List<D>This list contains all known equivalents to existing MicroStation commands."},
    {5014, u"<H>Aliases Mapping Insert<D>Inserts a new row or updates the selected row with the active Aliases."},
    {5015, u"<H>Aliases Mapping Delete Aliases<D>Deletes the selected row(s) from the Alias mappings list."},
    {5016, u"<H>Aliases Synonym Command<D>Defines the original MicroStation Command."},
    {5017, u"<H>Aliases MicroStation Command<D>Defines one or more synonyms or aliases for the active MicroStation Command."},
    {5018, u"<H>Mapping Commands List<D>This list contains command mappings from AutoCAD to MicroStation."},
    {5019, u"<H>Mapping Commands Insert<D>Inserts a new row or updates the selected row with the active Command settings."},
    {5020, u"<H>Mappings Commands Delete<D>Deletes the selected row(s) from the Mapping Commands list."},
    {5021, u"<H>AutoCAD Mapping Commands<D>Defines the active AutoCAD Mapping Command."},
    {5022, u"<H>MicroStation Mapping Command<D>Defines the active MicroStation Mapping Command."},
    {5023, u"<H>Line Styles Mapping List<D>This list contains mappings for MicroStation Line Styles into AutoCAD Line Types."},
    {5024, u"<H>Line Styles Mapping Insert<D>Inserts a new row or updates the selected row with the active Line Style / Line Type."},
    {5025, u"<H>Line Styles Mapping Delete<D>Deletes the selected row(s) from the Line Styles / Types Mapping list."},
    {5026, u"<H>AutoCAD Line Type<D>Defines the active AutoCAD Line Type."},
    {5027, u"<H>MicroStation Line Style<D>Defines the active MicroStation Line Style."},
    {5028, u"<H>Blocks/Cells Mapping List<D>This list contains mappings from MicroStation Cell Names into AutoCAD Block Names."},
    {5029, u"<H>Blocks/Cells Mapping Insert<D>Inserts a new row or updates the selected row with the active Cell / Block Name."},
    {5030, u"<H>Blocks/Cells Mapping Delete<D>Deletes the selected row(s) from the Cells Mapping list."},
    {5031, u"<H>AutoCAD Block<D>Defines the AutoCAD Block Name."},
    {5032, u"<H>MicroStation Cell<D>Defines the MicroStation Cell Name."},
    {5033, u"<H>Layers/Levels Mapping List<D>This list contains mappings from MicroStation Levels into AutoCAD Layers."},
    {5034, u"<H>Layers/Levels Mapping Insert<D>Inserts a new row or updates the selected row with the active Level / Layer Name."},
    {5035, u"<H>Layers/Levels Mapping Delete<D>Deletes the selected row(s) from the Levels / Layers Mapping list."},
    {5036, u"<H>AutoCAD Layer<D>Defines the AutoCAD Layer Name."},
    {5037, u"<H>MicroStation Level<D>Defines the MicroStation Level Name."},
};

TEST(Resources, EveryStringLoadsWithItsExactText) {
    for (const StringEntry& entry : kStrings) {
        const wchar_t* raw = nullptr;
        int length = LoadStringW(Module(), entry.id, reinterpret_cast<LPWSTR>(&raw), 0);
        ASSERT_GT(length, 0) << "string " << entry.id;
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(raw), size_t(length)), entry.text)
            << "string " << entry.id;
    }
    wchar_t buffer[8];
    EXPECT_EQ(LoadStringW(Module(), 1004, buffer, 8), 0);
    EXPECT_EQ(LoadStringW(Module(), 5038, buffer, 8), 0);
}

std::u16string MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, UINT(position), text, 128, MF_BYPOSITION);
    return FromWide(text);
}

TEST(Resources, SheetMenuHoldsFileImportAndTheTwoImportCommands) {
    HMENU bar = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_MENU_SHEET));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(MenuText(bar, 0), u"&File");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 1);
    EXPECT_EQ(MenuText(file, 0), u"&Import");
    HMENU import = GetSubMenu(file, 0);
    ASSERT_NE(import, nullptr);
    ASSERT_EQ(GetMenuItemCount(import), 2);
    EXPECT_EQ(MenuText(import, 0), u"MicroStation v&7 Mapping Table");
    EXPECT_EQ(GetMenuItemID(import, 0), UINT(ID_IMPORT_V7));
    EXPECT_EQ(MenuText(import, 1), u"MicroStation v&8 Mapping Table");
    EXPECT_EQ(GetMenuItemID(import, 1), UINT(ID_IMPORT_V8));
    DestroyMenu(bar);
}

// A dialog template as stored (DLGTEMPLATEEX), read field by field.
struct ItemTemplate {
    DWORD exStyle = 0, style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::u16string className;  // lower case; predefined classes by name
    std::u16string text;
};

struct DialogTemplate {
    DWORD exStyle = 0, style = 0;
    short cx = 0, cy = 0;
    std::u16string caption, fontName;
    WORD fontSize = 0;
    std::vector<ItemTemplate> items;
};

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_p(data), m_start(data) {}
    WORD Word() { WORD w; memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, m_p, 4); m_p += 4; return d; }
    short Short() { return short(Word()); }
    std::u16string String() {
        std::u16string s;
        for (WORD c = Word(); c != 0; c = Word()) s += char16_t(c);
        return s;
    }
    // A name or an ordinal (0xFFFF then the number); ordinals become "#n".
    std::u16string NameOrOrdinal() {
        WORD first;
        memcpy(&first, m_p, 2);
        if (first == 0xFFFF) { Word(); return u"#" + Number(Word()); }
        return String();
    }
    void AlignDword() { while ((m_p - m_start) % 4) ++m_p; }

private:
    static std::u16string Number(unsigned n) {
        std::string s = std::to_string(n);
        return std::u16string(s.begin(), s.end());
    }
    const BYTE* m_p;
    const BYTE* m_start;
};

std::u16string Lower(std::u16string s) {
    for (char16_t& c : s) if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    return s;
}

std::u16string ClassName(const std::u16string& raw) {
    if (raw == u"#128") return u"button";
    if (raw == u"#129") return u"edit";
    if (raw == u"#130") return u"static";
    if (raw == u"#133") return u"combobox";
    return Lower(raw);
}

DialogTemplate LoadTemplate(UINT id) {
    DialogTemplate dlg;
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!found) return dlg;
    TemplateReader in(static_cast<const BYTE*>(LockResource(LoadResource(Module(), found))));
    if (in.Word() != 1 || in.Word() != 0xFFFF) return dlg;  // version 1, extended form
    in.Dword();                                            // help id
    dlg.exStyle = in.Dword();
    dlg.style = in.Dword();
    WORD count = in.Word();
    in.Short(), in.Short();
    dlg.cx = in.Short();
    dlg.cy = in.Short();
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // class
    dlg.caption = in.String();
    if (dlg.style & DS_SETFONT) {
        dlg.fontSize = in.Word();
        in.Word();        // weight
        in.Word();        // italic and character set
        dlg.fontName = in.String();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        ItemTemplate item;
        in.Dword();  // help id
        item.exStyle = in.Dword();
        item.style = in.Dword();
        item.x = in.Short(), item.y = in.Short(), item.cx = in.Short(), item.cy = in.Short();
        item.id = in.Dword();
        item.className = ClassName(in.NameOrOrdinal());
        item.text = in.NameOrOrdinal();
        WORD extra = in.Word();
        for (WORD b = 0; b < extra; b += 2) in.Word();
        dlg.items.push_back(item);
    }
    return dlg;
}

struct PageFacts {
    UINT id;
    const char16_t* caption;
    const char16_t* label;
    bool combos;
};

const PageFacts kPages[] = {
    {IDD_PAGE_WEIGHTS, u"Line Weights", u"Defined Line Weights:", true},
    {IDD_PAGE_COLORS, u"Colors", u"Defined Colors:", true},
    {IDD_PAGE_LINESTYLES, u"Line Styles", u"Defined Line Styles:", false},
    {IDD_PAGE_ALIASES, u"Aliases", u"Defined Aliases:", false},
    {IDD_PAGE_MAPCMD, u"Mapping Commands", u"Defined Mapping Commands:", false},
    {IDD_PAGE_CELLS, u"Blocks / Cells", u"Defined Blocks/Cells:", false},
    {IDD_PAGE_LEVELS, u"Layers / Levels", u"Defined Layers/Levels:", false},
};

void ExpectItem(const ItemTemplate& item, DWORD id, const char16_t* className, DWORD style, DWORD exStyle,
                short x, short y, short cx, short cy, const char16_t* text) {
    SCOPED_TRACE(testing::Message() << "control " << id);
    EXPECT_EQ(item.id, id);
    EXPECT_EQ(item.className, className);
    EXPECT_EQ(item.style, style);
    EXPECT_EQ(item.exStyle, exStyle);
    EXPECT_EQ(item.x, x);
    EXPECT_EQ(item.y, y);
    EXPECT_EQ(item.cx, cx);
    EXPECT_EQ(item.cy, cy);
    EXPECT_EQ(item.text, text);
}

TEST(Resources, PageTemplatesHaveTheCommonLayout) {
    for (const PageFacts& page : kPages) {
        SCOPED_TRACE(testing::Message() << "template " << page.id);
        DialogTemplate dlg = LoadTemplate(page.id);
        EXPECT_EQ(dlg.caption, page.caption);
        EXPECT_EQ(dlg.fontName, u"Verdana");
        EXPECT_EQ(dlg.fontSize, 10);
        EXPECT_EQ(dlg.cx, 302);
        EXPECT_EQ(dlg.cy, 153);
        EXPECT_EQ(dlg.style, 0x80C800C0u);
        EXPECT_EQ(dlg.exStyle, 0u);
        ASSERT_EQ(dlg.items.size(), 6u);
        ExpectItem(dlg.items[0], IDC_PAGE_LABEL, u"static", 0x50020000, 0, 7, 7, 234, 11, page.label);
        ExpectItem(dlg.items[1], IDC_LIST, u"syslistview32", 0x50810009, 0x220, 7, 20, 234, 108, u"");
        if (page.combos) {
            ExpectItem(dlg.items[2], IDC_COMBO1, u"combobox", 0x50210003, 0, 7, 132, 115, 73, u"");
            ExpectItem(dlg.items[3], IDC_COMBO2, u"combobox", 0x50210003, 0, 126, 132, 115, 73, u"");
        } else {
            ExpectItem(dlg.items[2], IDC_EDIT1, u"edit", 0x50810080, 0, 7, 132, 115, 14, u"");
            ExpectItem(dlg.items[3], IDC_EDIT2, u"edit", 0x50810080, 0, 126, 132, 115, 14, u"");
        }
        ExpectItem(dlg.items[4], IDC_INSERT, u"button", 0x50010000, 0, 245, 96, 50, 14, u"&Insert");
        ExpectItem(dlg.items[5], IDC_DELETE, u"button", 0x50010000, 0, 245, 114, 50, 14, u"&Delete");
    }
}

TEST(Resources, AboutDialogNamesTheLibrary) {
    DialogTemplate dlg = LoadTemplate(IDD_ABOUTBOX);
    EXPECT_EQ(dlg.caption, u"About Varnel");
    bool hasVersion = false, hasOk = false;
    for (const ItemTemplate& item : dlg.items) {
        hasVersion |= item.text == u"Varnel v1.0";
        hasOk |= item.id == IDOK && item.text == u"OK";
    }
    EXPECT_TRUE(hasVersion);
    EXPECT_TRUE(hasOk);
}

// The templates are written as captioned popups; the property sheet must
// still turn every one into a child page whose tab shows the caption.
TEST(Resources, PropertySheetMakesEachTemplateAChildPageWithItsCaptionAsTab) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    PROPSHEETPAGEW pages[std::size(kPages)] = {};
    for (size_t i = 0; i < std::size(kPages); ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].hInstance = Module();
        pages[i].pszTemplate = MAKEINTRESOURCEW(kPages[i].id);
        pages[i].pfnDlgProc = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.hInstance = Module();
    header.pszCaption = L"Commands Mapping";
    header.nPages = UINT(std::size(kPages));
    header.ppsp = pages;
    HWND sheet = HWND(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);

    HWND tabs = PropSheet_GetTabControl(sheet);
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), int(std::size(kPages)));
    for (size_t i = 0; i < std::size(kPages); ++i) {
        SCOPED_TRACE(testing::Message() << "template " << kPages[i].id);
        wchar_t text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        TabCtrl_GetItem(tabs, int(i), &item);
        EXPECT_EQ(FromWide(text), kPages[i].caption);

        PropSheet_SetCurSel(sheet, nullptr, int(i));
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        ASSERT_NE(page, nullptr);
        LONG_PTR style = GetWindowLongPtrW(page, GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION));
        EXPECT_EQ(GetParent(page), sheet);
        EXPECT_NE(GetDlgItem(page, IDC_LIST), nullptr);
    }
    DestroyWindow(sheet);
}

TEST(Resources, IconsAndManifestArePresent) {
    for (UINT id : {IDI_VARNEL, IDI_SHEET}) {
        for (int size : {16, 32}) {
            HICON icon = HICON(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(icon, nullptr) << "icon " << id << " at " << size;
            if (icon) DestroyIcon(icon);
        }
    }

    HRSRC manifest = FindResourceW(Module(), MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    std::string xml(static_cast<const char*>(LockResource(LoadResource(Module(), manifest))),
                    SizeofResource(Module(), manifest));
    EXPECT_NE(xml.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(xml.find("version=\"6.0.0.0\""), std::string::npos);

    // The manifest must parse into an activation context.
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(Module(), path, MAX_PATH);
    ACTCTXW context = {};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path;
    context.hModule = Module();
    context.lpResourceName = MAKEINTRESOURCEW(2);
    HANDLE handle = CreateActCtxW(&context);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    ReleaseActCtx(handle);
}

}  // namespace
