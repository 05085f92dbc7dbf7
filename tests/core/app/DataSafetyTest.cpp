#include "app/TrayIds.h"
#include "platform/Clock.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"
#include "support/FailAfter.h"
#include "support/FakeHub.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class DataSafety : public ::testing::Test {
protected:
    DataSafety() { Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0)); }

    // A valid data file of n notes titled "Kept <i>", written by another copy of the program.
    std::string GoodFile(int n) {
        FakePlatform p;
        FakeHub other(p);
        other.LoadData();
        other.Store().Clear();
        for (int i = 0; i < n; ++i) {
            other.NewNote();
            other.Store().notes().back()->m_title = "Kept " + std::to_string(i);
        }
        other.PullNoteTexts();
        return CDataFile::Write(other.Data(), Clock::Now());
    }
    void Put(const std::string& bytes) {
        fs::create_directories(env.DataFolder());
        std::ofstream(hub.DataPath(), std::ios::binary) << bytes;
    }
    size_t BoxesWith(const std::string& text) const {
        size_t n = 0;
        for (const auto& b : platform.dialogs.boxes)
            n += b.text.find(text) != std::string::npos;
        return n;
    }

    TestEnv env;
    FakePlatform platform;
    FakeHub hub{platform};
};

} // namespace

// Start-up clears what killed saves left; the first save of the day keeps the file it
// replaces; a backup that cannot be made is told once and the notes are saved all the same.
TEST_F(DataSafety, StartupRemovesStaleTempsAndSavesKeepADailyBackup) {
    const std::string good = GoodFile(3);
    Put(good);
    std::ofstream(hub.DataPath() + ".tmp-a1B2c3") << "cut short";
    hub.SetState(CTrayCore::StateStarting);
    hub.Startup();
    EXPECT_FALSE(fs::exists(hub.DataPath() + ".tmp-a1B2c3"));
    ASSERT_EQ(hub.Store().notes().size(), 3u);
    ASSERT_TRUE(hub.SaveData());
    EXPECT_EQ(ReadFile(env.DataFolder() + "backups/Note-2003-05-13.Dat"), good);

    // The next day the backup folder is blocked by a plain file.
    Clock::SetForTest(COleDateTime(2003, 5, 14, 10, 0, 0));
    fs::remove_all(env.DataFolder() + "backups");
    std::ofstream(env.DataFolder() + "backups") << "in the way";
    hub.Store().notes()[0]->m_title = "Changed";
    EXPECT_TRUE(hub.SaveData());
    EXPECT_TRUE(hub.SaveData());
    EXPECT_EQ(BoxesWith("backup of your notes could not be made"), 1u);
    EXPECT_EQ(platform.dialogs.boxes.size(), 1u);
    FakeHub reread(platform);
    reread.LoadData();
    EXPECT_EQ(reread.Store().notes()[0]->m_title, "Changed");
}

// A file that could not be read completely is moved aside before the first save, told once
// and kept; the later saves go to a new file.
TEST_F(DataSafety, UnreadableFileIsMovedAsideBeforeTheFirstSave) {
    const std::string good = GoodFile(20);
    const std::string cut = good.substr(0, good.size() - 100);
    Put(cut);
    hub.LoadData();
    ASSERT_EQ(BoxesWith("Data Read Error!"), 1u);
    EXPECT_EQ(hub.Store().notes().size(), 19u);
    ASSERT_TRUE(hub.SaveData());
    const std::string aside = hub.DataPath() + ".unreadable-20030513-100000";
    EXPECT_EQ(ReadFile(aside), cut);
    EXPECT_EQ(BoxesWith(aside), 1u);
    // A second unreadable load within the same second keeps both originals.
    hub.LoadData();
    EXPECT_TRUE(hub.SaveData());
    Put(cut + "x");
    hub.LoadData();
    ASSERT_TRUE(hub.SaveData());
    EXPECT_TRUE(hub.SaveData());
    EXPECT_EQ(ReadFile(aside), cut);
    EXPECT_EQ(ReadFile(aside + "-2"), cut + "x");
    EXPECT_EQ(BoxesWith("was kept as"), 2u);
    FakeHub reread(platform);
    reread.LoadData();
    EXPECT_EQ(reread.Store().notes().size(), 19u);
}

// An original that cannot be moved (here a file of /proc behind a link) is never saved over;
// the user is told why once, and Exit may still end the program, the file untouched.
TEST_F(DataSafety, UnreadableFileThatCannotBeMovedIsNotSavedOver) {
    fs::create_directories(env.DataFolder());
    ASSERT_EQ(symlink("/proc/version", hub.DataPath().c_str()), 0);
    hub.LoadData();
    ASSERT_EQ(BoxesWith("Data Read Error!"), 1u);
    EXPECT_FALSE(hub.SaveData());
    EXPECT_FALSE(hub.SaveData());
    EXPECT_EQ(BoxesWith("could not be moved aside"), 1u);
    EXPECT_TRUE(fs::is_symlink(hub.DataPath()));
    hub.SetState(CTrayCore::StateExiting);
    EXPECT_TRUE(hub.FinishExit());
}

// Exit whose save fails (a full disk) stays: the icon, the timers and the note windows come
// back and the old file is intact; once space is free the next Exit saves and ends.
TEST_F(DataSafety, FailedSaveAtExitKeepsTheProgramRunning) {
    Put(GoodFile(2));
    const std::string before = ReadFile(hub.DataPath());
    hub.SetState(CTrayCore::StateStarting);
    hub.Startup();
    ASSERT_EQ(platform.windows.OpenCount(), 2);
    platform.windows.windows[0]->body = "typed since";
    hub.SetState(CTrayCore::StateExiting);
    hub.StopTimers();
    {
        FailAfter full(0);
        EXPECT_FALSE(hub.FinishExit());
    }
    EXPECT_EQ(hub.State(), CTrayCore::StateIdle);
    EXPECT_EQ(platform.tray.icon, TrayId::IconNormal);
    EXPECT_EQ(platform.windows.OpenCount(), 2);
    EXPECT_TRUE(platform.timers.active.count(CTrayCore::TimerCheck));
    EXPECT_EQ(ReadFile(hub.DataPath()), before);
    EXPECT_EQ(BoxesWith("Your notes could not be saved"), 1u);
    EXPECT_EQ(hub.Store().notes()[0]->m_text, "typed since");

    hub.SetState(CTrayCore::StateExiting);
    EXPECT_TRUE(hub.FinishExit());
    FakeHub reread(platform);
    reread.LoadData();
    EXPECT_EQ(reread.Store().notes()[0]->m_text, "typed since");
}

// Changes are saved a few seconds after the last one, and only when the program is idle.
TEST_F(DataSafety, ChangesAreSavedAFewSecondsAfterTheLastOne) {
    hub.LoadData(); // the welcome note
    auto& timers = platform.timers;
    hub.NoteChanged();
    EXPECT_EQ(timers.active[CTrayCore::TimerAutoSave], 3000);
    const size_t armed = timers.history.size();
    hub.NoteChanged(); // a later change starts the wait anew
    EXPECT_EQ(timers.history.size(), armed + 1);
    EXPECT_FALSE(fs::exists(hub.DataPath()));

    static_cast<FakeNoteWindow*>(hub.Store().notes()[0]->m_window)->body = "typed";
    hub.SetState(CTrayCore::StateRinging);
    hub.OnTimer(CTrayCore::TimerAutoSave);
    EXPECT_FALSE(fs::exists(hub.DataPath())) << "not while a note rings";
    EXPECT_TRUE(timers.active.count(CTrayCore::TimerAutoSave));
    hub.SetState(CTrayCore::StateIdle);
    hub.OnTimer(CTrayCore::TimerAutoSave);
    EXPECT_FALSE(timers.active.count(CTrayCore::TimerAutoSave));
    FakeHub reread(platform);
    reread.LoadData();
    ASSERT_EQ(reread.Store().notes().size(), 1u);
    EXPECT_EQ(reread.Store().notes()[0]->m_text, "typed");

    // A save made otherwise meanwhile leaves nothing pending.
    hub.NoteChanged();
    ASSERT_TRUE(hub.SaveData());
    EXPECT_FALSE(timers.active.count(CTrayCore::TimerAutoSave));
    EXPECT_TRUE(platform.dialogs.boxes.empty());
}
