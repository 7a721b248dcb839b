// Helpers of the import tests: texts go in as UTF-8, results come out as
// UTF-8 strings so that failures print readably.
#pragma once

#include "framework/CString.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"
#include "import/RemapTokenizer.h"

#include <string>
#include <vector>

inline std::string Utf8(std::u16string_view text) { return CString(text).ToUtf8(); }

// The fields of every row of text, each row as "f1|f2|...".
inline std::vector<std::string> RowsOf(const std::string& text, RemapMode mode) {
    std::u16string buffer = CString::FromUtf8(text).Str();
    RemapTokenizer tokenizer(buffer.data(), mode);
    std::vector<RemapToken> fields;
    std::vector<std::string> rows;
    while (tokenizer.ReadRow(fields)) {
        std::string row;
        for (size_t i = 0; i < fields.size(); ++i)
            row += (i ? "|" : "") + Utf8(fields[i].View());
        rows.push_back(row);
    }
    return rows;
}

// Reads text as a table of the given kind and lists its pairs as
// "kind:MicroStation=DWG", in list order.
inline std::vector<std::string> PairsOf(const std::string& text, int kind = RemapDetect) {
    std::vector<std::string> result;
    if (ReadRemapText(CString::FromUtf8(text).View(), kind) != Parsed)
        return {"not parsed"};
    ExtractPairs();
    for (const RemapPair& pair : pairs)
        result.push_back(std::to_string(pair.kind) + ":" + Utf8(pair.microStationValue) + "=" +
                         Utf8(pair.dwgValue));
    ReleaseRemapData();
    return result;
}

using Strings = std::vector<std::string>;

// What the merge hands to the pages for the table just read, as
// "Page:key=value".
inline Strings MergedPairs() {
    Strings result;
    const BOOL ok = ForEachImportedPair([&](MappingKind page, std::u16string_view key, std::u16string_view value) {
        result.push_back(SectionKey(page).ToUtf8() + ":" + Utf8(key) + "=" + Utf8(value));
    });
    if (!ok)
        result.push_back("failed");
    return result;
}
