// File > Import: a MicroStation table chosen in the Open dialog is read and
// its pairs merged into the pages' tables. The import only ever adds or
// replaces pairs; the mapping file changes when the user saves.
#include "dialog/CVNSheet.h"

#include "framework/CFileDialog.h"
#include "framework/MessageBox.h"
#include "import/CSVReader.h"
#include "import/TableFileName.h"
#include "resource.h"

namespace {

// The hourglass from construction to destruction; the cursor shown before
// comes back afterwards, whatever way the scope is left.
class CWaitCursor {
public:
    CWaitCursor() : m_hRestore(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hRestore); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hRestore;
};

constexpr DWORD kImportDialogFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
static_assert(kImportDialogFlags == 0x881004);

}  // namespace

BOOL CVNSheet::ImportTable(BOOL bVersion7) {
    CString strTitle;
    strTitle.LoadString(IDS_SELECT_FILE);
    const wchar_t* pszFilter = bVersion7 ? L"MicroStation v7 Files (TBL)|*.TBL||"
                                         : L"MicroStation v8 Files (CSV)|*.CSV||";
    CFileDialog dlg(TRUE, L"", L"", kImportDialogFlags, pszFilter, this);
    dlg.GetOFN().lpstrTitle = strTitle;
    if (dlg.DoModal() != IDOK)
        return FALSE;

    CWaitCursor wait;
    CString strPath = dlg.GetPathName();
    if (strPath.IsEmpty())
        return FALSE;
    m_strImportPath = strPath;

    int nKind = RemapDetect;  // a version 8 file says its kinds itself
    if (bVersion7) {
        nKind = RemapKindFromFileName(m_strImportPath);
        if (nKind == RemapUnrecognised) {
            CString strText;
            strText.LoadString(IDS_NOT_RECOGNISED);
            VNMessageBox(m_hWnd, strText, MB_ICONINFORMATION);
            return FALSE;
        }
    }
    return ImportMappingTable(m_strImportPath, this, nKind);
}

BOOL CVNSheet::ImportMappingTable(const CString& strPath, CVNSheet* pSheet, int nKind) {
    if (!pSheet || strPath.IsEmpty() || nKind > RemapKindLast)
        return FALSE;
    RemapTable table = ReadRemapFile(strPath, nKind);
    switch (table.result) {
    case Parsed: {
        // The whole import is one step of the history: the opened pages'
        // rows before, each changed key's entries before and after.
        EditStep step = pSheet->BeginRebuildStep();
        MergeImportedPairs(pSheet, table, &step);
        pSheet->RefreshPages();
        pSheet->EndRebuildStep(std::move(step));
        if (!table.rowsLeftOut.empty())
            pSheet->ReportRowsLeftOut(table.rowsLeftOut);
        return TRUE;
    }
    case CannotRead: {
        CString strText;
        strText.LoadString(IDS_CANNOT_READ);
        VNMessageBox(pSheet->m_hWnd, strText, MB_ICONERROR);
        return FALSE;
    }
    default:
        // A version 8 file without a section marker: nothing to say.
        return FALSE;
    }
}

void CVNSheet::MergeImportedPairs(CVNSheet* pSheet, RemapTable& table, EditStep* pStep) {
    if (!pSheet)
        return;
    // Each page takes its pairs in one pass; like SetPair, that raises the
    // unsaved-changes bit for a page with a window only, so pairs merged
    // into never-opened pages do not count as edits.
    for (size_t kind = 0; kind < MappingKindCount; ++kind)
        if (CBasePage* pPage = pSheet->GetImportPage(MappingKind(kind)))
            pPage->MergePairs(std::move(table.pairs[kind]),
                              pStep && kind < pStep->pages.size() ? &pStep->pages[kind].table : nullptr);
}

void CVNSheet::ReportRowsLeftOut(const std::vector<RemapRowLeftOut>& leftOut) {
    constexpr size_t kNamed = 5;
    CString strLines;
    for (size_t i = 0; i < leftOut.size() && i < kNamed; ++i) {
        CString strLine;
        strLine.Format(i ? u", %d" : u"%d", int(leftOut[i].line));
        strLines += strLine;
    }
    CString strFormat, strText;
    if (leftOut.size() > kNamed) {
        strFormat.LoadString(IDS_IMPORT_MORE_ROWS);
        CString strMore;
        strMore.Format(strFormat, strLines, int(leftOut.size() - kNamed));
        strLines = strMore;
    }
    strFormat.LoadString(leftOut.size() == 1 ? IDS_IMPORT_ROW_LEFT_OUT : IDS_IMPORT_ROWS_LEFT_OUT);
    if (leftOut.size() == 1)
        strText.Format(strFormat, strLines);
    else
        strText.Format(strFormat, int(leftOut.size()), strLines);
    VNMessageBox(m_hWnd, strText, MB_OK | MB_ICONWARNING);
}

CBasePage* CVNSheet::GetImportPage(MappingKind kind) {
    switch (kind) {
    case KindLevels: return GetLevelsPage();
    case KindColors: return GetColorsPage();
    case KindWeights: return GetWeightsPage();
    case KindLineStyles: return GetLineStylesPage();
    case KindCells: return GetCellsPage();
    default: return nullptr;
    }
}
