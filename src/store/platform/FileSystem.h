// The store's door to the platform's files, environment and file dialog.
// One implementation per platform (FileSystemPosix.cpp, FileSystemWin32.cpp);
// everything above this header is portable. Paths are UTF-16 CStrings.
#pragma once

#include "framework/CString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace FileSystem {

// Why a file operation failed, in the store's own terms, so that the layers
// above choose their own words (the platform's text stays in m_strError).
enum class FileError {
    None,
    NotFound,      // the file, or a folder on its path, does not exist
    AccessDenied,  // the platform refuses: permissions, or a folder that allows no new file
    ReadOnly,      // the file carries the read-only attribute
    InUse,         // another program holds the file open
    DiskFull,
    IsFolder,      // the path names a folder
    PathTooLong,   // longer than the platform allows
    Other,         // see the platform's code
};

// What a saver remembers of a file to notice that someone else wrote it
// since: whether it exists, its size and its last-write time.
struct FileStamp {
    bool bExists = false;
    std::int64_t size = 0;
    std::int64_t writeTime = 0;  // in the platform's units
    bool operator==(const FileStamp&) const = default;
};

// Who else may open a file while we hold it open. Windows enforces these;
// POSIX has no mandatory locking, so they are advisory there and ignored.
enum class Share { Exclusive, DenyRead };

// An open file; closed by the destructor. Every failing call leaves a
// readable text of the platform's error in m_strError, its kind in m_error
// and the platform's code in m_nCode.
class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    bool OpenRead(const CString& path, Share share);
    // Creates the file or truncates it (bCreateNew: fails when a file is
    // there already); nobody else may open it meanwhile.
    bool OpenWrite(const CString& path, bool bCreateNew = false);
    // Size in bytes, or -1 when the platform cannot tell.
    std::int64_t Size();
    // Reads up to size bytes; got == 0 at the end of the file.
    bool Read(void* buffer, std::size_t size, std::size_t& got);
    bool Write(const void* data, std::size_t size);
    // Flushes to the device and closes; reports what a lazy close would hide.
    bool Close();
    bool IsOpen() const { return m_handle != kNoHandle; }

    CString m_strError;
    FileError m_error = FileError::None;
    int m_nCode = 0;

private:
    bool Fail(const char16_t* action, const CString& path, int code);

    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t m_handle = kNoHandle;
    CString m_strPath;  // for the error texts
};

// Whole-file operations over File (FileSystem.cpp). ReadAll fails for a
// folder; spare bytes of room are left after the content, for a caller
// that appends a few (a reader's end mark) without copying the whole.
// WriteAll checks every write, flushes and closes.
bool ReadAll(const CString& path, Share share, std::string& bytes, CString& error, std::size_t spare = 0);
bool WriteAll(const CString& path, std::string_view bytes, CString& error);
// Writes all bytes to an open file; on failure the file's m_error says why
// (a full disk as DiskFull).
bool WriteChecked(File& file, std::string_view bytes);


// True when a file or folder exists at path.
bool Exists(const CString& path);
// True when both paths name one existing file (also through a link).
bool SameFile(const CString& a, const CString& b);
// Moves from onto to, replacing a file already at to; on failure error, the
// platform's nCode and its text say why.
bool ReplaceWith(const CString& from, const CString& to, FileError& error, int& nCode, CString& text);
// Whether a save may replace the file at path: None when it may (also when
// nothing is there yet), else IsFolder, ReadOnly, InUse (another program
// holds it open without allowing its deletion), PathTooLong, or why the
// file could not be opened (with the platform's nCode). Changes nothing.
FileError CheckReplaceable(const CString& path, int& nCode);
// Exists false when nothing (or a folder) is at path.
FileStamp GetStamp(const CString& path);
// Copies from's content into a new file at to. A file already at to is
// removed first, never written through: that name could be a second link
// to another program's file. The copy is a file of its own, so that another
// program opening or removing it never holds the original.
bool CopyToNew(const CString& from, const CString& to);
bool Remove(const CString& path);

// The variable's value; false (and "") when it is not set.
bool GetEnvironment(const CString& name, CString& value);

// The platform's Open (bSave false) or Save dialog. filter uses "|" between
// its parts and ends with "||". False when the user cancels or when the
// platform has no dialog (the native build).
bool ShowFileDialog(bool bSave, const CString& filter, const CString& defaultExtension, CString& path);

// Test seam for faults the platform cannot be made to show (a folder that
// allows no new file while running with full rights, a full disk): the
// next OpenWrite (creating a file) or ReplaceWith fails with error.
enum class Step { Create, Replace };
void FailNext(Step step, FileError error);
// Consumed by the platform side: the injected fault of step, else None.
FileError TakeInjectedFault(Step step);

// Test seam: the next writes succeed for this many bytes in total, then
// fail as a full disk would. A negative value (the default) never fails.
void FailWritesAfter(std::int64_t bytes);
// Consumes write allowance; returns how many of size bytes may be written.
std::size_t AllowedWriteSize(std::size_t size);

}  // namespace FileSystem
