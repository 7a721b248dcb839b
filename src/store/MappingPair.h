// MappingPair: one entry of a mapping table, and the item data a list row
// carries for the pair it shows.
#pragma once

#include "framework/CString.h"

struct MappingPair {
    CString key;
    CString value;
};
