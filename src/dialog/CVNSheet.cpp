#include "dialog/CVNSheet.h"

#include "framework/MessageBox.h"
#include "interface/CVarnelApp.h"

#include "resource.h"

#include <memory>
#include <new>

namespace {

CString LoadText(UINT nID) {
    CString text;
    text.LoadString(nID);
    return text;
}

}  // namespace

CVNSheet::CVNSheet(UINT nIDCaption, LPCWSTR pszPath, CWnd* pParent, UINT iSelectPage)
    : CBaseSheet(nIDCaption, pParent, iSelectPage) {
    m_strMappingPath = pszPath ? CString(pszPath) : CString();
    if (m_strMappingPath.IsEmpty())
        m_strMappingPath = theApp.GetStartDirectory() + u"\\" + u"commands.mapping";
    // Tab order, which is not the member order.
    AddPage(&m_pageAliases);
    AddPage(&m_pageColors);
    AddPage(&m_pageCells);
    AddPage(&m_pageLevels);
    AddPage(&m_pageWeights);
    AddPage(&m_pageMapCmd);
    AddPage(&m_pageLineStyles);
}

CVNSheet::~CVNSheet() = default;

std::array<CBasePage*, MappingKindCount> CVNSheet::Pages() {
    return {&m_pageAliases, &m_pageMapCmd, &m_pageColors, &m_pageLineStyles,
            &m_pageCells,   &m_pageWeights, &m_pageLevels};
}

MappingTables CVNSheet::Tables() {
    MappingTables tables{};
    auto pages = Pages();
    for (size_t i = 0; i < pages.size(); ++i)
        tables[i] = &pages[i]->m_table;
    return tables;
}

BOOL CVNSheet::OnInitDialog() {
    CBaseSheet::OnInitDialog();
    TransferMappingFile(TRUE);
    m_nChangeFlags = 0;
    return TRUE;
}

BOOL CVNSheet::OnCommand(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
    case IDOK:
        if (CanClose(IDOK))
            EndDialog(IDOK);
        break;
    case IDCANCEL:
        if (CanClose(IDCANCEL))
            EndDialog(IDCANCEL);
        break;
    case ID_IMPORT_V7:
        ImportTable(TRUE);
        break;
    case ID_IMPORT_V8:
        ImportTable(FALSE);
        break;
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
        UndoStep(LOWORD(wParam) == ID_EDIT_UNDO);
        break;
    case ID_EDIT_FIND:
        OpenFind();
        break;
    case ID_EDIT_FIND_NEXT:
        FindNext(true);
        break;
    case ID_EDIT_SELECT_ALL:
        SelectAllRows();
        break;
    }
    return TRUE;  // no command reaches the system's sheet
}

BOOL CVNSheet::PreTranslateMessage(MSG* pMsg) {
    // The Find dialog is modeless: its keys go to it as in any dialog.
    if (m_hFindDialog && (pMsg->hwnd == m_hFindDialog || ::IsChild(m_hFindDialog, pMsg->hwnd)))
        return ::IsDialogMessageW(m_hFindDialog, pMsg);
    if (pMsg->message == WM_KEYDOWN && OnShortcut(*pMsg))
        return TRUE;
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) && pMsg->wParam == VK_RETURN && pMsg->hwnd) {
        // Enter never presses the default button (Save): a single-line edit
        // swallows it, a multi-line edit keeps it, and on any other control
        // it acts as the space bar does.
        if (auto* pEdit = dynamic_cast<CEdit*>(CWnd::FromHandlePermanent(pMsg->hwnd))) {
            if (!(pEdit->GetStyle() & ES_MULTILINE))
                return TRUE;
        } else {
            pMsg->wParam = VK_SPACE;
        }
    }
    return CBaseSheet::PreTranslateMessage(pMsg);
}

BOOL CVNSheet::CanClose(UINT nID) {
    if (nID == IDOK)
        return ApplyChanges() != 0;
    if (GetChangeFlags() == 0)
        return TRUE;
    return ConfirmDiscard();
}

BOOL CVNSheet::ApplyChanges() {
    for (CBasePage* pPage : Pages()) {
        if (!pPage->m_hWnd)
            continue;
        if (!pPage->CommitControls())
            return FALSE;
        pPage->SetModified(FALSE);
    }
    return TransferMappingFile(FALSE) != 0;
}

BOOL CVNSheet::ConfirmDiscard() {
    CString strQuestion;
    strQuestion.LoadString(IDS_CONFIRM_DISCARD);
    return VNMessageBox(m_hWnd, strQuestion, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND | MB_TOPMOST) == IDYES;
}

void CVNSheet::RefreshPages() {
    for (CBasePage* pPage : Pages())
        if (pPage->m_hWnd)
            pPage->RefreshList();
}

void CVNSheet::SetChangeFlag(int nMask, BOOL bOn) {
    if (bOn)
        m_nChangeFlags |= nMask;
    else
        m_nChangeFlags &= ~nMask;
}

BOOL CVNSheet::TransferMappingFile(BOOL bLoad) {
    std::unique_ptr<CVNTextFile> pFile(new (std::nothrow) CVNTextFile(u"mapping", u"\n"));
    if (!pFile)
        return TRUE;
    if (bLoad)  // the tables are read afresh, and so is the history
        m_history.Clear(true);
    BOOL bResult = bLoad ? ReadMappingFile(pFile.get()) : WriteMappingFile(pFile.get());
    if (!bLoad && bResult)
        m_history.MarkSaved();
    RefreshPages();
    OnHistoryChanged();
    // A failed save keeps the dialog open with the tables as they are.
    return bLoad || bResult;
}

BOOL CVNSheet::ReadMappingFile(CVNTextFile* pFile) {
    return pFile && MappingFile::Read(pFile, m_strMappingPath, Tables(), &m_readStamp);
}

BOOL CVNSheet::WriteMappingFile(CVNTextFile* pFile) {
    if (!pFile)
        return FALSE;
    SaveResult result;
    while ((result = MappingFile::Save(*pFile, m_strMappingPath, Tables(), &m_readStamp)).fault ==
               SaveFault::ChangedSinceRead ||
           result.fault == SaveFault::NotRead) {
        CString question;
        question.Format(LoadText(result.fault == SaveFault::NotRead ? IDS_SAVE_NOT_READ : IDS_SAVE_CHANGED),
                        m_strMappingPath);
        if (VNMessageBox(m_hWnd, question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return FALSE;
        // Yes accepts the file as it is now; a further change asks again.
        m_readStamp = MappingReadStamp{FileSystem::GetStamp(m_strMappingPath)};
    }
    if (result.fault == SaveFault::None) {
        m_readStamp = MappingReadStamp{result.stamp};
        return TRUE;
    }
    ReportSaveFault(result, *pFile);
    return FALSE;
}

void CVNSheet::ReportSaveFault(const SaveResult& result, const CVNTextFile& file) {
    UINT nText = 0;
    switch (result.fault) {
    case SaveFault::None:
    case SaveFault::Cancelled:
    case SaveFault::ChangedSinceRead:  // asked before
    case SaveFault::NotRead:
        return;
    case SaveFault::Encoding:  // names the page, the key and the character
        VNMessageBox(m_hWnd, SaveFailureText(file), MB_OK | MB_ICONEXCLAMATION);
        return;
    case SaveFault::InUse: nText = IDS_SAVE_IN_USE; break;
    case SaveFault::ReadOnly: nText = IDS_SAVE_READ_ONLY; break;
    case SaveFault::FolderDenied: nText = IDS_SAVE_FOLDER_DENIED; break;
    case SaveFault::AccessDenied: nText = IDS_SAVE_ACCESS_DENIED; break;
    case SaveFault::DiskFull: nText = IDS_SAVE_DISK_FULL; break;
    case SaveFault::IsFolder: nText = IDS_SAVE_IS_FOLDER; break;
    case SaveFault::PathTooLong: nText = IDS_SAVE_PATH_TOO_LONG; break;
    case SaveFault::FolderMissing: nText = IDS_SAVE_FOLDER_MISSING; break;
    case SaveFault::Other: nText = IDS_SAVE_OTHER; break;
    }
    CString text;
    text.Format(LoadText(nText), m_strMappingPath, result.nSystemCode);
    VNMessageBox(m_hWnd, text + u"\n\n" + LoadText(IDS_SAVE_NOTHING_LOST), MB_OK | MB_ICONEXCLAMATION);
}

LRESULT CVNSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_nFindMessage && lParam) {
        OnFindMessage(*reinterpret_cast<const FINDREPLACEW*>(lParam));
        return 0;
    }
    if (message == WM_INITMENUPOPUP)
        UpdateEditMenu();
    return CBaseSheet::WindowProc(message, wParam, lParam);
}

void CVNSheet::OnDestroy() {
    // The Find dialog goes with its owner.
    m_hFindDialog = nullptr;
    CBaseSheet::OnDestroy();
}
