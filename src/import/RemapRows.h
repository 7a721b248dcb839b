// From rows to sections: the sectioned parse of a version 8 remap file and
// the single-table parse of a version 7 table, over either kind of buffer
// the tokenizer reads. What the rows become is the sink's business:
//
//   sink.Section(name)          a section marker row: a section begins
//   sink.Columns(names)         the row after it: the section's header
//   sink.Row(fields, line)      a data row of the newest section, and the
//                               line (from 1) it begins on
//
// The tokens are valid during the call only when the buffer is a window.
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

// A parse of either form, and where it stands between two windows. In a
// version 7 table every row is a data row of the one section, whose name
// and columns the kind fixes (RemapColumnsOfKind).
template <class Char>
class RemapParse {
public:
    explicit RemapParse(RemapMode mode) : m_mode(mode) {}

    // Reads rows until the text ends (End) or the window does (NeedMore).
    template <class Sink>
    RemapRowResult Run(BasicRemapTokenizer<Char>& tokenizer, Sink& sink) {
        for (;;) {
            const RemapRowResult result = tokenizer.ReadRow(m_fields);
            if (result != RemapRowResult::Row)
                return result;
            Take(tokenizer.RowLine(), sink);
        }
    }

    // Reads rows until a section marker and its header row were read (no
    // data row comes before them); false when the window ends first.
    template <class Sink>
    bool RunToSectionBody(BasicRemapTokenizer<Char>& tokenizer, Sink& sink) {
        while (Where() != Place::DataRow) {
            if (tokenizer.ReadRow(m_fields) != RemapRowResult::Row)
                return false;
            Take(tokenizer.RowLine(), sink);
        }
        return true;
    }

    // A row read next is taken for a section marker if it is one, not for
    // a section's header row.
    bool ExpectsSectionMarker() const { return !m_headerPending; }
    // What a row read next is taken for (a marker row aside).
    enum class Place { BeforeSections, Header, DataRow };
    Place Where() const { return !m_inSection ? Place::BeforeSections : m_headerPending ? Place::Header : Place::DataRow; }
    // The first row this parse read was a section marker: what follows
    // does not depend on any row before it.
    bool BeganWithSectionMarker() const { return m_bBeganWithMarker; }

private:
    template <class Sink>
    void Take(int line, Sink& sink) {
        if (m_mode == RemapMode::SingleTableMode) {
            sink.Row(m_fields, line);
        } else if (m_headerPending) {
            sink.Columns(m_fields);
            m_headerPending = false;
        } else if (m_fields.size() == 2 && BeginsWithName(m_fields[0].View(), RemapNames::SectionMarker)) {
            m_bBeganWithMarker = !m_bReadRow || m_bBeganWithMarker;
            sink.Section(m_fields[1]);
            m_inSection = m_headerPending = true;
        } else if (m_inSection) {
            sink.Row(m_fields, line);
        }
        // Rows before the first section marker belong nowhere and are skipped.
        m_bReadRow = true;
    }

    RemapMode m_mode;
    bool m_headerPending = false;
    bool m_inSection = false;
    bool m_bReadRow = false;          // a row was read whole
    bool m_bBeganWithMarker = false;  // and the first was a section marker
    std::vector<BasicRemapToken<Char>> m_fields;
};

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
// nameOf gives a column's header text.
template <class Columns, class NameOf>
int RemapColumnIndex(const Columns& columns, std::u16string_view wanted, NameOf nameOf) {
    for (size_t i = 0; i < columns.size(); ++i) {
        const auto name = nameOf(columns[i]);
        if (name.size() <= wanted.size() && BeginsWithName(name, wanted.substr(0, name.size())))
            return int(i);
    }
    return -1;
}

template <class Char>
int RemapColumnIndex(const std::vector<BasicRemapToken<Char>>& names, std::u16string_view wanted) {
    return RemapColumnIndex(names, wanted, [](const BasicRemapToken<Char>& name) { return name.View(); });
}
