// Edit > Find: the system's Find dialog, modeless over the sheet, searching
// the current page's rows (RowSearch) in the order the list shows them.
#include "dialog/CVNSheet.h"

#include "framework/MessageBox.h"
#include "pages/RowSearch.h"
#include "resource.h"

namespace {

constexpr DWORD kKeptFindFlags = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;

}  // namespace

void CVNSheet::OpenFind() {
    if (m_hFindDialog) {
        ::SetActiveWindow(m_hFindDialog);
        return;
    }
    m_find = FINDREPLACEW{};
    m_find.lStructSize = sizeof(m_find);
    m_find.hwndOwner = m_hWnd;
    m_find.Flags = m_nFindFlags;
    m_find.lpstrFindWhat = m_szFindText;
    m_find.wFindWhatLen = WORD(std::size(m_szFindText));
    m_hFindDialog = ::FindTextW(&m_find);
}

void CVNSheet::OnFindMessage(const FINDREPLACEW& find) {
    m_nFindFlags = find.Flags & kKeptFindFlags;
    if (find.Flags & FR_DIALOGTERM)
        m_hFindDialog = nullptr;
    else if (find.Flags & FR_FINDNEXT)
        FindNext((find.Flags & FR_DOWN) != 0);
}

void CVNSheet::FindNext(bool bDown) {
    if (!m_szFindText[0]) {
        OpenFind();
        return;
    }
    CBasePage* pPage = ActivePage();
    if (!pPage || !pPage->m_wndList.m_hWnd)
        return;
    const CVNListCtrl& list = pPage->m_wndList;
    const CString text(reinterpret_cast<const char16_t*>(m_szFindText));
    const RowSearch search(text.View(), (m_nFindFlags & FR_MATCHCASE) != 0, (m_nFindFlags & FR_WHOLEWORD) != 0);
    const int count = list.GetItemCount();
    // From the focused row on; past it when it is selected (the last match).
    int nStart = list.GetNextItem(-1, LVNI_FOCUSED);
    if (nStart < 0)
        nStart = bDown ? 0 : count - 1;
    else if (list.GetItemState(nStart, LVIS_SELECTED))
        nStart += bDown ? 1 : -1;
    int nFound = search.FindRow(list.GetRows(), nStart, bDown);
    if (nFound < 0) {
        HWND hOwner = m_hFindDialog ? m_hFindDialog : m_hWnd;
        CString format, message;
        nFound = search.FindRow(list.GetRows(), bDown ? 0 : count - 1, bDown);
        if (nFound < 0) {
            format.LoadString(IDS_FIND_NOT_FOUND);
            message.Format(format, text);
            VNMessageBox(hOwner, message, MB_OK | MB_ICONINFORMATION);
            return;
        }
        format.LoadString(bDown ? IDS_FIND_WRAP_DOWN : IDS_FIND_WRAP_UP);
        message.Format(format, text);
        if (VNMessageBox(hOwner, message, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    pPage->SelectRow(nFound);
}
