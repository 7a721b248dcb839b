#include "import/TableImport.h"

#include "import/ImportMerge.h"
#include "import/RemapRows.h"
#include "store/FileSystem.h"
#include "store/MappingBatch.h"
#include "store/TextCodec.h"

#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <type_traits>

namespace {

// Gives up to size bytes of the file at buffer; got 0 at its end. False
// when the read fails.
using ByteSource = std::function<bool(char* buffer, size_t size, size_t& got)>;

enum class Streamed { Merged, NotRecognised, CannotRead, OutOfMemory, NeedsPairList };

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

// Takes the rows of the parse: keeps the kind and the two wanted columns of
// the current section, and puts each data row's pair, trimmed and (from
// bytes) widened, into the batch of its page.
template <class Char>
class BatchSink {
public:
    using Token = BasicRemapToken<Char>;

    BatchSink(const TextCodec& codec, std::vector<RemapRowLeftOut>& leftOut) : m_codec(codec), m_leftOut(leftOut) {}

    void Section(const Token& name) {
        m_kind = RemapKindOfSection(name.View());
        m_ms = m_dwg = -1;
    }
    void Columns(const std::vector<Token>& names) { FindColumns(names); }
    void SingleTable(int kind) {
        m_kind = RemapKindOfSection(RemapNames::ForKind(kind).section);
        FindColumns(RemapColumnsOfKind(kind));
    }

    void Row(const std::vector<Token>& fields, int line) {
        if (m_ms < 0 || m_dwg < 0 || size_t(m_ms) >= fields.size() || size_t(m_dwg) >= fields.size())
            return;
        const Token& ms = fields[size_t(m_ms)];
        const Token& dwg = fields[size_t(m_dwg)];
        if (ms.IsEmpty() || dwg.IsEmpty())
            return;
        std::basic_string_view<Char> key = ms.View(), value = dwg.View();
        RemapLeftOutReason reason;
        if (!IsCarriableValue(key, reason) || !IsCarriableValue(value, reason)) {
            m_leftOut.push_back(RemapRowLeftOut{uint32_t(line), reason});
            return;
        }
        const size_t untrimmed = key.size();
        MappingKind page;
        if (!TrimImportedPair(m_kind, key, value) || !PageOfRemapKind(m_kind, page))
            return;
        // The dialog's import takes a MicroStation value once, at its first
        // place, before trimming; two values that trim to one key then
        // reach the table in that order, which only its pair list knows.
        if (key.size() != untrimmed)
            m_needsPairList = true;
        if constexpr (std::is_same_v<Char, char>)
            m_batches[size_t(page)].Add(key, value, m_codec);
        else
            m_batches[size_t(page)].Add(key, value);
    }

    bool NeedsPairList() const { return m_needsPairList; }

    void MergeInto(const MappingTables& tables) {
        for (size_t page = 0; page < m_batches.size(); ++page)
            if (tables[page])
                tables[page]->Merge(std::move(m_batches[page]));
    }

private:
    template <class Names>
    void FindColumns(const Names& names) {
        m_ms = m_dwg = -1;
        if (m_kind == 0)
            return;
        const RemapNames::KindNames kindNames = RemapNames::ForKind(m_kind);
        m_ms = RemapColumnIndex(names, kindNames.microStationColumn);
        m_dwg = RemapColumnIndex(names, kindNames.dwgColumn);
    }

    const TextCodec& m_codec;
    std::vector<RemapRowLeftOut>& m_leftOut;
    int m_kind = 0;
    int m_ms = -1, m_dwg = -1;  // the wanted columns' indexes, -1 for none
    bool m_needsPairList = false;
    std::array<MappingBatch, MappingKindCount> m_batches;
};

// Whether "%section," occurs in the text, found across the pieces it comes
// in.
class MarkerSearch {
public:
    void Look(std::string_view piece) {
        if (m_found)
            return;
        // The seam: the last bytes of the pieces before and the start of this one.
        m_tail.append(piece.substr(0, kLength - 1));
        m_found = Contains(m_tail) || Contains(piece);
        const size_t head = std::min(piece.size(), kLength - 1);
        m_tail.append(piece.substr(std::max(head, piece.size() - head)));
        if (m_tail.size() > kLength - 1)
            m_tail.erase(0, m_tail.size() - (kLength - 1));
    }
    bool Found() const { return m_found; }

private:
    static constexpr std::string_view kMarker = "%section,";
    static constexpr size_t kLength = kMarker.size();
    static bool Contains(std::string_view text) { return text.find(kMarker) != std::string_view::npos; }
    std::string m_tail;  // the last bytes seen, fewer than the marker's
    bool m_found = false;
};

// One parse of a table into batches, over bytes or UTF-16 text.
template <class Char>
class TableParse {
public:
    TableParse(int kind, const TextCodec& codec, std::vector<RemapRowLeftOut>& leftOut)
        : m_kind(kind), m_sink(codec, leftOut), m_parse(Mode()) {
        if (kind != RemapDetect)
            m_sink.SingleTable(kind);
    }

    RemapMode Mode() const { return m_kind == RemapDetect ? RemapMode::SectionedMode : RemapMode::SingleTableMode; }

    // Reads the rows of the tokenizer's buffer; false when the outcome is
    // the pair list's to decide.
    bool Run(BasicRemapTokenizer<Char>& tokenizer) {
        m_parse.Run(tokenizer, m_sink);
        return !m_sink.NeedsPairList();
    }

    Streamed Finish(bool markerFound, const MappingTables& tables) {
        if (m_kind < RemapDetect || m_kind > RemapKindLast || (m_kind == RemapDetect && !markerFound))
            return Streamed::NotRecognised;
        try {
            m_sink.MergeInto(tables);
        } catch (const std::bad_alloc&) {
            return Streamed::OutOfMemory;
        }
        return Streamed::Merged;
    }

private:
    int m_kind;
    BatchSink<Char> m_sink;
    RemapParse<Char> m_parse;
};

// The dialog's reader counts a text's characters in 32 bits.
bool TooLong(uint64_t size) { return size >= uint64_t(INT32_MAX); }

// A single-byte code page: the file a window at a time, tokenized as bytes.
Streamed StreamBytes(const ByteSource& read, int kind, const TextCodec& codec, const MappingTables& tables,
                     std::vector<RemapRowLeftOut>& leftOut, size_t windowSize) {
    TableParse<char> parse(kind, codec, leftOut);
    MarkerSearch marker;
    // The window, then the NUL after the text and the tokenizer's margin.
    constexpr size_t kMargin = 1 + 8;
    size_t window = std::max<size_t>(windowSize, 1);
    std::vector<char> buffer(window + kMargin);
    size_t filled = 0;  // bytes in the buffer, the unread row first
    uint64_t total = 0;
    int line = 1;
    for (bool whole = false; !whole;) {
        if (filled == window) {
            window *= 2;  // one row fills the window
            buffer.resize(window + kMargin);
        }
        size_t got = 0;
        if (!read(buffer.data() + filled, window - filled, got) || TooLong(total += got))
            return Streamed::CannotRead;
        marker.Look(std::string_view(buffer.data() + filled, got));
        filled += got;
        whole = got == 0;
        buffer[filled] = '\0';
        RemapByteTokenizer tokenizer(buffer.data(), buffer.data() + filled, parse.Mode(), whole);
        tokenizer.SetLine(line);
        if (!parse.Run(tokenizer))
            return Streamed::NeedsPairList;
        const size_t used = size_t(tokenizer.Cursor() - buffer.data());
        std::memmove(buffer.data(), buffer.data() + used, filled - used);
        filled -= used;
        line = tokenizer.Line();
    }
    return parse.Finish(marker.Found(), tables);
}

// Other code pages: the whole file, decoded, tokenized as UTF-16.
Streamed StreamText(const ByteSource& read, int kind, const TextCodec& codec, const MappingTables& tables,
                    std::vector<RemapRowLeftOut>& leftOut) {
    std::string bytes;
    constexpr size_t kPiece = size_t(1) << 20;
    for (size_t got = kPiece; got != 0;) {
        const size_t at = bytes.size();
        bytes.resize(at + kPiece);
        if (!read(bytes.data() + at, kPiece, got) || TooLong(at + got))
            return Streamed::CannotRead;
        bytes.resize(at + got);
    }
    std::u16string text;
    codec.Decode(bytes, text);
    bytes = std::string();
    if (TooLong(text.size()))
        return Streamed::CannotRead;
    // Looked for before the tokenizer rewrites quoted fields in place.
    const bool markerFound = text.find(RemapNames::SectionMarkerWithSeparator) != std::u16string::npos;
    TableParse<char16_t> parse(kind, codec, leftOut);
    RemapTokenizer tokenizer(text.data(), text.data() + text.size(), parse.Mode());
    if (!parse.Run(tokenizer))
        return Streamed::NeedsPairList;
    return parse.Finish(markerFound, tables);
}

Streamed StreamTable(const ByteSource& read, int kind, const MappingTables& tables,
                     std::vector<RemapRowLeftOut>& leftOut, size_t windowSize) {
    const TextCodec& codec = TextCodec::Active();
    if (CutsAsBytes(codec))
        return StreamBytes(read, kind, codec, tables, leftOut, windowSize);
    return StreamText(read, kind, codec, tables, leftOut);
}

// The dialog's own road: the whole text, the pair list, then the merge.
TableImportResult MergePairList(ReadResult read, const MappingTables& tables, std::vector<RemapRowLeftOut>& leftOut) {
    if (read != Parsed) {
        ReleaseRemapData();
        return read == NotRecognised ? TableImportResult::NotRecognised : TableImportResult::CannotRead;
    }
    const BOOL merged = ForEachImportedPair(
        [&tables](MappingKind page, std::u16string_view key, std::u16string_view value) {
            if (tables[size_t(page)])
                tables[size_t(page)]->SetPair(key, value);
        },
        &leftOut);
    ReleaseRemapData();
    return merged ? TableImportResult::Merged : TableImportResult::OutOfMemory;
}

TableImportResult Import(const ByteSource& read, const std::function<ReadResult()>& readWhole, int kind,
                         const MappingTables& tables, std::vector<RemapRowLeftOut>& leftOut, size_t windowSize) {
    leftOut.clear();
    const Streamed streamed = StreamTable(read, kind, tables, leftOut, windowSize);
    if (streamed != Streamed::Merged && streamed != Streamed::OutOfMemory)
        leftOut.clear();  // only what was merged has rows left out
    switch (streamed) {
    case Streamed::Merged: return TableImportResult::Merged;
    case Streamed::NotRecognised: return TableImportResult::NotRecognised;
    case Streamed::CannotRead: return TableImportResult::CannotRead;
    case Streamed::OutOfMemory: return TableImportResult::OutOfMemory;
    case Streamed::NeedsPairList: break;
    }
    return MergePairList(readWhole(), tables, leftOut);
}

}  // namespace

TableImportResult ImportTableFile(const CString& path, int kind, const MappingTables& tables,
                                  std::vector<RemapRowLeftOut>& leftOut) noexcept {
    try {
        if (path.IsEmpty())
            return TableImportResult::CannotRead;
        FileSystem::File file;
        if (!file.OpenRead(path, FileSystem::Share::DenyRead))
            return TableImportResult::CannotRead;
        return Import([&file](char* buffer, size_t size, size_t& got) { return file.Read(buffer, size, got); },
                      [&] {
                          file.Close();
                          return ReadRemapFile(path, kind);
                      },
                      kind, tables, leftOut, size_t(1) << 20);
    } catch (const std::bad_alloc&) {
        return TableImportResult::CannotRead;
    }
}

TableImportResult ImportTableBytes(std::string_view bytes, int kind, const MappingTables& tables,
                                   std::vector<RemapRowLeftOut>& leftOut, size_t windowSize) noexcept {
    try {
        size_t at = 0;
        return Import(
            [&](char* buffer, size_t size, size_t& got) {
                got = std::min(size, bytes.size() - at);
                std::memcpy(buffer, bytes.data() + at, got);
                at += got;
                return true;
            },
            [&] {
                std::u16string text;
                TextCodec::Active().Decode(bytes, text);
                return ReadRemapBuffer(std::move(text), kind);
            },
            kind, tables, leftOut, windowSize);
    } catch (const std::bad_alloc&) {
        return TableImportResult::CannotRead;
    }
}
