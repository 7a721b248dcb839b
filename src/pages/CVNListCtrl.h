// CVNListCtrl: the two-column list of a mapping page, an owner-data list
// view: the control keeps only the row count and the selection, the rows
// are an array of pairs kept here, and the control asks for a cell's text
// when it draws it (first string in column 0, second in column 1). Adding
// a pair replaces the row with the same first string regardless of case;
// a header click sorts by that column, toggling the direction on repeated
// clicks.
//
// Rows and pairs: the rows the page builds from its table point at the
// table's own entries (no copy: a million rows cost a pointer each); a
// pair added with AddPairItem belongs to its row, which frees it when it
// goes. Whoever changes the table other than through Insert and Delete
// rebuilds the rows before the list draws again (RefreshList).
#pragma once

#include "framework/CListCtrl.h"
#include "store/MappingPair.h"

#include <memory>
#include <vector>

class CVNListCtrl : public CListCtrl {
public:
    CVNListCtrl() = default;
    ~CVNListCtrl() override = default;

    // Inserts column nCol titled with string nTitleId, nWidth pixels wide,
    // left-aligned; the new column's index or -1.
    int AddColumn(int nCol, UINT nTitleId, int nWidth) const;

    // Row nItem's pair; null outside the rows.
    const MappingPair* GetItemPair(int nItem) const;

    // Adds a row for pPair at nItem (past the end: appended), taking
    // ownership. A row whose first string equals pPair's ignoring case is
    // replaced first: the new row takes its position, unselected. FALSE
    // for null.
    BOOL AddPairItem(int nItem, MappingPair* pPair);
    // Deletes row nItem (freeing its pair if the row owns it); nothing
    // outside the rows.
    void DeletePairItem(int nItem);
    // Deletes every row, freeing the pairs the rows own.
    BOOL DeleteAllPairItems();
    // Replaces every row by rows, pairs the rows do not own (the table's).
    void ShowRows(std::vector<const MappingPair*> rows);

    // Remembers the column and direction and sorts the rows, which keep
    // their selection; nothing for a column the header does not have.
    void SortByColumn(int nCol, BOOL bAscending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }
    // True while a sort moves the selection with the rows: those state
    // changes are not the user's.
    bool IsMovingSelection() const { return m_bMovingSelection; }

    // The control asks for a cell's text.
    void OnGetDispInfo(NMLVDISPINFOW* pDispInfo) const;
    // The control looks for a row by the start of its first string (typing
    // in the list): the row, or -1.
    int OnFindItem(const NMLVFINDITEMW* pFindInfo) const;
    // The header click, reflected to the list by its page: a new column
    // sorts ascending, the same column again in the other direction.
    void OnColumnClick(const NMLISTVIEW* pNMListView, LRESULT* pResult);

private:
    // Tells the control the row count; bKeepView keeps its scroll position.
    void SyncCount(bool bKeepView) const;
    // Frees pPair if a row owns it.
    void ReleaseOwned(const MappingPair* pPair);
    // Rows at or after nFirst that are selected, in ascending order.
    std::vector<int> SelectedFrom(int nFirst) const;

    BOOL m_bAscending = TRUE;
    int m_nSortColumn = 1;
    bool m_bMovingSelection = false;
    std::vector<const MappingPair*> m_rows;
    std::vector<std::unique_ptr<MappingPair>> m_ownPairs;  // the pairs AddPairItem was given
};
