// EditHistory: what Edit > Undo takes back and Edit > Redo does again. One
// history for the whole sheet, in the order the user acted: an Insert, a
// Delete of one row or of many, a whole File > Import across its pages.
//
// Memory: a step holds what changed, never a copy of a table or of a pair.
// An edit of a key is the entry the key had before and the one it has
// after, as pointers into the table: an entry stays where it is until its
// table is cleared, and only reading the mapping file clears the tables,
// which starts the history afresh. So a step of an import costs one pointer
// per key it added and two per value it replaced.
#pragma once

#include "store/model/MappingTable.h"

#include <cstddef>
#include <span>
#include <vector>

// What one action did to one table: each key once, in key order.
class TableEdit {
public:
    // Makes a change, a call of the table's Assign or Remove (or of what
    // calls them), and notes it, in any order; the note's room comes first,
    // so that no change is ever made without its note. A key changed more
    // than once keeps its first entry before and its last one after.
    template <class Change>
    EntryChange Record(Change&& change) {
        m_bOneKeyEach = false;
        m_notes.emplace_back();
        try {
            m_notes.back() = change();
        } catch (...) {
            m_notes.pop_back();
            throw;
        }
        EntryChange made = m_notes.back();
        if (!made.Changed())
            m_notes.pop_back();
        return made;
    }
    // Notes changes already made (a merge's, which gathered them before it
    // changed the table, each key once in key order): into an edit that
    // has none yet, without copying.
    void Note(std::vector<EntryChange>&& made) {
        m_bOneKeyEach = m_notes.empty();
        if (m_notes.empty())
            m_notes.swap(made);
        else
            m_notes.insert(m_notes.end(), made.begin(), made.end());
    }
    // Puts the notes in key order and combines those of one key; once, when
    // the action is done.
    void Finish();
    bool IsEmpty() const { return m_added.empty() && m_removed.empty() && m_replaced.empty(); }

    // Takes the edit back from the table (bUndo) or makes it again.
    void Apply(MappingTable& table, bool bUndo) const;
    // The entries that Apply makes the table hold again, in key order:
    // those the edit removed or replaced (bUndo), or those it added or set.
    std::vector<const MappingEntry*> EntriesPut(bool bUndo) const;
    // Whether pEntry is one of the entries the edit added or set (one of
    // EntriesPut(false)): a search by its key, no list built.
    bool Puts(const MappingEntry* pEntry) const;

private:
    std::vector<EntryChange> m_notes;           // until Finish
    bool m_bOneKeyEach = false;                 // the notes are a merge's: in key order, each key once
    std::vector<const MappingEntry*> m_added;   // keys new to the table
    std::vector<const MappingEntry*> m_removed; // keys that left it, as they were
    std::vector<EntryChange> m_replaced;        // keys whose value changed
};

// How a page's list changed with a step, when the page had a window.
struct RowsEdit {
    enum Kind {
        kNone,     // no window then: the list is built from the table
        kOneRow,   // one row added, replaced or deleted (Insert, Delete of one)
        kRebuilt,  // the list rebuilt from the table (Delete of many, Import)
    };
    Kind kind = kNone;
    // kOneRow: the row and the entries it showed before and after (null:
    // there was no row, or it went).
    int nRow = -1;
    const MappingEntry* pBefore = nullptr;
    const MappingEntry* pAfter = nullptr;
    // kRebuilt: the rows before, in their order, with the list's sort,
    // unless they were the rows the rebuild of the table before gives
    // (bFresh): then nothing needs keeping. A Delete of many keeps the rows
    // it deleted, which Undo selects again.
    bool bFresh = true;
    std::vector<const MappingEntry*> rowsBefore;
    int nSortColumn = 0;
    bool bAscending = true;
    std::vector<int> selectedBefore;
};

// One page's part of a step.
struct PageEdit {
    explicit PageEdit(MappingTable* pPageTable) : pTable(pPageTable) {}
    MappingTable* pTable;
    TableEdit table;
    RowsEdit rows;
};

struct EditStep {
    std::vector<PageEdit> pages;
    // Whether the step raised the unsaved-changes bit: an import that only
    // reached pages never opened does not.
    bool bCounts = true;
    // An import: the lists mark the rows it added or changed while it is
    // the history's marked step.
    bool bMarksRows = false;

    // Takes the step back from its tables (bUndo) or makes it again.
    void ApplyToTables(bool bUndo) const;
};

class EditHistory {
public:
    // Adds a step after the current one; the steps undone before are gone.
    void Add(EditStep step);
    // The step Undo takes back or Redo does again; null when there is none.
    const EditStep* ToUndo() const { return m_nDone > 0 ? &m_steps[m_nDone - 1] : nullptr; }
    const EditStep* ToRedo() const { return m_nDone < m_steps.size() ? &m_steps[m_nDone] : nullptr; }
    // Moves back over the step ToUndo gave, or on over the one ToRedo gave.
    void StepBack();
    void StepForward();

    // The tables hold what the mapping file holds (read or saved just now).
    void MarkSaved();
    // Whether a step that counts lies between the tables and the file.
    bool HasUnsavedChanges() const;
    // Forgets every step: reading the file starts a new history
    // (bAtSaved); a step that could not be kept leaves tables that differ
    // from the file in ways no step tells.
    void Clear(bool bAtSaved);

    // The import whose rows the lists mark: the last one added or redone,
    // until Save, its Undo, the next import or Clear. Its edit of pTable,
    // or null when there is none or it left pTable alone.
    const TableEdit* MarkedEdit(const MappingTable* pTable) const;
    // An import that changed nothing ends the marks of the one before.
    void EndMarks() { m_nMarked = 0; }

private:
    std::vector<EditStep> m_steps;
    size_t m_nDone = 0;          // m_steps[0, m_nDone) are done
    size_t m_nMarked = 0;        // m_steps[m_nMarked - 1] is marked, a done step; 0: none
    size_t m_nSaved = 0;         // the tables held the file after this many
    bool m_bSavedGone = false;   // the steps to that point are gone
};
