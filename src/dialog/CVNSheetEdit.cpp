// The Edit menu of the mapping sheet: Undo and Redo over the sheet's one
// history, Select All, and the keys of the whole menu. Find lives in
// CVNSheetFind.cpp.
#include "dialog/CVNSheet.h"

#include "resource.h"

#include <new>

namespace {

bool IsEditBox(HWND hWnd) {
    wchar_t name[16] = {};
    ::GetClassNameW(hWnd, name, 16);
    return ::lstrcmpiW(name, L"Edit") == 0;
}

bool KeyDown(int vk) { return ::GetKeyState(vk) < 0; }

}  // namespace

CBasePage* CVNSheet::ActivePage() {
    CPropertyPage* pActive = GetActivePage();
    for (CBasePage* pPage : Pages())
        if (pPage == pActive)
            return pPage;
    return nullptr;
}

CBasePage* CVNSheet::PageOfTable(const MappingTable* pTable) {
    for (CBasePage* pPage : Pages())
        if (&pPage->m_table == pTable)
            return pPage;
    return nullptr;
}

BOOL CVNSheet::OnShortcut(const MSG& msg) {
    if (!m_hWnd || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)) || KeyDown(VK_MENU))
        return FALSE;
    const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT);
    // An edit box keeps its own Ctrl+Z and Ctrl+A, and its clipboard keys.
    const bool editBox = IsEditBox(msg.hwnd);
    switch (msg.wParam) {
    case 'Z':
        if (!ctrl || editBox)
            return FALSE;
        UndoStep(!shift);  // Ctrl+Shift+Z redoes, as in many editors
        return TRUE;
    case 'Y':
        if (!ctrl || shift)
            return FALSE;
        UndoStep(false);
        return TRUE;
    case 'F':
        if (!ctrl || shift)
            return FALSE;
        OpenFind();
        return TRUE;
    case 'A':
        if (!ctrl || shift || editBox)
            return FALSE;
        SelectAllRows();
        return TRUE;
    case VK_F3:
        if (ctrl)
            return FALSE;
        FindNext(!shift);
        return TRUE;
    }
    return FALSE;
}

void CVNSheet::SelectAllRows() {
    if (CBasePage* pPage = ActivePage())
        pPage->SelectAllRows();
}

void CVNSheet::AddEditStep(EditStep step) {
    try {
        m_history.Add(std::move(step));
    } catch (const std::bad_alloc&) {
        m_history.Clear(false);  // what cannot be taken back in order cannot be taken back at all
    }
    OnHistoryChanged();
}

void CVNSheet::UndoStep(bool bUndo) {
    const EditStep* pStep = bUndo ? m_history.ToUndo() : m_history.ToRedo();
    if (!pStep)
        return;
    try {
        pStep->ApplyToTables(bUndo);
    } catch (const std::bad_alloc&) {
        // A table may hold part of the step: the lists show the tables as
        // they are, and nothing is left to undo.
        m_history.Clear(false);
        SetChangeFlag(kUnsavedChanges, TRUE);
        RefreshPages();
        OnHistoryChanged();
        return;
    }
    // A step of one page is shown on that page.
    if (pStep->pages.size() == 1) {
        CBasePage* pPage = PageOfTable(pStep->pages.front().pTable);
        if (pPage && pPage->m_hWnd && pPage != ActivePage())
            SetActivePage(GetPageIndex(pPage));
    }
    for (const PageEdit& edit : pStep->pages)
        if (CBasePage* pPage = PageOfTable(edit.pTable); pPage && pPage->m_hWnd)
            pPage->ShowEdit(edit, bUndo);
    if (bUndo)
        m_history.StepBack();
    else
        m_history.StepForward();
    SetChangeFlag(kUnsavedChanges, m_history.HasUnsavedChanges());
    OnHistoryChanged();
}

EditStep CVNSheet::BeginRebuildStep() {
    EditStep step;
    step.bMarksRows = true;  // an import's rows are marked until Save, its Undo or the next import
    for (CBasePage* pPage : Pages()) {
        PageEdit edit(&pPage->m_table);
        if (pPage->m_hWnd)
            edit.rows = pPage->RowsBeforeRebuild();
        step.pages.push_back(std::move(edit));
    }
    return step;
}

void CVNSheet::EndRebuildStep(EditStep step) {
    bool bChanged = false;
    step.bCounts = false;
    for (PageEdit& edit : step.pages) {
        edit.table.Finish();
        if (edit.table.IsEmpty())
            continue;
        bChanged = true;
        // Pairs merged into a page never opened raise no flag.
        step.bCounts = step.bCounts || edit.rows.kind != RowsEdit::kNone;
    }
    if (!bChanged) {
        m_history.EndMarks();
        OnHistoryChanged();
        return;
    }
    // A page keeps its part when its table changed or its rows were rebuilt.
    std::erase_if(step.pages, [](const PageEdit& edit) {
        return edit.table.IsEmpty() && (edit.rows.kind == RowsEdit::kNone || edit.rows.bFresh);
    });
    AddEditStep(std::move(step));
}

void CVNSheet::OnHistoryChanged() {
    UpdateEditMenu();
    for (CBasePage* pPage : Pages())
        if (pPage->m_looks.SetImportMarks(m_history.MarkedEdit(&pPage->m_table)) && pPage->m_wndList.m_hWnd)
            ::InvalidateRect(pPage->m_wndList.m_hWnd, nullptr, FALSE);
}

void CVNSheet::UpdateEditMenu() {
    HMENU hMenu = m_menu.GetSafeHmenu();
    if (!hMenu)
        return;
    ::EnableMenuItem(hMenu, ID_EDIT_UNDO, MF_BYCOMMAND | (m_history.ToUndo() ? MF_ENABLED : MF_GRAYED));
    ::EnableMenuItem(hMenu, ID_EDIT_REDO, MF_BYCOMMAND | (m_history.ToRedo() ? MF_ENABLED : MF_GRAYED));
}
