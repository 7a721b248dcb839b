#include "pages/EditHistory.h"

#include "store/model/KeyOrder.h"

#include <algorithm>
#include <utility>

namespace {

bool KeyBefore(const EntryChange& a, const EntryChange& b) { return KeyOrder::Compare(a.Key(), b.Key()) < 0; }

}  // namespace

void TableEdit::Finish() {
    // A merge's notes are in key order, one a key: they are neither sorted
    // nor gathered (each would read their keys again, a pass through the
    // table's memory in no particular order).
    if (!m_bOneKeyEach && !std::is_sorted(m_notes.begin(), m_notes.end(), KeyBefore))
        std::stable_sort(m_notes.begin(), m_notes.end(), KeyBefore);
    // Each key's first entry before and last entry after, gathered in place.
    size_t kept = m_bOneKeyEach ? m_notes.size() : 0;
    for (size_t i = 0; i < m_notes.size() && !m_bOneKeyEach;) {
        size_t end = i + 1;
        while (end < m_notes.size() && m_notes[end].Key() == m_notes[i].Key())
            ++end;
        EntryChange change{m_notes[i].before, m_notes[end - 1].after};
        if (change.Changed())
            m_notes[kept++] = change;
        i = end;
    }
    // Counted first, so that each list takes exactly its room.
    size_t added = 0, removed = 0;
    for (size_t i = 0; i < kept; ++i) {
        added += !m_notes[i].before;
        removed += !m_notes[i].after;
    }
    m_added.reserve(m_added.size() + added);
    m_removed.reserve(m_removed.size() + removed);
    m_replaced.reserve(m_replaced.size() + kept - added - removed);
    for (size_t i = 0; i < kept; ++i) {
        const EntryChange& change = m_notes[i];
        if (!change.before)
            m_added.push_back(change.after);
        else if (!change.after)
            m_removed.push_back(change.before);
        else
            m_replaced.push_back(change);
    }
    std::vector<EntryChange>().swap(m_notes);
}

std::vector<const MappingEntry*> TableEdit::EntriesPut(bool bUndo) const {
    const std::vector<const MappingEntry*>& whole = bUndo ? m_removed : m_added;
    std::vector<const MappingEntry*> put;
    put.reserve(whole.size() + m_replaced.size());
    auto next = m_replaced.begin();
    auto replacedEntry = [bUndo](const EntryChange& change) { return bUndo ? change.before : change.after; };
    for (const MappingEntry* pEntry : whole) {
        for (; next != m_replaced.end() && KeyOrder::Compare(next->Key(), pEntry->Key()) < 0; ++next)
            put.push_back(replacedEntry(*next));
        put.push_back(pEntry);
    }
    for (; next != m_replaced.end(); ++next)
        put.push_back(replacedEntry(*next));
    return put;
}

bool TableEdit::Puts(const MappingEntry* pEntry) const {
    if (!pEntry)
        return false;
    const std::u16string_view key = pEntry->Key();
    auto added = std::lower_bound(m_added.begin(), m_added.end(), key, [](const MappingEntry* pAdded, auto wanted) {
        return KeyOrder::Compare(pAdded->Key(), wanted) < 0;
    });
    if (added != m_added.end() && *added == pEntry)
        return true;
    auto replaced = std::lower_bound(m_replaced.begin(), m_replaced.end(), key, [](const EntryChange& change, auto wanted) {
        return KeyOrder::Compare(change.Key(), wanted) < 0;
    });
    return replaced != m_replaced.end() && replaced->after == pEntry;
}

void TableEdit::Apply(MappingTable& table, bool bUndo) const {
    table.Reapply(bUndo ? m_added : m_removed, EntriesPut(bUndo));
}

void EditStep::ApplyToTables(bool bUndo) const {
    for (const PageEdit& page : pages)
        if (page.pTable)
            page.table.Apply(*page.pTable, bUndo);
}

void EditHistory::Add(EditStep step) {
    if (m_nSaved > m_nDone)
        m_bSavedGone = true;
    const bool bMarks = step.bMarksRows;
    m_steps.resize(m_nDone);
    m_steps.push_back(std::move(step));
    m_nDone = m_steps.size();
    if (bMarks)
        m_nMarked = m_nDone;
}

void EditHistory::StepBack() {
    if (m_nDone == 0)
        return;
    if (m_nMarked == m_nDone)
        m_nMarked = 0;
    --m_nDone;
}

void EditHistory::StepForward() {
    if (m_nDone == m_steps.size())
        return;
    if (m_steps[m_nDone++].bMarksRows)
        m_nMarked = m_nDone;
}

void EditHistory::MarkSaved() {
    m_nSaved = m_nDone;
    m_bSavedGone = false;
    m_nMarked = 0;
}

const TableEdit* EditHistory::MarkedEdit(const MappingTable* pTable) const {
    if (m_nMarked == 0)
        return nullptr;
    for (const PageEdit& page : m_steps[m_nMarked - 1].pages)
        if (page.pTable == pTable)
            return &page.table;
    return nullptr;
}

bool EditHistory::HasUnsavedChanges() const {
    if (m_bSavedGone)
        return true;
    auto first = m_steps.begin() + std::ptrdiff_t(std::min(m_nDone, m_nSaved));
    auto last = m_steps.begin() + std::ptrdiff_t(std::max(m_nDone, m_nSaved));
    return std::any_of(first, last, [](const EditStep& step) { return step.bCounts; });
}

void EditHistory::Clear(bool bAtSaved) {
    m_steps.clear();
    m_nDone = m_nSaved = m_nMarked = 0;
    m_bSavedGone = !bAtSaved;
}
