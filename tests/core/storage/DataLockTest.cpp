// One writer per data file: real processes contend for the lock beside "Note.Dat".
#include "core/platform/ProgramFolder.h"
#include "core/storage/CDataLock.h"
#include "support/TestEnv.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A second process that takes the lock, says so through a pipe and holds it until killed.
pid_t HoldInChild(const std::string& dataPath) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        CDataLock lock;
        const char ok = lock.Acquire(dataPath, "/run/user/0/jotterly/instance", nullptr) ==
                                CDataLock::Result::Ours
                            ? 'y'
                            : 'n';
        [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char ok = 'n';
    [[maybe_unused]] ssize_t n = ::read(ready[0], &ok, 1);
    ::close(ready[0]);
    return ok == 'y' ? pid : -1;
}

} // namespace

TEST(DataLock, SecondProcessIsToldWhoHoldsTheNotesUntilTheHolderEnds) {
    TestEnv env;
    std::filesystem::create_directories(env.DataFolder());
    const std::string data = env.DataFolder() + "Note.Dat";
    const pid_t holder = HoldInChild(data);
    ASSERT_GT(holder, 0);

    CDataLock lock;
    ASSERT_EQ(lock.Acquire(data, "", nullptr), CDataLock::Result::HeldByOther);
    EXPECT_FALSE(lock.Held());
    EXPECT_EQ(lock.Other().pid, holder);
    EXPECT_EQ(lock.Other().socket, "/run/user/0/jotterly/instance");

    // A killed holder lets go: the kernel drops its lock, nothing stale is left to clear.
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_EQ(lock.Acquire(data, "mine", nullptr), CDataLock::Result::Ours);
    EXPECT_TRUE(lock.Held());
    CDataLock third;
    EXPECT_EQ(third.Acquire(data, "", nullptr), CDataLock::Result::HeldByOther);
    EXPECT_EQ(third.Other().pid, ::getpid());
}

TEST(DataLock, DataFolderOfAnotherUserOrOpenToAllIsRefused) {
    TestEnv env;
    const std::string folder = env.Dir() + "/notes";
    std::filesystem::create_directories(folder);
    EXPECT_EQ(CDataLock::CheckDataFolder(folder), "");
    const std::string link = env.Dir() + "/link";
    ASSERT_EQ(::symlink(folder.c_str(), link.c_str()), 0);
    EXPECT_EQ(CDataLock::CheckDataFolder(link), ""); // the user's own link to the user's folder
    ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
    EXPECT_EQ(CDataLock::CheckDataFolder(folder), folder + " can be changed by every user");
    ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder away needs root";
    // As a folder in /tmp made first by somebody else would be.
    ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_EQ(CDataLock::CheckDataFolder(folder), folder + " belongs to another user");
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    EXPECT_EQ(CDataLock::CheckDataFolder(link), link + " is a link made by another user");
}

// Without HOME the notes and the single-instance folder go to the user's home from the password
// database, never to a shared folder such as /tmp that another user could prepare.
TEST(DataLock, WithoutHomeTheUsersOwnHomeIsUsed) {
    const char* saved = std::getenv("HOME");
    const std::string home = saved ? saved : "";
    ::unsetenv("HOME");
    const std::string found = UserHome();
    if (saved) ::setenv("HOME", home.c_str(), 1);
    const passwd* pw = ::getpwuid(::geteuid());
    ASSERT_NE(pw, nullptr);
    EXPECT_EQ(found, pw->pw_dir);
    EXPECT_NE(found.rfind("/tmp", 0), 0u);
}
