// The values of a table that another pair spells differently in letter case
// only ("A-Wall" and "A-WALL"): AutoCAD takes such names as one. A hash of
// the values with their letters folded, filled one entry at a time (a large
// table is taken in over several steps), then asked value by value.
// Portable.
#pragma once

#include "store/model/MappingTable.h"

#include <string_view>
#include <unordered_map>
#include <vector>

class CaseVariants {
public:
    // Room for the values of nValues pairs.
    explicit CaseVariants(size_t nValues);

    // Takes in one entry's value.
    void Add(const MappingEntry& entry);
    // A value taken in that equals value ignoring ASCII letter case but is
    // spelt differently; empty when there is none.
    std::u16string_view OtherSpelling(std::u16string_view value) const;

private:
    // The slot of the entry whose value equals value ignoring case, or of
    // the empty slot where it would go.
    size_t SlotOf(std::u16string_view value) const;

    // Open addressing, at most half full: the first entry of each value
    // folded to lower case, null for an empty slot.
    std::vector<const MappingEntry*> m_first;
    // For the values spelt more than one way: the first entry's second
    // spelling.
    std::unordered_map<const MappingEntry*, const MappingEntry*> m_second;
};
