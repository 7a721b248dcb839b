#include "import/CSVReader.h"

#include "import/RemapTokenizer.h"

#include <algorithm>

RemapTable remapTable;
std::vector<RemapPair> pairs;
std::vector<RemapRowLeftOut> rowsLeftOut;

namespace {

// The whole text being read, NUL-terminated; every token points into it.
std::u16string textBuffer;

bool StartsWith(const RemapToken& token, std::u16string_view prefix) {
    return token.View().substr(0, prefix.size()) == prefix;
}

void AddSection(RemapToken name) {
    remapTable.sections.push_back(RemapSection{name, textBuffer.data(), {}, {}, {}, {}});
}

void SetColumns(RemapSection& section, const std::vector<RemapToken>& names) {
    section.columns.clear();
    section.columns.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        section.columns.push_back(RemapColumn{names[i], int(i)});
}

// Every column gets a rule: the field at its index, or an empty rule when
// the row is shorter. Fields beyond the last column are dropped.
void AddRow(RemapSection& section, const std::vector<RemapToken>& fields, int line) {
    section.rowStarts.push_back(uint32_t(section.cells.size()));
    section.rowLines.push_back(uint32_t(line));
    const size_t kept = std::min(fields.size(), section.columns.size());
    for (size_t i = 0; i < kept; ++i)
        section.cells.push_back(RemapCell{uint32_t(fields[i].text - section.text), fields[i].length});
}

void ParseSectioned(RemapTokenizer& tokenizer) {
    std::vector<RemapToken> fields;
    bool headerPending = false;
    while (tokenizer.ReadRow(fields)) {
        if (headerPending) {
            SetColumns(remapTable.sections.back(), fields);
            headerPending = false;
        } else if (fields.size() == 2 && StartsWith(fields[0], RemapNames::SectionMarker)) {
            AddSection(fields[1]);
            headerPending = true;
        } else if (!remapTable.sections.empty()) {
            AddRow(remapTable.sections.back(), fields, tokenizer.RowLine());
        }
        // Rows before the first section marker belong nowhere and are skipped.
    }
}

std::vector<RemapToken> FixedColumns(int kind) {
    auto names = [](std::initializer_list<std::u16string_view> list) {
        std::vector<RemapToken> tokens;
        for (std::u16string_view name : list)
            tokens.push_back(RemapToken::Of(name));
        return tokens;
    };
    using namespace RemapNames;
    const KindNames kindNames = ForKind(kind);
    switch (kind) {
    case RemapLevels:
        return names({kindNames.dwgColumn, kindNames.microStationColumn, Dummy1, Dummy2, Dummy3});
    case RemapLineStyles:
        return names({kindNames.dwgColumn, kindNames.microStationColumn, Dummy1});
    case RemapColors:
    case RemapWeights:
    case RemapCellNames:
        return names({kindNames.dwgColumn, kindNames.microStationColumn});
    default:
        return {};
    }
}

// A version 7 table: one section of the kind, fixed columns with the DWG
// value first, every row a data row.
void ParseSingleTable(RemapTokenizer& tokenizer, int kind) {
    AddSection(RemapToken::Of(RemapNames::ForKind(kind).section));
    SetColumns(remapTable.sections.back(), FixedColumns(kind));
    std::vector<RemapToken> fields;
    while (tokenizer.ReadRow(fields))
        AddRow(remapTable.sections.back(), fields, tokenizer.RowLine());
}

ReadResult ParseTextBuffer(int kind) {
    RemapMode mode = RemapMode::SingleTableMode;
    if (kind == RemapDetect) {
        if (textBuffer.find(RemapNames::SectionMarkerWithSeparator) == std::u16string::npos)
            return NotRecognised;
        mode = RemapMode::SectionedMode;
    }
    RemapTokenizer tokenizer(textBuffer.data(), textBuffer.data() + textBuffer.size(), mode);
    if (mode == RemapMode::SectionedMode)
        ParseSectioned(tokenizer);
    else
        ParseSingleTable(tokenizer, kind);
    return Parsed;
}

}  // namespace

ReadResult ReadRemapText(std::u16string_view text, int kind, const CString& path) noexcept {
    try {
        return ReadRemapBuffer(std::u16string(text), kind, path);
    } catch (...) {
        ReleaseRemapData();
        return CannotRead;
    }
}

ReadResult ReadRemapBuffer(std::u16string&& text, int kind, const CString& path) noexcept {
    ReleaseRemapData();
    try {
        remapTable.fileName = path;
        // Tokens count characters in 32 bits.
        if (text.size() >= size_t(INT32_MAX))
            return CannotRead;
        textBuffer = std::move(text);
        if (kind < RemapDetect || kind > RemapKindLast)
            return NotRecognised;
        return ParseTextBuffer(kind);
    } catch (...) {
        ReleaseRemapData();
        return CannotRead;
    }
}

void ReleaseRemapData() noexcept {
    ReleasePairs();
    ReleaseSections();
    remapTable.fileName.Empty();
    textBuffer = std::u16string();
}
