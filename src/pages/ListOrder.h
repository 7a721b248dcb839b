// The order and the rows of a mapping list, as plain logic: how rows are
// sorted by a column, how a cell reads as a number, and which rows a table
// gives when keys differing only in letter case share a row.
#pragma once

#include "framework/CString.h"
#include "store/model/MappingTable.h"

#include <string_view>
#include <vector>

namespace ListOrder {

// The cell's integer as _wtoi reads it: leading white space skipped, an
// optional sign, the decimal digits up to the first other character, 0 when
// there are none (values beyond 32 bits saturate). *pbNumeric is TRUE
// exactly when that value is not 0, so "0", "00" and "abc" are text.
int ParseNumber(std::u16string_view strText, BOOL* pbNumeric);

// Whether two texts are equal with the ASCII letters folded, as
// CString::CompareNoCase tells equality.
bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);
// A hash of the text with the ASCII letters folded: texts equal ignoring
// case hash alike.
size_t FoldedHash(std::u16string_view text);

// The rows the table shows, in table order: keys equal ignoring ASCII case
// share one row, at the position of the first such key, showing the last
// one. Found through a hash of the folded key, never a scan of the rows.
// The rows point at the table's own entries.
std::vector<const MappingEntry*> RowsOfTable(const MappingTable& table);

// Sorts rows by column nColumn (0: keys, 1: values; any other column
// leaves them) in the list's order: two numeric cells compare as numbers,
// and equal numbers give -1; otherwise the cells compare ordinally; a
// descending sort negates the result. Each cell is read as a number once,
// and a merge sort makes the comparisons, so the inconsistent cases of the
// order (equal numbers compare as -1; numbers and texts mixed) can never
// lead it astray: the earlier of two rows stays first when they compare
// as -1 and goes second when they compare as 1, as the platform's list
// sort merges.
void SortRows(std::vector<const MappingEntry*>& rows, int nColumn, BOOL bAscending);

}  // namespace ListOrder
