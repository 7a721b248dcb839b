#include "import/RemapSink.h"

#include "import/ImportMerge.h"
#include "import/RemapRows.h"
#include "pages/MappingRules.h"
#include "store/platform/TextCodec.h"

#include <algorithm>
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
                m_qualifiers.emplace_back(i, qualifier);
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
    for (const auto& [index, name] : m_qualifiers) {
        if (index >= fields.size())
            break;
        const std::basic_string_view<Char> cell = Trimmed(fields[index].View());
        if (cell.empty())
            continue;
        if (!bQualified)
            note(RemapRemark::Qualifier);
        bQualified = true;
        m_table.Remarks(RemapRemark::Qualifier).Name(CString(name));
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
    const auto page = MappingKind(m_page);
    if (!MappingRules::Takes(page, MappingRules::kMicroStation, pEntry->Key()) ||
        !MappingRules::Takes(page, MappingRules::kAutoCad, pEntry->Value()))
        m_refused.push_back(Refused{m_page, pEntry, uint32_t(line)});
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
    // Of the pairs a rule refuses, those the import brings in: each value
    // counts, and the first lines keep their reasons.
    RemapRemarks& refused = m_table.Remarks(RemapRemark::Refused);
    for (const Refused& pair : m_refused) {
        if (!m_table.pairs[size_t(pair.page)].Keeps(*pair.pEntry))
            continue;
        const auto page = MappingKind(pair.page);
        const auto [key, value] = std::pair(pair.pEntry->Key(), pair.pEntry->Value());
        const int values = int(!MappingRules::Takes(page, MappingRules::kMicroStation, key)) +
                           int(!MappingRules::Takes(page, MappingRules::kAutoCad, value));
        if (refused.lines.size() < RemapLinesNamed) {
            CString reasons;
            for (const MappingRules::Finding& finding : MappingRules::CheckPair(page, key, value))
                reasons += (reasons.IsEmpty() ? u"" : u"; ") + finding.reason;
            refused.Note(pair.line, reasons);
        } else {
            ++refused.count;
        }
        refused.count += uint32_t(values - 1);
    }
    std::vector<Refused>().swap(m_refused);
}

template class RemapSink<char>;
template class RemapSink<char16_t>;
