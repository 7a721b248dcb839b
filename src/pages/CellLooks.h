// How the list draws each cell of a mapping page, decided in one place from
// the page's mapping kind and table: a cell whose text AutoCAD or
// MicroStation will not take is marked, an AutoCAD color shows a swatch of
// its color and an AutoCAD line weight a line of its width. A cell's look is
// worked out when the list draws it, never for every row at once. The one
// table-wide fact, which AutoCAD names the table spells in two letter cases,
// is found in one pass over the table when a cell first needs it after a
// change of the table. The rows the last import added or changed are bold,
// asked of that import's edit by the row's entry. Portable.
#pragma once

#include "pages/AciPalette.h"
#include "pages/CaseVariants.h"
#include "pages/EditHistory.h"
#include "pages/MappingRules.h"

#include <optional>

struct CellLook {
    enum class Picture {
        None,
        Swatch,       // a box filled with `color`
        EmptySwatch,  // an empty box: ByLayer, ByBlock and 0 have no color of their own
        WeightLine,   // a line `nWeight` hundredths of a millimetre wide
    };
    bool bMarked = false;    // a warning glyph and the warning colour
    bool bImported = false;  // bold: the last import added or changed the row
    Picture picture = Picture::None;
    AciColor color{};
    int nWeight = 0;
};

// The width in pixels of a line nWeight hundredths of a millimetre wide on
// a screen of nDpi dots per inch: at least one pixel.
int WeightLinePixels(int nWeight, int nDpi);

class CellLooks {
public:
    // The table is the page's own; it outlives these looks.
    CellLooks(MappingKind kind, const MappingTable& table) : m_kind(kind), m_table(table) {}

    // The look of column nColumn (0: the key, MicroStation; 1: the value,
    // AutoCAD) of a row showing key and value.
    CellLook LookOf(std::u16string_view key, std::u16string_view value, int nColumn) const;
    // The same for a row showing entry, with the import's mark.
    CellLook LookOf(const MappingEntry& entry, int nColumn) const;
    // The rules the cell breaks, each with its reason; empty for a clean
    // cell.
    std::vector<MappingRules::Finding> FindingsOf(std::u16string_view key, std::u16string_view value,
                                                  int nColumn) const;

    // The edit of the table by the import whose rows are marked (null:
    // none), kept until it is replaced here; whether the marks changed.
    bool SetImportMarks(const TableEdit* pImported);

private:
    // Another spelling of value among the table's values (case only); ""
    // when there is none.
    std::u16string_view CaseVariantOf(std::u16string_view value) const;

    MappingKind m_kind;
    const MappingTable& m_table;
    const TableEdit* m_pImported = nullptr;
    mutable std::optional<CaseVariants> m_variants;
    mutable unsigned m_nVariantsChange = 0;  // the table's change count they are found for
};
