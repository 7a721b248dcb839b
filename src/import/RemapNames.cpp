#include "import/RemapRows.h"

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

std::vector<RemapToken> RemapColumnsOfKind(int kind) {
    using namespace RemapNames;
    const KindNames names = ForKind(kind);
    std::vector<std::u16string_view> list;
    switch (kind) {
    case RemapLevels: list = {names.dwgColumn, names.microStationColumn, Dummy1, Dummy2, Dummy3}; break;
    case RemapLineStyles: list = {names.dwgColumn, names.microStationColumn, Dummy1}; break;
    case RemapColors:
    case RemapWeights:
    case RemapCellNames: list = {names.dwgColumn, names.microStationColumn}; break;
    default: break;
    }
    std::vector<RemapToken> tokens;
    for (std::u16string_view name : list)
        tokens.push_back(RemapToken::Of(name));
    return tokens;
}
