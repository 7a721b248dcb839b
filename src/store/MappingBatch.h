// MappingBatch: pairs gathered for one table apart from it, to be merged in
// one pass (MappingTable::Merge) instead of an insert each. An import adds
// hundreds of thousands of pairs in no particular order; one sort of the
// whole batch costs a fraction of inserting them one by one.
//
// Memory: each pair is an entry in the batch's arena, the same entry the
// table keeps (a merge hands the arena over, nothing is copied again), and
// one pointer in the order added.
#pragma once

#include "store/EntryArena.h"
#include "store/MappingTable.h"
#include "store/TextCodec.h"

#include <cstddef>
#include <string_view>
#include <vector>

class MappingBatch {
public:
    MappingBatch() = default;
    MappingBatch(const MappingBatch&) = delete;
    MappingBatch& operator=(const MappingBatch&) = delete;

    // Adds a pair after those added before; of pairs with equal keys (the
    // table's order: ordinal, case-sensitive) the one added last wins.
    // Copies the texts.
    void Add(std::u16string_view key, std::u16string_view value);
    // The same for texts in bytes of a single-byte code page, widened
    // straight into the pair's entry.
    void Add(std::string_view key, std::string_view value, const TextCodec& codec);
    // Puts the pairs in key order and keeps of equal keys only the one
    // added last, ahead of the merge (which then only walks them): a batch
    // filled on one thread is sorted there. Pairs added afterwards come
    // after these, and still win over them.
    void Sort();
    // Adds later's pairs after those of this batch, as if added here in
    // their order; their entries stay where they are. later is left empty.
    // Sorted batches stay sorted runs, merged by the next Sort.
    void Append(MappingBatch&& later);
    // Room for this many pairs in all, made ahead when their number is
    // known roughly: the memory is touched only as pairs come.
    void Reserve(size_t pairs) { m_entries.reserve(pairs); }
    // Pairs added, repeated keys included.
    size_t GetCount() const { return m_entries.size(); }
    void Clear() noexcept;

private:
    friend class MappingTable;
    EntryArena m_arena;
    // In the order added; once sorted, the pairs sorted first, in key order,
    // then those added after.
    std::vector<const MappingEntry*> m_entries;
    // When m_entries are runs in key order, each key once within a run: the
    // end of each run (one run once sorted). Empty otherwise.
    std::vector<size_t> m_runEnds;
};
