// CBasePage: what every page of the mapping sheet shares. The page owns its
// kind's table for the sheet's whole life, beyond any one window; the list
// on the page is only a view of it, rebuilt from it. Insert, Delete, loading
// a selected row into the inputs and enabling the buttons live here; the
// pages add their template, their inputs and their help texts.
#pragma once

#include "framework/CComboBox.h"
#include "framework/CPropertyPage.h"
#include "framework/Controls.h"
#include "pages/CVNListCtrl.h"
#include "pages/CellLooks.h"
#include "pages/EditHistory.h"
#include "resource.h"
#include "store/model/MappingBatch.h"
#include "store/model/MappingTable.h"

class CChangeFlagHolder;

class CBasePage : public CPropertyPage {
public:
    // kind: the mapping kind the page edits, which decides how its cells
    // look; the list's two column titles are string-table ids.
    CBasePage(UINT nIDTemplate, MappingKind kind, UINT nFirstColumnTitle = IDS_COL_MICROSTATION,
              UINT nSecondColumnTitle = IDS_COL_AUTOCAD);
    ~CBasePage() override;

    // Binds the controls, adds the columns, builds the rows from the table,
    // registers the help texts, then fills the inputs (FillControls).
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Takes the controls' data before the sheet saves; FALSE stops the save.
    virtual BOOL CommitControls();
    // Fills the inputs; ends every page's initialisation.
    virtual BOOL FillControls();
    // Registers the help texts of the page's controls.
    virtual void RegisterHelp();
    // Delete is enabled while a row is selected; Insert while the first
    // input holds text (untrimmed) or, for drop-down lists, a selection.
    virtual void UpdateButtons();

    // Inserts or replaces a pair. A change raises the sheet's unsaved-changes
    // bit, but only while both the page's and the sheet's windows exist: a
    // page not yet shown never counts as changed.
    void SetPair(CString key, CString value);
    // The same for texts that are not strings of their own; tells which
    // entries the key had before and has after.
    EntryChange SetPair(std::u16string_view key, std::u16string_view value);
    // Merges an import's pairs into the table in one pass; raises the
    // unsaved-changes bit as SetPair does when the table changed. With
    // pEdit each changed key is noted there for Undo.
    void MergePairs(MappingBatch&& pairs, TableEdit* pEdit = nullptr);
    CString GetValue(CString key) const;
    // Neither removing nor clearing touches the change flag.
    EntryChange RemovePair(CString key);
    void ClearPairs();
    // Rebuilds the list rows from the table, sorted by column 0; TRUE.
    BOOL RefreshList();

    // The rows as the list shows them before a rebuild from the table (a
    // Delete of many, an import): nothing kept when they are the rows a
    // rebuild from the table as it is gives.
    RowsEdit RowsBeforeRebuild() const;
    // Shows in the list what Undo (bUndo) or Redo did to the table: the
    // rows as they were, and the rows of the entries put back selected.
    void ShowEdit(const PageEdit& edit, bool bUndo);
    // Edit > Select All: every row.
    void SelectAllRows();
    // Only nRow selected, focused and in view (a match of Edit > Find).
    void SelectRow(int nRow);

    MappingTable m_table;
    CellLooks m_looks;  // how the list draws the table's cells
    CVNListCtrl m_wndList;
    CButton m_wndInsert;
    CButton m_wndDelete;
    CEdit m_wndEdit1;
    CEdit m_wndEdit2;
    CComboBox m_wndCombo1;
    CComboBox m_wndCombo2;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnDestroy() override;

    // Insert: adds or updates the row and the table entry of the inputs'
    // first string; an empty first input (trimmed, for edit boxes) does
    // nothing.
    void OnInsert();
    // Delete: removes the selected rows' keys from the table; several rows
    // only after the user agreed.
    void OnDelete();
    void OnItemChangedList(const NMLISTVIEW* pNMListView, LRESULT* pResult);
    void OnChangeInput();

private:
    bool UsesCombos() const { return m_wndCombo1.m_hWnd && m_wndCombo2.m_hWnd; }
    bool UsesEdits() const { return m_wndEdit1.m_hWnd && m_wndEdit2.m_hWnd; }
    // The sheet that holds the page, while both have windows; else null.
    CChangeFlagHolder* Sheet() const;
    // Hands what an Insert or a Delete did to the sheet's history.
    void AddStep(PageEdit edit);
    // The inputs and buttons follow a selection the page made itself.
    void OnSelectionSet();
    // The rows showing any of these entries, in ascending order.
    std::vector<int> RowsShowing(std::vector<const MappingEntry*> entries) const;
    // Sets the sheet's unsaved-changes bit when the page and the sheet have
    // windows and the bit is still clear.
    void RaiseChangeFlag();

    UINT m_nColumnTitles[2];

    // The table's and the list's change counts right after the last
    // refresh: while both hold, the rows are what a refresh would build.
    bool m_bRefreshed = false;
    unsigned m_nRefreshedTable = 0;
    unsigned m_nRefreshedRows = 0;
};
