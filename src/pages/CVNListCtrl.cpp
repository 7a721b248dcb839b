#include "pages/CVNListCtrl.h"

#include "pages/ListOrder.h"

#include <algorithm>
#include <memory>
#include <vector>

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

MappingPair* CVNListCtrl::GetItemPair(int nItem) const {
    if (!m_hWnd || nItem < 0 || nItem >= GetItemCount())
        return nullptr;
    return reinterpret_cast<MappingPair*>(GetItemData(nItem));
}

void CVNListCtrl::SetItemPair(int nItem, MappingPair* pPair) const {
    if (m_hWnd)
        SetItemData(nItem, LPARAM(pPair));
}

BOOL CVNListCtrl::AddPairItem(int nItem, MappingPair* pPair) {
    if (!pPair)
        return FALSE;
    int pos = nItem;
    for (int i = 0, count = GetItemCount(); i < count; ++i) {
        MappingPair* pRow = GetItemPair(i);
        if (pRow && pRow->key.CompareNoCase(pPair->key) == 0) {
            DeletePairItem(i);
            pos = i;
            break;
        }
    }
    if (InsertPairRow(pos, pPair) < 0)
        delete pPair;  // the row owns its pair from the call on
    return TRUE;
}

int CVNListCtrl::InsertPairRow(int nItem, MappingPair* pPair) const {
    if (!m_hWnd || !pPair)
        return -1;
    // The row keeps no copy of its texts: the list asks for them (from the
    // pair it owns) when it needs them, so a row costs one message.
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = nItem;
    item.pszText = LPSTR_TEXTCALLBACKW;
    item.lParam = LPARAM(pPair);
    // A position past the end appends; the result is where the row went.
    return InsertItem(item);
}

void CVNListCtrl::OnGetDispInfo(NMLVDISPINFOW* pDispInfo) const {
    LVITEMW& item = pDispInfo->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    const auto* pPair = reinterpret_cast<const MappingPair*>(item.lParam);
    CString text = !pPair ? CString() : item.iSubItem == 0 ? pPair->key : item.iSubItem == 1 ? pPair->value : CString();
    size_t length = std::min(size_t(text.GetLength()), size_t(item.cchTextMax) - 1);
    std::copy_n(text.GetString(), length, item.pszText);
    item.pszText[length] = L'\0';
}

void CVNListCtrl::DeletePairItem(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount())
        return;
    // The pair goes after its row, so the row never shows a freed pair.
    std::unique_ptr<MappingPair> pPair(GetItemPair(nItem));
    DeleteItem(nItem);
}

BOOL CVNListCtrl::DeleteAllPairItems() {
    std::vector<std::unique_ptr<MappingPair>> pairs;
    int count = GetItemCount();
    pairs.reserve(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
        pairs.emplace_back(GetItemPair(i));
    return DeleteAllItems();
}

void CVNListCtrl::SortByColumn(int nCol, BOOL bAscending) {
    if (nCol < 0 || !GetHeaderCtrl() || nCol >= GetColumnCount())
        return;
    m_bAscending = bAscending;
    m_nSortColumn = nCol;
    SortItems(&CVNListCtrl::CompareCallback, LPARAM(this));
}

int CVNListCtrl::CompareItems(const MappingPair* pFirst, const MappingPair* pSecond) {
    return ListOrder::CompareItems(pFirst, pSecond, m_nSortColumn, m_bAscending);
}

int CALLBACK CVNListCtrl::CompareCallback(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    auto* pList = reinterpret_cast<CVNListCtrl*>(lParamSort);
    if (!pList)
        return 0;
    return pList->CompareItems(reinterpret_cast<const MappingPair*>(lParam1),
                               reinterpret_cast<const MappingPair*>(lParam2));
}

int CVNListCtrl::ParseNumber(CString strText, BOOL* pbNumeric) { return ListOrder::ParseNumber(strText, pbNumeric); }

void CVNListCtrl::OnColumnClick(const NMLISTVIEW* pNMListView, LRESULT* pResult) {
    int nCol = pNMListView->iSubItem;
    SortByColumn(nCol, nCol != m_nSortColumn ? TRUE : !m_bAscending);
    *pResult = 0;
}
