// KeySort: the key order of a batch of entries, with little memory beyond
// the entries and without comparing whole keys for most pairs.
#pragma once

#include "store/MappingTable.h"

#include <vector>

namespace KeySort {

// Reorders entries, given in the order they were added, into ascending key
// order (KeyOrder) and keeps of equal keys only the one added last.
void SortKeepingLast(std::vector<const MappingEntry*>& entries);

}  // namespace KeySort
