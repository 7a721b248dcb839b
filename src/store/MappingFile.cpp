#include "store/MappingFile.h"

#include "store/FileSystem.h"
#include "store/TextLines.h"

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

BOOL MappingFile::Read(CVNTextFile* pFile, CString path, const MappingTables& tables, MappingReadObserver* observer) {
    if (!pFile)
        return FALSE;
    std::string bytes;
    if (!pFile->ReadBytes(path, bytes))
        return FALSE;
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

BOOL MappingFile::Write(CVNTextFile* pFile, CString path, const MappingTables& tables) {
    if (!pFile)
        return FALSE;
    pFile->ClearError();
    if (path.IsEmpty() && !pFile->PromptForPath(TRUE, path))
        return FALSE;
    // The whole file in its 8-bit form, before any file is touched: a
    // character above 255 stops the save here.
    std::string bytes;
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

    // The new content is complete on disk before the old file is replaced,
    // so a failure at any step leaves the old or the new file at path.
    CString newPath = path + u".saving";
    if (!FileSystem::WriteAll(newPath, bytes, pFile->m_strError)) {
        FileSystem::Remove(newPath);
        return FALSE;
    }
    CString backupPath;
    if (FileSystem::Exists(path)) {
        // A mapping file that is itself the backup is not backed up onto
        // itself (and so never removed below).
        backupPath = GetBackupPath();
        if (FileSystem::SameFile(path, backupPath) || !FileSystem::LinkOrCopy(path, backupPath))
            backupPath.Empty();
    }
    BOOL replaced = FileSystem::ReplaceWith(newPath, path, pFile->m_strError);
    if (!replaced)
        FileSystem::Remove(newPath);
    if (!backupPath.IsEmpty())
        FileSystem::Remove(backupPath);
    return replaced;
}
