// A plain reading of a MicroStation table, written from the rules and
// nothing else: slow, short and obviously right, to hold the reader's one
// road against (the import tests and the fuzz target). Rows are cut
// character by character, the pair list folds repeated MicroStation values
// by a search, and the pages take the trimmed pairs one SetPair at a time.
#pragma once

#include "import/RemapKind.h"
#include "store/model/MappingKind.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace plain {

using Text = std::u16string;

struct Row {
    std::vector<Text> fields;
    int line;
};

struct Reading {
    ReadResult result = NotRecognised;
    std::map<Text, Text> pages[MappingKindCount];  // key -> value, as SetPair leaves them
    std::vector<int> leftOutLines;
};

inline std::vector<Row> Rows(const Text& t, bool sectioned) {
    const size_t n = t.size();
    auto separator = [&](size_t k) { return k < n && (sectioned ? t[k] == u',' : t[k] == u' ' || t[k] == u'\t'); };
    auto lineEnd = [&](size_t k) { return k >= n || t[k] == u'\n' || (t[k] == u'\r' && k + 1 < n && t[k + 1] == u'\n'); };
    // A quote that closes the field: any on its own line, else only the
    // first one after it with a separator or a line end behind it.
    auto closes = [&](size_t k) {
        for (bool sameLine = true; k < n; ++k) {
            sameLine = sameLine && t[k] != u'\n';
            if (t[k] != u'"')
                continue;
            if (k + 1 < n && t[k + 1] == u'"') {
                ++k;
                continue;
            }
            return sameLine || lineEnd(k + 1) || separator(k + 1);
        }
        return false;
    };
    std::vector<Row> rows;
    size_t i = 0;
    int line = 1;
    Row row{{}, 0};
    auto endRow = [&](int at) {
        if (row.fields.empty())
            row.line = at;
        rows.push_back(row);
        row = Row{{}, 0};
    };
    for (;;) {
        if (sectioned && separator(i)) {
            if (row.fields.empty())
                row.line = line;
            row.fields.emplace_back();
            ++i;
            continue;
        }
        while (!sectioned && separator(i))
            ++i;
        if (i >= n) {
            if (!row.fields.empty())
                endRow(line);
            return rows;
        }
        if (lineEnd(i)) {
            i += t[i] == u'\r' ? 2 : 1;
            endRow(line++);
            continue;
        }
        if (t[i] == u'#') {
            while (i < n && t[i] != u'\n')
                ++i;
            if (i < n) {
                ++i;
                ++line;
            }
            continue;
        }
        if (row.fields.empty())
            row.line = line;
        Text field;
        size_t k = i;
        if (sectioned && t[i] == u'"') {
            const bool closed = closes(i + 1);
            for (k = i + 1; k < n && (closed || !lineEnd(k));) {
                if (t[k] == u'"' && (k + 1 >= n || t[k + 1] != u'"')) {
                    ++k;
                    break;
                }
                line += t[k] == u'\n';
                field += t[k];
                k += t[k] == u'"' ? 2 : 1;
            }
        }
        for (; !lineEnd(k) && !separator(k); ++k)
            field += t[k];
        row.fields.push_back(field);
        i = k;
        if (separator(i) || (i < n && t[i] == u'\r'))
            ++i;
    }
}

inline bool BeginsWith(const Text& text, std::u16string_view start) { return Text(text, 0, start.size()) == start; }

// What a section's name gives: the first of the five tested kinds it begins with.
inline int KindOf(const Text& name) {
    for (int kind : {RemapColors, RemapWeights, RemapLineStyles, RemapCellNames, RemapLevels})
        if (BeginsWith(name, RemapNames::ForKind(kind).section))
            return kind;
    return 0;
}

// The first header cell that the wanted name begins with, -1 for none.
inline int Column(const std::vector<Text>& header, std::u16string_view wanted) {
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i].size() <= wanted.size() && wanted.starts_with(header[i]))
            return int(i);
    return -1;
}

inline Reading Read(const Text& text, int kind) {
    Reading reading;
    if (kind < RemapDetect || kind > RemapKindLast || (kind == RemapDetect && text.find(u"%section,") == Text::npos))
        return reading;
    reading.result = Parsed;
    struct Section {
        int kind;
        std::vector<Text> header;
        std::vector<Row> rows;
    };
    std::vector<Section> sections;
    if (kind != RemapDetect) {
        const RemapNames::KindNames names = RemapNames::ForKind(kind);
        std::vector<Text> columns;
        if (kind == RemapLevels)
            columns = {Text(names.dwgColumn), Text(names.microStationColumn), u"Dummy1", u"Dummy2", u"Dummy3"};
        else if (kind == RemapLineStyles)
            columns = {Text(names.dwgColumn), Text(names.microStationColumn), u"Dummy1"};
        else if (kind != RemapFonts)
            columns = {Text(names.dwgColumn), Text(names.microStationColumn)};
        sections.push_back({KindOf(Text(names.section)), columns, Rows(text, false)});
    } else {
        bool header = false;
        for (const Row& row : Rows(text, true)) {
            if (header)
                sections.back().header = row.fields, header = false;
            else if (row.fields.size() == 2 && BeginsWith(row.fields[0], u"%section"))
                sections.push_back({KindOf(row.fields[1]), {}, {}}), header = true;
            else if (!sections.empty())
                sections.back().rows.push_back(row);
        }
    }
    // The pair list: a MicroStation value seen again keeps its place and
    // takes the new DWG value.
    std::vector<std::pair<int, std::pair<Text, Text>>> pairs;
    for (const Section& section : sections) {
        if (section.kind == 0)
            continue;
        const RemapNames::KindNames names = RemapNames::ForKind(section.kind);
        const int ms = Column(section.header, names.microStationColumn);
        const int dwg = Column(section.header, names.dwgColumn);
        for (const Row& row : section.rows) {
            if (ms < 0 || dwg < 0 || size_t(ms) >= row.fields.size() || size_t(dwg) >= row.fields.size() ||
                row.fields[size_t(ms)].empty() || row.fields[size_t(dwg)].empty())
                continue;
            const Text& key = row.fields[size_t(ms)];
            const Text& value = row.fields[size_t(dwg)];
            if ((key + value).find_first_of(std::u16string_view(u"\r\n\0", 3)) != Text::npos) {
                reading.leftOutLines.push_back(row.line);
                continue;
            }
            size_t at = 0;
            while (at < pairs.size() && !(pairs[at].first == section.kind && pairs[at].second.first == key))
                ++at;
            if (at == pairs.size())
                pairs.push_back({section.kind, {key, value}});
            else
                pairs[at].second.second = value;
        }
    }
    // Trimmed, in list order, into the page of the kind.
    auto trim = [](Text text, std::u16string_view drop) {
        text.erase(0, text.find_first_not_of(drop));
        text.erase(text.find_last_not_of(drop) + 1);
        return text;
    };
    constexpr std::u16string_view blanks = u" \t\n\v\f\r";
    const std::map<int, MappingKind> pageOf = {{RemapLevels, KindLevels}, {RemapColors, KindColors},
                                               {RemapWeights, KindWeights}, {RemapLineStyles, KindLineStyles},
                                               {RemapCellNames, KindCells}};
    for (const auto& [pairKind, pair] : pairs) {
        const Text key = trim(pair.first, blanks);
        Text value = trim(pair.second, blanks);
        if (pairKind == RemapColors || pairKind == RemapCellNames)
            value = trim(trim(value, u"ac"), blanks);
        if (!key.empty())
            reading.pages[pageOf.at(pairKind)][key] = value;
    }
    return reading;
}

}  // namespace plain
