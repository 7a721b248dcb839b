// The file seam on Windows: share modes as the text file asks for them,
// the system's own error texts, and the common Open/Save dialogs.
#include "store/platform/FileSystem.h"

#include "framework/CFileDialog.h"

#include <vector>

namespace FileSystem {

namespace {

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

CString SystemMessage(DWORD code) {
    wchar_t buffer[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                  buffer, DWORD(std::size(buffer)), nullptr);
    CString text(reinterpret_cast<const char16_t*>(buffer), int(length));
    text.Trim();
    if (text.IsEmpty())
        text.Format(u"System error %d.", int(code));
    return text;
}

CString ErrorText(const char16_t* action, const CString& path, DWORD code) {
    return CString(action) + u" \"" + path + u"\": " + SystemMessage(code);
}

FileError KindOf(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileError::NotFound;
    case ERROR_ACCESS_DENIED:
        return FileError::AccessDenied;
    case ERROR_WRITE_PROTECT:
        return FileError::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileError::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileError::DiskFull;
    case ERROR_FILENAME_EXCED_RANGE:
        return FileError::PathTooLong;
    default:
        return FileError::Other;
    }
}

DWORD CodeOf(FileError error) {
    switch (error) {
    case FileError::NotFound: return ERROR_PATH_NOT_FOUND;
    case FileError::AccessDenied: return ERROR_ACCESS_DENIED;
    case FileError::ReadOnly: return ERROR_WRITE_PROTECT;
    case FileError::InUse: return ERROR_SHARING_VIOLATION;
    case FileError::DiskFull: return ERROR_DISK_FULL;
    case FileError::PathTooLong: return ERROR_FILENAME_EXCED_RANGE;
    default: return ERROR_GEN_FAILURE;
    }
}

// Longer than the system's file functions take: MAX_PATH for a path
// without the "\\?\" prefix, 255 characters for one name in any path.
bool IsTooLong(const CString& path) {
    if (path.GetLength() >= MAX_PATH && path.Find(u"\\\\?\\") != 0)
        return true;
    int start = 0;
    for (int i = 0; i <= path.GetLength(); ++i) {
        if (i == path.GetLength() || path[i] == u'\\' || path[i] == u'/') {
            if (i - start > 255)
                return true;
            start = i + 1;
        }
    }
    return false;
}

}  // namespace

bool File::Fail(const char16_t* action, const CString& path, int code) {
    m_strError = ErrorText(action, path, DWORD(code));
    m_error = KindOf(DWORD(code));
    m_nCode = code;
    return false;
}

File::~File() {
    if (IsOpen())
        CloseHandle(AsHandle(m_handle));
}

bool File::OpenRead(const CString& path, Share share) {
    DWORD shareMode = share == Share::Exclusive ? 0 : FILE_SHARE_WRITE;
    HANDLE h = CreateFileW(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(u"Cannot open", path, int(GetLastError()));
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_strPath = path;
    return true;
}

bool File::OpenWrite(const CString& path, bool bCreateNew) {
    if (FileError injected = TakeInjectedFault(Step::Create); injected != FileError::None)
        return Fail(u"Cannot create", path, int(CodeOf(injected)));
    if (IsTooLong(path))
        return Fail(u"Cannot create", path, ERROR_FILENAME_EXCED_RANGE);
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, bCreateNew ? CREATE_NEW : CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Fail(u"Cannot create", path, int(GetLastError()));
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_strPath = path;
    return true;
}

std::int64_t File::Size() {
    LARGE_INTEGER size;
    return GetFileSizeEx(AsHandle(m_handle), &size) ? std::int64_t(size.QuadPart) : -1;
}

bool File::Read(void* buffer, std::size_t size, std::size_t& got) {
    DWORD read = 0;
    DWORD want = size > (DWORD(1) << 30) ? (DWORD(1) << 30) : DWORD(size);
    if (!ReadFile(AsHandle(m_handle), buffer, want, &read, nullptr))
        return Fail(u"Cannot read", m_strPath, int(GetLastError()));
    got = read;
    return true;
}

bool File::Write(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD want = size > (DWORD(1) << 30) ? (DWORD(1) << 30) : DWORD(size);
        DWORD written = 0;
        if (!WriteFile(AsHandle(m_handle), p, want, &written, nullptr) || written == 0) {
            DWORD code = GetLastError();
            return Fail(u"Cannot write", m_strPath, int(code ? code : ERROR_DISK_FULL));
        }
        p += written;
        size -= written;
    }
    return true;
}

bool File::Close() {
    HANDLE h = AsHandle(m_handle);
    m_handle = kNoHandle;
    DWORD code = 0;
    if (!FlushFileBuffers(h))
        code = GetLastError();
    if (!CloseHandle(h) && code == 0)
        code = GetLastError();
    if (code != 0)
        return Fail(u"Cannot write", m_strPath, int(code));
    return true;
}

bool Exists(const CString& path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool SameFile(const CString& a, const CString& b) {
    auto identify = [](const CString& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE h = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        BOOL ok = GetFileInformationByHandle(h, &info);
        CloseHandle(h);
        return ok != 0;
    };
    BY_HANDLE_FILE_INFORMATION infoA, infoB;
    return identify(a, infoA) && identify(b, infoB) && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
           infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
}

bool ReplaceWith(const CString& from, const CString& to, FileError& error, int& nCode, CString& text) {
    DWORD code = ERROR_SUCCESS;
    if (FileError injected = TakeInjectedFault(Step::Replace); injected != FileError::None)
        code = CodeOf(injected);
    else if (!MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING))
        code = GetLastError();
    if (code == ERROR_SUCCESS)
        return true;
    error = KindOf(code);
    nCode = int(code);
    text = ErrorText(u"Cannot replace", to, code);
    return false;
}

FileError CheckReplaceable(const CString& path, int& nCode) {
    nCode = 0;
    if (IsTooLong(path))
        return FileError::PathTooLong;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileError::None;  // nothing to replace; creating the new file finds what is wrong
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileError::IsFolder;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return FileError::ReadOnly;
    // Replacing a file fails while any program holds it open, whatever it
    // shares, and a backup linked to a held file could not be removed
    // afterwards: a file that cannot be opened exclusively is in use.
    HANDLE h = CreateFileW(path, GENERIC_READ | DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        nCode = int(GetLastError());
        return KindOf(DWORD(nCode));
    }
    CloseHandle(h);
    return FileError::None;
}

FileStamp GetStamp(const CString& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FileStamp stamp;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.bExists = true;
    stamp.size = std::int64_t((std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    stamp.writeTime =
        std::int64_t((std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

bool CopyToNew(const CString& from, const CString& to) {
    DeleteFileW(to);
    return CopyFileW(from, to, TRUE) != 0;
}

bool Remove(const CString& path) {
    return DeleteFileW(path) != 0;
}

bool GetEnvironment(const CString& name, CString& value) {
    value.Empty();
    SetLastError(ERROR_SUCCESS);
    DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
    if (needed == 0)
        return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    std::vector<wchar_t> buffer(needed);
    DWORD length = GetEnvironmentVariableW(name, buffer.data(), needed);
    if (length == 0 || length >= needed)
        return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    value = CString(reinterpret_cast<const char16_t*>(buffer.data()), int(length));
    return true;
}

bool ShowFileDialog(bool bSave, const CString& filter, const CString& defaultExtension, CString& path) {
    constexpr DWORD kFlags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
    static_assert(kFlags == 0x881004);
    CFileDialog dialog(!bSave, defaultExtension, nullptr, kFlags, filter);
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return true;
}

}  // namespace FileSystem
