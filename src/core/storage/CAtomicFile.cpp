#include "core/storage/CAtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

size_t CAtomicFile::s_failAfterBytes = SIZE_MAX;

namespace {

constexpr char kTempMark[] = ".tmp-";
constexpr size_t kTempRandom = 6; // the XXXXXX of mkstemp

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Fail(std::string* reason, int err) {
    if (reason) *reason = std::strerror(err);
    return false;
}

// The name Write gives the temporary file of base, or "" when name is none.
std::string TempBaseOf(const std::string& name) {
    const size_t mark = sizeof kTempMark - 1;
    if (name.size() <= mark + kTempRandom) return {};
    const size_t at = name.size() - kTempRandom - mark;
    if (name.compare(at, mark, kTempMark) != 0 ||
        !std::all_of(name.end() - kTempRandom, name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
        return {};
    return name.substr(0, at);
}

int RemoveTempsIn(const std::string& folder,
                  const std::function<bool(const std::string& base)>& isOurs) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string base = TempBaseOf(e->d_name);
        if (!base.empty() && isOurs(base)) names.push_back(e->d_name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : names) {
        std::string path = folder + "/" + name;
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        // A write in progress holds its temporary file locked until the rename.
        bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
                     ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (stale && ::unlink(path.c_str()) == 0) ++removed;
        ::close(fd);
    }
    return removed;
}

} // namespace

const char* CAtomicFile::ReadOnlyReason() {
    return "The file is read-only, so changes cannot be saved there.";
}

bool CAtomicFile::ResolveLinks(const std::string& path, std::string& target, std::string* reason) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = p;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0) return Fail(reason, errno);
        link.resize(static_cast<size_t>(n));
        p = link.empty() || link[0] == '/' ? link : FolderOf(p) + "/" + link;
    }
    return Fail(reason, ELOOP);
}

bool CAtomicFile::IsReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return (st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool CAtomicFile::OnReadOnlyFileSystem(const std::string& path) {
    struct statvfs fs {};
    return ::statvfs(FolderOf(path).c_str(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0;
}

bool CAtomicFile::Write(const std::string& path, const std::string& bytes, std::string* reason,
                        int mode) {
    std::string target;
    if (!ResolveLinks(path, target, reason)) return false;
    if (IsReadOnly(target)) {
        if (reason) *reason = ReadOnlyReason();
        return false;
    }
    std::string tmp = target + kTempMark + std::string(kTempRandom, 'X');
    int fd = mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return Fail(reason, errno);
    ::flock(fd, LOCK_EX); // tells RemoveStaleTemps this file is still being written
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
    // Renamed while still open and locked. The bytes are on disk already, so once the rename
    // is done a complaint from close() changes nothing.
    if (!err && ::rename(tmp.c_str(), target.c_str()) != 0) err = errno;
    ::close(fd);
    if (err) {
        ::unlink(tmp.c_str());
        return Fail(reason, err);
    }
    int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

int CAtomicFile::RemoveStaleTemps(const std::string& path) {
    const std::string name = NameOf(path);
    int removed = RemoveTempsIn(FolderOf(path), [&](const std::string& b) { return b == name; });
    std::string target;
    if (ResolveLinks(path, target, nullptr) && target != path) {
        const std::string targetName = NameOf(target);
        removed +=
            RemoveTempsIn(FolderOf(target), [&](const std::string& b) { return b == targetName; });
    }
    return removed;
}

int CAtomicFile::RemoveStaleTempsIn(const std::string& folder,
                                    const std::function<bool(const std::string&)>& isOurs) {
    return RemoveTempsIn(folder, isOurs);
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
