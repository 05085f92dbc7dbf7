#include "core/storage/CDataLock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr size_t kMaxHolderBytes = 4096;

std::string HostName() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) return "this computer";
    return host;
}

std::string ReadHolderText(int fd) {
    std::string text(kMaxHolderBytes, '\0');
    const ssize_t n = ::pread(fd, text.data(), text.size(), 0);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

} // namespace

CDataLock::~CDataLock() {
    Release();
}

void CDataLock::Release() {
    if (m_fd < 0) return;
    ::close(m_fd); // lets go of the lock; the file stays, a later holder rewrites it
    m_fd = -1;
}

CDataLock::Result CDataLock::Acquire(const std::string& dataPath, const std::string& socket,
                                     std::string* reason) {
    Release();
    m_other = {};
    const std::string path = dataPath + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        if (reason) *reason = path + ": " + std::strerror(errno);
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        if (err != EWOULDBLOCK) {
            ::close(fd);
            if (reason) *reason = path + ": " + std::strerror(err);
            return Result::Failed;
        }
        // The holder writes its name right after it took the lock: give it a moment.
        std::string text;
        for (int i = 0; i < 20 && (text = ReadHolderText(fd)).find('\n') == std::string::npos; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ::close(fd);
        std::istringstream in(text);
        std::string pid;
        std::getline(in, pid);
        std::getline(in, m_other.host);
        std::getline(in, m_other.socket);
        m_other.pid = std::strtol(pid.c_str(), nullptr, 10);
        return Result::HeldByOther;
    }
    const std::string text = std::to_string(::getpid()) + "\n" + HostName() + "\n" + socket + "\n";
    // Should this fail, the lock holds all the same; a second copy just cannot name this one.
    if (::ftruncate(fd, 0) == 0) [[maybe_unused]]
        const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
    m_fd = fd;
    return Result::Ours;
}

std::string CDataLock::Describe(const Holder& holder) {
    std::string text = holder.pid > 0 ? "process " + std::to_string(holder.pid) : "a process";
    return text + " on " + (holder.host.empty() ? std::string("another computer") : holder.host);
}

std::string CDataLock::CheckDataFolder(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return folder + ": " + std::strerror(errno);
    const uid_t me = ::geteuid();
    if (S_ISLNK(st.st_mode)) {
        // A link planted by somebody else would send the notes where they can read them.
        if (st.st_uid != me) return folder + " is a link made by another user";
        if (::stat(folder.c_str(), &st) != 0) return folder + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
    if (st.st_uid != me) return folder + " belongs to another user";
    if ((st.st_mode & S_IWOTH) != 0) return folder + " can be changed by every user";
    return {};
}
