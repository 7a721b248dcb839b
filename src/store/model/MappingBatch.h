// MappingBatch: pairs gathered for one table apart from it, to be merged in
// one pass (MappingTable::Merge) instead of an insert each. A read or an
// import adds hundreds of thousands of pairs in no particular order; one
// sort of the whole batch costs a fraction of inserting them one by one.
//
// Memory: each pair is an entry in the batch's arena, the same entry the
// table keeps (a merge hands the arena over, nothing is copied again). The
// entries are listed, a pointer each, only when the batch is sorted.
#pragma once

#include "store/model/EntryArena.h"
#include "store/model/KeySort.h"
#include "store/model/MappingTable.h"

#include <cstddef>
#include <string_view>
#include <vector>

class MappingBatch {
public:
    MappingBatch() = default;
    MappingBatch(MappingBatch&&) = default;
    MappingBatch& operator=(MappingBatch&&) = default;

    // Adds a pair after those added before; of pairs with equal keys (the
    // table's order: ordinal, case-sensitive) the one added last wins.
    // Copies the texts; the entry stays where it is until the batch is
    // merged or cleared, and then as long as the table.
    const MappingEntry& Add(std::u16string_view key, std::u16string_view value);
    // The same for texts in bytes, each widened by toChar(char) to its
    // UTF-16 unit (a single-byte code page) straight into the entry.
    template <class ToChar>
    const MappingEntry& Add(std::string_view key, std::string_view value, ToChar toChar) {
        Count();
        return *MappingEntry::Create(m_arena, key, value, toChar);
    }

    // Puts the pairs added so far in key order (a radix sort, KeySort) and
    // keeps one pair of each key: the one pick chooses from their positions
    // in the order added (from 0), or without pick the one added last. A
    // merge sorts a batch that is not sorted yet; a caller with a rule of
    // its own for equal keys sorts first.
    void Sort(const KeySort::Pick& pick = {});
    // Pairs added, repeated keys included.
    size_t GetCount() const { return m_count; }
    void Clear() noexcept;

private:
    friend class MappingTable;
    void Count();

    EntryArena m_arena;
    size_t m_count = 0;
    std::vector<const MappingEntry*> m_sorted;  // once sorted: one pair a key, in key order
    bool m_bSorted = true;                      // no pair added since the last sort
};
