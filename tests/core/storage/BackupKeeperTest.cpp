#include "core/storage/CAtomicFile.h"
#include "core/storage/CBackupKeeper.h"
#include "support/TestEnv.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

COleDateTime Day(int d, int hour = 9) {
    return COleDateTime(2026, 12, 1, hour, 0, 0) + COleDateTimeSpan(d - 1.0);
}

struct BackupFixture : ::testing::Test {
    void SetUp() override { std::filesystem::create_directories(env.DataFolder()); }
    void Put(const std::string& bytes) { ASSERT_TRUE(CAtomicFile::Write(path, bytes, nullptr)); }
    std::string Copy(const std::string& day) {
        std::string bytes;
        CAtomicFile::ReadAll(env.DataFolder() + "backups/Note-" + day + ".Dat", bytes, nullptr);
        return bytes;
    }
    CBackupKeeper Keeper() {
        return CBackupKeeper(path, [](const std::string& b) { return b.rfind("good", 0) == 0; });
    }
    TestEnv env;
    std::string path = env.DataFolder() + "Note.Dat";
};

} // namespace

TEST_F(BackupFixture, FirstSaveOfEachDayKeepsThePreviousFile) {
    CBackupKeeper keeper = Keeper();
    std::string reason;
    EXPECT_TRUE(keeper.BeforeSave(Day(1), &reason)); // nothing saved yet: nothing to keep
    EXPECT_TRUE(keeper.List().empty());

    Put("good 1");
    ASSERT_TRUE(keeper.BeforeSave(Day(1), &reason)) << reason;
    EXPECT_EQ(Copy("2026-12-01"), "good 1");
    struct stat st {};
    ASSERT_EQ(stat((env.DataFolder() + "backups/Note-2026-12-01.Dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // Later saves that day, also after a restart, leave the morning's copy alone.
    Put("good 1 later");
    EXPECT_TRUE(keeper.BeforeSave(Day(1, 18), &reason));
    EXPECT_TRUE(Keeper().BeforeSave(Day(1, 23), &reason));
    EXPECT_EQ(Copy("2026-12-01"), "good 1");

    Put("good 2");
    EXPECT_TRUE(keeper.BeforeSave(Day(2), &reason));
    EXPECT_EQ(Copy("2026-12-02"), "good 2");
}

TEST_F(BackupFixture, KeepsTheNewestSevenAndNothingElseOfTheFolder) {
    std::filesystem::create_directories(env.DataFolder() + "backups");
    for (const char* other : {"notes.txt", "Note-2026-1-1.Dat", "Note-1999-01-01.Dat.old"})
        std::ofstream(env.DataFolder() + "backups/" + other) << "user's";
    CBackupKeeper keeper = Keeper();
    for (int d = 1; d <= 10; ++d) {
        Put("good " + std::to_string(d));
        ASSERT_TRUE(keeper.BeforeSave(Day(d), nullptr));
    }
    std::vector<std::string> names = keeper.List();
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(names.front(), "Note-2026-12-04.Dat");
    EXPECT_EQ(names.back(), "Note-2026-12-10.Dat");
    EXPECT_EQ(Copy("2026-12-04"), "good 4");
    for (const char* other : {"notes.txt", "Note-2026-1-1.Dat", "Note-1999-01-01.Dat.old"})
        EXPECT_TRUE(std::filesystem::exists(env.DataFolder() + "backups/" + other)) << other;
}

TEST_F(BackupFixture, DamagedOrEmptyFilesNeverPushGoodCopiesOut) {
    CBackupKeeper keeper = Keeper();
    for (int d = 1; d <= 7; ++d) {
        Put("good " + std::to_string(d));
        ASSERT_TRUE(keeper.BeforeSave(Day(d), nullptr));
    }
    // A week of damaged and empty files: no copy of them, the good ones all stay.
    for (int d = 8; d <= 14; ++d) {
        Put(d % 2 ? "bad" : "");
        EXPECT_TRUE(keeper.BeforeSave(Day(d), nullptr));
    }
    std::vector<std::string> names = keeper.List();
    ASSERT_EQ(names.size(), 7u);
    EXPECT_EQ(names.front(), "Note-2026-12-01.Dat");
    EXPECT_EQ(names.back(), "Note-2026-12-07.Dat");
    // Once a good file is saved that day, the next save keeps it.
    Put("good 14");
    EXPECT_TRUE(keeper.BeforeSave(Day(14, 12), nullptr));
    EXPECT_EQ(Copy("2026-12-14"), "good 14");
    EXPECT_EQ(keeper.List().front(), "Note-2026-12-02.Dat");
}
