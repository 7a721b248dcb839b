#include "pages/CVNListCtrl.h"

#include "framework/WindowDpi.h"
#include "pages/ListCellPainter.h"
#include "pages/ListOrder.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

int CVNListCtrl::AddColumn(int nCol, UINT nTitleId, int nWidth) const {
    CString title;
    title.LoadString(nTitleId);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = nWidth;
    column.pszText = const_cast<LPWSTR>(title.GetString());
    column.iSubItem = nCol;
    return InsertColumn(nCol, column);
}

const MappingEntry* CVNListCtrl::GetItemPair(int nItem) const {
    return nItem >= 0 && size_t(nItem) < m_rows.size() ? m_rows[size_t(nItem)] : nullptr;
}

int CVNListCtrl::FindRowOfKey(std::u16string_view key) const {
    auto same = std::find_if(m_rows.begin(), m_rows.end(), [key](const MappingEntry* pRow) {
        return ListOrder::EqualIgnoringCase(pRow->Key(), key);
    });
    return same == m_rows.end() ? -1 : int(same - m_rows.begin());
}

const MappingEntry* CVNListCtrl::RowIn(int nItem, const MappingTable& table) const {
    const MappingEntry* pRow = GetItemPair(nItem);
    // Any other row is already one of the table's entries.
    return pRow && m_added.Find(pRow->Key()) == pRow ? table.Find(pRow->Key()) : pRow;
}

std::vector<const MappingEntry*> CVNListCtrl::RowsIn(const MappingTable& table) const {
    std::vector<const MappingEntry*> rows;
    rows.reserve(m_rows.size());
    for (int i = 0; i < int(m_rows.size()); ++i)
        if (const MappingEntry* pRow = RowIn(i, table))
            rows.push_back(pRow);
    return rows;
}

void CVNListCtrl::SyncCount(bool bKeepView) const {
    if (m_hWnd)
        SetItemCount(int(m_rows.size()), bKeepView ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0);
}

void CVNListCtrl::ReleaseAdded(const MappingEntry* pEntry) {
    if (pEntry && m_added.Find(pEntry->Key()) == pEntry)
        m_added.RemovePair(CString(pEntry->Key()));
}

std::vector<int> CVNListCtrl::SelectedFrom(int nFirst) const {
    std::vector<int> selected;
    for (int i = GetNextItem(nFirst - 1, LVNI_SELECTED); i >= nFirst; i = GetNextItem(i, LVNI_SELECTED))
        selected.push_back(i);
    return selected;
}

std::vector<int> CVNListCtrl::GetSelectedRows() const {
    if (!m_hWnd)
        return {};
    if (GetSelectedCount() == m_rows.size()) {  // all of them: no need to ask row by row
        std::vector<int> all(m_rows.size());
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = int(i);
        return all;
    }
    return SelectedFrom(0);
}

void CVNListCtrl::SelectRows(const std::vector<int>& rows) {
    m_bMovingSelection = true;
    SendMessage(WM_SETREDRAW, FALSE);
    if (GetSelectedCount() > 0)  // the control visits every row for this
        SetItemState(-1, 0, LVIS_SELECTED);
    if (!rows.empty() && rows.size() == m_rows.size())
        SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    else
        for (int nRow : rows)
            SetItemState(nRow, LVIS_SELECTED, LVIS_SELECTED);
    if (!rows.empty())
        SetItemState(rows.front(), LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessage(WM_SETREDRAW, TRUE);
    m_bMovingSelection = false;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (!rows.empty())
        EnsureVisible(rows.front(), FALSE);
}

LRESULT CVNListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    bool manyRows = (message == LVM_SETITEMSTATE && int(wParam) == -1) ||
                    (message == WM_LBUTTONDOWN && (wParam & MK_SHIFT)) ||
                    (message == WM_KEYDOWN && (::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0));
    if (!manyRows || !m_hWnd)
        return CListCtrl::WindowProc(message, wParam, lParam);
    SendMessage(WM_SETREDRAW, FALSE);
    LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return result;
}

void CVNListCtrl::AddPairItem(int nItem, const CString& key, const CString& value) {
    if (!m_hWnd)
        return;  // no window, no rows
    int nSame = FindRowOfKey(key.View());
    m_added.SetPair(key, value);
    const MappingEntry* pEntry = m_added.Find(key.View());
    if (nSame >= 0)
        PutRow(nSame, pEntry);  // the replaced row goes, and the new one takes its place
    else
        InsertRow(nItem, pEntry);
}

void CVNListCtrl::PutRow(int nItem, const MappingEntry* pEntry) {
    if (nItem < 0 || size_t(nItem) >= m_rows.size())
        return;
    ++m_nChanges;
    const MappingEntry* pReplaced = std::exchange(m_rows[size_t(nItem)], pEntry);
    if (pReplaced != pEntry)
        ReleaseAdded(pReplaced);
    SetItemState(nItem, 0, LVIS_SELECTED | LVIS_FOCUSED);
    RedrawItems(nItem, nItem);
}

void CVNListCtrl::InsertRow(int nItem, const MappingEntry* pEntry) {
    ++m_nChanges;
    int nRow = std::clamp(nItem, 0, int(m_rows.size()));
    // The control keeps selection by position: rows after the new one
    // move down one, and so does their selection.
    std::vector<int> moved = SelectedFrom(nRow);
    m_rows.insert(m_rows.begin() + nRow, pEntry);
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        SetItemState(*it, 0, LVIS_SELECTED);
        SetItemState(*it + 1, LVIS_SELECTED, LVIS_SELECTED);
    }
    SyncCount(true);
    RedrawItems(nRow, int(m_rows.size()) - 1);
}

void CVNListCtrl::DeletePairItem(int nItem) {
    if (nItem < 0 || size_t(nItem) >= m_rows.size())
        return;
    const MappingEntry* pEntry = m_rows[size_t(nItem)];
    m_rows.erase(m_rows.begin() + nItem);
    ++m_nChanges;
    // The control drops the row's selection and moves the later rows' up.
    if (m_hWnd)
        DeleteItem(nItem);
    ReleaseAdded(pEntry);
}

BOOL CVNListCtrl::DeleteAllPairItems() {
    // The rows go before their pairs, so the list never shows a freed pair.
    m_rows.clear();
    ++m_nChanges;
    BOOL result = m_hWnd ? DeleteAllItems() : TRUE;
    m_added.ClearPairs();
    return result;
}

void CVNListCtrl::ShowRows(std::vector<const MappingEntry*> rows) {
    DeleteAllPairItems();
    m_rows = std::move(rows);
    SyncCount(false);
}

void CVNListCtrl::ShowRows(std::vector<const MappingEntry*> rows, int nSortColumn, BOOL bAscending) {
    ShowRows(std::move(rows));
    m_nSortColumn = nSortColumn;
    m_bAscending = bAscending;
}

std::vector<const MappingEntry*> CVNListCtrl::TakeRows() {
    ++m_nChanges;
    return std::exchange(m_rows, {});
}

void CVNListCtrl::SortByColumn(int nCol, BOOL bAscending) {
    if (nCol < 0 || !GetHeaderCtrl() || nCol >= GetColumnCount())
        return;
    m_bAscending = bAscending;
    m_nSortColumn = nCol;
    ++m_nChanges;
    // The selection (and the focus) go with their rows.
    int nSelected = int(GetSelectedCount());
    bool bMoveSelection = nSelected > 0 && size_t(nSelected) < m_rows.size();
    std::unordered_set<const MappingEntry*> selected;
    if (bMoveSelection)
        for (int i : GetSelectedRows())
            selected.insert(m_rows[size_t(i)]);
    const MappingEntry* pFocused = GetItemPair(GetNextItem(-1, LVNI_FOCUSED));
    ListOrder::SortRows(m_rows, nCol, bAscending);
    m_bMovingSelection = true;
    if (bMoveSelection) {
        SendMessage(WM_SETREDRAW, FALSE);
        SetItemState(-1, 0, LVIS_SELECTED);
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (selected.count(m_rows[i]))
                SetItemState(int(i), LVIS_SELECTED, LVIS_SELECTED);
        SendMessage(WM_SETREDRAW, TRUE);
    }
    if (pFocused) {
        auto it = std::find(m_rows.begin(), m_rows.end(), pFocused);
        SetItemState(int(it - m_rows.begin()), LVIS_FOCUSED, LVIS_FOCUSED);
    }
    m_bMovingSelection = false;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CVNListCtrl::OnGetDispInfo(NMLVDISPINFOW* pDispInfo) const {
    LVITEMW& item = pDispInfo->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    const MappingEntry* pEntry = GetItemPair(item.iItem);
    std::u16string_view text;
    if (pEntry && (item.iSubItem == 0 || item.iSubItem == 1))
        text = item.iSubItem == 0 ? pEntry->Key() : pEntry->Value();
    size_t length = std::min(text.size(), size_t(item.cchTextMax) - 1);
    std::copy_n(text.data(), length, reinterpret_cast<char16_t*>(item.pszText));
    item.pszText[length] = L'\0';
}

int CVNListCtrl::OnFindItem(const NMLVFINDITEMW* pFindInfo) const {
    const LVFINDINFOW& find = pFindInfo->lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || m_rows.empty())
        return -1;
    std::u16string_view wanted(reinterpret_cast<const char16_t*>(find.psz));
    bool partial = (find.flags & LVFI_PARTIAL) != 0;
    // From the start row on, coming round to the top when asked to wrap.
    int count = int(m_rows.size());
    int start = std::clamp(pFindInfo->iStart, 0, count);
    int steps = (find.flags & LVFI_WRAP) ? count : count - start;
    for (int n = 0; n < steps; ++n) {
        int i = (start + n) % count;
        std::u16string_view key = m_rows[size_t(i)]->Key();
        if (partial)
            key = key.substr(0, wanted.size());
        if (ListOrder::EqualIgnoringCase(key, wanted))
            return i;
    }
    return -1;
}

void CVNListCtrl::OnColumnClick(const NMLISTVIEW* pNMListView, LRESULT* pResult) {
    int nCol = pNMListView->iSubItem;
    SortByColumn(nCol, nCol != m_nSortColumn ? TRUE : !m_bAscending);
    *pResult = 0;
}

RECT CVNListCtrl::CellRect(int nRow, int nColumn) const {
    RECT rc{};
    rc.top = nColumn;
    rc.left = LVIR_BOUNDS;
    SendMessage(LVM_GETSUBITEMRECT, WPARAM(nRow), LPARAM(&rc));
    if (nColumn == 0)  // the bounds of column 0 are the whole row's
        rc.right = rc.left + int(SendMessage(LVM_GETCOLUMNWIDTH, 0));
    return rc;
}

LRESULT CVNListCtrl::OnCustomDraw(NMLVCUSTOMDRAW* pDraw) {
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        m_hPaintFont = pDraw->nmcd.hdc ? HFONT(::GetCurrentObject(pDraw->nmcd.hdc, OBJ_FONT)) : nullptr;
        m_bBoldInPaint = false;
        return m_pLooks ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
        m_crRowText = pDraw->clrText;
        m_crRowBack = pDraw->clrTextBk;
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        break;
    default:
        return CDRF_DODEFAULT;
    }
    const int nRow = int(pDraw->nmcd.dwItemSpec), nColumn = pDraw->iSubItem;
    const MappingEntry* pEntry = GetItemPair(nRow);
    CellLook look;
    if (pEntry && m_pLooks && (nColumn == 0 || nColumn == 1))
        look = m_pLooks->LookOf(*pEntry, nColumn);
    const LRESULT newFont = SelectCellFont(pDraw->nmcd.hdc, look.bImported);
    if (!look.bMarked && look.picture == CellLook::Picture::None) {
        // The control draws it, in the row's own colours: the colours of a
        // cell carry over to the next cell of the row.
        pDraw->clrText = m_crRowText;
        pDraw->clrTextBk = m_crRowBack;
        return CDRF_DODEFAULT | newFont;
    }
    if (look.bMarked) {
        pDraw->clrText = kWarningText;
        pDraw->clrTextBk = kWarningBack;
    }
    if (pDraw->nmcd.hdc) {
        // Selected rows keep the control's selection colours, with the
        // list's focus or (a list that always shows its selection) without.
        const bool bSelected = (SendMessage(LVM_GETITEMSTATE, WPARAM(nRow), LVIS_SELECTED) & LVIS_SELECTED) != 0;
        CellColors colors = {pDraw->clrText, pDraw->clrTextBk};
        if (bSelected && ::GetFocus() == m_hWnd)
            colors = {::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_HIGHLIGHT)};
        else if (bSelected)
            colors = {::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_3DFACE)};
        else if (!look.bMarked)
            colors = {::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_WINDOW)};
        PaintListCell(pDraw->nmcd.hdc, CellRect(nRow, nColumn), look, nColumn == 0 ? pEntry->Key() : pEntry->Value(),
                      colors, DpiScaleOf(pDraw->nmcd.hdc));
    }
    return CDRF_SKIPDEFAULT | newFont;
}

LRESULT CVNListCtrl::SelectCellFont(HDC hDC, bool bBold) {
    // Until a paint's first bold cell, every cell keeps the control's font.
    if (!bBold && !m_bBoldInPaint)
        return 0;
    m_bBoldInPaint = true;
    if (bBold && m_hPaintFont && m_hBoldOf != m_hPaintFont) {
        LOGFONTW font{};
        m_boldFont.DeleteObject();
        if (::GetObjectW(m_hPaintFont, sizeof font, &font)) {
            font.lfWeight = FW_BOLD;
            m_boldFont.CreateFontIndirect(&font);
        }
        m_hBoldOf = m_hPaintFont;
    }
    // The control may select its own font again at a row's start.
    const HFONT hWanted = bBold ? m_boldFont.GetSafeHandle() : m_hPaintFont;
    if (hDC && hWanted && ::GetCurrentObject(hDC, OBJ_FONT) != hWanted)
        ::SelectObject(hDC, hWanted);
    return CDRF_NEWFONT;
}

namespace {

// A note's header: the cell's text, a long one cut short.
CString NoteHeader(std::u16string_view text) {
    constexpr size_t kLongest = 64;
    return text.size() <= kLongest ? CString(text) : CString(text.substr(0, kLongest)) + u"\u2026";
}

}  // namespace

bool CVNListCtrl::NoteOfRow(int nRow, int nFirst, int nLast, ToolNote& note) const {
    const MappingEntry* pEntry = GetItemPair(nRow);
    if (!pEntry || !m_pLooks)
        return false;
    note = ToolNote{NoteHeader(nFirst == 0 ? pEntry->Key() : pEntry->Value()), {}};
    for (int nColumn = nFirst; nColumn <= nLast; ++nColumn)
        for (MappingRules::Finding& finding : m_pLooks->FindingsOf(pEntry->Key(), pEntry->Value(), nColumn))
            note.lines.push_back(std::move(finding.reason));
    return !note.lines.empty();
}

bool CVNListCtrl::NoteAt(POINT ptScreen, ToolNote& note, RECT& rcSpot) const {
    if (!m_hWnd)
        return false;
    LVHITTESTINFO hit{};
    hit.pt = ptScreen;
    ::ScreenToClient(m_hWnd, &hit.pt);
    if (SendMessage(LVM_SUBITEMHITTEST, 0, LPARAM(&hit)) < 0 || hit.iSubItem < 0 || hit.iSubItem > 1 ||
        !NoteOfRow(hit.iItem, hit.iSubItem, hit.iSubItem, note))
        return false;
    rcSpot = CellRect(hit.iItem, hit.iSubItem);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rcSpot), 2);
    return true;
}

bool CVNListCtrl::CurrentNote(ToolNote& note) const {
    return m_hWnd && NoteOfRow(GetNextItem(-1, LVNI_SELECTED), 0, 1, note);
}

void CVNListCtrl::TellNoteChanged() const {
    if (HWND hTop = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr)
        ::SendMessageW(hTop, VNTT_NOTE_CHANGED, WPARAM(m_hWnd), 0);
}
