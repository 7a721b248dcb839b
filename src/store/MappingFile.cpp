#include "store/MappingFile.h"

#include "store/FileSystem.h"
#include "store/TextLines.h"

#include <chrono>
#include <cstdint>
#include <new>

namespace {

const CString kSectionKeys[MappingKindCount] = {
    u"Aliases", u"MappingCommands", u"Colors", u"LineStyles", u"Cells", u"Weights", u"Levels",
};

constexpr int kNoSection = -1;
constexpr std::u16string_view kPairSeparator = u" = ";

// One section of the file, line by line: emit gets the pieces of a line.
template <typename Emit>
void EmitSection(const CString& name, const MappingTable* table, Emit&& emit) {
    emit(std::u16string_view(u"["), name.View(), std::u16string_view(u"]"));
    if (table)
        for (const auto& [key, value] : *table)
            emit(key.View(), kPairSeparator, value.View());
    emit();
}

// Inline and over pointers: it runs three times on every line of the file.
inline std::string_view TrimBytes(std::string_view text) {
    auto blank = [](char ch) { return IsCWhiteSpace(char16_t(static_cast<unsigned char>(ch))); };
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && blank(*first))
        ++first;
    while (last != first && blank(last[-1]))
        --last;
    return std::string_view(first, size_t(last - first));
}

// The bytes as characters of the same codes: one allocation, no zero fill
// before the copy.
CString FromBytes(std::string_view bytes) {
    const auto* first = reinterpret_cast<const unsigned char*>(bytes.data());
    return CString(std::u16string(first, first + bytes.size()));
}

// The kind whose section key equals name in any letter case, or kNoSection.
int FindSection(std::string_view name) {
    for (int kind = 0; kind < MappingKindCount; ++kind) {
        std::u16string_view key = kSectionKeys[kind].View();
        if (key.size() != name.size())
            continue;
        size_t i = 0;
        while (i < key.size() && FoldAscii(key[i]) == FoldAscii(char16_t(static_cast<unsigned char>(name[i]))))
            ++i;
        if (i == key.size())
            return kind;
    }
    return kNoSection;
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

    using Skip = MappingReadObserver::Skip;
    int section = kNoSection;
    bool headerSeen = false;
    int lineNumber = 0;
    TextLines::ForEachLine(bytes, [&](std::string_view line) {
        ++lineNumber;
        std::string_view t = TrimBytes(line);
        if (t.empty())
            return;
        // A header wins over a pair, even when it holds "=". An empty name
        // keeps the section that was current.
        if (t.front() == '[' && t.back() == ']' && t.size() >= 2) {
            std::string_view name = TrimBytes(t.substr(1, t.size() - 2));
            if (!name.empty()) {
                section = FindSection(name);
                headerSeen = true;
            }
            return;
        }
        size_t equals = t.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            if (observer)
                observer->LineSkipped(lineNumber, equals == 0 ? Skip::EqualsFirst : Skip::NoEquals, line);
            return;
        }
        if (section == kNoSection) {
            if (observer)
                observer->LineSkipped(lineNumber, headerSeen ? Skip::UnknownSection : Skip::BeforeFirstHeader, line);
            return;
        }
        MappingTable* table = tables[size_t(section)];
        if (!table)
            return;
        CString key = FromBytes(TrimBytes(t.substr(0, equals)));
        CString value = FromBytes(TrimBytes(t.substr(equals + 1)));
        if (observer)
            observer->PairRead(lineNumber, MappingKind(section), key, value, table->Contains(key));
        table->SetPair(std::move(key), std::move(value));
    });
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
    EmitSection(name, table, [&](auto... parts) {
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

// The whole file in its 8-bit form, before any file is touched: a character
// above 255 stops the save here, with the reason in pFile->m_strError.
BOOL EncodeFile(CVNTextFile* pFile, const MappingTables& tables, std::string& bytes) {
    try {
        TextLines::Encoder encoder;
        int lineNumber = 0;
        bool encoded = true;
        for (int kind = 0; kind < MappingKindCount && encoded; ++kind) {
            EmitSection(kSectionKeys[kind], tables[size_t(kind)], [&](auto... parts) {
                if (!encoded)
                    return;
                ++lineNumber;
                encoded = (encoder.Append(parts) && ...) && encoder.Append(pFile->m_strLineEnd.View());
                if (!encoded)
                    pFile->ReportUnencodable(lineNumber, encoder.BadChar());
            });
        }
        if (!encoded)
            return FALSE;
        bytes = encoder.Take();
    } catch (const std::bad_alloc&) {
        pFile->m_strError = u"There is not enough memory to save the mapping file.";
        return FALSE;
    }
    return TRUE;
}

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

BOOL MappingFile::Encode(CVNTextFile* pFile, const MappingTables& tables, std::string& bytes) {
    return pFile && EncodeFile(pFile, tables, bytes);
}

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
    std::string bytes;
    if (!EncodeFile(&file, tables, bytes))
        return fail(SaveFault::Encoding);

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
    // leaves the old or the new file at path.
    CString newPath;
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
    if (!FileSystem::WriteAndClose(newFile, bytes)) {
        file.m_strError = newFile.m_strError;
        FileSystem::Remove(newPath);
        return fail(FaultOf(newFile.m_error, true), newFile.m_nCode);
    }
    CString backupPath;
    if (FileSystem::Exists(path)) {
        // A mapping file that is itself the backup is not backed up onto
        // itself (and so never removed below).
        backupPath = GetBackupPath();
        if (FileSystem::SameFile(path, backupPath) || !FileSystem::LinkOrCopy(path, backupPath))
            backupPath.Empty();
    }
    FileSystem::FileError replaceError = FileSystem::FileError::None;
    if (!FileSystem::ReplaceWith(newPath, path, replaceError, nCode, file.m_strError)) {
        FileSystem::Remove(newPath);
        result = fail(FaultOf(replaceError, false), nCode);
    } else {
        result.stamp = FileSystem::GetStamp(path);
    }
    if (!backupPath.IsEmpty())
        FileSystem::Remove(backupPath);
    return result;
}
