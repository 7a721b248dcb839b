#include "store/file/MappingFile.h"

#include "store/model/MappingBatch.h"
#include "store/platform/FileSystem.h"
#include "store/platform/TextCodec.h"
#include "store/platform/TextLines.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <new>
#include <unordered_set>

namespace {

const CString kSectionKeys[MappingKindCount] = {
    u"Aliases", u"MappingCommands", u"Colors", u"LineStyles", u"Cells", u"Weights", u"Levels",
};

constexpr int kNoSection = -1;
constexpr std::u16string_view kPairSeparator = u" = ";

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

// The grammar over the lines of text: bytes of a single-byte code page or
// characters already decoded. "=", blanks and line ends are single
// characters in every code page, and so is the "[" a trimmed line begins
// with; a "]" is only looked for in characters. addPair(line, kind, key,
// value) takes each pair line of a section that names a table.
template <typename Char, typename AddPair>
void ParseLines(std::basic_string_view<Char> text, const MappingTables& tables, AddPair&& addPair,
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
        if (!tables[size_t(section)])
            return;
        addPair(lineNumber, section, TrimText(t.substr(0, equals)), TrimText(t.substr(equals + 1)));
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
    std::array<MappingBatch, MappingKindCount> batches;
    // With an observer: the keys each table took so far, to tell it of a
    // repeated one.
    std::array<std::unordered_set<std::u16string_view>, MappingKindCount> seen;
    auto told = [&](int line, int kind, const MappingEntry& entry) {
        if (!observer)
            return;
        const bool repeated = !seen[size_t(kind)].insert(entry.Key()).second;
        observer->PairRead(line, MappingKind(kind), CString(entry.Key()), CString(entry.Value()), repeated);
    };

    // A UTF-8 mark makes the first line neither a header nor a pair.
    const bool byteOrderMark = bytes.starts_with("\xEF\xBB\xBF");
    const TextCodec& codec = TextCodec::Active();
    if (codec.IsSingleByte()) {
        // Straight from the bytes into the entries.
        auto toChar = [&codec](char byte) { return codec.CharOf(byte); };
        ParseLines(
            bytes, tables,
            [&](int line, int kind, std::string_view key, std::string_view value) {
                told(line, kind, batches[size_t(kind)].Add(key, value, toChar));
            },
            observer, byteOrderMark);
    } else {
        // A "]" byte may be the second half of a character: decode first.
        std::u16string text;
        codec.Decode(bytes, text);
        ParseLines(
            std::u16string_view(text), tables,
            [&](int line, int kind, std::u16string_view key, std::u16string_view value) {
                told(line, kind, batches[size_t(kind)].Add(key, value));
            },
            observer, byteOrderMark);
    }
    for (size_t kind = 0; kind < tables.size(); ++kind) {
        if (!tables[kind])
            continue;
        tables[kind]->ClearPairs();
        tables[kind]->Merge(std::move(batches[kind]));
    }
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
    lines.Add(u"[" + name + u"]");
    if (table)
        for (const auto& [key, value] : *table)
            lines.Add(FormatPairLine(key, value));
    lines.Add(CString());
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

// The pair that stands on line (from 1) of the file the tables make: its
// kind, and its key in key; -1 for a header or an empty line.
int PairOnLine(const MappingTables& tables, int line, CString& key) {
    int first = 1;  // the section's header line
    for (int kind = 0; kind < MappingKindCount; ++kind) {
        const MappingTable* table = tables[size_t(kind)];
        const int count = table ? table->GetCount() : 0;
        if (line > first && line <= first + count) {
            auto entry = table->begin();
            for (int i = first + 1; i < line; ++i)
                ++entry;
            key = CString(entry->Key());
            return kind;
        }
        first += count + 2;
    }
    return -1;
}

}  // namespace

MappingFile::EncodeResult MappingFile::Encode(CVNTextFile* pFile, const MappingTables& tables,
                                              const std::function<bool(std::string_view)>& write) {
    // Bytes gathered before they are handed on: few writes, little memory.
    constexpr size_t kWriteBytes = size_t(1) << 20;
    CVNTextFile::Unencodable what;
    try {
        TextLines::Encoder encoder(TextCodec::Active());
        encoder.Reserve(kWriteBytes + kWriteBytes / 8);
        const std::u16string_view lineEnd = pFile->m_strLineEnd.View();
        bool bWriteFailed = false;
        std::string bytes;
        // Hands the lines encoded so far to write; false when a character
        // had no form or the write failed.
        auto handOn = [&] {
            if (!encoder.Take(bytes))
                return false;
            bWriteFailed = !write(bytes);
            return !bWriteFailed;
        };
        auto line = [&](std::initializer_list<std::u16string_view> texts) {
            encoder.AppendLine(texts, lineEnd);
            return !encoder.Failed() && (encoder.Pending() < kWriteBytes || handOn());
        };
        bool ok = true;
        for (size_t kind = 0; ok && kind < tables.size(); ++kind) {
            ok = line({u"[", kSectionKeys[kind].View(), u"]"});
            if (const MappingTable* table = tables[kind])
                for (auto entry = table->begin(); ok && entry != table->end(); ++entry)
                    ok = line({entry->Key(), kPairSeparator, entry->Value()});
            ok = ok && line({});
        }
        if (ok && handOn())
            return EncodeResult::Encoded;
        if (bWriteFailed)
            return EncodeResult::WriteFailed;
        what.line = encoder.BadLine();
        what.ch = encoder.BadChar();
        what.kind = PairOnLine(tables, what.line, what.key);
    } catch (const std::bad_alloc&) {
        pFile->m_strError = u"There is not enough memory to save the mapping file.";
        return EncodeResult::Unencodable;
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
    return Encode(pFile, tables, [&bytes](std::string_view more) {
               bytes += more;
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
    // leaves the old or the new file at path. It is encoded a megabyte at a time
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
