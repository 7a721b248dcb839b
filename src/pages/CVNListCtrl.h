// CVNListCtrl: the two-column list of a mapping page, an owner-data list
// view: the control keeps only the row count and the selection, the rows
// are an array of pairs kept here, and the control asks for a cell's text
// when it draws it (first string in column 0, second in column 1). Adding
// a pair replaces the row with the same first string regardless of case;
// a header click sorts by that column, toggling the direction on repeated
// clicks.
//
// Rows and pairs: a row is a pointer to a table entry. The rows the page
// builds from its table point at that table's own entries (no copy: a
// million rows cost a pointer each); a pair added with AddPairItem goes
// into the list's own small table, where its row keeps it until the row
// goes. Whoever clears or reloads the page's table rebuilds the rows
// before the list draws again (RefreshList).
//
// Cells: the list draws each cell's look (a mark, a color swatch, a weight
// line, bold text for a row of the last import) through custom draw, as the
// page's CellLooks decide it when the cell is drawn; the list keeps its own
// styles. Its notes, for the help balloon and the description area, are the
// reasons of the marked cell under the mouse and of the selected row.
#pragma once

#include "framework/CFont.h"
#include "framework/CListCtrl.h"
#include "help/CVNToolTipCtrl.h"
#include "pages/CellLooks.h"
#include "store/model/MappingTable.h"

#include <vector>

class CVNListCtrl : public CListCtrl, public CVNToolNotes {
public:
    CVNListCtrl() = default;
    ~CVNListCtrl() override = default;

    // Inserts column nCol titled with string nTitleId, nWidth pixels wide,
    // left-aligned; the new column's index or -1.
    int AddColumn(int nCol, UINT nTitleId, int nWidth) const;

    // Row nItem's pair; null outside the rows.
    const MappingEntry* GetItemPair(int nItem) const;
    const std::vector<const MappingEntry*>& GetRows() const { return m_rows; }
    // The first row whose first string equals key ignoring case, or -1.
    int FindRowOfKey(std::u16string_view key) const;
    // Row nItem's pair as table holds it (a pair added here is a copy of
    // the table's); null outside the rows or when the table lacks its key.
    const MappingEntry* RowIn(int nItem, const MappingTable& table) const;
    // Every row's pair as table holds it, in the rows' order; rows whose
    // key the table lacks are left out.
    std::vector<const MappingEntry*> RowsIn(const MappingTable& table) const;

    // Adds a row for the pair (key, value) at nItem (past the end:
    // appended); the row keeps its own copy. A row whose first string
    // equals key ignoring case is replaced: the new row takes its
    // position, unselected.
    void AddPairItem(int nItem, const CString& key, const CString& value);
    // Deletes row nItem (and the pair it keeps, if it was added here);
    // nothing outside the rows.
    void DeletePairItem(int nItem);
    // A row for pEntry, an entry of the page's table, at nItem (past the
    // end: appended); the selection stays with its rows.
    void InsertRow(int nItem, const MappingEntry* pEntry);
    // Row nItem shows pEntry instead, unselected.
    void PutRow(int nItem, const MappingEntry* pEntry);
    // Deletes every row, and the pairs added here.
    BOOL DeleteAllPairItems();
    // Replaces every row by rows, entries of the page's table: the list
    // starts afresh (nothing selected, scrolled to the top).
    void ShowRows(std::vector<const MappingEntry*> rows);
    // ShowRows with the sort the rows had.
    void ShowRows(std::vector<const MappingEntry*> rows, int nSortColumn, BOOL bAscending);
    // Takes the rows out, leaving the list without rows.
    std::vector<const MappingEntry*> TakeRows();
    // Grows with every change of the rows or their order.
    unsigned GetChangeCount() const { return m_nChanges; }

    // Remembers the column and direction and sorts the rows, which keep
    // their selection; nothing for a column the header does not have.
    void SortByColumn(int nCol, BOOL bAscending);
    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsAscending() const { return m_bAscending; }
    // True while a sort moves the selection with the rows: those state
    // changes are not the user's.
    bool IsMovingSelection() const { return m_bMovingSelection; }
    // The selected rows in ascending order.
    std::vector<int> GetSelectedRows() const;
    // Selects exactly these rows (ascending), focuses the first and
    // scrolls it into view. The state changes are not the user's: the
    // caller takes the new selection once.
    void SelectRows(const std::vector<int>& rows);

    // The control asks for a cell's text.
    void OnGetDispInfo(NMLVDISPINFOW* pDispInfo) const;
    // The control looks for a row by the start of its first string (typing
    // in the list): the row, or -1.
    int OnFindItem(const NMLVFINDITEMW* pFindInfo) const;
    // The header click, reflected to the list by its page: a new column
    // sorts ascending, the same column again in the other direction.
    void OnColumnClick(const NMLISTVIEW* pNMListView, LRESULT* pResult);

    // The looks of the page's cells (null: every cell plain).
    void SetLooks(const CellLooks* pLooks) { m_pLooks = pLooks; }
    // NM_CUSTOMDRAW, sent to the page: a cell with a look of its own is
    // drawn here (its custom-draw item then carries the warning colours when
    // it is marked), any other cell by the control, in bold (CDRF_NEWFONT)
    // for a row of the last import.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* pDraw);
    // The reasons of the marked cell under the point.
    bool NoteAt(POINT ptScreen, ToolNote& note, RECT& rcSpot) const override;
    // The reasons of the first selected row's cells.
    bool CurrentNote(ToolNote& note) const override;
    // Tells the top-level window that the note of the list's state may
    // have changed (VNTT_NOTE_CHANGED), so that the description follows.
    void TellNoteChanged() const;

protected:
    // Messages that may change the state of many rows at once (select all,
    // a shift-click or shift-key range, Ctrl+A) run with painting off: the
    // control invalidates every row it changes, one round trip to the
    // window server each, and is repainted once afterwards instead.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Tells the control the row count; bKeepView keeps its scroll position.
    void SyncCount(bool bKeepView) const;
    // Forgets pEntry if it is one of the pairs added here.
    void ReleaseAdded(const MappingEntry* pEntry);
    // Rows at or after nFirst that are selected, in ascending order.
    std::vector<int> SelectedFrom(int nFirst) const;
    // Cell (nRow, nColumn) in client coordinates.
    RECT CellRect(int nRow, int nColumn) const;
    // The reasons of row nRow's cells in the columns from nFirst to nLast.
    bool NoteOfRow(int nRow, int nFirst, int nLast, ToolNote& note) const;
    // Puts the cell's font, bold or the control's, into hDC once a cell of
    // the paint was bold: CDRF_NEWFONT then, else 0.
    LRESULT SelectCellFont(HDC hDC, bool bBold);

    BOOL m_bAscending = TRUE;
    int m_nSortColumn = 1;
    bool m_bMovingSelection = false;
    unsigned m_nChanges = 0;
    std::vector<const MappingEntry*> m_rows;
    MappingTable m_added;  // the pairs AddPairItem was given, by key
    const CellLooks* m_pLooks = nullptr;
    // A row's own colours, from its item stage: its plain cells keep them.
    COLORREF m_crRowText = CLR_DEFAULT;
    COLORREF m_crRowBack = CLR_DEFAULT;
    // The font the control paints with, taken when a paint begins, and its
    // bold form, made once for it. A font chosen for a cell stays in the
    // paint's DC for the next, so after a bold cell each cell chooses.
    HFONT m_hPaintFont = nullptr;
    HFONT m_hBoldOf = nullptr;  // the font m_boldFont was made from
    CFont m_boldFont;
    bool m_bBoldInPaint = false;
};
