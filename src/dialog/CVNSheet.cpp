#include "dialog/CVNSheet.h"

#include "framework/MessageBox.h"
#include "interface/CVarnelApp.h"

#include <memory>
#include <new>

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
    }
    return TRUE;  // no command reaches the system's sheet
}

BOOL CVNSheet::PreTranslateMessage(MSG* pMsg) {
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
    BOOL bResult = bLoad ? ReadMappingFile(pFile.get()) : WriteMappingFile(pFile.get());
    RefreshPages();
    if (bLoad || bResult)
        return TRUE;
    // A failed save keeps the dialog open with the tables as they are.
    VNMessageBox(m_hWnd, SaveFailureText(*pFile), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CVNSheet::ReadMappingFile(CVNTextFile* pFile) {
    return pFile && MappingFile::Read(pFile, m_strMappingPath, Tables());
}

BOOL CVNSheet::WriteMappingFile(CVNTextFile* pFile) {
    return pFile && MappingFile::Write(pFile, m_strMappingPath, Tables());
}

void CVNSheet::WriteSection(CStringArray& lines, CString name, CBasePage* pPage) {
    if (pPage)
        MappingFile::WriteSection(lines, name, &pPage->m_table);
}

CString CVNSheet::FormatPairLine(CString key, CString value) { return MappingFile::FormatPairLine(key, value); }

CString CVNSheet::GetBackupPath() { return MappingFile::GetBackupPath(); }
