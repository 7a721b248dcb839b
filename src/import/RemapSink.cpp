#include "import/RemapSink.h"

#include "import/ImportMerge.h"
#include "import/RemapRows.h"
#include "store/platform/TextCodec.h"

#include <algorithm>
#include <type_traits>
#include <utility>

template <class Char>
void RemapSink<Char>::SetKind(int kind) {
    m_kind = kind;
    MappingKind page;
    m_page = PageOfRemapKind(kind, page) ? int(page) : -1;
    m_ms = m_dwg = -1;
}

template <class Char>
void RemapSink<Char>::Section(const Token& name) {
    SetKind(RemapKindOfSection(name.View()));
}

template <class Char>
template <class Names>
void RemapSink<Char>::FindColumns(const Names& names) {
    if (m_page < 0)
        return;
    const RemapNames::KindNames kindNames = RemapNames::ForKind(m_kind);
    m_ms = RemapColumnIndex(names, kindNames.microStationColumn);
    m_dwg = RemapColumnIndex(names, kindNames.dwgColumn);
}

template <class Char>
void RemapSink<Char>::Columns(const std::vector<Token>& names) {
    FindColumns(names);
}

template <class Char>
void RemapSink<Char>::SingleTable(int kind) {
    SetKind(RemapKindOfSection(RemapNames::ForKind(kind).section));
    FindColumns(RemapColumnsOfKind(kind));
}

template <class Char>
void RemapSink<Char>::Row(const std::vector<Token>& fields, int line) {
    if (m_ms < 0 || m_dwg < 0 || size_t(m_ms) >= fields.size() || size_t(m_dwg) >= fields.size())
        return;
    std::basic_string_view<Char> key = fields[size_t(m_ms)].View(), value = fields[size_t(m_dwg)].View();
    if (key.empty() || value.empty())
        return;
    RemapLeftOutReason reason;
    if (!IsCarriableValue(key, reason) || !IsCarriableValue(value, reason)) {
        m_table.rowsLeftOut.push_back(RemapRowLeftOut{uint32_t(line), reason});
        return;
    }
    const std::basic_string_view<Char> written = key;
    if (!TrimImportedPair(m_kind, key, value))
        return;
    MappingBatch& batch = m_table.pairs[size_t(m_page)];
    const auto position = std::uint32_t(batch.GetCount());
    if constexpr (std::is_same_v<Char, char>)
        batch.Add(key, value, [this](char byte) { return m_codec.CharOf(byte); });
    else
        batch.Add(key, value);
    if (key.size() != written.size()) {
        const size_t front = size_t(key.data() - written.data());
        Padded& padded = m_padded[size_t(m_page)];
        padded.positions.push_back(position);
        padded.paddings.push_back(PaddingNumber(written.substr(0, front), written.substr(front + key.size())));
    }
}

template <class Char>
std::uint32_t RemapSink<Char>::PaddingNumber(std::basic_string_view<Char> front, std::basic_string_view<Char> back) {
    // White space is ASCII, in bytes as in UTF-16.
    std::u16string both(front.begin(), front.end());
    both += u'|';
    both.append(back.begin(), back.end());
    return m_paddings.try_emplace(std::move(both), std::uint32_t(m_paddings.size() + 1)).first->second;
}

template <class Char>
std::uint32_t RemapSink<Char>::Padded::Pick(std::span<const std::uint32_t> group) const {
    // How each pair's value was written: the white space trimmed off it.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> byPadding;  // (padding, place in group)
    bool anyPadded = false;
    for (std::uint32_t i = 0; i < group.size(); ++i) {
        const auto at = std::lower_bound(positions.begin(), positions.end(), group[i]);
        const bool padded = at != positions.end() && *at == group[i];
        anyPadded |= padded;
        byPadding.emplace_back(padded ? paddings[size_t(at - positions.begin())] : 0, i);
    }
    if (!anyPadded)
        return group.back();
    // The value as written that first appeared last wins, with its last pair.
    std::sort(byPadding.begin(), byPadding.end());
    size_t winner = 0;  // in byPadding: the winner's first pair
    for (size_t i = 1; i < byPadding.size(); ++i)
        if (byPadding[i].first != byPadding[i - 1].first && byPadding[i].second > byPadding[winner].second)
            winner = i;
    size_t last = winner;
    while (last + 1 < byPadding.size() && byPadding[last + 1].first == byPadding[winner].first)
        ++last;
    return group[byPadding[last].second];
}

template <class Char>
void RemapSink<Char>::Finish() {
    for (size_t page = 0; page < m_padded.size(); ++page) {
        const Padded& padded = m_padded[page];
        if (padded.positions.empty())
            m_table.pairs[page].Sort();
        else
            m_table.pairs[page].Sort([&padded](std::span<const std::uint32_t> group) { return padded.Pick(group); });
    }
}

template class RemapSink<char>;
template class RemapSink<char16_t>;
