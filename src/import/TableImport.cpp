#include "import/TableImport.h"

#include "import/ImportMerge.h"
#include "import/RemapRows.h"
#include "import/TableParts.h"
#include "store/BatchMerge.h"
#include "store/FileSystem.h"
#include "store/MappingBatch.h"
#include "store/TextCodec.h"
#include "store/WorkShare.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <type_traits>

namespace {

using namespace TableParts;

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
        MappingBatch& batch = m_batches[size_t(page)];
        if (batch.GetCount() == 0)
            batch.Reserve(m_expectedRows);
        if constexpr (std::is_same_v<Char, char>)
            batch.Add(key, value, m_codec);
        else
            batch.Add(key, value);
    }

    bool NeedsPairList() const { return m_needsPairList; }
    // The rows expected, roughly: room for them is made in each page's
    // batch at its first pair.
    void ExpectRows(size_t rows) { m_expectedRows = rows; }

    // What decides how a data row is taken: the section's kind and columns.
    struct SectionColumns {
        int kind, ms, dwg;
        bool operator==(const SectionColumns&) const = default;
    };
    SectionColumns Current() const { return {m_kind, m_ms, m_dwg}; }

    // Sorts each page's pairs (MappingBatch::Sort) on this thread.
    void SortBatches() {
        for (MappingBatch& batch : m_batches)
            batch.Sort();
    }

    // Takes later's pairs after this sink's, as if read here in their order.
    void Append(BatchSink&& later) {
        for (size_t page = 0; page < m_batches.size(); ++page)
            m_batches[page].Append(std::move(later.m_batches[page]));
        m_needsPairList |= later.m_needsPairList;
    }

    void MergeInto(const MappingTables& tables) {
        MappingBatches batches{};
        for (size_t page = 0; page < m_batches.size(); ++page)
            batches[page] = &m_batches[page];
        MergeBatches(tables, batches);
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
    size_t m_expectedRows = 0;
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
    static constexpr size_t kLength = kSectionMarker.size();
    static bool Contains(std::string_view text) { return text.find(kSectionMarker) != std::string_view::npos; }
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
    // Reads a section's marker row and header row; false when the
    // tokenizer's buffer ends first.
    bool RunToSectionBody(BasicRemapTokenizer<Char>& tokenizer) { return m_parse.RunToSectionBody(tokenizer, m_sink); }

    // What decides how the rows from here on are read.
    struct State {
        typename RemapParse<Char>::Place place;
        typename BatchSink<Char>::SectionColumns columns;
        bool operator==(const State&) const = default;
    };
    State Now() const { return {m_parse.Where(), m_sink.Current()}; }

    // The parse of the rows that follow this parse's rows, read apart:
    // joins them as if read here (lines counts the lines read here).
    void Append(TableParse&& later) { m_sink.Append(std::move(later.m_sink)); }
    const RemapParse<Char>& Rows() const { return m_parse; }
    void SortBatches() { m_sink.SortBatches(); }
    void ExpectRows(size_t rows) { m_sink.ExpectRows(rows); }

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

// One reader of a table's bytes in a single-byte code page, from a row
// start on: the file a window at a time, tokenized as bytes, into its own
// batches and rows left out.
class ByteReader {
public:
    static constexpr uint64_t kToTheEnd = UINT64_MAX;
    // Stopped: not read at all (memory ran out before).
    enum class Step { Ended, Reached, CannotRead, NeedsPairList, Stopped };

    ByteReader(const ByteSource& read, int kind, const TextCodec& codec, size_t window, uint64_t from)
        : m_read(read), m_parse(kind, codec, m_leftOut), m_window(std::max<size_t>(window, 1)),
          m_buffer(m_window + kMargin), m_from(from), m_offset(from) {}

    // For a reader that begins at a line start inside a section: takes the
    // state of the rows there from the last section marker row in
    // [floor, from) and its header row, read ahead of the rest (none: the
    // state before every section). False when that marker's rows do not
    // end within a window before from; then this reader cannot begin here.
    bool StartInSection(uint64_t floor) {
        const uint64_t marker = LastMarkerLine(m_read, floor, m_from);
        if (marker != kNowhere) {
            const size_t want = size_t(std::min<uint64_t>(m_from - marker, m_window));
            size_t got = 0;
            if (!m_read(marker, m_buffer.data(), want, got))
                return false;
            m_buffer[got] = '\0';
            RemapByteTokenizer tokenizer(m_buffer.data(), m_buffer.data() + got, m_parse.Mode(), false);
            if (!m_parse.RunToSectionBody(tokenizer))
                return false;
        }
        m_startState = m_parse.Now();
        return true;
    }

    // Reads and parses rows until the file ends (Ended) or every byte
    // before until was read (Reached: a row running past until stays
    // unread).
    Step ReadUntil(uint64_t until) {
        for (;;) {
            if (m_offset == until)
                return Step::Reached;
            if (m_filled == m_window) {
                m_window *= 2;  // one row fills the window
                m_buffer.resize(m_window + kMargin);
            }
            const size_t want = size_t(std::min<uint64_t>(m_window - m_filled, until - m_offset));
            size_t got = 0;
            if (!m_read(m_offset, m_buffer.data() + m_filled, want, got) || TooLong(m_offset + got))
                return Step::CannotRead;
            m_marker.Look(std::string_view(m_buffer.data() + m_filled, got));
            m_filled += got;
            m_offset += got;
            const bool whole = got == 0;
            m_buffer[m_filled] = '\0';
            RemapByteTokenizer tokenizer(m_buffer.data(), m_buffer.data() + m_filled, m_parse.Mode(), whole);
            tokenizer.SetLine(m_line);
            if (!m_parse.Run(tokenizer))
                return Step::NeedsPairList;
            const size_t used = size_t(tokenizer.Cursor() - m_buffer.data());
            std::memmove(m_buffer.data(), m_buffer.data() + used, m_filled - used);
            m_filled -= used;
            m_line = tokenizer.Line();
            if (whole)
                return Step::Ended;
        }
    }

    // Sorts the pairs read so far, ahead of the merge, on this thread.
    void SortBatches() { m_parse.SortBatches(); }
    void ExpectRows(size_t rows) { m_parse.ExpectRows(rows); }

    // True when this reader, having reached where later began, stands
    // where later's first row is read as it read it: at a row start, and
    // either taking a section marker for one (later began with one) or in
    // the very state later took (StartInSection). Then later's rows are
    // these rows' continuation, and later's lines follow this reader's.
    bool ContinuesInto(ByteReader& later) const {
        if (m_filled != 0 || m_offset != later.m_from)
            return false;
        const bool bSameRows = later.m_startState ? m_parse.Now() == *later.m_startState
                                                  : m_parse.Rows().ExpectsSectionMarker() &&
                                                        later.m_parse.Rows().BeganWithSectionMarker();
        if (!bSameRows)
            return false;
        later.m_linesBefore = m_linesBefore + uint32_t(m_line - 1);
        return true;
    }

    // Joins the rows of a reader that continues this one's (see
    // ContinuesInto), directly or through others joined before.
    void Append(ByteReader&& later) {
        m_parse.Append(std::move(later.m_parse));
        for (RemapRowLeftOut row : later.m_leftOut)
            m_leftOut.push_back(RemapRowLeftOut{row.line + later.m_linesBefore, row.reason});
        m_markerFound = m_markerFound || later.m_markerFound || later.m_marker.Found();
    }

    Streamed Finish(const MappingTables& tables, std::vector<RemapRowLeftOut>& leftOut) {
        leftOut = std::move(m_leftOut);
        return m_parse.Finish(m_markerFound || m_marker.Found(), tables);
    }

private:
    // After the window, the NUL after the text and the tokenizer's margin.
    static constexpr size_t kMargin = 1 + 16;

    const ByteSource& m_read;
    std::vector<RemapRowLeftOut> m_leftOut;
    TableParse<char> m_parse;
    std::optional<TableParse<char>::State> m_startState;  // taken by StartInSection
    MarkerSearch m_marker;
    bool m_markerFound = false;  // in the bytes of a reader appended
    size_t m_window;
    std::vector<char> m_buffer;
    size_t m_filled = 0;  // bytes in the buffer, the unread row first
    const uint64_t m_from;  // where this reader began
    uint64_t m_offset;      // of the byte after those read
    int m_line = 1;             // counted from where this reader began
    uint32_t m_linesBefore = 0;  // the file's lines before that
};

// Room made ahead for a part's pairs in each page's batch, at most.
constexpr uint64_t kMostRowsExpected = uint64_t(1) << 22;

// A single-byte code page. A large version 8 table is cut into parts (at
// section markers, and inside the largest sections for balance), and two
// threads read the parts at once, each into its own batches, sorted when
// the part is read. Then the parts are joined in file order: a part's rows
// count only where the reader before it, reaching its start, finds it
// would have read the same rows from there (not, say, inside a quoted
// field); otherwise that reader reads on through the part.
Streamed StreamBytes(const ByteSource& read, uint64_t size, int kind, const TextCodec& codec,
                     const MappingTables& tables, std::vector<RemapRowLeftOut>& leftOut,
                     const TableImportOptions& options) {
    using Step = ByteReader::Step;
    const bool bParts = kind == RemapDetect && size > 0 && size >= options.splitFrom && options.parts > 1 &&
                        (options.splitFrom == 0 || WorkShare::HasSecondProcessor());
    const size_t most = bParts ? 2 * options.parts : 1;
    // The first part is read from the start at once, up to firstFrom
    // without waiting for the plan of the parts, which the other thread
    // makes meanwhile (and which begins no other part before firstFrom).
    const uint64_t firstFrom = bParts ? size / (4 * options.parts) : ByteReader::kToTheEnd;
    std::vector<Part> parts{Part{0, size, false, 0, 0}};
    std::vector<size_t> order;  // the other parts, the most work first
    std::once_flag planned;
    auto plan = [&] {
        std::call_once(planned, [&] {
            if (bParts)
                parts = PartsOf(read, size, options.parts, most, firstFrom);
            for (size_t part = 1; part < parts.size(); ++part)
                order.push_back(part);
            std::stable_sort(order.begin(), order.end(),
                             [&](size_t a, size_t b) { return parts[a].Work() > parts[b].Work(); });
        });
    };
    auto endOf = [&](size_t part) { return part + 1 < parts.size() ? parts[part + 1].from : ByteReader::kToTheEnd; };
    std::vector<std::optional<ByteReader>> readers(most);
    std::vector<Step> steps(most, Step::Stopped);
    WorkShare::ForEach(
        most,
        [&](size_t i) {
            if (i == 0) {
                ByteReader& reader = readers[0].emplace(read, kind, codec, options.windowSize, 0);
                if (bParts)
                    reader.ExpectRows(size_t(std::min(RowsOf(read, 0, size / options.parts), kMostRowsExpected)));
                steps[0] = reader.ReadUntil(firstFrom);
                plan();
                if (steps[0] == Step::Reached)
                    steps[0] = reader.ReadUntil(endOf(0));
                if (parts.size() > 1 && (steps[0] == Step::Reached || steps[0] == Step::Ended))
                    reader.SortBatches();
                return;
            }
            plan();
            if (i > order.size())
                return;
            const size_t part = order[i - 1];
            try {
                ByteReader& reader = readers[part].emplace(read, kind, codec, options.windowSize, parts[part].from);
                reader.ExpectRows(size_t(std::min(parts[part].rows, kMostRowsExpected)));
                if (parts[part].bInSection && !reader.StartInSection(parts[part].floor))
                    return;  // Stopped: the reader before reads on through it
                steps[part] = reader.ReadUntil(endOf(part));
                if (steps[part] == Step::Reached || steps[part] == Step::Ended)
                    reader.SortBatches();
            } catch (const std::bad_alloc&) {
                steps[part] = Step::Stopped;  // the reader before reads on through it
            }
        },
        bParts);
    const size_t count = parts.size();

    ByteReader& first = *readers[0];
    ByteReader* tail = &first;  // the reader at the end of the rows joined so far
    Step step = steps[0];
    std::vector<size_t> joined;
    for (size_t part = 1; part < count && step == Step::Reached; ++part) {
        const bool bRead = steps[part] == Step::Reached || steps[part] == Step::Ended ||
                           steps[part] == Step::NeedsPairList;
        if (bRead && tail->ContinuesInto(*readers[part])) {
            tail = &*readers[part];
            step = steps[part];
            joined.push_back(part);
        } else {
            step = tail->ReadUntil(endOf(part));
        }
    }
    switch (step) {
    case Step::Ended:
        for (size_t part : joined)
            first.Append(std::move(*readers[part]));
        return first.Finish(tables, leftOut);
    case Step::NeedsPairList: return Streamed::NeedsPairList;
    default: return Streamed::CannotRead;
    }
}

// Other code pages: the whole file, decoded, tokenized as UTF-16.
Streamed StreamText(const ByteSource& read, int kind, const TextCodec& codec, const MappingTables& tables,
                    std::vector<RemapRowLeftOut>& leftOut) {
    std::string bytes;
    constexpr size_t kPiece = size_t(1) << 20;
    for (size_t got = kPiece; got != 0;) {
        const size_t at = bytes.size();
        bytes.resize(at + kPiece);
        if (!read(at, bytes.data() + at, kPiece, got) || TooLong(at + got))
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

Streamed StreamTable(const ByteSource& read, uint64_t size, int kind, const MappingTables& tables,
                     std::vector<RemapRowLeftOut>& leftOut, const TableImportOptions& options) {
    const TextCodec& codec = TextCodec::Active();
    if (CutsAsBytes(codec))
        return StreamBytes(read, size, kind, codec, tables, leftOut, options);
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

TableImportResult Import(const ByteSource& read, uint64_t size, const std::function<ReadResult()>& readWhole,
                         int kind, const MappingTables& tables, std::vector<RemapRowLeftOut>& leftOut,
                         const TableImportOptions& options) {
    leftOut.clear();
    const Streamed streamed = StreamTable(read, size, kind, tables, leftOut, options);
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
        const std::int64_t size = file.Size();
        return Import(
            [&file](uint64_t offset, char* buffer, size_t want, size_t& got) {
                return file.ReadAt(std::int64_t(offset), buffer, want, got);
            },
            size < 0 ? 0 : uint64_t(size),
            [&] {
                file.Close();
                return ReadRemapFile(path, kind);
            },
            kind, tables, leftOut, TableImportOptions{});
    } catch (const std::bad_alloc&) {
        return TableImportResult::CannotRead;
    }
}

TableImportResult ImportTableBytes(std::string_view bytes, int kind, const MappingTables& tables,
                                   std::vector<RemapRowLeftOut>& leftOut, const TableImportOptions& options) noexcept {
    try {
        return Import(
            [bytes](uint64_t offset, char* buffer, size_t want, size_t& got) {
                const size_t at = size_t(std::min<uint64_t>(offset, bytes.size()));
                got = std::min(want, bytes.size() - at);
                std::memcpy(buffer, bytes.data() + at, got);
                return true;
            },
            bytes.size(),
            [&] {
                std::u16string text;
                TextCodec::Active().Decode(bytes, text);
                return ReadRemapBuffer(std::move(text), kind);
            },
            kind, tables, leftOut, options);
    } catch (const std::bad_alloc&) {
        return TableImportResult::CannotRead;
    }
}
