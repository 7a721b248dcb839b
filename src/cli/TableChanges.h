// The changes between two versions of a mapping table, in key order: what
// varnel diff lists and what varnel import counts.
#pragma once

#include "store/model/KeyOrder.h"
#include "store/model/MappingTable.h"

#include <vector>

enum class Change { Added, Removed, Changed };

// A table's pairs as they stand now: its entries in key order. A table
// keeps an entry where it is until it is cleared or destroyed, also after
// its key was removed or given another value, so the snapshot goes on
// showing the table as it was, for the cost of a pointer a pair.
inline std::vector<const MappingEntry*> Snapshot(const MappingTable& table) {
    std::vector<const MappingEntry*> entries;
    entries.reserve(size_t(table.GetCount()));
    for (const MappingEntry& entry : table)
        entries.push_back(&entry);
    return entries;
}

namespace detail {
inline const MappingEntry& EntryOf(const MappingEntry& entry) { return entry; }
inline const MappingEntry& EntryOf(const MappingEntry* entry) { return *entry; }
}  // namespace detail

// Calls visit(Change, key, oldValue, newValue) for every key whose pair was
// added, removed or given another value; the missing side's value is "".
// before and after are tables or snapshots; the texts are views into them.
template <typename Before, typename After, typename Visit>
void ForEachChange(const Before& before, const After& after, Visit&& visit) {
    using detail::EntryOf;
    constexpr std::u16string_view none;
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        const int order = old == before.end()  ? 1
                          : now == after.end() ? -1
                                               : KeyOrder::Compare(EntryOf(*old).Key(), EntryOf(*now).Key());
        if (order < 0) {
            visit(Change::Removed, EntryOf(*old).Key(), EntryOf(*old).Value(), none);
            ++old;
        } else if (order > 0) {
            visit(Change::Added, EntryOf(*now).Key(), none, EntryOf(*now).Value());
            ++now;
        } else {
            if (EntryOf(*old).Value() != EntryOf(*now).Value())
                visit(Change::Changed, EntryOf(*old).Key(), EntryOf(*old).Value(), EntryOf(*now).Value());
            ++old;
            ++now;
        }
    }
}
