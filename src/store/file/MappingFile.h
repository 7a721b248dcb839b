// The mapping file: seven sections, one per mapping kind, each a header
// "[" + section key + "]" and lines key + " = " + value. The reader is
// lenient and skips what it does not understand; the writer always writes
// all seven sections in the fixed order, pairs in key order, CR LF ends.
// Nothing here needs a window: the sheet hands in its seven tables.
#pragma once

#include "framework/CString.h"
#include "framework/CStringArray.h"
#include "store/model/MappingKind.h"
#include "store/model/MappingTable.h"
#include "store/platform/CVNTextFile.h"
#include "store/platform/FileSystem.h"

#include <functional>
#include <string>
#include <string_view>

// "Aliases", "MappingCommands", "Colors", "LineStyles", "Cells", "Weights",
// "Levels"; "" for a value outside the enumeration.
const CString& SectionKey(MappingKind kind);

// Told by the reader what it skips and what it stores, line by line, for
// callers that report on a file (the command-line check). Lines count
// from 1.
class MappingReadObserver {
public:
    enum class Skip {
        BeforeFirstHeader,  // no section yet
        UnknownSection,     // the current section names no table
        NoEquals,           // neither a header nor a pair
        EqualsFirst,        // a pair line without a key
        ByteOrderMark,      // the first line, behind a UTF-8 byte-order mark
    };
    virtual ~MappingReadObserver() = default;
    // A line that holds something and is skipped.
    virtual void LineSkipped(int line, Skip reason) = 0;
    // A pair about to be stored in the table of kind; repeated when the
    // table holds its key already (this later value replaces that one).
    virtual void PairRead(int line, MappingKind kind, const CString& key, const CString& value, bool repeated) = 0;
};

// Why a save did not put the new file in place, in the store's terms; the
// dialog shows each as a text of its string table naming the mapping file.
enum class SaveFault {
    None,
    Cancelled,         // no path given and none chosen
    Encoding,          // the text cannot be written (the file's m_strError says why)
    ChangedSinceRead,  // someone else saved the file after it was read
    InUse,             // another program holds the file open
    ReadOnly,
    FolderDenied,      // the folder allows no new file
    AccessDenied,      // the file may not be replaced
    DiskFull,
    IsFolder,          // the path names a folder
    PathTooLong,
    FolderMissing,
    Other,             // nSystemCode holds the platform's code
};

struct SaveResult {
    SaveFault fault = SaveFault::None;
    int nSystemCode = 0;
    // After a save: the new file's stamp, for the next save's check.
    FileSystem::FileStamp stamp;
};

class MappingFile {
public:
    // Reads the file into the tables. FALSE when pFile is null or the file
    // cannot be read (pFile->m_strError says why); the tables keep what they
    // hold then, and also when the file has no lines at all.
    // pStamp receives the file's stamp as read (no file when the read
    // failed), for Save to notice another editor. An observer, when given,
    // hears of every skipped line and stored pair.
    static BOOL Read(CVNTextFile* pFile, CString path, const MappingTables& tables,
                     FileSystem::FileStamp* pStamp = nullptr, MappingReadObserver* observer = nullptr);
    // Saves the seven tables to path: the one save of the dialog and of the
    // command-line tool. The new content goes to a file beside the mapping
    // file and then replaces it in one step, with a backup of the old file
    // in the TEMP folder for the time between; a failure at any step, or the
    // process ending at any instant, leaves the old or the new file at path
    // and nothing else behind. An empty path asks for one (and comes back
    // with the chosen path). With pReadStamp, a file that changed since that
    // stamp is left alone (ChangedSinceRead); save again without the stamp
    // to overwrite it. file.m_strError holds the platform's text.
    static SaveResult Save(CVNTextFile& file, CString& path, const MappingTables& tables,
                           const FileSystem::FileStamp* pReadStamp = nullptr);
    // Save without the change check: FALSE when the new file was not put
    // in place.
    static BOOL Write(CVNTextFile* pFile, CString path, const MappingTables& tables);

    // The file's bytes in the active code page. FALSE when a character has
    // no form there: m_unencodable of pFile names the pair (its kind and
    // key) and m_strError says it.
    static BOOL Encode(CVNTextFile* pFile, const MappingTables& tables, std::string& bytes);
    // The same bytes handed to write a megabyte or so at a time, in file
    // order. Stops at the first character without a form (Unencodable,
    // reported as above; also when memory runs out, said in m_strError) or
    // when write returns false (WriteFailed).
    enum class EncodeResult { Encoded, Unencodable, WriteFailed };
    static EncodeResult Encode(CVNTextFile* pFile, const MappingTables& tables,
                               const std::function<bool(std::string_view)>& write);

    // The reader's core, over the file's bytes in the active code page. Each
    // table's pairs are gathered in a batch and merged in one pass, so a
    // file in no particular key order reads as fast as one in key order.
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
