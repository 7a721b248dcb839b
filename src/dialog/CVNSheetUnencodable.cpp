// The message of a save that a character stopped: the text is in the
// system's code page, and a character the code page cannot hold has no
// bytes to be saved as. Nothing is written then; the user learns where the
// character is in their own terms: the page, the pair's key, the character.
#include "dialog/CVNSheet.h"

#include "resource.h"
#include "store/platform/CodePage.h"

CString CVNSheet::GetPageTitle(MappingKind kind) {
    CBasePage* pPage = Pages()[size_t(kind)];
    for (int i = 0; i < GetPageCount(); ++i) {
        if (GetPage(i) != pPage)
            continue;
        wchar_t title[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = title;
        item.cchTextMax = 128;
        if (HWND hTab = GetTabControl())
            ::SendMessageW(hTab, TCM_GETITEMW, WPARAM(i), LPARAM(&item));
        return CString(title);
    }
    return SectionKey(kind);
}

CString CVNSheet::SaveFailureText(const CVNTextFile& file) {
    const CVNTextFile::Unencodable& what = file.m_unencodable;
    if (what.line == 0 || what.kind < 0 || what.kind >= MappingKindCount)
        return file.m_strError;
    CString strFormat, strText;
    strFormat.LoadString(IDS_UNENCODABLE_CHAR);
    strText.Format(strFormat, GetPageTitle(MappingKind(what.kind)), what.key, CVNTextFile::CharText(what.ch),
                   CVNTextFile::CodePointText(what.ch), int(CodePage::Active()));
    return strText;
}
