// The file seam on POSIX systems (the native build): paths become UTF-8.
// Share modes have no mandatory equivalent here and are not emulated. The
// library composes paths with "\" (the TEMP backup), so "\" separates
// folders here too.
#include "store/FileSystem.h"

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

}  // namespace

File::~File() {
    if (IsOpen())
        ::close(int(m_handle));
}

bool File::OpenRead(const CString& path, Share) {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        m_strError = ErrorText(u"Cannot open", path, errno);
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        m_strError = ErrorText(u"Cannot open", path, EISDIR);
        return false;
    }
    m_handle = fd;
    m_strPath = path;
    return true;
}

bool File::OpenWrite(const CString& path) {
    int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        m_strError = ErrorText(u"Cannot create", path, errno);
        return false;
    }
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
        if (errno != EINTR) {
            m_strError = ErrorText(u"Cannot read", m_strPath, errno);
            return false;
        }
    }
}

bool File::Write(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(int(m_handle), p, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_strError = ErrorText(u"Cannot write", m_strPath, n < 0 ? errno : ENOSPC);
            return false;
        }
        p += n;
        size -= std::size_t(n);
    }
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
    if (error != 0) {
        m_strError = ErrorText(u"Cannot write", m_strPath, error);
        return false;
    }
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

bool ReplaceWith(const CString& from, const CString& to, CString& error) {
    if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0)
        return true;
    error = ErrorText(u"Cannot replace", to, errno);
    return false;
}

bool LinkOrCopy(const CString& from, const CString& to) {
    std::string target = NativePath(to);
    ::unlink(target.c_str());
    if (::link(NativePath(from).c_str(), target.c_str()) == 0)
        return true;
    std::string bytes;
    CString error;
    return ReadAll(from, Share::DenyRead, bytes, error) && WriteAll(to, bytes, error);
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
