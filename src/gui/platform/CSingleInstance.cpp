#include "gui/platform/CSingleInstance.h"

#include "core/platform/ProgramFolder.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
void Warn(const std::string& text) {
    std::fprintf(stderr, "jotterly: %s\n", text.c_str());
}

// Whether a copy listens at path: connected, nobody there (a socket file left behind, or
// no file), or the probe itself failed.
enum class Probe { Answers, Stale, None, Failed };

sockaddr_un Address(const std::string& path) { // callers checked the length
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return addr;
}

Probe ProbeSocket(const std::string& path) {
    const sockaddr_un addr = Address(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Probe::Failed;
    const int rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    const int err = errno;
    ::close(fd);
    errno = err; // for the caller's message
    if (rc == 0) return Probe::Answers;
    if (err == ENOENT) return Probe::None;
    // Refused: the file is there but nothing listens (or it is no socket at all).
    if (err == ECONNREFUSED || err == ENOTSOCK) return Probe::Stale;
    return Probe::Failed;
}

bool SendAll(int fd, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// One short line from the copy that runs, bounded in size and time; none from an older copy,
// which just closes the connection.
void ReadReply(int fd, std::string& reply) {
    reply.clear();
    char buf[256];
    while (reply.size() < static_cast<size_t>(CSingleInstance::kMaxLine) &&
           reply.find('\n') == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 3000) <= 0) break;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        reply.append(buf, static_cast<size_t>(n));
    }
    reply = reply.substr(0, reply.find('\n'));
}

// Serialises the check-and-take of copies that start at the same moment; the kernel lets go
// of it when its holder dies.
class FolderLock {
public:
    explicit FolderLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        if (m_fd >= 0) ::flock(m_fd, LOCK_EX);
    }
    ~FolderLock() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};
} // namespace

CSingleInstance::CSingleInstance(QString folder, QString name)
    : m_folders(folder.isEmpty() ? DefaultFolders() : QStringList{folder}),
      m_name(name.isEmpty() ? QStringLiteral("instance") : name) {}

CSingleInstance::~CSingleInstance() {
    for (const auto& [fd, line] : m_pending)
        ::close(fd);
    if (m_listener < 0) return;
    ::close(m_listener);
    ::unlink(m_path.toStdString().c_str()); // the next copy need not take over a stale file
}

QStringList CSingleInstance::DefaultFolders() {
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/')) folders << runtime + QStringLiteral("/jotterly");
    // Never a shared name in /tmp: another user could make it first and switch the guard off.
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.startsWith('/')) {
        const std::string home = UserHome();
        if (!home.empty()) cache = QString::fromStdString(home) + QStringLiteral("/.cache");
    }
    if (cache.startsWith('/')) folders << cache + QStringLiteral("/jotterly");
    return folders;
}

std::string CSingleInstance::CheckFolder(const std::string& path) {
    std::error_code ec; // a missing cache home is made as the user's own
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot make the folder " + path + ": " + std::strerror(errno);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return path + ": " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return path + " is not a folder";
    if (st.st_uid != ::getuid()) return path + " belongs to another user";
    if (st.st_mode & 077) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        return path + " is open to other users (mode " + mode + ")";
    }
    return {};
}

CSingleInstance::Claim CSingleInstance::TryClaim() {
    for (const QString& folder : m_folders) {
        const std::string why = CheckFolder(folder.toStdString());
        if (why.empty()) return ClaimIn(folder);
        Warn("not looking for a running copy in " + folder.toStdString() + ": " + why);
    }
    Warn("starting without checking for a running copy");
    return Claim::Unguarded;
}

CSingleInstance::Claim CSingleInstance::ClaimIn(const QString& folder) {
    const QString path = folder + '/' + m_name;
    const std::string native = path.toStdString();
    if (native.size() >= sizeof(sockaddr_un::sun_path)) {
        Warn("the socket path " + native + " is too long; starting without the guard");
        return Claim::Unguarded;
    }
    FolderLock lock(native + ".lock");
    switch (ProbeSocket(native)) {
    case Probe::Answers:
        m_path = path;
        return Claim::AnotherRuns;
    case Probe::Stale:
        ::unlink(native.c_str()); // left by a copy that crashed
        break;
    case Probe::None:
        break;
    case Probe::Failed:
        Warn("cannot look for a running copy at " + native + ": " + std::strerror(errno));
        return Claim::Unguarded;
    }
    const sockaddr_un addr = Address(native);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 16) != 0) {
        Warn("cannot listen at " + native + ": " + std::strerror(errno));
        if (fd >= 0) ::close(fd);
        return Claim::Unguarded;
    }
    m_listener = fd;
    connect(new QSocketNotifier(fd, QSocketNotifier::Read, this), &QSocketNotifier::activated, this,
            &CSingleInstance::OnConnection);
    m_path = path;
    return Claim::Ours;
}

void CSingleInstance::OnConnection() {
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return; // EAGAIN: all taken; anything else: the next wake-up tries again
        // Each connection is read as its bytes come, so a silent one holds up nobody.
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        m_pending[fd];
        connect(notifier, &QSocketNotifier::activated, this,
                [this, fd, notifier] { OnReadable(fd, notifier); });
    }
}

void CSingleInstance::OnReadable(int fd, QSocketNotifier* notifier) {
    std::string* line = &m_pending[fd];
    char buf[256];
    const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n > 0) line->append(buf, static_cast<size_t>(n));
    const size_t end = line->find('\n');
    const bool done = end <= static_cast<size_t>(kMaxLine); // npos is never
    // A closed connection or no line of a sensible length: dropped unread.
    if (done || n <= 0 || line->size() > static_cast<size_t>(kMaxLine)) {
        notifier->setEnabled(false);
        notifier->deleteLater();
        const QString text =
            done ? QString::fromUtf8(line->data(), static_cast<qsizetype>(end)).trimmed()
                 : QString();
        m_pending.erase(fd);
        if (done && m_replier)
            SendAll(fd, m_replier(text).toUtf8().left(kMaxLine).toStdString() + '\n');
        ::close(fd); // once the answer is written
        if (done) emit messageReceived(text);
    }
}

namespace {
CSingleInstance::Delivery Deliver(const std::string& path, const std::string& line,
                                  std::string* reply) {
    using Delivery = CSingleInstance::Delivery;
    if (path.size() >= sizeof(sockaddr_un::sun_path)) return Delivery::NoneRuns;
    const sockaddr_un addr = Address(path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Delivery::Failed;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        const int err = errno;
        ::close(fd);
        return (err == ENOENT || err == ECONNREFUSED || err == ENOTSOCK) ? Delivery::NoneRuns
                                                                         : Delivery::Failed;
    }
    const bool sent = SendAll(fd, line + '\n');
    if (sent && reply) ReadReply(fd, *reply);
    ::close(fd);
    return sent ? Delivery::Delivered : Delivery::Failed;
}
} // namespace

bool CSingleInstance::Send(const QString& line) const {
    return !m_path.isEmpty() &&
           Deliver(m_path.toStdString(), line.toStdString(), nullptr) == Delivery::Delivered;
}

CSingleInstance::Delivery CSingleInstance::HandOver(const std::string& line, QString folder,
                                                    QString name, std::string* reply) {
    const QStringList folders = folder.isEmpty() ? DefaultFolders() : QStringList{folder};
    for (const QString& f : folders) {
        if (!CheckFolder(f.toStdString()).empty()) continue; // TryClaim would not look there
        return Deliver(
            (f + '/' + (name.isEmpty() ? QStringLiteral("instance") : name)).toStdString(), line,
            reply);
    }
    return Delivery::NoneRuns;
}
