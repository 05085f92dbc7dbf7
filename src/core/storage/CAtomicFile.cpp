#include "storage/CAtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

size_t CAtomicFile::s_failAfterBytes = SIZE_MAX;

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool Fail(std::string* reason, int err) {
    if (reason) *reason = std::strerror(err);
    return false;
}

} // namespace

bool CAtomicFile::Write(const std::string& path, const std::string& bytes, std::string* reason,
                        int mode) {
    std::string tmp = path + ".tmp-XXXXXX";
    int fd = mkstemp(tmp.data());
    if (fd < 0) return Fail(reason, errno);
    fchmod(fd, static_cast<mode_t>(mode));
    size_t written = 0;
    int err = 0;
    while (written < bytes.size()) {
        size_t chunk = bytes.size() - written;
        if (s_failAfterBytes != SIZE_MAX) {
            if (written >= s_failAfterBytes) {
                err = ENOSPC;
                break;
            }
            chunk = std::min(chunk, s_failAfterBytes - written);
        }
        ssize_t n = ::write(fd, bytes.data() + written, chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            err = errno;
            break;
        }
        written += static_cast<size_t>(n);
    }
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(tmp.c_str());
        return Fail(reason, err);
    }
    int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool CAtomicFile::ReadAll(const std::string& path, std::string& bytes, std::string* reason) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(reason, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        return Fail(reason, err);
    }
    bytes.clear();
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return Fail(reason, err);
        }
        bytes.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool CAtomicFile::Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
