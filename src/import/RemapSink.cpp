#include "import/RemapSink.h"

#include "import/ImportMerge.h"
#include "import/RemapRows.h"
#include "pages/MappingRules.h"
#include "store/platform/TextCodec.h"

#include <algorithm>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

// The columns that narrow a row to some elements, where they are not the
// section's own.
constexpr std::u16string_view kQualifierColumns[] = {u"Level", u"Color",       u"Weight", u"LineStyle",
                                                     u"Class", u"ElementType", u"Cell"};
constexpr std::u16string_view kOutputKeywords[] = {u"%bylevel", u"%drop"};

template <class Char>
char16_t Unit(Char ch) {
    return char16_t(std::make_unsigned_t<Char>(ch));
}

template <class Char>
std::basic_string_view<Char> Trimmed(std::basic_string_view<Char> text) {
    while (!text.empty() && IsCWhiteSpace(Unit(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && IsCWhiteSpace(Unit(text.back())))
        text.remove_suffix(1);
    return text;
}

// Equal to the name in any letter case (ASCII).
template <class Char>
bool IsName(std::basic_string_view<Char> text, std::u16string_view name) {
    if (text.size() != name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (FoldAscii(Unit(text[i])) != FoldAscii(name[i]))
            return false;
    return true;
}

}  // namespace

template <class Char>
void RemapSink<Char>::SetKind(int kind) {
    m_kind = kind;
    MappingKind page;
    m_page = PageOfRemapKind(kind, page) ? int(page) : -1;
    m_ms = m_dwg = -1;
    m_bValueRules = m_page >= 0 && MappingRules::HasRules(page, MappingRules::kAutoCad);
    m_qualifiers.clear();
}

template <class Char>
void RemapSink<Char>::Section(const Token& name, int line) {
    SetKind(RemapKindOfSection(name.View()));
    if (m_kind == 0 && !BeginsWithName(name.View(), RemapNames::ForKind(RemapFonts).section))
        m_table.Remarks(RemapRemark::UnknownSection).Note(uint32_t(line), u"\"" + Widened(name.View()) + u"\"");
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
    if (m_ms < 0 || m_dwg < 0)
        return;
    const std::u16string_view own = RemapNames::ForKind(m_kind).microStationColumn;
    for (size_t i = 0; i < names.size(); ++i) {
        if (int(i) == m_ms || int(i) == m_dwg)
            continue;
        for (std::u16string_view qualifier : kQualifierColumns)
            if (qualifier != own && IsName(Trimmed(names[i].View()), qualifier))
                m_qualifiers.push_back({i, qualifier, false});
    }
}

template <class Char>
void RemapSink<Char>::SingleTable(int kind) {
    SetKind(RemapKindOfSection(RemapNames::ForKind(kind).section));
    FindColumns(RemapColumnsOfKind(kind));
}

template <class Char>
CString RemapSink<Char>::Widened(std::basic_string_view<Char> text) const {
    if constexpr (std::is_same_v<Char, char>) {
        std::u16string wide;
        m_codec.WidenInto(text, wide);
        return CString(std::move(wide));
    } else {
        return CString(text);
    }
}

template <class Char>
bool RemapSink<Char>::Holds(std::basic_string_view<Char> key, std::basic_string_view<Char> value, int line) {
    if constexpr (std::is_same_v<Char, char16_t>) {
        for (std::u16string_view text : {key, value}) {
            size_t bad = 0;
            if (!m_codec.Holds(text, bad)) {
                m_table.rowsLeftOut.push_back(
                    RemapRowLeftOut{uint32_t(line), RemapLeftOutReason::CodePage, TextCodec::CodePointAt(text, bad)});
                return false;
            }
        }
    }
    return true;
}

template <class Char>
void RemapSink<Char>::NoteRemarks(const std::vector<Token>& fields, std::basic_string_view<Char> key,
                                  std::basic_string_view<Char> value, int line) {
    auto note = [&](RemapRemark remark) -> RemapRemarks& {
        RemapRemarks& remarks = m_table.Remarks(remark);
        remarks.Note(uint32_t(line));
        return remarks;
    };
    bool bNot = key.front() == Char('~');
    bool bQualified = false;
    for (Qualifier& qualifier : m_qualifiers) {
        if (qualifier.index >= fields.size())
            break;
        // Only its first character that is not white space matters.
        std::basic_string_view<Char> cell = fields[qualifier.index].View();
        if (cell.empty())
            continue;
        while (!cell.empty() && IsCWhiteSpace(Unit(cell.front())))
            cell.remove_prefix(1);
        if (cell.empty())
            continue;
        if (!bQualified)
            note(RemapRemark::Qualifier);
        bQualified = true;
        if (!qualifier.bNamed)
            m_table.Remarks(RemapRemark::Qualifier).Name(CString(qualifier.name));
        qualifier.bNamed = true;
        bNot |= cell.front() == Char('~');
    }
    if (bNot)
        note(RemapRemark::NotCondition);
    if (key.front() == Char('%'))
        note(RemapRemark::Keyword).Name(Widened(key));
    if (key.front() == Char('[') && key.back() == Char(']'))
        note(RemapRemark::BracketedKey).Name(Widened(key));
    if (!value.empty() && value.front() == Char('%'))
        for (std::u16string_view keyword : kOutputKeywords)
            if (IsName(value, keyword))
                note(RemapRemark::OutputKeyword).Name(CString(keyword));
}

template <class Char>
void RemapSink<Char>::Row(const std::vector<Token>& fields, int line) {
    if (m_ms < 0 || m_dwg < 0 || size_t(m_ms) >= fields.size() || size_t(m_dwg) >= fields.size())
        return;
    std::basic_string_view<Char> key = fields[size_t(m_ms)].View(), value = fields[size_t(m_dwg)].View();
    if (key.empty() || value.empty())
        return;
    const std::basic_string_view<Char> written = key;
    if (!TrimImportedPair(m_kind, key, value))
        return;
    // Only a line break or a NUL that trimming left inside a value counts.
    RemapLeftOutReason reason;
    if (!IsCarriableValue(key, reason) || !IsCarriableValue(value, reason)) {
        m_table.rowsLeftOut.push_back(RemapRowLeftOut{uint32_t(line), reason});
        return;
    }
    if (m_bHoldCheck && !Holds(key, value, line))
        return;
    NoteRemarks(fields, key, value, line);
    MappingBatch& batch = m_table.pairs[size_t(m_page)];
    const auto position = std::uint32_t(batch.GetCount());
    const MappingEntry* pEntry;
    if constexpr (std::is_same_v<Char, char>)
        pEntry = &batch.Add(key, value, [this](char byte) { return m_codec.CharOf(byte); });
    else
        pEntry = &batch.Add(key, value);
    if (m_bValueRules && !MappingRules::Takes(MappingKind(m_page), MappingRules::kAutoCad, pEntry->Value()))
        m_refused[size_t(m_page)].push_back(Refused{position, uint32_t(line)});
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
    // Each page's pairs that a later one for their key drops, by position,
    // where a pair was refused.
    std::array<std::vector<std::uint32_t>, MappingKindCount> dropped;
    for (size_t page = 0; page < m_padded.size(); ++page) {
        const Padded& padded = m_padded[page];
        if (padded.positions.empty() && m_refused[page].empty()) {
            m_table.pairs[page].Sort();
            continue;
        }
        m_table.pairs[page].Sort([&padded, &dropped = dropped[page]](std::span<const std::uint32_t> group) {
            const std::uint32_t kept = padded.positions.empty() ? group.back() : padded.Pick(group);
            for (std::uint32_t position : group)
                if (position != kept)
                    dropped.push_back(position);
            return kept;
        });
        std::sort(dropped[page].begin(), dropped[page].end());
    }
    NoteRefused(dropped);
}

template <class Char>
void RemapSink<Char>::NoteRefused(const std::array<std::vector<std::uint32_t>, MappingKindCount>& dropped) {
    RemapRemarks& refused = m_table.Remarks(RemapRemark::Refused);
    // The first imported ones of each page: (line, page, position).
    std::vector<std::tuple<std::uint32_t, size_t, std::uint32_t>> first;
    for (size_t page = 0; page < m_refused.size(); ++page) {
        size_t at = 0, named = 0;
        for (const Refused& pair : m_refused[page]) {
            while (at < dropped[page].size() && dropped[page][at] < pair.position)
                ++at;
            if (at < dropped[page].size() && dropped[page][at] == pair.position)
                continue;
            ++refused.count;
            if (named++ < RemapLinesNamed)
                first.emplace_back(pair.line, page, pair.position);
        }
        std::vector<Refused>().swap(m_refused[page]);
    }
    // The first lines of all, with the reasons of their pairs.
    std::sort(first.begin(), first.end());
    first.resize(std::min(first.size(), RemapLinesNamed));
    // Their entries, in one walk of each page that has any.
    std::vector<const MappingEntry*> entries(first.size());
    for (size_t page = 0; page < m_refused.size(); ++page) {
        if (std::none_of(first.begin(), first.end(), [page](const auto& named) { return std::get<1>(named) == page; }))
            continue;
        std::uint32_t at = 0;
        m_table.pairs[page].ForEachAdded([&](const MappingEntry& entry) {
            for (size_t i = 0; i < first.size(); ++i)
                if (std::get<1>(first[i]) == page && std::get<2>(first[i]) == at)
                    entries[i] = &entry;
            ++at;
        });
    }
    const uint32_t count = refused.count;
    for (size_t i = 0; i < first.size(); ++i) {
        const MappingEntry& entry = *entries[i];
        CString reasons;
        for (const MappingRules::Finding& finding :
             MappingRules::CheckPair(MappingKind(std::get<1>(first[i])), entry.Key(), entry.Value()))
            if (finding.side == MappingRules::kAutoCad)
                reasons += (reasons.IsEmpty() ? u"" : u"; ") + finding.reason;
        refused.Note(std::get<0>(first[i]), reasons);
    }
    refused.count = count;  // Note counted the named ones again
}

template class RemapSink<char>;
template class RemapSink<char16_t>;
