// Many batches into their tables at once: each table takes its own batch
// (MappingTable::Merge), and the tables do not share anything, so two of
// them merge at a time when the batches are large.
#pragma once

#include "store/MappingBatch.h"
#include "store/MappingFile.h"

#include <array>

using MappingBatches = std::array<MappingBatch*, MappingKindCount>;

// Merges each batch into the table of its page; a page whose table or batch
// is null is skipped. Throws std::bad_alloc when memory runs out: the
// tables then hold what was merged before.
void MergeBatches(const MappingTables& tables, const MappingBatches& batches);
