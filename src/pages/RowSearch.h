// RowSearch: Edit > Find over a page's rows, as plain logic. A row matches
// when its first or its second string holds the text; without Match case,
// letters are compared without their case (the Latin, Greek and Cyrillic
// letters of the basic blocks); with Whole word, the text must not run on
// into a letter, a digit or '_' on either side.
#pragma once

#include "store/model/MappingTable.h"

#include <span>
#include <string>
#include <string_view>

class RowSearch {
public:
    RowSearch(std::u16string_view text, bool bMatchCase, bool bWholeWord);

    // Whether the text occurs in cell.
    bool Holds(std::u16string_view cell) const;
    bool Matches(const MappingEntry& row) const { return Holds(row.Key()) || Holds(row.Value()); }
    // The first matching row from nStart on, going down (bDown) or up, to
    // the end of the rows in that direction; -1 when none does. A start
    // outside the rows finds nothing.
    int FindRow(std::span<const MappingEntry* const> rows, int nStart, bool bDown) const;

private:
    std::u16string m_text;  // folded unless m_bMatchCase
    bool m_bMatchCase;
    bool m_bWholeWord;
};
