// CBasePage: what every page of the mapping sheet shares. The page owns its
// kind's table for the sheet's whole life, beyond any one window; the list
// on the page is only a view of it.
#pragma once

#include "framework/CPropertyPage.h"
#include "framework/Controls.h"
#include "store/MappingTable.h"

class CBasePage : public CPropertyPage {
public:
    explicit CBasePage(UINT nIDTemplate);

    BOOL OnInitDialog() override;

    // Takes the controls' data before the sheet saves; FALSE stops the save.
    virtual BOOL CommitControls();
    // Fills the inputs; ends every page's initialisation.
    virtual BOOL FillControls();
    // Registers the help texts of the page's controls.
    virtual void RegisterHelp();
    // Enables Insert and Delete after the inputs or the selection changed.
    virtual void UpdateButtons();

    // Inserts or replaces a pair. A change raises the sheet's unsaved-changes
    // bit, but only while both the page's and the sheet's windows exist: a
    // page not yet shown never counts as changed.
    void SetPair(CString key, CString value);
    CString GetValue(CString key) const;
    // Neither removing nor clearing touches the change flag.
    void RemovePair(CString key);
    void ClearPairs();
    // Rebuilds the list rows from the table; TRUE.
    BOOL RefreshList();

    MappingTable m_table;
    CButton m_wndInsert;
    CButton m_wndDelete;
    CEdit m_wndEdit1;
    CEdit m_wndEdit2;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Insert: stores the pair of the two inputs (trimmed; an empty first
    // input stores nothing).
    void OnInsert();
};
