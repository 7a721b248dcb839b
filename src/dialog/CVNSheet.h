// CVNSheet: the mapping dialog, "Commands Mapping". It holds the seven pages
// (and through them the seven tables), reads the mapping file when its
// window opens, writes it on Save, and asks before unsaved changes are lost.
#pragma once

#include "dialog/CBaseSheet.h"
#include "pages/CChangeFlagHolder.h"
#include "pages/EditHistory.h"
#include "pages/FixedValuePages.h"
#include "pages/NamePairPages.h"
#include "store/file/MappingFile.h"
#include "store/platform/CVNTextFile.h"

#include <commdlg.h>

#include <vector>

struct RemapTable;

class CVNSheet : public CBaseSheet, public CChangeFlagHolder {
public:
    // pszPath "" selects "commands.mapping" in the start directory. No window
    // and no file access yet.
    CVNSheet(UINT nIDCaption, LPCWSTR pszPath, CWnd* pParent, UINT iSelectPage);
    ~CVNSheet() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    // IDOK: saves and says whether that worked; other ids: TRUE without
    // unsaved changes, else the user's answer to the discard question.
    BOOL CanClose(UINT nID);
    BOOL ApplyChanges();
    BOOL ConfirmDiscard();
    // Every page that has a window rebuilds its list from its table.
    void RefreshPages();

    CPageColors* GetColorsPage() { return &m_pageColors; }
    CPageLineStyles* GetLineStylesPage() { return &m_pageLineStyles; }
    CPageCells* GetCellsPage() { return &m_pageCells; }
    CPageWeights* GetWeightsPage() { return &m_pageWeights; }
    CPageLevels* GetLevelsPage() { return &m_pageLevels; }

    // File > Import: asks for a MicroStation table (a version 7 table when
    // bVersion7, else a version 8 remap file), reads it and merges its pairs
    // into the Levels, Colors, Line Weights, Line Styles and Cells pages.
    // Nonzero when pairs were merged.
    BOOL ImportTable(BOOL bVersion7);
    // Reads the table at strPath as nKind (0: a version 8 file) and merges
    // it; the opened pages show the result. Nonzero only when the file was
    // parsed; the user is told when it cannot be read.
    static BOOL ImportMappingTable(const CString& strPath, CVNSheet* pSheet, int nKind);
    // Merges each page's pairs of the table just read into the page. With
    // pStep (made by BeginRebuildStep) each change is noted there for Undo.
    static void MergeImportedPairs(CVNSheet* pSheet, RemapTable& table, EditStep* pStep = nullptr);
    // Tells the user, in one warning, what the table read held that the
    // mapping file cannot carry as written (ImportReport); nothing when it
    // held nothing of the kind.
    void ReportImport(const RemapTable& table);
    // The page that receives imported pairs of a mapping kind, or null.
    CBasePage* GetImportPage(MappingKind kind);

    int GetChangeFlags() const override { return m_nChangeFlags; }
    void SetChangeFlag(int nMask, BOOL bOn) override;

    // Edit > Undo and Redo: one history for the sheet, in the order the
    // user acted. Undo (bUndo) takes the last step back, Redo does the last
    // step undone again; the change flag follows, clear when the tables are
    // back to what the file holds.
    void AddEditStep(EditStep step) override;
    void UndoStep(bool bUndo);
    // A step that rebuilds the lists of every opened page (an import):
    // begun before the tables change, with the rows as the lists show them
    // and an empty edit per page in member order; ended, and kept when it
    // changed a table, after the pages were refreshed.
    EditStep BeginRebuildStep();
    void EndRebuildStep(EditStep step);

    // Edit > Find...: the system's Find dialog, modeless; its Find Next and
    // F3 (bDown) or Shift+F3 search the current page's rows from the
    // focused one on.
    void OpenFind();
    void FindNext(bool bDown);
    // Edit > Select All: every row of the current page.
    void SelectAllRows();

    // Reads (bLoad) or writes the mapping file, then refreshes the pages.
    // TRUE, except for a write that failed or that the user declined: the
    // user has been told then, and the old file is as it was.
    BOOL TransferMappingFile(BOOL bLoad);
    BOOL ReadMappingFile(CVNTextFile* pFile);
    BOOL WriteMappingFile(CVNTextFile* pFile);
    // What to tell the user about a failed save: for a character the code
    // page cannot hold, the page's tab title, the pair's key and the
    // character from the string table; otherwise the file's error text.
    CString SaveFailureText(const CVNTextFile& file);
    // The title on the tab of the page that shows a mapping kind.
    CString GetPageTitle(MappingKind kind);

    CPageAliases m_pageAliases;
    CPageMapCmd m_pageMapCmd;
    CPageColors m_pageColors;
    CPageLineStyles m_pageLineStyles;
    CPageCells m_pageCells;
    CPageWeights m_pageWeights;
    CPageLevels m_pageLevels;
    int m_nChangeFlags = 0;
    CString m_strMappingPath;
    CString m_strImportPath;
    // The mapping file as read (or as last saved): a file that differs from
    // it at Save was saved by someone else, and one that could not be read
    // holds pairs this window never showed; Save asks first.
    MappingReadStamp m_readStamp;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    // The Edit menu's keys, anywhere in the sheet but inside an edit box,
    // where Ctrl+Z and Ctrl+A keep their meaning there; TRUE when taken.
    BOOL OnShortcut(const MSG& msg);
    // After every change of the history: Undo and Redo greyed when there
    // is nothing to take back or redo, and each page's rows of the marked
    // import shown as such.
    void OnHistoryChanged();
    // Undo and Redo greyed when there is nothing to take back or redo.
    void UpdateEditMenu();
    // What the Find dialog reports: Find Next, or that it is closing.
    void OnFindMessage(const FINDREPLACEW& find);
    CBasePage* ActivePage();
    CBasePage* PageOfTable(const MappingTable* pTable);
    // The pages in member order, which is also the file's section order.
    std::array<CBasePage*, MappingKindCount> Pages();
    MappingTables Tables();
    // Tells the user why the save failed, naming the mapping file.
    void ReportSaveFault(const SaveResult& result, const CVNTextFile& file);

    EditHistory m_history;
    // The Find dialog's state, which outlives it: the text and its options
    // stay for F3 and the next Find.
    FINDREPLACEW m_find{};
    wchar_t m_szFindText[256] = {};
    DWORD m_nFindFlags = FR_DOWN;
    HWND m_hFindDialog = nullptr;
    // The registered message the Find dialog reports with.
    const UINT m_nFindMessage = ::RegisterWindowMessageW(FINDMSGSTRINGW);
};
