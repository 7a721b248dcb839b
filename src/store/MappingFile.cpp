#include "store/MappingFile.h"

#include "store/FileSystem.h"
#include "store/TextCodec.h"
#include "store/TextLines.h"
#include "store/WorkShare.h"

#include <chrono>
#include <cstdint>
#include <new>

namespace {

const CString kSectionKeys[MappingKindCount] = {
    u"Aliases", u"MappingCommands", u"Colors", u"LineStyles", u"Cells", u"Weights", u"Levels",
};

constexpr int kNoSection = -1;
constexpr std::u16string_view kPairSeparator = u" = ";

// A piece of the file that encodes apart from the others: a run of one
// section's pairs, with the section's header line before the first run and
// its empty line after the last.
struct FilePiece {
    int kind;
    bool bHeader;
    bool bEnd;
    MappingTable::const_iterator first;
    size_t pairs;
    int firstLine;  // of the file, from 1
};

// The lines of a piece: emit gets the pieces of each line.
template <typename Emit>
void EmitPiece(const FilePiece& piece, const CString& name, Emit&& emit) {
    if (piece.bHeader)
        emit(std::u16string_view(u"["), name.View(), std::u16string_view(u"]"));
    auto entry = piece.first;
    for (size_t i = 0; i < piece.pairs; ++i, ++entry)
        emit(entry->Key(), kPairSeparator, entry->Value());
    if (piece.bEnd)
        emit();
}

// A byte or a UTF-16 unit as the character it stands for in the code
// page's ASCII range, the only one the grammar looks at.
inline char16_t Unit(char ch) { return char16_t(static_cast<unsigned char>(ch)); }
inline char16_t Unit(char16_t ch) { return ch; }

// Inline and over pointers: it runs three times on every line of the file.
// White space is never the second half of a two-byte character.
template <typename Char>
inline std::basic_string_view<Char> TrimText(std::basic_string_view<Char> text) {
    const Char* first = text.data();
    const Char* last = first + text.size();
    while (first != last && IsCWhiteSpace(Unit(*first)))
        ++first;
    while (last != first && IsCWhiteSpace(Unit(last[-1])))
        --last;
    return std::basic_string_view<Char>(first, size_t(last - first));
}

// The kind whose section key equals name in any letter case, or kNoSection.
template <typename Char>
int FindSection(std::basic_string_view<Char> name) {
    for (int kind = 0; kind < MappingKindCount; ++kind) {
        std::u16string_view key = kSectionKeys[kind].View();
        if (key.size() != name.size())
            continue;
        size_t i = 0;
        while (i < key.size() && FoldAscii(key[i]) == FoldAscii(Unit(name[i])))
            ++i;
        if (i == key.size())
            return kind;
    }
    return kNoSection;
}

// The grammar over the lines of text: bytes of a single-byte code page
// (toString widens a piece through the code page's table) or characters
// already decoded. "=", blanks and line ends are single characters in
// every code page, and so is the "[" a trimmed line begins with; a "]"
// is only looked for in characters.
template <typename Char, typename ToString>
void ParseLines(std::basic_string_view<Char> text, const MappingTables& tables, ToString&& toString,
                MappingReadObserver* observer, bool byteOrderMark) {
    using Skip = MappingReadObserver::Skip;
    int section = kNoSection;
    bool headerSeen = false;
    int lineNumber = 0;
    auto skip = [&](Skip reason) {
        if (observer)
            observer->LineSkipped(lineNumber, lineNumber == 1 && byteOrderMark ? Skip::ByteOrderMark : reason);
    };
    TextLines::ForEachLine(text, [&](std::basic_string_view<Char> line) {
        ++lineNumber;
        std::basic_string_view<Char> t = TrimText(line);
        if (t.empty())
            return;
        // A header wins over a pair, even when it holds "=". An empty name
        // keeps the section that was current.
        if (t.front() == Char('[') && t.back() == Char(']') && t.size() >= 2) {
            std::basic_string_view<Char> name = TrimText(t.substr(1, t.size() - 2));
            if (!name.empty()) {
                section = FindSection(name);
                headerSeen = true;
            }
            return;
        }
        size_t equals = t.find(Char('='));
        if (equals == std::basic_string_view<Char>::npos || equals == 0)
            return skip(equals == 0 ? Skip::EqualsFirst : Skip::NoEquals);
        if (section == kNoSection)
            return skip(headerSeen ? Skip::UnknownSection : Skip::BeforeFirstHeader);
        MappingTable* table = tables[size_t(section)];
        if (!table)
            return;
        CString key = toString(TrimText(t.substr(0, equals)));
        CString value = toString(TrimText(t.substr(equals + 1)));
        if (observer)
            observer->PairRead(lineNumber, MappingKind(section), key, value, table->Contains(key.View()));
        table->SetPair(std::move(key), std::move(value));
    });
}

}  // namespace

const CString& SectionKey(MappingKind kind) {
    static const CString none;
    return kind >= 0 && kind < MappingKindCount ? kSectionKeys[kind] : none;
}

void MappingFile::ReadFromBytes(std::string_view bytes, const MappingTables& tables, MappingReadObserver* observer) {
    if (bytes.empty())
        return;
    for (MappingTable* table : tables)
        if (table)
            table->ClearPairs();

    // A UTF-8 mark makes the first line neither a header nor a pair.
    const bool byteOrderMark = bytes.starts_with("\xEF\xBB\xBF");
    const TextCodec& codec = TextCodec::Active();
    if (codec.IsSingleByte()) {
        // Straight from the bytes: one allocation per key and value.
        ParseLines(bytes, tables, [&codec](std::string_view piece) { return CString(codec.Widen(piece)); }, observer,
                   byteOrderMark);
        return;
    }
    // A "]" byte may be the second half of a character: decode first.
    std::u16string text;
    codec.Decode(bytes, text);
    ParseLines(std::u16string_view(text), tables, [](std::u16string_view piece) { return CString(piece); }, observer,
               byteOrderMark);
}

BOOL MappingFile::Read(CVNTextFile* pFile, CString path, const MappingTables& tables, FileSystem::FileStamp* pStamp,
                       MappingReadObserver* observer) {
    if (!pFile)
        return FALSE;
    // Taken before the read: a change while reading makes the stamps differ
    // and Save asks, never the other way round.
    FileSystem::FileStamp stamp = FileSystem::GetStamp(path);
    if (pStamp)
        *pStamp = FileSystem::FileStamp();
    std::string bytes;
    if (!pFile->ReadBytes(path, bytes))
        return FALSE;
    if (pStamp)
        *pStamp = stamp;
    try {
        ReadFromBytes(bytes, tables, observer);
    } catch (const std::bad_alloc&) {
        pFile->m_strError = u"There is not enough memory to read the mapping file.";
        return FALSE;
    }
    return TRUE;
}

CString MappingFile::FormatPairLine(const CString& key, const CString& value) {
    CString line;
    line.Reserve(key.GetLength() + int(kPairSeparator.size()) + value.GetLength());
    line += key;
    line += CString(kPairSeparator);
    line += value;
    return line;
}

void MappingFile::WriteSection(CStringArray& lines, const CString& name, const MappingTable* table) {
    const FilePiece whole{-1, true, true, table ? table->begin() : MappingTable::const_iterator(),
                          table ? size_t(table->GetCount()) : 0, 1};
    EmitPiece(whole, name, [&](auto... parts) {
        CString line;
        line.Reserve(int((size_t(0) + ... + parts.size())));
        ((line += CString(parts)), ...);
        lines.Add(std::move(line));
    });
}

void MappingFile::BuildLines(CStringArray& lines, const MappingTables& tables) {
    int count = 0;
    for (const MappingTable* table : tables)
        count += 2 + (table ? table->GetCount() : 0);
    lines.RemoveAll();
    lines.Reserve(count);
    for (int kind = 0; kind < MappingKindCount; ++kind)
        WriteSection(lines, kSectionKeys[kind], tables[size_t(kind)]);
}

CString MappingFile::GetBackupPath() {
    CString folder;
    FileSystem::GetEnvironment(u"TEMP", folder);
    folder.Trim();
    if (folder.IsEmpty() || (folder[folder.GetLength() - 1] != u'\\' && folder[folder.GetLength() - 1] != u'/'))
        folder += u'\\';
    return folder + u"_bak" + u"commands.mapping";
}

namespace {

// Pairs in a piece: enough that the pieces are few, few enough that two
// threads share a large file evenly and a piece's bytes stay small.
constexpr size_t kPiecePairs = 8192;

std::vector<FilePiece> CutIntoPieces(const MappingTables& tables) {
    std::vector<FilePiece> pieces;
    int line = 1;
    for (int kind = 0; kind < MappingKindCount; ++kind) {
        const MappingTable* table = tables[size_t(kind)];
        std::vector<MappingTable::Run> runs;
        if (table)
            runs = table->CutIntoRuns(kPiecePairs);
        if (runs.empty())
            runs.push_back(MappingTable::Run{{}, 0});
        for (size_t i = 0; i < runs.size(); ++i) {
            pieces.push_back(FilePiece{kind, i == 0, i + 1 == runs.size(), runs[i].first, runs[i].count, line});
            line += int(i == 0) + int(runs[i].count) + int(i + 1 == runs.size());
        }
    }
    return pieces;
}

// Where the first character without a form in the code page is: the
// piece's line (from 1) and the character.
struct PieceFault {
    int line = 0;
    char32_t ch = 0;
};

bool EncodePiece(const FilePiece& piece, const TextCodec& codec, std::u16string_view lineEnd, std::string& bytes,
                 PieceFault& fault) {
    TextLines::Encoder encoder(codec, std::move(bytes));
    // A pair line is rarely longer than this; the rest grows.
    encoder.Reserve(piece.pairs * 48 + 256);
    EmitPiece(piece, kSectionKeys[piece.kind], [&](auto... parts) { encoder.AppendLine({parts...}, lineEnd); });
    if (encoder.Take(bytes))
        return true;
    fault.line = encoder.BadLine();
    fault.ch = encoder.BadChar();
    return false;
}

}  // namespace

MappingFile::EncodeResult MappingFile::Encode(CVNTextFile* pFile, const MappingTables& tables,
                                              const std::function<bool(std::string_view)>& write) {
    std::vector<FilePiece> pieces;
    std::vector<PieceFault> faults;
    size_t stoppedAt = 0;
    try {
        pieces = CutIntoPieces(tables);
        faults.resize(pieces.size());
        size_t pairs = 0;
        for (const FilePiece& piece : pieces)
            pairs += piece.pairs;
        bool bWriteFailed = false;
        const std::u16string_view lineEnd = pFile->m_strLineEnd.View();
        const TextCodec& codec = TextCodec::Active();
        stoppedAt = WorkShare::ForEachInOrder(
            pieces.size(),
            [&](size_t i, std::string& bytes) { return EncodePiece(pieces[i], codec, lineEnd, bytes, faults[i]); },
            [&](size_t, const std::string& bytes) { return !(bWriteFailed = !write(bytes)); },
            pairs >= WorkShare::kSharedFromPairs);
        if (stoppedAt == pieces.size())
            return EncodeResult::Encoded;
        if (bWriteFailed)
            return EncodeResult::WriteFailed;
    } catch (const std::bad_alloc&) {
        pFile->m_strError = u"There is not enough memory to save the mapping file.";
        return EncodeResult::Unencodable;
    }
    // The pair on the piece's line that holds the character.
    const FilePiece& piece = pieces[stoppedAt];
    CVNTextFile::Unencodable what;
    what.line = piece.firstLine + faults[stoppedAt].line - 1;
    what.ch = faults[stoppedAt].ch;
    const int pairIndex = faults[stoppedAt].line - 1 - int(piece.bHeader);
    if (pairIndex >= 0 && size_t(pairIndex) < piece.pairs) {
        auto entry = piece.first;
        for (int i = 0; i < pairIndex; ++i)
            ++entry;
        what.kind = piece.kind;
        what.key = CString(entry->Key());
    }
    CString where;
    if (what.kind >= 0)
        where = CString(u"The pair \"") + what.key + u"\" of the " + kSectionKeys[what.kind] + u" section";
    else
        where.Format(u"Line %d", what.line);
    pFile->ReportUnencodable(what, where);
    return EncodeResult::Unencodable;
}

BOOL MappingFile::Encode(CVNTextFile* pFile, const MappingTables& tables, std::string& bytes) {
    bytes.clear();
    return Encode(pFile, tables, [&bytes](std::string_view piece) {
               bytes += piece;
               return true;
           }) == EncodeResult::Encoded;
}

namespace {

// A name for the new content beside the mapping file: never an existing
// file, and no longer than "commands.mapping", so that a path the platform
// takes for the mapping file fits for it too.
CString TemporaryPathBeside(const CString& path, unsigned attempt) {
    int slash = path.GetLength() - 1;
    while (slash >= 0 && path[slash] != u'\\' && path[slash] != u'/')
        --slash;
    static unsigned s_counter = 0;
    auto seed = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    unsigned tag = unsigned(seed ^ (seed >> 32)) * 2654435761u + ++s_counter + attempt;
    CString name;
    name.Format(u"~vn%d.tmp", int(tag & 0x7FFFFFF));
    return path.Left(slash + 1) + name;
}

SaveFault FaultOf(FileSystem::FileError error, bool bCreating) {
    using FileSystem::FileError;
    switch (error) {
    case FileError::None: return SaveFault::None;
    case FileError::NotFound: return SaveFault::FolderMissing;
    case FileError::AccessDenied: return bCreating ? SaveFault::FolderDenied : SaveFault::AccessDenied;
    case FileError::ReadOnly: return SaveFault::ReadOnly;
    case FileError::InUse: return SaveFault::InUse;
    case FileError::DiskFull: return SaveFault::DiskFull;
    case FileError::IsFolder: return SaveFault::IsFolder;
    case FileError::PathTooLong: return SaveFault::PathTooLong;
    case FileError::Other: break;
    }
    return SaveFault::Other;
}

}  // namespace

BOOL MappingFile::Write(CVNTextFile* pFile, CString path, const MappingTables& tables) {
    return pFile && Save(*pFile, path, tables).fault == SaveFault::None;
}

SaveResult MappingFile::Save(CVNTextFile& file, CString& path, const MappingTables& tables,
                             const FileSystem::FileStamp* pReadStamp) {
    SaveResult result;
    auto fail = [&](SaveFault fault, int nCode = 0) {
        result.fault = fault;
        result.nSystemCode = nCode;
        return result;
    };
    file.ClearError();
    if (path.IsEmpty() && !file.PromptForPath(TRUE, path))
        return fail(SaveFault::Cancelled);
    // Whatever cannot be replaced is found before anything is written.
    int nCode = 0;
    if (FileSystem::FileError error = FileSystem::CheckReplaceable(path, nCode); error != FileSystem::FileError::None)
        return fail(FaultOf(error, false), nCode);
    if (pReadStamp) {
        FileSystem::FileStamp now = FileSystem::GetStamp(path);
        if (now.bExists && now != *pReadStamp)
            return fail(SaveFault::ChangedSinceRead);
    }

    // The new content is complete on disk before the old file is replaced,
    // so a failure at any step, or the process ending at any instant,
    // leaves the old or the new file at path. It is encoded piece by piece
    // as it is written: a character the code page cannot hold stops the
    // save there, and the new file goes.
    CString newPath;
    {
        FileSystem::File newFile;
        for (unsigned attempt = 0;; ++attempt) {
            newPath = TemporaryPathBeside(path, attempt);
            if (newFile.OpenWrite(newPath, true))
                break;
            // Another save's name: try another; anything else stops the save.
            if (!FileSystem::Exists(newPath) || attempt == 8) {
                file.m_strError = newFile.m_strError;
                return fail(FaultOf(newFile.m_error, true), newFile.m_nCode);
            }
        }
        const EncodeResult encoded = Encode(&file, tables, [&newFile](std::string_view bytes) {
            return FileSystem::WriteChecked(newFile, bytes);
        });
        if (encoded == EncodeResult::Unencodable)
            result = fail(SaveFault::Encoding);
        else if (encoded == EncodeResult::WriteFailed || !newFile.Close()) {
            file.m_strError = newFile.m_strError;
            result = fail(FaultOf(newFile.m_error, true), newFile.m_nCode);
        }
    }  // closed here, so that it can be removed
    if (result.fault != SaveFault::None) {
        FileSystem::Remove(newPath);
        return result;
    }
    // Every program saves its backup under the one name in TEMP: the copy
    // is removed afterwards only while it is still this save's, so that two
    // programs saving at once never take each other's backup away.
    CString backupPath;
    FileSystem::FileStamp backupStamp;
    if (FileSystem::Exists(path)) {
        // A mapping file that is itself the backup is not backed up onto
        // itself (and so never removed below).
        backupPath = GetBackupPath();
        if (FileSystem::SameFile(path, backupPath) || !FileSystem::CopyToNew(path, backupPath))
            backupPath.Empty();
        else
            backupStamp = FileSystem::GetStamp(backupPath);
    }
    FileSystem::FileError replaceError = FileSystem::FileError::None;
    if (!FileSystem::ReplaceWith(newPath, path, replaceError, nCode, file.m_strError)) {
        FileSystem::Remove(newPath);
        result = fail(FaultOf(replaceError, false), nCode);
    } else {
        result.stamp = FileSystem::GetStamp(path);
    }
    if (!backupPath.IsEmpty() && FileSystem::GetStamp(backupPath) == backupStamp)
        FileSystem::Remove(backupPath);
    return result;
}
