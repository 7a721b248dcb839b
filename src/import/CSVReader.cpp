#include "import/CSVReader.h"

#include "import/RemapRows.h"

#include <algorithm>

RemapTable remapTable;
std::vector<RemapPair> pairs;
std::vector<RemapRowLeftOut> rowsLeftOut;

namespace {

// The whole text being read, NUL-terminated; every token points into it.
std::u16string textBuffer;

// Builds remapTable from the rows: every section with its header and the
// fields of its rows, as cells of the text buffer.
struct TableBuilder {
    void Section(const RemapToken& name) {
        remapTable.sections.push_back(RemapSection{name, textBuffer.data(), {}, {}, {}, {}});
    }

    void Columns(const std::vector<RemapToken>& names) {
        RemapSection& section = remapTable.sections.back();
        section.columns.clear();
        section.columns.reserve(names.size());
        for (size_t i = 0; i < names.size(); ++i)
            section.columns.push_back(RemapColumn{names[i], int(i)});
    }

    // Every column gets a rule: the field at its index, or an empty rule
    // when the row is shorter. Fields beyond the last column are dropped.
    void Row(const std::vector<RemapToken>& fields, int line) {
        RemapSection& section = remapTable.sections.back();
        section.rowStarts.push_back(uint32_t(section.cells.size()));
        section.rowLines.push_back(uint32_t(line));
        const size_t kept = std::min(fields.size(), section.columns.size());
        for (size_t i = 0; i < kept; ++i)
            section.cells.push_back(RemapCell{uint32_t(fields[i].text - section.text), fields[i].length});
    }
};

ReadResult ParseTextBuffer(int kind) {
    TableBuilder builder;
    if (kind == RemapDetect) {
        if (textBuffer.find(RemapNames::SectionMarkerWithSeparator) == std::u16string::npos)
            return NotRecognised;
        RemapTokenizer tokenizer(textBuffer.data(), textBuffer.data() + textBuffer.size(), RemapMode::SectionedMode);
        RemapParse<char16_t>(RemapMode::SectionedMode).Run(tokenizer, builder);
    } else {
        // A version 7 table: one section of the kind, fixed columns with
        // the DWG value first, every row a data row.
        RemapTokenizer tokenizer(textBuffer.data(), textBuffer.data() + textBuffer.size(),
                                 RemapMode::SingleTableMode);
        builder.Section(RemapToken::Of(RemapNames::ForKind(kind).section));
        builder.Columns(RemapColumnsOfKind(kind));
        RemapParse<char16_t>(RemapMode::SingleTableMode).Run(tokenizer, builder);
    }
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
