// The file seam on POSIX systems (the native build): paths become UTF-8.
// Share modes have no mandatory equivalent here and are not emulated. The
// library composes paths with "\" (the TEMP backup), so "\" separates
// folders here too.
#include "store/platform/FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSystem {

namespace {

std::string NativePath(const CString& path) {
    std::string text = path.ToUtf8();
    for (char& ch : text)
        if (ch == '\\')
            ch = '/';
    return text;
}

CString ErrorText(const char16_t* action, const CString& path, int error) {
    return CString(action) + u" \"" + path + u"\": " + CString::FromUtf8(std::strerror(error)) + u".";
}

FileError KindOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileError::NotFound;
    case EACCES:
    case EPERM:
        return FileError::AccessDenied;
    case EROFS:
        return FileError::ReadOnly;
    case ETXTBSY:
    case EBUSY:
        return FileError::InUse;
    case ENOSPC:
    case EDQUOT:
        return FileError::DiskFull;
    case EISDIR:
        return FileError::IsFolder;
    case ENAMETOOLONG:
        return FileError::PathTooLong;
    default:
        return FileError::Other;
    }
}

int CodeOf(FileError error) {
    switch (error) {
    case FileError::NotFound: return ENOENT;
    case FileError::AccessDenied: return EACCES;
    case FileError::ReadOnly: return EROFS;
    case FileError::InUse: return EBUSY;
    case FileError::DiskFull: return ENOSPC;
    case FileError::IsFolder: return EISDIR;
    case FileError::PathTooLong: return ENAMETOOLONG;
    default: return EIO;
    }
}

}  // namespace

bool File::Fail(const char16_t* action, const CString& path, int code) {
    m_strError = ErrorText(action, path, code);
    m_error = KindOf(code);
    m_nCode = code;
    return false;
}

File::~File() {
    if (IsOpen())
        ::close(int(m_handle));
}

bool File::OpenRead(const CString& path, Share) {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(u"Cannot open", path, errno);
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return Fail(u"Cannot open", path, EISDIR);
    }
    m_handle = fd;
    m_strPath = path;
    return true;
}

bool File::OpenWrite(const CString& path, bool bCreateNew) {
    if (FileError injected = TakeInjectedFault(Step::Create); injected != FileError::None)
        return Fail(u"Cannot create", path, CodeOf(injected));
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (bCreateNew ? O_EXCL : O_TRUNC);
    int fd = ::open(NativePath(path).c_str(), flags, 0666);
    if (fd < 0)
        return Fail(u"Cannot create", path, errno);
    m_handle = fd;
    m_strPath = path;
    return true;
}

std::int64_t File::Size() {
    struct stat info;
    if (::fstat(int(m_handle), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return std::int64_t(info.st_size);
}

bool File::Read(void* buffer, std::size_t size, std::size_t& got) {
    for (;;) {
        ssize_t n = ::read(int(m_handle), buffer, size);
        if (n >= 0) {
            got = std::size_t(n);
            return true;
        }
        if (errno != EINTR)
            return Fail(u"Cannot read", m_strPath, errno);
    }
}

bool File::Write(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    const std::size_t written = size;
    while (size > 0) {
        ssize_t n = ::write(int(m_handle), p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(u"Cannot write", m_strPath, n < 0 ? errno : ENOSPC);
        p += n;
        size -= std::size_t(n);
    }
#ifdef __linux__
    // Each few megabytes written start on their way to the device while
    // the next are prepared, so that Close's flush has little left to wait for.
    constexpr off_t kWriteback = off_t(2) << 20;
    const off_t end = ::lseek(int(m_handle), 0, SEEK_CUR);
    if (end > 0 && end / kWriteback != (end - off_t(written)) / kWriteback)
        ::sync_file_range(int(m_handle), 0, end, SYNC_FILE_RANGE_WRITE);
#endif
    return true;
}

bool File::Close() {
    int fd = int(m_handle);
    m_handle = kNoHandle;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        return Fail(u"Cannot write", m_strPath, error);
    return true;
}

bool Exists(const CString& path) {
    struct stat info;
    return ::stat(NativePath(path).c_str(), &info) == 0;
}

bool SameFile(const CString& a, const CString& b) {
    struct stat infoA, infoB;
    return ::stat(NativePath(a).c_str(), &infoA) == 0 && ::stat(NativePath(b).c_str(), &infoB) == 0 &&
           infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

bool ReplaceWith(const CString& from, const CString& to, FileError& error, int& nCode, CString& text) {
    int code = 0;
    if (FileError injected = TakeInjectedFault(Step::Replace); injected != FileError::None)
        code = CodeOf(injected);
    else if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0)
        code = errno;
    if (code == 0)
        return true;
    error = KindOf(code);
    nCode = code;
    text = ErrorText(u"Cannot replace", to, code);
    return false;
}

// There is no mandatory locking here, so a file is never in use; a file
// without any write permission is read-only, whoever runs the save.
FileError CheckReplaceable(const CString& path, int& nCode) {
    nCode = 0;
    struct stat info;
    if (::stat(NativePath(path).c_str(), &info) != 0)
        return errno == ENAMETOOLONG ? FileError::PathTooLong : FileError::None;
    if (S_ISDIR(info.st_mode))
        return FileError::IsFolder;
    if (!(info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        return FileError::ReadOnly;
    return FileError::None;
}

FileStamp GetStamp(const CString& path) {
    struct stat info;
    FileStamp stamp;
    if (::stat(NativePath(path).c_str(), &info) != 0 || S_ISDIR(info.st_mode))
        return stamp;
    stamp.bExists = true;
    stamp.size = std::int64_t(info.st_size);
    stamp.writeTime = std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

bool CopyToNew(const CString& from, const CString& to) {
    ::unlink(NativePath(to).c_str());
    std::string bytes;
    CString error;
    File copy;
    if (!ReadAll(from, Share::DenyRead, bytes, error) || !copy.OpenWrite(to, true))
        return false;
    // Not flushed: the original stays on the disk while the copy is needed.
    if (copy.Write(bytes.data(), bytes.size()))
        return true;
    ::unlink(NativePath(to).c_str());
    return false;
}

bool Remove(const CString& path) {
    return ::unlink(NativePath(path).c_str()) == 0;
}

bool GetEnvironment(const CString& name, CString& value) {
    const char* text = std::getenv(name.ToUtf8().c_str());
    value = text ? CString::FromUtf8(text) : CString();
    return text != nullptr;
}

bool ShowFileDialog(bool, const CString&, const CString&, CString&) {
    return false;
}

}  // namespace FileSystem
