// CVNListCtrl: the two-column list of a mapping page. Each row shows one
// MappingPair (first string in column 0, second in column 1) and owns it as
// its item data; adding a pair replaces the row with the same first string
// regardless of case; a header click sorts by that column, toggling the
// direction on repeated clicks.
#pragma once

#include "framework/CListCtrl.h"
#include "store/MappingPair.h"

class CVNListCtrl : public CListCtrl {
public:
    CVNListCtrl() = default;
    ~CVNListCtrl() override = default;

    // Inserts column nCol titled with string nTitleId, nWidth pixels wide,
    // left-aligned; the new column's index or -1.
    int AddColumn(int nCol, UINT nTitleId, int nWidth) const;

    // Row nItem's pair; null outside the rows or for a row without one.
    MappingPair* GetItemPair(int nItem) const;
    // Attaches pPair to row nItem; the previous pair is not freed.
    void SetItemPair(int nItem, MappingPair* pPair) const;

    // Adds a row for pPair at nItem (past the end: appended), taking
    // ownership. A row whose first string equals pPair's ignoring case is
    // deleted first and the new row takes its position. FALSE for null.
    BOOL AddPairItem(int nItem, MappingPair* pPair);
    // Inserts a row for pPair at nItem without looking for a row to replace:
    // for a caller that knows the key has none. Takes ownership when it
    // returns the new row's index; -1 leaves pPair with the caller.
    int InsertPairRow(int nItem, MappingPair* pPair) const;
    // Frees row nItem's pair and deletes the row; nothing outside the rows.
    void DeletePairItem(int nItem);
    // Frees every row's pair and deletes all rows.
    BOOL DeleteAllPairItems();

    // Remembers the column and direction and sorts the rows; nothing for a
    // column the header does not have.
    void SortByColumn(int nCol, BOOL bAscending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }

    // The row order of the sort: see ListOrder::CompareItems.
    virtual int CompareItems(const MappingPair* pFirst, const MappingPair* pSecond);
    static int CALLBACK CompareCallback(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    static int ParseNumber(CString strText, BOOL* pbNumeric);

    // The texts of a row's cells, which the rows take from their pairs.
    void OnGetDispInfo(NMLVDISPINFOW* pDispInfo) const;
    // The header click, reflected to the list by its page: a new column
    // sorts ascending, the same column again in the other direction.
    void OnColumnClick(const NMLISTVIEW* pNMListView, LRESULT* pResult);

private:
    BOOL m_bAscending = TRUE;
    int m_nSortColumn = 1;
};
