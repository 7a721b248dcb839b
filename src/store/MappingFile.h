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

// Told by the reader what it skips and what it stores, line by line, for
// callers that report on a file (the command-line check). Lines count
// from 1; the views are valid during the call only.
class MappingReadObserver {
public:
    enum class Skip {
        BeforeFirstHeader,  // no section yet
        UnknownSection,     // the current section names no table
        NoEquals,           // neither a header nor a pair
        EqualsFirst,        // a pair line without a key
    };
    virtual ~MappingReadObserver() = default;
    // A line that holds something and is skipped; text is the line as read.
    virtual void LineSkipped(int line, Skip reason, std::string_view text) = 0;
    // A pair about to be stored in the table of kind; repeated when the
    // table holds its key already (this later value replaces that one).
    virtual void PairRead(int line, MappingKind kind, const CString& key, const CString& value, bool repeated) = 0;
};

class MappingFile {
public:
    // Reads the file into the tables. FALSE when pFile is null or the file
    // cannot be read (pFile->m_strError says why); the tables keep what they
    // hold then, and also when the file has no lines at all.
    // An observer, when given, hears of every skipped line and stored pair.
    static BOOL Read(CVNTextFile* pFile, CString path, const MappingTables& tables,
                     MappingReadObserver* observer = nullptr);
    // Saves the tables. The new content goes to a file beside the mapping
    // file first and then replaces it; a backup of the old file stays in the
    // TEMP folder for the time between. FALSE when the new file was not put
    // in place (pFile->m_strError says why); the old file is then unchanged.
    static BOOL Write(CVNTextFile* pFile, CString path, const MappingTables& tables);

    // The reader's core, over the file's bytes.
    static void ReadFromBytes(std::string_view bytes, const MappingTables& tables,
                              MappingReadObserver* observer = nullptr);
    // Every line of the file, in order.
    static void BuildLines(CStringArray& lines, const MappingTables& tables);
    // One section: header, one line per pair in key order, an empty line.
    static void WriteSection(CStringArray& lines, const CString& name, const MappingTable* table);
    static CString FormatPairLine(const CString& key, const CString& value);
    // TEMP (trimmed) + "\" unless it ends with "\" or "/" + "_bakcommands.mapping".
    static CString GetBackupPath();
};
