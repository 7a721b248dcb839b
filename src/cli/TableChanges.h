// The changes between two versions of a mapping table, in key order: what
// varnel diff lists and what varnel import counts.
#pragma once

#include "store/KeyOrder.h"
#include "store/MappingTable.h"

enum class Change { Added, Removed, Changed };

// Calls visit(Change, key, oldValue, newValue) for every key whose pair was
// added, removed or given another value; the missing side's value is "".
template <typename Visit>
void ForEachChange(const MappingTable& before, const MappingTable& after, Visit&& visit) {
    static const CString none;
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        const int order = old == before.end()  ? 1
                          : now == after.end() ? -1
                                               : KeyOrder::Compare(old->first.View(), now->first.View());
        if (order < 0) {
            visit(Change::Removed, old->first, old->second, none);
            ++old;
        } else if (order > 0) {
            visit(Change::Added, now->first, none, now->second);
            ++now;
        } else {
            if (old->second != now->second)
                visit(Change::Changed, old->first, old->second, now->second);
            ++old;
            ++now;
        }
    }
}
