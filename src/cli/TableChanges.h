// The changes between two versions of a mapping table, in key order: what
// varnel diff lists and what varnel import counts.
#pragma once

#include "store/KeyOrder.h"
#include "store/MappingTable.h"

enum class Change { Added, Removed, Changed };

// Calls visit(Change, key, oldValue, newValue) for every key whose pair was
// added, removed or given another value; the missing side's value is "".
// The texts are views into the tables.
template <typename Visit>
void ForEachChange(const MappingTable& before, const MappingTable& after, Visit&& visit) {
    constexpr std::u16string_view none;
    auto old = before.begin();
    auto now = after.begin();
    while (old != before.end() || now != after.end()) {
        const int order = old == before.end()  ? 1
                          : now == after.end() ? -1
                                               : KeyOrder::Compare(old->Key(), now->Key());
        if (order < 0) {
            visit(Change::Removed, old->Key(), old->Value(), none);
            ++old;
        } else if (order > 0) {
            visit(Change::Added, now->Key(), none, now->Value());
            ++now;
        } else {
            if (old->Value() != now->Value())
                visit(Change::Changed, old->Key(), old->Value(), now->Value());
            ++old;
            ++now;
        }
    }
}
