// The first byte picks the version 7 kind; the rest is the file's text,
// each byte the character of its code as the text file reads it. The text
// is read as a version 8 file and as a version 7 table, and each result is
// checked for the shape the rest of the import relies on.
#include "framework/CString.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"
#include "import/TableFileName.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckTableShape() {
    for (const RemapSection& section : remapTable.sections) {
        for (size_t i = 0; i < section.columns.size(); ++i)
            Check(section.columns[i].index == int(i));
        for (size_t r = 0; r < section.RowCount(); ++r) {
            const size_t end = r + 1 < section.RowCount() ? section.rowStarts[r + 1] : section.cells.size();
            Check(section.rowStarts[r] <= end && end - section.rowStarts[r] <= section.columns.size());
        }
    }
}

void ReadAndMerge(const CString& text, int kind) {
    const ReadResult result = ReadRemapText(text.View(), kind);
    Check(result == Parsed || result == NotRecognised);
    CheckTableShape();
    if (result != Parsed)
        return;
    Check(ExtractPairs());
    for (const RemapPair& pair : pairs)
        Check(!pair.microStationValue.empty() && !pair.dwgValue.empty());
    Check(ForEachImportedPair([](MappingKind page, std::u16string_view key, std::u16string_view value) {
        Check(page >= 0 && page < MappingKindCount);
        Check(!key.empty() && !IsCWhiteSpace(key.front()) && !IsCWhiteSpace(key.back()));
        Check(value.empty() || (!IsCWhiteSpace(value.front()) && !IsCWhiteSpace(value.back())));
    }));
    Check(pairs.empty());
    ReleaseRemapData();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int tableKind = 1 + data[0] % RemapKindLast;
    const CString text = CString::FromLatin1(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    ReadAndMerge(text, RemapDetect);
    ReadAndMerge(text, tableKind);
    const int named = RemapKindFromFileName(text);
    Check(named == RemapUnrecognised || (named >= RemapLevels && named <= RemapKindLast && named != RemapFonts));
    return 0;
}
