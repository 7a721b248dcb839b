#include "pages/CVNListCtrl.h"

#include "pages/ListOrder.h"

#include <algorithm>
#include <unordered_set>

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

const MappingPair* CVNListCtrl::GetItemPair(int nItem) const {
    return nItem >= 0 && size_t(nItem) < m_rows.size() ? m_rows[size_t(nItem)] : nullptr;
}

void CVNListCtrl::SyncCount(bool bKeepView) const {
    if (m_hWnd)
        SetItemCount(int(m_rows.size()), bKeepView ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0);
}

void CVNListCtrl::ReleaseOwned(const MappingPair* pPair) {
    auto it = std::find_if(m_ownPairs.begin(), m_ownPairs.end(), [pPair](const auto& p) { return p.get() == pPair; });
    if (it != m_ownPairs.end())
        m_ownPairs.erase(it);
}

std::vector<int> CVNListCtrl::SelectedFrom(int nFirst) const {
    std::vector<int> selected;
    for (int i = GetNextItem(nFirst - 1, LVNI_SELECTED); i >= nFirst; i = GetNextItem(i, LVNI_SELECTED))
        selected.push_back(i);
    return selected;
}

BOOL CVNListCtrl::AddPairItem(int nItem, MappingPair* pPair) {
    if (!pPair)
        return FALSE;
    if (!m_hWnd) {
        delete pPair;  // no window, no rows
        return TRUE;
    }
    m_ownPairs.emplace_back(pPair);
    auto same = std::find_if(m_rows.begin(), m_rows.end(),
                             [pPair](const MappingPair* pRow) { return pRow && pRow->key.CompareNoCase(pPair->key) == 0; });
    if (same != m_rows.end()) {
        // The replaced row goes, and the new one takes its place unselected.
        int nRow = int(same - m_rows.begin());
        ReleaseOwned(*same);
        *same = pPair;
        SetItemState(nRow, 0, LVIS_SELECTED | LVIS_FOCUSED);
        RedrawItems(nRow, nRow);
        return TRUE;
    }
    int nRow = std::clamp(nItem, 0, int(m_rows.size()));
    // The control keeps selection by position: rows after the new one
    // move down one, and so does their selection.
    std::vector<int> moved = SelectedFrom(nRow);
    m_rows.insert(m_rows.begin() + nRow, pPair);
    for (auto it = moved.rbegin(); it != moved.rend(); ++it) {
        SetItemState(*it, 0, LVIS_SELECTED);
        SetItemState(*it + 1, LVIS_SELECTED, LVIS_SELECTED);
    }
    SyncCount(true);
    RedrawItems(nRow, int(m_rows.size()) - 1);
    return TRUE;
}

void CVNListCtrl::DeletePairItem(int nItem) {
    if (nItem < 0 || size_t(nItem) >= m_rows.size())
        return;
    const MappingPair* pPair = m_rows[size_t(nItem)];
    m_rows.erase(m_rows.begin() + nItem);
    // The control drops the row's selection and moves the later rows' up.
    if (m_hWnd)
        DeleteItem(nItem);
    ReleaseOwned(pPair);
}

BOOL CVNListCtrl::DeleteAllPairItems() {
    // The rows go before their pairs, so the list never shows a freed pair.
    m_rows.clear();
    BOOL result = m_hWnd ? DeleteAllItems() : TRUE;
    m_ownPairs.clear();
    return result;
}

void CVNListCtrl::ShowRows(std::vector<const MappingPair*> rows) {
    DeleteAllPairItems();
    m_rows = std::move(rows);
    SyncCount(false);
}

void CVNListCtrl::SortByColumn(int nCol, BOOL bAscending) {
    if (nCol < 0 || !GetHeaderCtrl() || nCol >= GetColumnCount())
        return;
    m_bAscending = bAscending;
    m_nSortColumn = nCol;
    // The selection (and the focus) go with their rows.
    int nSelected = int(GetSelectedCount());
    bool bMoveSelection = nSelected > 0 && size_t(nSelected) < m_rows.size();
    std::unordered_set<const MappingPair*> selected;
    if (bMoveSelection)
        for (int i : SelectedFrom(0))
            selected.insert(m_rows[size_t(i)]);
    const MappingPair* pFocused = GetItemPair(GetNextItem(-1, LVNI_FOCUSED));
    ListOrder::SortRows(m_rows, nCol, bAscending);
    m_bMovingSelection = true;
    if (bMoveSelection) {
        SetItemState(-1, 0, LVIS_SELECTED);
        for (size_t i = 0; i < m_rows.size(); ++i)
            if (selected.count(m_rows[i]))
                SetItemState(int(i), LVIS_SELECTED, LVIS_SELECTED);
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
    const MappingPair* pPair = GetItemPair(item.iItem);
    std::u16string_view text;
    if (pPair && (item.iSubItem == 0 || item.iSubItem == 1))
        text = item.iSubItem == 0 ? pPair->key.View() : pPair->value.View();
    size_t length = std::min(text.size(), size_t(item.cchTextMax) - 1);
    std::copy_n(text.data(), length, reinterpret_cast<char16_t*>(item.pszText));
    item.pszText[length] = L'\0';
}

int CVNListCtrl::OnFindItem(const NMLVFINDITEMW* pFindInfo) const {
    const LVFINDINFOW& find = pFindInfo->lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || m_rows.empty())
        return -1;
    CString wanted(find.psz);
    bool partial = (find.flags & LVFI_PARTIAL) != 0;
    // From the start row on, coming round to the top when asked to wrap.
    int count = int(m_rows.size());
    int start = std::clamp(pFindInfo->iStart, 0, count);
    int steps = (find.flags & LVFI_WRAP) ? count : count - start;
    for (int n = 0; n < steps; ++n) {
        int i = (start + n) % count;
        const MappingPair* pPair = m_rows[size_t(i)];
        if (!pPair)
            continue;
        CString key = partial ? pPair->key.Left(wanted.GetLength()) : pPair->key;
        if (key.CompareNoCase(wanted) == 0)
            return i;
    }
    return -1;
}

void CVNListCtrl::OnColumnClick(const NMLISTVIEW* pNMListView, LRESULT* pResult) {
    int nCol = pNMListView->iSubItem;
    SortByColumn(nCol, nCol != m_nSortColumn ? TRUE : !m_bAscending);
    *pResult = 0;
}
