#include "import/CSVReader.h"

#include "import/RemapRows.h"
#include "import/RemapSink.h"
#include "store/platform/FileSystem.h"
#include "store/platform/TextCodec.h"

#include <climits>

namespace {

// After the text: its end, a NUL, and the bytes the tokenizer may read ahead.
constexpr size_t kEndMark = 1 + RemapByteTokenizer::kPadding;

// True when the code page reads the bytes below 0x80 as ASCII and no other
// byte as an ASCII character: then the bytes of a row's separators, quotes
// and line ends are those characters, and the rows can be cut as bytes.
bool CutsAsBytes(const TextCodec& codec) {
    if (!codec.IsSingleByte())
        return false;
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t ch = codec.CharOf(char(byte));
        if (byte < 0x80 ? ch != char16_t(byte) : ch < 0x80)
            return false;
    }
    return true;
}

// Reads the rows of text (its first length characters, then the end mark)
// into table through the sink, frees the text, and sorts the pairs.
template <class Char>
ReadResult ReadRows(std::basic_string<Char>&& text, size_t length, int kind, RemapTable& table,
                    const TextCodec& codec) {
    // Tokens count characters in 32 bits.
    if (length >= size_t(INT32_MAX))
        return CannotRead;
    if (kind == RemapDetect) {
        // Looked for before the tokenizer rewrites quoted fields in place.
        constexpr std::u16string_view marker = RemapNames::SectionMarkerWithSeparator;
        const std::basic_string<Char> wanted(marker.begin(), marker.end());
        if (std::basic_string_view<Char>(text.data(), length).find(wanted) == std::basic_string_view<Char>::npos)
            return NotRecognised;
    }
    RemapSink<Char> sink(table, codec);
    const RemapMode mode = kind == RemapDetect ? RemapMode::SectionedMode : RemapMode::SingleTableMode;
    if (mode == RemapMode::SingleTableMode)
        sink.SingleTable(kind);
    BasicRemapTokenizer<Char> tokenizer(text.data(), text.data() + length, mode);
    ParseRemapRows(tokenizer, mode, sink);
    std::basic_string<Char>().swap(text);  // freed: the pairs hold copies
    sink.Finish();
    return Parsed;
}

}  // namespace

RemapTable ReadRemapBytes(std::string bytes, int kind) noexcept {
    RemapTable table;
    try {
        if (kind < RemapDetect || kind > RemapKindLast) {
            table.result = NotRecognised;
            return table;
        }
        const TextCodec& codec = TextCodec::Active();
        const size_t size = bytes.size();
        if (CutsAsBytes(codec)) {
            bytes.append(kEndMark, '\0');
            table.result = ReadRows(std::move(bytes), size, kind, table, codec);
        } else {
            std::u16string text;
            codec.Decode(bytes, text);
            std::string().swap(bytes);
            const size_t length = text.size();
            text.push_back(u'\0');
            table.result = ReadRows(std::move(text), length, kind, table, codec);
        }
    } catch (...) {
        // Memory ran out.
        table = RemapTable();
    }
    if (table.result != Parsed) {
        const ReadResult result = table.result;
        table = RemapTable();
        table.result = result;
    }
    return table;
}

RemapTable ReadRemapFile(const CString& path, int kind) noexcept {
    try {
        // An empty path would make the text file ask for one; the import
        // never hands one in, and the reader does not ask.
        std::string bytes;
        CString error;
        if (path.IsEmpty() || !FileSystem::ReadAll(path, FileSystem::Share::DenyRead, bytes, error, kEndMark))
            return RemapTable();
        return ReadRemapBytes(std::move(bytes), kind);
    } catch (...) {
        return RemapTable();
    }
}
