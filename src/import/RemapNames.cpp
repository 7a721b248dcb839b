#include "import/RemapKind.h"

RemapNames::KindNames RemapNames::ForKind(int kind) {
    switch (kind) {
    case RemapLevels: return {u"Levels", u"Level", u"DWGOutputLayer"};
    case RemapColors: return {u"Colors", u"Color", u"DWGOutputColor"};
    case RemapWeights: return {u"Weights", u"Weight", u"DWGOutputWeight"};
    case RemapLineStyles: return {u"LineStyles", u"LineStyle", u"DWGOutputLineStyle"};
    case RemapFonts: return {u"Fonts", {}, {}};
    case RemapCellNames: return {u"CellNames", u"CellName", u"V7OutputCellName"};
    default: return {};
    }
}
