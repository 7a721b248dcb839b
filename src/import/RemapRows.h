// From rows to sections: the sectioned parse of a version 8 remap file and
// the single-table parse of a version 7 table, over either kind of text
// the tokenizer reads. What the rows become is the sink's business:
//
//   sink.Section(name)          a section marker row: a section begins
//   sink.Columns(names)         the row after it: the section's header
//   sink.Row(fields, line)      a data row of the newest section, and the
//                               line (from 1) it begins on
#pragma once

#include "import/RemapKind.h"
#include "import/RemapTokenizer.h"

#include <string_view>
#include <type_traits>
#include <vector>

// Whether text begins with the static name (ASCII: a byte compares as the
// character of its own code).
template <class Char>
bool BeginsWithName(std::basic_string_view<Char> text, std::u16string_view name) {
    if (text.size() < name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (char16_t(std::make_unsigned_t<Char>(text[i])) != name[i])
            return false;
    return true;
}

// Reads every row of the tokenizer's text into the sink. In a version 7
// table every row is a data row of the one section, whose name and columns
// the kind fixes (RemapColumnsOfKind); the caller tells the sink of them.
template <class Char, class Sink>
void ParseRemapRows(BasicRemapTokenizer<Char>& tokenizer, RemapMode mode, Sink& sink) {
    std::vector<BasicRemapToken<Char>> fields;
    bool inSection = false, headerPending = false;
    while (tokenizer.ReadRow(fields)) {
        if (mode == RemapMode::SingleTableMode) {
            sink.Row(fields, tokenizer.RowLine());
        } else if (headerPending) {
            sink.Columns(fields);
            headerPending = false;
        } else if (fields.size() == 2 && BeginsWithName(fields[0].View(), RemapNames::SectionMarker)) {
            sink.Section(fields[1]);
            inSection = headerPending = true;
        } else if (inSection) {
            sink.Row(fields, tokenizer.RowLine());
        }
        // Rows before the first section marker belong nowhere and are skipped.
    }
}

// The fixed columns of a version 7 table of kind, DWG value first.
std::vector<RemapToken> RemapColumnsOfKind(int kind);

// The kind a section's name gives ("ColorsV8" is a Colors section), 0 for
// none: the names are tested in the order Colors, Weights, LineStyles,
// CellNames, Levels.
template <class Char>
int RemapKindOfSection(std::basic_string_view<Char> name) {
    static constexpr int order[] = {RemapColors, RemapWeights, RemapLineStyles, RemapCellNames, RemapLevels};
    for (int kind : order)
        if (BeginsWithName(name, RemapNames::ForKind(kind).section))
            return kind;
    return 0;
}

// The index of the first header cell that matches the wanted column name,
// -1 for none. A cell matches when the wanted name begins with the whole
// cell: "Lev" and "" match "Level", "LevelName" does not.
template <class Char>
int RemapColumnIndex(const std::vector<BasicRemapToken<Char>>& names, std::u16string_view wanted) {
    for (size_t i = 0; i < names.size(); ++i) {
        const std::basic_string_view<Char> name = names[i].View();
        if (name.size() <= wanted.size() && BeginsWithName(name, wanted.substr(0, name.size())))
            return int(i);
    }
    return -1;
}
