// The fixed values the Colors and Line Weights pages offer in their
// drop-down lists, in the order the lists show them (never sorted).
#pragma once

#include "framework/CString.h"

#include <vector>

namespace FixedValueLists {

// "ByLevel", "ByCell", "0" to "254", "BG": 258 entries.
const std::vector<CString>& MicroStationColors();
// "ByLayer", "ByBlock", "0" to "255": 258 entries.
const std::vector<CString>& AutoCadColors();
// "ByLevel", "ByCell", "0" to "31": 34 entries.
const std::vector<CString>& MicroStationWeights();
// "ByLayer", "ByBlock", the 24 line weights in hundredths of a millimetre
// from "0" to "211", then "Default": 27 entries.
const std::vector<CString>& AutoCadWeights();

}  // namespace FixedValueLists
