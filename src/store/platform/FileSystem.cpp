// Whole-file reading and writing over the platform's File, and the write
// fault seam the save tests use.
#include "store/platform/FileSystem.h"

#include <algorithm>
#include <new>
#include <utility>

namespace FileSystem {

namespace {
std::int64_t g_writeAllowance = -1;
FileError g_injected[2] = {FileError::None, FileError::None};
constexpr std::size_t kChunk = std::size_t(1) << 20;
}  // namespace

void FailNext(Step step, FileError error) {
    g_injected[int(step)] = error;
}

FileError TakeInjectedFault(Step step) {
    return std::exchange(g_injected[int(step)], FileError::None);
}

void FailWritesAfter(std::int64_t bytes) {
    g_writeAllowance = bytes;
}

std::size_t AllowedWriteSize(std::size_t size) {
    if (g_writeAllowance < 0)
        return size;
    std::size_t allowed = std::min(size, std::size_t(g_writeAllowance));
    g_writeAllowance -= std::int64_t(allowed);
    return allowed;
}

bool ReadAll(const CString& path, Share share, std::string& bytes, CString& error, std::size_t spare) {
    File file;
    if (!file.OpenRead(path, share)) {
        error = file.m_strError;
        return false;
    }
    try {
        std::string data;
        std::int64_t size = file.Size();
        if (size > 0)
            data.reserve(std::size_t(size) + spare);
        char probe[4096];
        for (;;) {
            // Fill the room already reserved; when there is none, a small
            // probe read finds the end without growing the buffer for nothing.
            std::size_t used = data.size();
            std::size_t room = data.capacity() - used;
            std::size_t got = 0;
            bool ok;
            if (room == 0) {
                ok = file.Read(probe, sizeof probe, got);
                if (ok)
                    data.append(probe, got);
            } else {
                data.resize(data.capacity());
                ok = file.Read(data.data() + used, room, got);
                data.resize(used + got);
            }
            if (!ok) {
                error = file.m_strError;
                return false;
            }
            if (got == 0)
                break;
        }
        bytes = std::move(data);
    } catch (const std::bad_alloc&) {
        error = CString(u"The file is too large to be read into memory: ") + path;
        return false;
    }
    return true;
}

bool WriteChecked(File& file, std::string_view bytes) {
    while (!bytes.empty()) {
        std::size_t want = std::min(bytes.size(), kChunk);
        std::size_t allowed = AllowedWriteSize(want);
        if (allowed > 0 && !file.Write(bytes.data(), allowed))
            return false;
        if (allowed < want) {
            file.m_error = FileError::DiskFull;
            file.m_strError = u"There is not enough space on the disk.";
            return false;
        }
        bytes.remove_prefix(want);
    }
    return true;
}

bool WriteAll(const CString& path, std::string_view bytes, CString& error) {
    File file;
    if (!file.OpenWrite(path) || !WriteChecked(file, bytes) || !file.Close()) {
        error = file.m_strError;
        return false;
    }
    return true;
}

}  // namespace FileSystem
