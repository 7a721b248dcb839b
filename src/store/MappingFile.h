// The mapping file: seven sections, one per mapping kind, each a header
// "[" + section key + "]" and lines key + " = " + value. The reader is
// lenient and skips what it does not understand; the writer always writes
// all seven sections in the fixed order, pairs in key order, CR LF ends.
// Nothing here needs a window: the sheet hands in its seven tables.
#pragma once

#include "framework/CString.h"
#include "framework/CStringArray.h"
#include "store/CVNTextFile.h"
#include "store/MappingTable.h"

#include <array>
#include <string>
#include <string_view>

enum MappingKind {
    KindAliases,
    KindMappingCommands,
    KindColors,
    KindLineStyles,
    KindCells,
    KindWeights,
    KindLevels,
    MappingKindCount
};

// "Aliases", "MappingCommands", "Colors", "LineStyles", "Cells", "Weights",
// "Levels"; "" for a value outside the enumeration.
const CString& SectionKey(MappingKind kind);

// The seven tables in section (file) order; a null entry is a kind without
// a table: its pairs are skipped on reading and its section written empty.
using MappingTables = std::array<MappingTable*, MappingKindCount>;

class MappingFile {
public:
    // Reads the file into the tables. FALSE when pFile is null or the file
    // cannot be read (pFile->m_strError says why); the tables keep what they
    // hold then, and also when the file has no lines at all.
    static BOOL Read(CVNTextFile* pFile, CString path, const MappingTables& tables);
    // Saves the tables. The new content goes to a file beside the mapping
    // file first and then replaces it; a backup of the old file stays in the
    // TEMP folder for the time between. FALSE when the new file was not put
    // in place (pFile->m_strError says why); the old file is then unchanged.
    static BOOL Write(CVNTextFile* pFile, CString path, const MappingTables& tables);

    // The file's bytes in the active code page, before any file is
    // touched. FALSE when a character has no form there: m_unencodable of
    // pFile names the pair (its kind and key) and m_strError says it.
    static BOOL Encode(CVNTextFile* pFile, const MappingTables& tables, std::string& bytes);

    // The reader's core, over the file's bytes in the active code page.
    static void ReadFromBytes(std::string_view bytes, const MappingTables& tables);
    // Every line of the file, in order.
    static void BuildLines(CStringArray& lines, const MappingTables& tables);
    // One section: header, one line per pair in key order, an empty line.
    static void WriteSection(CStringArray& lines, const CString& name, const MappingTable* table);
    static CString FormatPairLine(const CString& key, const CString& value);
    // TEMP (trimmed) + "\" unless it ends with "\" or "/" + "_bakcommands.mapping".
    static CString GetBackupPath();
};
