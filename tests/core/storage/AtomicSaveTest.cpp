#include "core/app/CDataSafety.h"
#include "core/app/CTrayCore.h"
#include "core/model/CDataDocument.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "support/FailAfter.h"
#include "support/Fakes.h"
#include "support/TestEnv.h"

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

size_t TempFilesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        n += e.path().filename().string().find(".tmp-") != std::string::npos;
    return n;
}

class AtomicSave : public ::testing::Test {
protected:
    AtomicSave() { tray.SetPlatform({.dialogs = &dialogs}); }
    // The titles a fresh start would read from the data file.
    static std::vector<std::string> TitlesOnDisk() {
        CTrayCore reader;
        reader.LoadData();
        std::vector<std::string> titles;
        for (const auto& n : reader.Store().notes())
            titles.push_back(n->m_title);
        return titles;
    }
    std::string OnDisk() const {
        std::string bytes;
        EXPECT_TRUE(CAtomicFile::ReadAll(tray.DataPath(), bytes, nullptr));
        return bytes;
    }

    TestEnv env;
    FakeDialogs dialogs;
    CTrayCore tray;
};

} // namespace

TEST_F(AtomicSave, InterruptedAtAnyByteKeepsThePreviousFile) {
    Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
    tray.LoadData(); // the welcome note
    tray.Store().notes()[0].get()->m_title = "Old title";
    ASSERT_TRUE(tray.SaveData());
    ASSERT_TRUE(tray.SaveData()); // today's backup is made: only the save itself fails below
    const std::string before = OnDisk();

    tray.Store().notes()[0].get()->m_title = "New title that must not half-land";
    size_t size = CDataFile::Write(tray.Data(), Clock::Now()).size();
    int failures = 0;
    for (size_t k = 0; k < size; k += (k < 64 ? 1 : 37)) {
        FailAfter fail(k);
        EXPECT_FALSE(tray.SaveData()) << k;
        ++failures;
        ASSERT_EQ(OnDisk(), before) << "after a failure at byte " << k;
    }
    EXPECT_EQ(TempFilesIn(env.DataFolder()), 0u);
    ASSERT_GT(failures, 1);
    ASSERT_EQ(dialogs.boxes.size(), 1u); // told once; the later tries are quiet
    EXPECT_EQ(dialogs.boxes[0].caption, "It's too bad");
    EXPECT_NE(dialogs.boxes[0].text.find(tray.DataPath()), std::string::npos);
    EXPECT_NE(dialogs.boxes[0].text.find("No space left on device"), std::string::npos);

    // The previous file still loads whole; once the disk has room again the new data lands.
    EXPECT_EQ(TitlesOnDisk(), std::vector<std::string>{"Old title"});
    ASSERT_TRUE(tray.SaveData());
    EXPECT_EQ(TitlesOnDisk(), std::vector<std::string>{"New title that must not half-land"});
}

TEST_F(AtomicSave, UnwritableFolderReportsTheFailure) {
    // Root ignores folder permissions: a folder standing where the file goes fails for anyone.
    const bool root = geteuid() == 0;
    if (root)
        std::filesystem::create_directories(tray.DataPath() + "/blocker");
    else
        chmod(env.DataFolder().c_str(), 0500);
    EXPECT_FALSE(tray.SaveData());
    chmod(env.DataFolder().c_str(), 0700);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].icon, IDialogs::Stop);
    EXPECT_NE(dialogs.boxes[0].text.find(root ? "Is a directory" : "Permission denied"),
              std::string::npos);
    EXPECT_EQ(TempFilesIn(env.DataFolder()), 0u);
}

// Export writes what the user has now; Import reads and checks the whole chosen file before
// anything changes, and refuses what is not a complete data file.
TEST_F(AtomicSave, ExportWritesTheCurrentDataAndImportChecksTheFileFirst) {
    FakeWindowFactory windows;
    tray.SetPlatform({.dialogs = &dialogs, .windows = &windows});
    tray.LoadData();
    const std::string target = env.Dir() + "/copy.dat";
    // Before any save, with the title just typed.
    CNote& note = *tray.Store().notes()[0];
    note.m_title = "Exported";
    dialogs.files.push_back(target);
    tray.ExportData();
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(CAtomicFile::Exists(tray.DataPath()));
    {
        CDataDocument exported;
        std::string bytes;
        ASSERT_TRUE(CAtomicFile::ReadAll(target, bytes, nullptr));
        ASSERT_TRUE(CDataSafety::Parses(bytes, exported, nullptr));
        ASSERT_EQ(exported.m_store.notes().size(), 1u);
        EXPECT_EQ(exported.m_store.notes()[0]->m_title, "Exported");
    }

    note.m_title = "Changed since";
    ASSERT_TRUE(tray.SaveData());
    // No: nothing changes.
    dialogs.answers.push_back(IDialogs::AnswerNo);
    tray.ImportData();
    EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Changed since");
    ASSERT_EQ(dialogs.boxes.back().caption, "Warning");
    EXPECT_EQ(dialogs.boxes.back().text,
              "Import data will replace all your current data, continue?");
    // Yes but cancel the file dialog: nothing changes either.
    tray.ImportData();
    EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Changed since");

    // A cut file, a folder, an endless device, a pipe and a missing file: refused with the
    // reason, the data and the file as they were.
    const std::string saved = OnDisk();
    std::string exported;
    ASSERT_TRUE(CAtomicFile::ReadAll(target, exported, nullptr));
    const std::string cut = env.Dir() + "/cut.dat", fifo = env.Dir() + "/pipe.dat";
    std::ofstream(cut, std::ios::binary) << exported.substr(0, exported.size() - 10);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, const char*> refused[] = {
        {cut, "could not be imported"},
        {env.Dir(), "not a regular file"},
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {env.Dir() + "/none.dat", "No such file"}};
    for (const auto& [file, why] : refused) {
        SCOPED_TRACE(file);
        dialogs.boxes.clear();
        dialogs.files.push_back(file);
        tray.ImportData();
        ASSERT_EQ(dialogs.boxes.size(), 2u);
        EXPECT_NE(dialogs.boxes[1].text.find(why), std::string::npos) << dialogs.boxes[1].text;
        EXPECT_NE(dialogs.boxes[1].text.find("Your current data is unchanged."), std::string::npos);
        EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Changed since");
        ASSERT_NE(tray.Store().notes()[0].get()->Window(), nullptr);
        EXPECT_EQ(OnDisk(), saved);
    }

    // Yes and a good file: its data replaces ours; open windows close, their notes unposted.
    dialogs.files.push_back(target);
    tray.ImportData();
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    ASSERT_EQ(tray.Store().notes().size(), 1u);
    EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Exported");
    EXPECT_EQ(tray.Store().notes()[0].get()->Window(), nullptr);
    EXPECT_EQ(windows.OpenCount(), 0);
    EXPECT_EQ(OnDisk(), exported);
}

TEST_F(AtomicSave, SymlinkedFileIsReplacedWhereItLies) {
    tray.LoadData();
    // Note.Dat -> ../link2 -> synced/Note.Dat (relative links, two hops).
    const std::string synced = env.Dir() + "/synced";
    std::filesystem::create_directories(synced);
    std::filesystem::create_directories(env.DataFolder());
    ASSERT_EQ(symlink("synced/Note.Dat", (env.Dir() + "/link2").c_str()), 0);
    ASSERT_EQ(symlink("../link2", tray.DataPath().c_str()), 0);

    // The first save finds a dangling link and creates its target; later saves replace it.
    for (const char* title : {"First", "Second"}) {
        tray.Store().notes()[0]->m_title = title;
        ASSERT_TRUE(tray.SaveData()) << (dialogs.boxes.empty() ? "" : dialogs.boxes[0].text);
        EXPECT_TRUE(std::filesystem::is_symlink(tray.DataPath()));
        EXPECT_TRUE(std::filesystem::is_symlink(env.Dir() + "/link2"));
        EXPECT_TRUE(std::filesystem::is_regular_file(
            std::filesystem::symlink_status(synced + "/Note.Dat")));
        EXPECT_EQ(TitlesOnDisk(), std::vector<std::string>{title});
    }
    EXPECT_EQ(TempFilesIn(synced), 0u);
    EXPECT_EQ(TempFilesIn(env.DataFolder()), 0u);

    // A loop of links is refused, not followed for ever.
    std::filesystem::remove(env.Dir() + "/link2");
    ASSERT_EQ(symlink("jotterly/Note.Dat", (env.Dir() + "/link2").c_str()), 0);
    ASSERT_FALSE(tray.SaveData());
    EXPECT_NE(dialogs.boxes.back().text.find("Too many levels of symbolic links"),
              std::string::npos);
}

TEST_F(AtomicSave, ReadOnlyFileIsNeverReplaced) {
    tray.LoadData();
    ASSERT_TRUE(tray.SaveData());
    const std::string before = OnDisk();
    // No owner-write bit: read-only for everyone, root included (access() would let root
    // write it, so that alone cannot be the test here).
    ASSERT_EQ(chmod(tray.DataPath().c_str(), 0444), 0);
    EXPECT_TRUE(CAtomicFile::IsReadOnly(tray.DataPath()));
    tray.Store().notes()[0]->m_title = "Changed";
    EXPECT_FALSE(tray.SaveData());
    EXPECT_FALSE(tray.SaveData()); // told once, not at every save
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("changes cannot be saved there"), std::string::npos);
    EXPECT_EQ(OnDisk(), before);
    struct stat st {};
    ASSERT_EQ(stat(tray.DataPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(TempFilesIn(env.DataFolder()), 0u);

    // Write access again: saves go through.
    ASSERT_EQ(chmod(tray.DataPath().c_str(), 0644), 0);
    EXPECT_FALSE(CAtomicFile::IsReadOnly(tray.DataPath()));
    EXPECT_TRUE(tray.SaveData());
}

TEST_F(AtomicSave, OnlyOurOwnStaleTemporaryFilesAreRemoved) {
    const std::string folder = env.DataFolder(), synced = env.Dir() + "/synced/";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(synced);
    auto touch = [](const std::string& p) { std::ofstream(p) << "partial"; };
    touch(synced + "Note.Dat");
    const std::string path = folder + "Note.Dat";
    ASSERT_EQ(symlink((synced + "Note.Dat").c_str(), path.c_str()), 0);
    // Ours: beside the link (older saves) and beside its target.
    for (const std::string& ours : {folder + "Note.Dat.tmp-a1B2c3", folder + "Note.Dat.tmp-zzzzzz",
                                    synced + "Note.Dat.tmp-Q9w8e7"})
        touch(ours);
    const char* others[] = {"Note.Dat.tmp-abc12", "Note.Dat.tmp-abc1234", "Note.Dat.tmp-ab.c12",
                            "Other.Dat.tmp-abcdef", "notes.txt"};
    for (const char* name : others)
        touch(folder + name);
    // A write in progress holds its file locked: it stays.
    const std::string busy = synced + "Note.Dat.tmp-BUSY00";
    touch(busy);
    int fd = open(busy.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);

    EXPECT_EQ(CAtomicFile::RemoveStaleTemps(path), 3);
    for (const char* name : others)
        EXPECT_TRUE(std::filesystem::exists(folder + name)) << name;
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_TRUE(std::filesystem::exists(synced + "Note.Dat"));
    EXPECT_TRUE(std::filesystem::exists(busy));
    EXPECT_EQ(TempFilesIn(synced), 1u);
    close(fd);
    EXPECT_EQ(CAtomicFile::RemoveStaleTemps(path), 1);
    EXPECT_EQ(TempFilesIn(synced), 0u);
}
