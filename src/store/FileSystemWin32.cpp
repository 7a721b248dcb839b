// The file seam on Windows: share modes as the text file asks for them,
// the system's own error texts, and the common Open/Save dialogs.
#include "store/FileSystem.h"

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

}  // namespace

File::~File() {
    if (IsOpen())
        CloseHandle(AsHandle(m_handle));
}

bool File::OpenRead(const CString& path, Share share) {
    DWORD shareMode = share == Share::Exclusive ? 0 : FILE_SHARE_WRITE;
    HANDLE h = CreateFileW(path, GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_strError = ErrorText(u"Cannot open", path, GetLastError());
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_strPath = path;
    return true;
}

bool File::OpenWrite(const CString& path) {
    HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_strError = ErrorText(u"Cannot create", path, GetLastError());
        return false;
    }
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
    if (!ReadFile(AsHandle(m_handle), buffer, want, &read, nullptr)) {
        m_strError = ErrorText(u"Cannot read", m_strPath, GetLastError());
        return false;
    }
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
            m_strError = ErrorText(u"Cannot write", m_strPath, code ? code : ERROR_DISK_FULL);
            return false;
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
    if (code != 0) {
        m_strError = ErrorText(u"Cannot write", m_strPath, code);
        return false;
    }
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

bool ReplaceWith(const CString& from, const CString& to, CString& error) {
    if (MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING))
        return true;
    error = ErrorText(u"Cannot replace", to, GetLastError());
    return false;
}

bool LinkOrCopy(const CString& from, const CString& to) {
    DeleteFileW(to);
    return CreateHardLinkW(to, from, nullptr) || CopyFileW(from, to, FALSE);
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
