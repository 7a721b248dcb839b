// The first byte picks the version 7 kind and the code page (Western 1252
// or Japanese 932); the rest is the file's bytes, decoded as the reader's
// file read decodes them. The text is read as a version 8 file and as a
// version 7 table, and each result is checked for the shape the rest of
// the import relies on: no merged key or value holds a CR, an LF or a NUL,
// and the pages' tables the pairs land in come back unchanged from a write
// and a read of the mapping file. The streamed import of the same bytes,
// in windows of 1 to 64 bytes (the last byte picks), must end with the
// same tables and rows left out.
#include "SevenTables.h"

#include "framework/CString.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"
#include "import/TableImport.h"
#include "import/TableFileName.h"
#include "store/CodePage.h"
#include "store/TextCodec.h"

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
        Check(section.rowLines.size() == section.RowCount());
        for (size_t i = 0; i < section.columns.size(); ++i)
            Check(section.columns[i].index == int(i));
        for (size_t r = 0; r < section.RowCount(); ++r) {
            const size_t end = r + 1 < section.RowCount() ? section.rowStarts[r + 1] : section.cells.size();
            Check(section.rowStarts[r] <= end && end - section.rowStarts[r] <= section.columns.size());
            Check(section.rowLines[r] >= 1 && (r == 0 || section.rowLines[r] > section.rowLines[r - 1]));
        }
    }
}

bool Carriable(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string_view::npos;
}

// The pairs the mapping file's grammar is known not to bring back: a key
// holding "=", and a key beginning with "[" whose value ends with "]".
bool RoundTrips(std::u16string_view key, std::u16string_view value) {
    return key.find(u'=') == std::u16string_view::npos &&
           !(key.front() == u'[' && !value.empty() && value.back() == u']');
}

// The tables and rows left out of the dialog's road, for the streamed
// import to match.
struct Merged {
    std::string tables;
    std::vector<uint32_t> leftOut;
    bool operator==(const Merged&) const = default;
};

Merged Listing(const Tables& tables, const std::vector<RemapRowLeftOut>& leftOut) {
    Merged merged{tables.Listed(), {}};
    for (const RemapRowLeftOut& row : leftOut)
        merged.leftOut.push_back(row.line);
    return merged;
}

// The streamed import of the same bytes, in windows of the given size,
// must come to the same tables, rows left out and result.
void StreamAndCompare(std::string_view bytes, int kind, size_t window, ReadResult read, const Merged& expected) {
    Tables tables;
    std::vector<RemapRowLeftOut> leftOut;
    TableImportOptions options;
    options.windowSize = window;
    // A version 8 table is cut into 1 to 8 parts read apart.
    options.splitFrom = 0;
    options.parts = 1 + window % 8;
    const TableImportResult result = ImportTableBytes(bytes, kind, tables.View(), leftOut, options);
    Check(result == (read == Parsed ? TableImportResult::Merged : TableImportResult::NotRecognised));
    if (read == Parsed)
        Check(Listing(tables, leftOut) == expected);
    else
        Check(tables.Listed().empty() && leftOut.empty());
}

void ReadAndMerge(std::string_view bytes, const CString& text, int kind, size_t window) {
    const ReadResult result = ReadRemapText(text.View(), kind);
    Check(result == Parsed || result == NotRecognised);
    CheckTableShape();
    if (result != Parsed) {
        ReleaseRemapData();
        StreamAndCompare(bytes, kind, window, result, {});
        return;
    }
    Check(ExtractPairs());
    for (const RemapPair& pair : pairs)
        Check(!pair.microStationValue.empty() && !pair.dwgValue.empty());
    Tables pages, all;
    std::vector<RemapRowLeftOut> leftOut;
    Check(ForEachImportedPair(
        [&](MappingKind page, std::u16string_view key, std::u16string_view value) {
            Check(page >= 0 && page < MappingKindCount);
            Check(!key.empty() && !IsCWhiteSpace(key.front()) && !IsCWhiteSpace(key.back()));
            Check(value.empty() || (!IsCWhiteSpace(value.front()) && !IsCWhiteSpace(value.back())));
            Check(Carriable(key) && Carriable(value));
            all[page].SetPair(key, value);
            if (RoundTrips(key, value))
                pages[page].SetPair(CString(key), CString(value));
        },
        &leftOut));
    for (size_t i = 1; i < leftOut.size(); ++i)
        Check(leftOut[i].line >= leftOut[i - 1].line);
    Check(pairs.empty());
    StreamAndCompare(bytes, kind, window, result, Listing(all, leftOut));
    const std::string written = pages.Written();
    Check(!written.empty());
    Check(Tables::Parse(written).Listed() == pages.Listed());
    ReleaseRemapData();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int tableKind = 1 + data[0] % RemapKindLast;
    Check(CodePage::Select(data[0] & 0x80 ? 932 : 1252));
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::u16string decoded;  // as the reader's file read decodes it
    TextCodec::Active().Decode(bytes, decoded);
    const CString text(std::move(decoded));
    // The streamed import reads windows of 1 to 64 bytes.
    const size_t window = 1 + (size > 1 ? data[size - 1] % 64 : 0);
    ReadAndMerge(bytes, text, RemapDetect, window);
    ReadAndMerge(bytes, text, tableKind, window);
    const int named = RemapKindFromFileName(text);
    Check(named == RemapUnrecognised || (named >= RemapLevels && named <= RemapKindLast && named != RemapFonts));
    CodePage::Select(0);
    return 0;
}
