// The mark of the running copy: real sockets in real folders.
#include "gui/platform/CSingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
using Claim = CSingleInstance::Claim;

class SingleInstance : public ::testing::Test {
protected:
    // A private folder as the program would make it.
    QString Folder() const { return dir.path() + QStringLiteral("/run"); }
    QString SocketFile() const { return Folder() + QStringLiteral("/instance"); }

    QTemporaryDir dir;
};

// The launcher's word and the copy's answer travel over plain sockets, before any application
// object exists on the launcher's side; another program's name in the same folder is not this one.
TEST_F(SingleInstance, TheRunningCopyAnswersOnlyForItsOwnName) {
    CSingleInstance running(Folder());
    ASSERT_EQ(running.TryClaim(), Claim::Ours);
    struct stat st {};
    ASSERT_EQ(::stat(Folder().toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(CSingleInstance(Folder(), QStringLiteral("other")).TryClaim(), Claim::Ours);
    EXPECT_EQ(CSingleInstance::HandOver("quit", Folder(), QStringLiteral("other")),
              CSingleInstance::Delivery::NoneRuns);

    QSignalSpy received(&running, &CSingleInstance::messageReceived);
    // A copy that lost the race for the mark hands its word over itself.
    CSingleInstance second(Folder());
    EXPECT_EQ(second.TryClaim(), Claim::AnotherRuns);
    EXPECT_TRUE(second.Send(QStringLiteral("new-note")));
    ASSERT_TRUE(received.wait(2000));
    running.SetReplier([](const QString& line) {
        return line == "quit" ? QStringLiteral("will quit later") : QString();
    });
    std::string reply;
    // The launcher waits for the answer on its own thread here, as a separate process would.
    std::thread launcher([&] { CSingleInstance::HandOver("quit", Folder(), {}, &reply); });
    ASSERT_TRUE(received.wait(5000));
    launcher.join();
    EXPECT_EQ(received.at(0).at(0).toString(), "new-note");
    EXPECT_EQ(received.at(1).at(0).toString(), "quit");
    EXPECT_EQ(reply, "will quit later");
}

// A connection that stays silent, or sends no line of a sensible length, holds up nobody.
TEST_F(SingleInstance, SilentAndOverlongConnectionsAreNotWaitedFor) {
    CSingleInstance running(Folder());
    ASSERT_EQ(running.TryClaim(), Claim::Ours);
    QSignalSpy received(&running, &CSingleInstance::messageReceived);
    const auto connectRaw = [&] {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, SocketFile().toLocal8Bit().constData());
        EXPECT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        return fd;
    };
    const int silent = connectRaw(), overlong = connectRaw();
    const std::string junk(CSingleInstance::kMaxLine + 600, 'x');
    ASSERT_EQ(::send(overlong, junk.data(), junk.size(), 0), static_cast<ssize_t>(junk.size()));
    std::thread launcher([&] { CSingleInstance::HandOver("manager", Folder()); });
    ASSERT_TRUE(received.wait(3000));
    launcher.join();
    QTest::qWait(100);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toString(), "manager");
    // Dropped by the running copy: an end, or a reset for the bytes it never read.
    const timeval wait{2, 0};
    ::setsockopt(overlong, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char c;
    const ssize_t got = ::recv(overlong, &c, 1, 0);
    EXPECT_TRUE(got == 0 || (got < 0 && errno == ECONNRESET)) << got << " " << errno;
    ::close(silent);
    ::close(overlong);
}

TEST_F(SingleInstance, SocketLeftByACrashedCopyIsTakenOver) {
    ASSERT_TRUE(CSingleInstance::CheckFolder(Folder().toStdString()).empty());
    // A socket bound and never removed, as a copy that died leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = SocketFile().toLocal8Bit();
    std::strcpy(addr.sun_path, path.constData());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(SocketFile()));
    EXPECT_EQ(CSingleInstance::HandOver("new-note", Folder()), CSingleInstance::Delivery::NoneRuns);

    CSingleInstance guard(Folder());
    EXPECT_EQ(guard.TryClaim(), Claim::Ours);
    CSingleInstance second(Folder());
    EXPECT_EQ(second.TryClaim(), Claim::AnotherRuns); // the new socket answers
}

TEST_F(SingleInstance, FolderOpenToOthersOrOwnedByOthersIsNotTrusted) {
    const std::string folder = Folder().toStdString();
    ASSERT_TRUE(CSingleInstance::CheckFolder(folder).empty());
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    EXPECT_EQ(CSingleInstance::CheckFolder(folder), folder + " is open to other users (mode 0777)");
    testing::internal::CaptureStderr();
    EXPECT_EQ(CSingleInstance(Folder()).TryClaim(), Claim::Unguarded);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("mode 0777"), std::string::npos) << said;
    EXPECT_FALSE(QFileInfo::exists(SocketFile())); // nothing was put into it

    // A link to a good folder is not the folder itself.
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    const std::string link = dir.path().toStdString() + "/link";
    ASSERT_EQ(::symlink(folder.c_str(), link.c_str()), 0);
    EXPECT_EQ(CSingleInstance::CheckFolder(link), link + " is not a folder");

    if (::getuid() != 0) GTEST_SKIP() << "giving a folder away needs root";
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(CSingleInstance::CheckFolder(folder), folder + " belongs to another user");
    testing::internal::CaptureStderr();
    EXPECT_EQ(CSingleInstance(Folder()).TryClaim(), Claim::Unguarded);
    testing::internal::GetCapturedStderr();
}

// Without a runtime folder, or with one somebody else prepared, the guard moves to a folder
// in the user's own cache home, never to a shared name another user could take first.
TEST_F(SingleInstance, FallbackFolderIsInTheUsersCacheHomeNeverInTmp) {
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR"),
                     savedCache = qgetenv("XDG_CACHE_HOME");
    const QString cache = dir.path() + QStringLiteral("/cache"), runtime = dir.path() + "/rt";
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(CSingleInstance::DefaultFolders(),
              QStringList({cache + QStringLiteral("/jotterly")}));
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    EXPECT_EQ(CSingleInstance::DefaultFolders(),
              QStringList({runtime + "/jotterly", cache + QStringLiteral("/jotterly")}));

    // The runtime folder's "jotterly" was made first by another user (or opened to all).
    ASSERT_TRUE(QDir().mkpath(runtime + "/jotterly"));
    const std::string planted = (runtime + "/jotterly").toStdString();
    if (::getuid() == 0)
        ASSERT_EQ(::chown(planted.c_str(), 65534, 65534), 0);
    else
        ASSERT_EQ(::chmod(planted.c_str(), 0777), 0);
    testing::internal::CaptureStderr();
    CSingleInstance guard;
    const Claim claim = guard.TryClaim();
    testing::internal::GetCapturedStderr();
    CSingleInstance second;
    testing::internal::CaptureStderr();
    const Claim secondClaim = second.TryClaim();
    testing::internal::GetCapturedStderr();
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("XDG_CACHE_HOME", savedCache);
    EXPECT_EQ(claim, Claim::Ours);
    EXPECT_EQ(guard.SocketPath(), cache + QStringLiteral("/jotterly/instance"));
    EXPECT_EQ(secondClaim, Claim::AnotherRuns); // still one copy
    EXPECT_FALSE(QFileInfo::exists(runtime + "/jotterly/instance"));
}

} // namespace
