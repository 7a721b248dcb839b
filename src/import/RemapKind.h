// The kinds of MicroStation mapping table and the reader's name table.
#pragma once

#include <cstdint>
#include <string_view>

// A MicroStation table kind. 0 asks the reader to detect a version 8 remap
// file from its content; 1 to 6 name the kind of a version 7 table.
enum RemapKind : int {
    RemapDetect = 0,
    RemapLevels = 1,
    RemapColors = 2,
    RemapWeights = 3,
    RemapLineStyles = 4,
    RemapFonts = 5,
    RemapCellNames = 6,
    RemapKindLast = RemapCellNames,
    // Not a kind: a version 7 file name that names no known table.
    RemapUnrecognised = -1,
};

// Outcome of reading a table.
enum ReadResult : int {
    Parsed = 0,
    NotRecognised = 1,  // a version 8 file without a section marker
    CannotRead = 2,     // the file could not be read (or memory ran out)
};

// The reader's static names, each with its length in characters.
namespace RemapNames {
inline constexpr std::u16string_view SectionMarker = u"%section";
inline constexpr std::u16string_view SectionMarkerWithSeparator = u"%section,";
inline constexpr std::u16string_view Dummy1 = u"Dummy1";
inline constexpr std::u16string_view Dummy2 = u"Dummy2";
inline constexpr std::u16string_view Dummy3 = u"Dummy3";

// Section name, MicroStation column and DWG column of a kind; Fonts has no
// columns, and kind 0 and unknown kinds have nothing at all.
struct KindNames {
    std::u16string_view section;
    std::u16string_view microStationColumn;
    std::u16string_view dwgColumn;
};
KindNames ForKind(int kind);
}  // namespace RemapNames
