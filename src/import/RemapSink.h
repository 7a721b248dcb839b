// The reader's one sink: takes the rows of the parse, keeps the kind and
// the two wanted columns of the current section, and puts each data row's
// pair, checked and trimmed, into the batch of its page. A row whose value
// a mapping-file line cannot carry is left out, by its line.
//
// The merge rule: within one table, the last DWG value given for a
// MicroStation value, compared before trimming, wins at the place where
// that value first appeared, and the trimmed pairs are then merged in that
// order. Where trimming changed none of a key's MicroStation values, that
// is the key's last pair. Where it changed one (a padded key), the sort of
// the batch picks the pair by the rule: values that trim to one key differ
// as written only in the white space trimmed off, which is noted, as a
// number, for the rows that had any.
#pragma once

#include "import/CSVReader.h"
#include "import/RemapToken.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

class TextCodec;

template <class Char>
class RemapSink {
public:
    using Token = BasicRemapToken<Char>;

    // The pairs go into table.pairs, the rows left out into
    // table.rowsLeftOut; bytes are widened through codec.
    RemapSink(RemapTable& table, const TextCodec& codec) : m_table(table), m_codec(codec) {}

    // A section marker row: the section's name decides its kind.
    void Section(const Token& name);
    // The row after it: where the kind's two columns are.
    void Columns(const std::vector<Token>& names);
    // A version 7 table: one section of kind with the kind's fixed columns.
    void SingleTable(int kind);
    void Row(const std::vector<Token>& fields, int line);
    // Sorts each page's pairs into key order, one pair a key by the rule.
    void Finish();

private:
    void SetKind(int kind);
    template <class Names>
    void FindColumns(const Names& names);

    // The rows of one page whose MicroStation value trimming changed: their
    // positions in the batch (ascending) and the white space trimmed off.
    struct Padded {
        std::vector<std::uint32_t> positions;
        std::vector<std::uint32_t> paddings;  // numbers of m_paddings
        // Of the pairs at group (positions, ascending) that share a key,
        // the one the rule keeps.
        std::uint32_t Pick(std::span<const std::uint32_t> group) const;
    };
    // The white space trimmed off the front and the back of a value,
    // the two joined by "|", by number from 1 (0: none).
    std::uint32_t PaddingNumber(std::basic_string_view<Char> front, std::basic_string_view<Char> back);

    RemapTable& m_table;
    const TextCodec& m_codec;
    int m_kind = 0;
    int m_page = -1;            // a MappingKind, -1 for a kind without a page
    int m_ms = -1, m_dwg = -1;  // the wanted columns' indexes, -1 for none
    std::array<Padded, MappingKindCount> m_padded;
    std::unordered_map<std::u16string, std::uint32_t> m_paddings;
};
