#include "platform/CSingleInstance.h"

#include "platform/ProgramFolder.h"

#include <QLocalServer>
#include <QLocalSocket>
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

Probe ProbeSocket(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Probe::Failed;
    const int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    const int err = errno;
    ::close(fd);
    errno = err; // for the caller's message
    if (rc == 0) return Probe::Answers;
    if (err == ENOENT) return Probe::None;
    // Refused: the file is there but nothing listens (or it is no socket at all).
    if (err == ECONNREFUSED || err == ENOTSOCK) return Probe::Stale;
    return Probe::Failed;
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

CSingleInstance::~CSingleInstance() = default; // closing the server removes its socket file

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
    m_server = std::make_unique<QLocalServer>();
    if (!m_server->listen(path)) {
        Warn("cannot listen at " + native + ": " + m_server->errorString().toStdString());
        m_server.reset();
        return Claim::Unguarded;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    m_path = path;
    return Claim::Ours;
}

void CSingleInstance::OnConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
    }
}

void CSingleInstance::OnReadable(QLocalSocket* socket) {
    if (socket->canReadLine()) {
        const QString line = QString::fromUtf8(socket->readLine(kMaxLine + 1).trimmed());
        if (m_replier) {
            socket->write(m_replier(line).toUtf8().left(kMaxLine) + '\n');
            socket->flush(); // now: what comes next may keep the event loop busy
        }
        socket->disconnectFromServer(); // once the answer is written
        emit messageReceived(line);
    } else if (socket->bytesAvailable() > kMaxLine) {
        socket->abort(); // no line of a sensible length
    }
}

bool CSingleInstance::Send(const QString& line) const {
    if (m_path.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(2000)) return false;
    socket.write(line.toUtf8() + '\n');
    const bool sent = socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
    return sent;
}

CSingleInstance::Delivery CSingleInstance::HandOver(const std::string& line, QString folder,
                                                    QString name, std::string* reply) {
    const QStringList folders = folder.isEmpty() ? DefaultFolders() : QStringList{folder};
    for (const QString& f : folders) {
        if (!CheckFolder(f.toStdString()).empty()) continue; // TryClaim would not look there
        const std::string path =
            (f + '/' + (name.isEmpty() ? QStringLiteral("instance") : name)).toStdString();
        if (path.size() >= sizeof(sockaddr_un::sun_path)) return Delivery::NoneRuns;
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return Delivery::Failed;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            const int err = errno;
            ::close(fd);
            return (err == ENOENT || err == ECONNREFUSED || err == ENOTSOCK) ? Delivery::NoneRuns
                                                                             : Delivery::Failed;
        }
        const std::string data = line + '\n';
        std::size_t sent = 0;
        while (sent < data.size()) {
            const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        if (sent == data.size() && reply) ReadReply(fd, *reply);
        ::close(fd);
        return sent == data.size() ? Delivery::Delivered : Delivery::Failed;
    }
    return Delivery::NoneRuns;
}
