// The seven mapping kinds, one per page and per section of the mapping
// file, in file order; and the seven tables handed around together.
#pragma once

#include <array>

enum MappingKind {
    KindAliases,
    KindMappingCommands,
    KindColors,
    KindLineStyles,
    KindCells,
    KindWeights,
    KindLevels,
    MappingKindCount
};

class MappingTable;

// The seven tables in section (file) order; a null entry is a kind without
// a table: its pairs are skipped on reading and its section written empty.
using MappingTables = std::array<MappingTable*, MappingKindCount>;
