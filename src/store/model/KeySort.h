// KeySort: the key order of a batch of entries by a radix sort, with little
// memory beyond the entries and without comparing whole keys for most pairs.
#pragma once

#include "store/model/MappingTable.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace KeySort {

// Chooses which of the entries that share a key is kept: given their
// positions in the order added (ascending, two or more), the one to keep.
using Pick = std::function<std::uint32_t(std::span<const std::uint32_t> positions)>;

// Reorders entries, given in the order they were added, into ascending key
// order (KeyOrder) and keeps one entry of each key: the one pick chooses,
// or without pick the one added last.
void Sort(std::vector<const MappingEntry*>& entries, const Pick& pick = {});

}  // namespace KeySort
