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

// A dialog template as stored (DLGTEMPLATEEX). Each control is summed up in
// one line: "id class style exstyle x,y,cx,cy text", styles in hex.
struct DialogTemplate {
    DWORD exStyle = 0, style = 0;
    short cx = 0, cy = 0;
    std::u16string caption, fontName;
    WORD fontSize = 0;
    std::vector<std::string> items;
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
    // A name, or an ordinal (0xFFFF and a number) written as "#n".
    std::string NameOrOrdinal() {
        WORD first;
        memcpy(&first, m_p, 2);
        if (first == 0xFFFF) { Word(); return "#" + std::to_string(Word()); }
        std::string ascii;
        for (char16_t c : String()) ascii += char(c);
        return ascii;
    }
    void AlignDword() { while ((m_p - m_start) % 4) ++m_p; }

private:
    const BYTE* m_p;
    const BYTE* m_start;
};

// Predefined classes may be stored by ordinal or by name in any case.
std::string ClassName(std::string raw) {
    if (raw == "#128") return "button";
    if (raw == "#129") return "edit";
    if (raw == "#130") return "static";
    if (raw == "#133") return "combobox";
    for (char& c : raw) c = char(tolower(c));
    return raw;
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
        in.Dword();  // weight, italic, character set
        dlg.fontName = in.String();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        in.Dword();  // help id
        DWORD exStyle = in.Dword(), style = in.Dword();
        short x = in.Short(), y = in.Short(), cx = in.Short(), cy = in.Short();
        DWORD itemId = in.Dword();
        std::string className = ClassName(in.NameOrOrdinal());
        std::string text = in.NameOrOrdinal();
        for (WORD extra = in.Word(); extra > 0; extra -= 2) in.Word();
        char line[200];
        snprintf(line, sizeof line, "%lu %s %08lX %lX %d,%d,%d,%d %s", itemId, className.c_str(), style, exStyle,
                 x, y, cx, cy, text.c_str());
        dlg.items.push_back(line);
    }
    return dlg;
}

struct PageFacts {
    UINT id;
    const char16_t* caption;
    const char* label;
    bool combos;
};

const PageFacts kPages[] = {
    {IDD_PAGE_WEIGHTS, u"Line Weights", "Defined Line Weights:", true},
    {IDD_PAGE_COLORS, u"Colors", "Defined Colors:", true},
    {IDD_PAGE_LINESTYLES, u"Line Styles", "Defined Line Styles:", false},
    {IDD_PAGE_ALIASES, u"Aliases", "Defined Aliases:", false},
    {IDD_PAGE_MAPCMD, u"Mapping Commands", "Defined Mapping Commands:", false},
    {IDD_PAGE_CELLS, u"Blocks / Cells", "Defined Blocks/Cells:", false},
    {IDD_PAGE_LEVELS, u"Layers / Levels", "Defined Layers/Levels:", false},
};

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
        std::vector<std::string> expected = {
            std::string("503 static 50020000 0 7,7,234,11 ") + page.label,
            "510 syslistview32 50810009 220 7,20,234,108 ",
            page.combos ? "506 combobox 50210003 0 7,132,115,73 " : "504 edit 50810080 0 7,132,115,14 ",
            page.combos ? "507 combobox 50210003 0 126,132,115,73 " : "505 edit 50810080 0 126,132,115,14 ",
            "508 button 50010000 0 245,96,50,14 &Insert",
            "509 button 50010000 0 245,114,50,14 &Delete",
        };
        EXPECT_EQ(dlg.items, expected);
    }
}

TEST(Resources, AboutDialogNamesTheLibrary) {
    DialogTemplate dlg = LoadTemplate(IDD_ABOUTBOX);
    EXPECT_EQ(dlg.caption, u"About Varnel");
    std::string items;
    for (const std::string& item : dlg.items) items += item + "\n";
    EXPECT_NE(items.find(" Varnel v1.0\n"), std::string::npos) << items;
    EXPECT_NE(items.find("1 button "), std::string::npos) << items;  // the OK button
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
