// The first byte picks the version 7 kind and the code page (Western 1252,
// read as bytes, or Japanese 932, read as decoded text); the rest is the
// file's bytes. They are read as a version 8 file and as a version 7
// table, and each time the reader's one road must give what the plain,
// slow reading of the table rules gives (tests/import/PlainTableReading.h):
// the same result, the same pages and the same rows left out. The pages'
// tables must also hold nothing a line of the mapping file cannot carry,
// and come back unchanged from a write and a read of the mapping file.
#include "PlainTableReading.h"
#include "SevenTables.h"

#include "framework/CString.h"
#include "import/CSVReader.h"
#include "import/TableFileName.h"
#include "store/platform/CodePage.h"
#include "store/platform/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// The pairs the mapping file's grammar is known not to bring back: a key
// holding "=", and a key beginning with "[" whose value ends with "]".
bool RoundTrips(std::u16string_view key, std::u16string_view value) {
    return key.find(u'=') == std::u16string_view::npos &&
           !(key.front() == u'[' && !value.empty() && value.back() == u']');
}

void ReadAndCompare(std::string_view bytes, const std::u16string& text, int kind) {
    RemapTable table = ReadRemapBytes(std::string(bytes), kind);
    const plain::Reading expected = plain::Read(text, kind);
    Check(table.result == expected.result);
    Check(table.rowsLeftOut.size() == expected.leftOutLines.size());
    for (size_t i = 0; i < table.rowsLeftOut.size(); ++i)
        Check(int(table.rowsLeftOut[i].line) == expected.leftOutLines[i]);
    Tables pages, kept;
    for (int page = 0; page < MappingKindCount; ++page) {
        pages.table[size_t(page)].Merge(std::move(table.pairs[size_t(page)]));
        const MappingTable& got = pages.table[size_t(page)];
        Check(size_t(got.GetCount()) == expected.pages[page].size());
        auto want = expected.pages[page].begin();
        for (const MappingEntry& entry : got) {
            Check(entry.Key() == want->first && entry.Value() == want->second);
            ++want;
            Check(!entry.Key().empty() && !IsCWhiteSpace(entry.Key().front()) && !IsCWhiteSpace(entry.Key().back()));
            const std::u16string pair = std::u16string(entry.Key()) + std::u16string(entry.Value());
            Check(pair.find_first_of(std::u16string_view(u"\r\n\0", 3)) == std::u16string::npos);
            if (RoundTrips(entry.Key(), entry.Value()))
                kept.table[size_t(page)].SetPair(entry.Key(), entry.Value());
        }
    }
    const std::string written = kept.Written();
    Check(!written.empty());
    Check(Tables::Parse(written).Listed() == kept.Listed());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int tableKind = 1 + data[0] % RemapKindLast;
    Check(CodePage::Select(data[0] & 0x80 ? 932 : 1252));
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::u16string text;  // as the reader decodes it
    TextCodec::Active().Decode(bytes, text);
    ReadAndCompare(bytes, text, RemapDetect);
    ReadAndCompare(bytes, text, tableKind);
    const int named = RemapKindFromFileName(CString(text));
    Check(named == RemapUnrecognised || (named >= RemapLevels && named <= RemapKindLast && named != RemapFonts));
    CodePage::Select(0);
    return 0;
}
