#include "pages/CBasePage.h"

#include "framework/MessageBox.h"
#include "interface/CVarnelApp.h"
#include "pages/CChangeFlagHolder.h"
#include "pages/ListOrder.h"

#include <algorithm>

namespace {

// Selects the item whose text equals text ignoring case in a combo box that
// has items, item 0 when none does. The search starts after item 0 and
// comes back to it last.
void SelectMatching(const CComboBox& combo, const CString& text) {
    if (combo.GetCount() <= 0)
        return;
    int index = combo.FindStringExact(0, text);
    combo.SetCurSel(index == CB_ERR ? 0 : index);
}

}  // namespace

CBasePage::CBasePage(UINT nIDTemplate, MappingKind kind, UINT nFirstColumnTitle, UINT nSecondColumnTitle)
    : CPropertyPage(nIDTemplate, 0), m_looks(kind, m_table), m_nColumnTitles{nFirstColumnTitle, nSecondColumnTitle} {
    m_psp.dwFlags &= ~DWORD(PSP_HASHELP);
}

CBasePage::~CBasePage() = default;

BOOL CBasePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (m_wndList.GetColumnCount() < 1) {
        RECT rc{};
        m_wndList.GetWindowRect(&rc);
        int width = rc.right - rc.left;
        m_wndList.AddColumn(0, m_nColumnTitles[0], width * 50 / 100);
        m_wndList.AddColumn(1, m_nColumnTitles[1], width * 49 / 100);
        m_wndList.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP, 0);
    }
    m_wndList.SetLooks(&m_looks);
    RefreshList();
    RegisterHelp();
    // The list's marked cells tell their reasons where its help text shows.
    theApp.m_wndHelp.SetToolNotes(&m_wndList, &m_wndList);
    return FillControls();
}

BOOL CBasePage::PreTranslateMessage(MSG* pMsg) { return CPropertyPage::PreTranslateMessage(pMsg); }

BOOL CBasePage::CommitControls() { return TRUE; }
BOOL CBasePage::FillControls() { return TRUE; }
void CBasePage::RegisterHelp() {}

void CBasePage::UpdateButtons() {
    m_wndDelete.EnableWindow(m_wndList.GetSelectedCount() > 0);
    if (m_wndEdit1.m_hWnd)
        m_wndInsert.EnableWindow(::GetWindowTextLengthW(m_wndEdit1.m_hWnd) > 0);
    else if (m_wndCombo1.m_hWnd)
        m_wndInsert.EnableWindow(m_wndCombo1.GetCurSel() != CB_ERR);
}

CChangeFlagHolder* CBasePage::Sheet() const {
    if (!m_hWnd)
        return nullptr;
    CWnd* pOwner = GetParentOwner();
    return pOwner && pOwner->m_hWnd ? dynamic_cast<CChangeFlagHolder*>(pOwner) : nullptr;
}

void CBasePage::RaiseChangeFlag() {
    CChangeFlagHolder* pSheet = Sheet();
    if (pSheet && !(pSheet->GetChangeFlags() & kUnsavedChanges))
        pSheet->SetChangeFlag(kUnsavedChanges, TRUE);
}

void CBasePage::SetPair(CString key, CString value) { SetPair(key.View(), value.View()); }

EntryChange CBasePage::SetPair(std::u16string_view key, std::u16string_view value) {
    EntryChange change = m_table.Assign(key, value);
    if (change.Changed())
        RaiseChangeFlag();
    return change;
}

void CBasePage::MergePairs(MappingBatch&& pairs, TableEdit* pEdit) {
    std::vector<EntryChange> changes;
    const MappingTable::MergeCounts counts = m_table.Merge(std::move(pairs), pEdit ? &changes : nullptr);
    if (pEdit)
        pEdit->Note(std::move(changes));
    if (counts.added || counts.changed)
        RaiseChangeFlag();
}

CString CBasePage::GetValue(CString key) const { return m_table.GetValue(key); }
EntryChange CBasePage::RemovePair(CString key) { return m_table.Remove(key.View()); }
void CBasePage::ClearPairs() { m_table.ClearPairs(); }

BOOL CBasePage::RefreshList() {
    if (!m_wndList.m_hWnd)
        return TRUE;
    if (m_bRefreshed && m_nRefreshedTable == m_table.GetChangeCount() &&
        m_nRefreshedRows == m_wndList.GetChangeCount()) {
        // Nothing changed since the last refresh (a save, say): the same
        // rows in the same order, only the list starts afresh.
        m_wndList.ShowRows(m_wndList.TakeRows());
    } else {
        // Keys equal ignoring case share a row, found through an index; the
        // rows show the table's entries as they are.
        m_wndList.ShowRows(ListOrder::RowsOfTable(m_table));
        if (!m_table.IsEmpty())
            m_wndList.SortByColumn(0, TRUE);
    }
    m_bRefreshed = true;
    m_nRefreshedTable = m_table.GetChangeCount();
    m_nRefreshedRows = m_wndList.GetChangeCount();
    UpdateButtons();
    m_wndList.TellNoteChanged();
    return TRUE;
}

BOOL CBasePage::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nId = LOWORD(wParam), nCode = HIWORD(wParam);
    if (nCode == BN_CLICKED && nId == IDC_INSERT)
        OnInsert();
    else if (nCode == BN_CLICKED && nId == IDC_DELETE)
        OnDelete();
    else if ((nCode == EN_CHANGE && (nId == IDC_EDIT1 || nId == IDC_EDIT2)) ||
             (nCode == CBN_SELCHANGE && (nId == IDC_COMBO1 || nId == IDC_COMBO2)))
        OnChangeInput();
    else
        return CPropertyPage::OnCommand(wParam, lParam);
    return TRUE;
}

BOOL CBasePage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    if (!pHeader || pHeader->idFrom != IDC_LIST)
        return CPropertyPage::OnNotify(wParam, lParam, pResult);
    switch (pHeader->code) {
    case LVN_ITEMCHANGED:
    case LVN_ODSTATECHANGED: {
        // Rows that changed state at once (select all, shift-click) are one
        // change of the selection; a sort carrying the selection along with
        // its rows is none.
        NMLISTVIEW range{};
        range.hdr = *pHeader;
        range.iItem = -1;
        range.uChanged = LVIF_STATE;
        const auto* pChange = pHeader->code == LVN_ITEMCHANGED ? reinterpret_cast<const NMLISTVIEW*>(lParam) : &range;
        *pResult = 0;
        if (!m_wndList.IsMovingSelection())
            OnItemChangedList(pChange, pResult);
        return TRUE;
    }
    case LVN_KEYDOWN:
        // The Delete key does what the Delete button does.
        if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE)
            OnDelete();
        *pResult = 0;
        return TRUE;
    case LVN_ODFINDITEMW:
        *pResult = m_wndList.OnFindItem(reinterpret_cast<const NMLVFINDITEMW*>(lParam));
        return TRUE;
    case LVN_COLUMNCLICK:
        // Reflected: the list sorts itself.
        m_wndList.OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(lParam), pResult);
        return TRUE;
    case LVN_GETDISPINFOW:
        m_wndList.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam));
        *pResult = 0;
        return TRUE;
    case LVN_DELETEALLITEMS:
        // Never leave a stale result here.
        *pResult = 0;
        return TRUE;
    case NM_CUSTOMDRAW:
        *pResult = m_wndList.OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        return TRUE;
    }
    return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

void CBasePage::OnDestroy() {
    theApp.m_wndHelp.SetToolNotes(&m_wndList, nullptr);
    CPropertyPage::OnDestroy();
    m_wndList.DeleteAllPairItems();  // the table stays
}

void CBasePage::OnInsert() {
    CString first, second;
    if (UsesCombos()) {
        if (m_wndCombo1.GetCount() > 0) {
            int selected = m_wndCombo1.GetCurSel();
            first = m_wndCombo1.GetLBText(selected == CB_ERR ? 0 : selected);
        }
        if (m_wndCombo2.GetCount() > 0 && m_wndCombo2.GetCurSel() != CB_ERR)
            second = m_wndCombo2.GetLBText(m_wndCombo2.GetCurSel());
    } else if (UsesEdits()) {
        first = m_wndEdit1.GetWindowText();
        second = m_wndEdit2.GetWindowText();
        first.Trim();
        second.Trim();
        m_wndEdit1.SetWindowText(first);
        m_wndEdit2.SetWindowText(second);
    }
    if (first.IsEmpty())
        return;
    // The row replaced (the one whose key equals first ignoring case) or
    // the one appended, for Undo.
    PageEdit edit(&m_table);
    edit.rows.kind = RowsEdit::kOneRow;
    int nSame = m_wndList.FindRowOfKey(first.View());
    edit.rows.nRow = nSame >= 0 ? nSame : m_wndList.GetItemCount();
    edit.rows.pBefore = m_wndList.RowIn(nSame, m_table);
    m_wndList.AddPairItem(m_wndList.GetItemCount(), first, second);
    m_wndList.EnsureVisible(edit.rows.nRow, FALSE);
    edit.rows.pAfter = edit.table.Record([&] { return SetPair(first.View(), second.View()); }).after;
    // Other rows' looks follow the table: the new value may be another
    // spelling of theirs.
    ::InvalidateRect(m_wndList.m_hWnd, nullptr, FALSE);
    m_wndList.TellNoteChanged();
    AddStep(std::move(edit));
}

void CBasePage::OnDelete() {
    int nSelected = int(m_wndList.GetSelectedCount());
    if (nSelected < 1)
        return;
    if (nSelected > 1) {
        CString format, question;
        format.LoadString(IDS_CONFIRM_DELETE);
        question.Format(format, nSelected);
        if (VNMessageBox(m_hWnd, question, MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND | MB_TOPMOST) != IDYES)
            return;
    }
    std::vector<int> selected = m_wndList.GetSelectedRows();
    PageEdit edit(&m_table);
    if (nSelected > 1) {
        edit.rows = RowsBeforeRebuild();
        edit.rows.selectedBefore = selected;
    } else if (!selected.empty()) {
        edit.rows.kind = RowsEdit::kOneRow;
        edit.rows.nRow = selected.back();
        edit.rows.pBefore = m_wndList.RowIn(selected.back(), m_table);
    }
    int nLast = -1;
    for (int i : selected) {
        if (const MappingEntry* pPair = m_wndList.GetItemPair(i))
            if (!pPair->Key().empty())
                edit.table.Record([&] { return RemovePair(CString(pPair->Key())); });
        nLast = i;
    }
    if (nSelected == 1) {
        m_wndList.DeletePairItem(nLast);
        ::InvalidateRect(m_wndList.m_hWnd, nullptr, FALSE);  // a spelling of another row's value may have gone
    } else {
        RefreshList();
    }
    // Deleted rows are changes the file does not hold yet: Cancel asks.
    RaiseChangeFlag();
    UpdateButtons();
    m_wndList.TellNoteChanged();
    AddStep(std::move(edit));
}

void CBasePage::AddStep(PageEdit edit) {
    edit.table.Finish();
    CChangeFlagHolder* pSheet = Sheet();
    if (edit.table.IsEmpty() || !pSheet)
        return;
    EditStep step;
    step.pages.push_back(std::move(edit));
    pSheet->AddEditStep(std::move(step));
}

RowsEdit CBasePage::RowsBeforeRebuild() const {
    RowsEdit rows;
    rows.kind = RowsEdit::kRebuilt;
    rows.nSortColumn = m_wndList.GetSortColumn();
    rows.bAscending = m_wndList.IsAscending() != FALSE;
    rows.bFresh = m_bRefreshed && m_nRefreshedTable == m_table.GetChangeCount() &&
                  m_nRefreshedRows == m_wndList.GetChangeCount();
    if (!rows.bFresh)
        rows.rowsBefore = m_wndList.RowsIn(m_table);
    return rows;
}

std::vector<int> CBasePage::RowsShowing(std::vector<const MappingEntry*> entries) const {
    std::vector<int> rows;
    if (entries.empty())
        return rows;
    std::sort(entries.begin(), entries.end());
    const std::vector<const MappingEntry*>& shown = m_wndList.GetRows();
    for (size_t i = 0; i < shown.size(); ++i)
        if (std::binary_search(entries.begin(), entries.end(), shown[i]))
            rows.push_back(int(i));
    return rows;
}

void CBasePage::ShowEdit(const PageEdit& edit, bool bUndo) {
    if (!m_wndList.m_hWnd)
        return;
    const RowsEdit& rows = edit.rows;
    std::vector<int> selected;
    if (rows.kind == RowsEdit::kOneRow) {
        const MappingEntry* pShown = bUndo ? rows.pBefore : rows.pAfter;
        const MappingEntry* pGone = bUndo ? rows.pAfter : rows.pBefore;
        if (!pShown && !pGone)
            return;
        // The row the step changed, unless a sort has moved it since: then
        // the row of its key.
        std::u16string_view key = (pShown ? pShown : pGone)->Key();
        int nRow = rows.nRow;
        const MappingEntry* pAt = m_wndList.GetItemPair(nRow);
        if (!pAt || !ListOrder::EqualIgnoringCase(pAt->Key(), key))
            nRow = m_wndList.FindRowOfKey(key);
        if (!pShown) {
            m_wndList.DeletePairItem(nRow);
        } else if (nRow >= 0) {
            m_wndList.PutRow(nRow, pShown);
            selected.push_back(nRow);
        } else {
            nRow = std::min(rows.nRow, m_wndList.GetItemCount());
            m_wndList.InsertRow(nRow, pShown);
            selected.push_back(nRow);
        }
    } else {
        if (rows.kind == RowsEdit::kRebuilt && bUndo && !rows.bFresh)
            m_wndList.ShowRows(rows.rowsBefore, rows.nSortColumn, rows.bAscending);
        else
            RefreshList();
        // The rows a Delete took come back where they were; others are
        // found by their entries.
        selected = bUndo && !rows.selectedBefore.empty() ? rows.selectedBefore
                                                          : RowsShowing(edit.table.EntriesPut(bUndo));
    }
    m_wndList.SelectRows(selected);
    OnSelectionSet();
    // Other rows' looks follow the table, as after an Insert or a Delete.
    ::InvalidateRect(m_wndList.m_hWnd, nullptr, FALSE);
    m_wndList.TellNoteChanged();
}

void CBasePage::SelectAllRows() {
    if (m_wndList.m_hWnd)
        m_wndList.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void CBasePage::SelectRow(int nRow) {
    if (!m_wndList.m_hWnd || !m_wndList.GetItemPair(nRow))
        return;
    m_wndList.SelectRows({nRow});
    OnSelectionSet();
}

void CBasePage::OnSelectionSet() {
    NMLISTVIEW change{};
    change.iItem = -1;
    change.uChanged = LVIF_STATE;
    LRESULT result = 0;
    OnItemChangedList(&change, &result);
}

void CBasePage::OnItemChangedList(const NMLISTVIEW* pNMListView, LRESULT* pResult) {
    *pResult = 0;
    if (!(pNMListView->uChanged & LVIF_STATE))
        return;
    int nItem = m_wndList.GetNextItem(-1, LVNI_SELECTED);
    if (const MappingEntry* pPair = m_wndList.GetItemPair(nItem)) {
        const auto& [key, value] = *pPair;
        if (UsesCombos()) {
            SelectMatching(m_wndCombo1, key);
            SelectMatching(m_wndCombo2, value);
        } else if (UsesEdits()) {
            m_wndEdit1.SetWindowText(CString(key));
            m_wndEdit2.SetWindowText(CString(value));
        }
    }
    UpdateButtons();
    m_wndList.TellNoteChanged();
}



void CBasePage::OnChangeInput() { UpdateButtons(); }
