#include "core/app/CDataSafety.h"
#include "core/app/TrayIds.h"
#include "core/model/CDataDocument.h"
#include "core/platform/Clock.h"
#include "core/platform/IDialogs.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "support/FailAfter.h"
#include "support/FakeHub.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
        return CDataFile::Write(other.Data(), Clock::Now());
    }
    void Put(const std::string& bytes) {
        fs::create_directories(env.DataFolder());
        std::ofstream(hub.DataPath(), std::ios::binary) << bytes;
    }
    // The notes a fresh start would read from the data file.
    std::vector<CNote> OnDisk() {
        FakeHub reader(platform);
        reader.LoadData();
        std::vector<CNote> notes;
        for (const auto& n : reader.Store().notes())
            notes.push_back(*n);
        return notes;
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
    EXPECT_EQ(platform.services.notesSaved, 1) << "the sync folder follows each save";

    // The next day the backup folder is blocked by a plain file.
    Clock::SetForTest(COleDateTime(2003, 5, 14, 10, 0, 0));
    fs::remove_all(env.DataFolder() + "backups");
    std::ofstream(env.DataFolder() + "backups") << "in the way";
    hub.Store().notes()[0]->m_title = "Changed";
    EXPECT_TRUE(hub.SaveData());
    EXPECT_TRUE(hub.SaveData());
    EXPECT_EQ(BoxesWith("backup of your notes could not be made"), 1u);
    EXPECT_EQ(platform.dialogs.boxes.size(), 1u);
    EXPECT_EQ(OnDisk().at(0).m_title, "Changed");
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
    EXPECT_EQ(OnDisk().size(), 19u);
}

// An original that cannot be moved (here a file of /proc behind a link) is never saved over;
// the user is told why once, and Exit ends the program only once the user chose to lose the
// changes (and confirmed it), the file untouched.
TEST_F(DataSafety, UnreadableFileThatCannotBeMovedIsNotSavedOver) {
    fs::create_directories(env.DataFolder());
    ASSERT_EQ(symlink("/proc/version", hub.DataPath().c_str()), 0);
    hub.LoadData();
    ASSERT_EQ(BoxesWith("Data Read Error!"), 1u);
    EXPECT_FALSE(hub.SaveData());
    EXPECT_FALSE(hub.SaveData());
    EXPECT_EQ(BoxesWith("could not be moved aside"), 1u);
    EXPECT_EQ(platform.services.notesSaved, 0) << "nothing saved: nothing to mirror";
    EXPECT_TRUE(fs::is_symlink(hub.DataPath()));
    hub.SetState(CTrayCore::StateExiting);
    platform.dialogs.answers = {IDialogs::AnswerDiscard, IDialogs::AnswerNo,
                                IDialogs::AnswerCancel};
    EXPECT_FALSE(hub.FinishExit()) << "a refused save let Exit drop the changes";
    EXPECT_EQ(BoxesWith("Quit without saving?"), 1u);
    hub.SetState(CTrayCore::StateExiting);
    platform.dialogs.answers = {IDialogs::AnswerDiscard, IDialogs::AnswerYes};
    EXPECT_TRUE(hub.FinishExit());
    EXPECT_TRUE(fs::is_symlink(hub.DataPath()));
}

// Exit whose save fails (a full disk) stays: the icon, the timers and the note windows come
// back and the old file is intact; once space is free the next Exit saves and ends.
TEST_F(DataSafety, FailedSaveAtExitKeepsTheProgramRunning) {
    Put(GoodFile(2));
    const std::string before = ReadFile(hub.DataPath());
    hub.SetState(CTrayCore::StateStarting);
    hub.Startup();
    ASSERT_EQ(platform.windows.OpenCount(), 2);
    platform.windows.windows[0]->note->m_text = "typed since";
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
    EXPECT_EQ(BoxesWith("If Jotterly quits now"), 1u); // the choice, and no second box
    EXPECT_EQ(platform.dialogs.boxes.size(), 1u);
    EXPECT_EQ(hub.Store().notes()[0]->m_text, "typed since");

    hub.SetState(CTrayCore::StateExiting);
    EXPECT_TRUE(hub.FinishExit());
    EXPECT_EQ(OnDisk().at(0).m_text, "typed since");
}

// Exit with a read-only "Note.Dat" no longer ends silently: the user is told why and may save
// the notes to a file picked elsewhere, after which the program ends, the file untouched.
TEST_F(DataSafety, ExitOverAReadOnlyFileOffersACopyElsewhere) {
    Put(GoodFile(1));
    hub.LoadData();
    ASSERT_EQ(::chmod(hub.DataPath().c_str(), 0400), 0);
    const std::string before = ReadFile(hub.DataPath());
    hub.Store().notes()[0]->m_title = "Typed today";
    hub.SetState(CTrayCore::StateExiting);
    const std::string copy = env.Dir() + "/elsewhere.dat";
    platform.dialogs.answers = {IDialogs::AnswerOk, IDialogs::AnswerSaveCopy};
    platform.dialogs.files = {copy};
    EXPECT_TRUE(hub.FinishExit());
    EXPECT_EQ(BoxesWith("read-only"), 2u); // told, and named again in the choice
    EXPECT_EQ(BoxesWith("were saved to \"" + copy), 1u);
    EXPECT_EQ(ReadFile(hub.DataPath()), before);
    CDataDocument doc;
    ASSERT_TRUE(CDataSafety::Parses(ReadFile(copy), doc, nullptr));
    EXPECT_EQ(doc.m_store.notes()[0]->m_title, "Typed today");
}

// A failed save tries again by itself after 5 s, 30 s, then every 2 minutes, told only once;
// the first try after space is freed writes, and the tries stop.
TEST_F(DataSafety, FailedSaveIsRetriedWithBackoff) {
    Put(GoodFile(1));
    hub.LoadData();
    hub.Store().notes()[0]->m_title = "Typed while the disk was full";
    auto& timers = platform.timers;
    {
        FailAfter full(0);
        EXPECT_FALSE(hub.SaveData());
        EXPECT_EQ(timers.active[CTrayCore::TimerSaveRetry], 5000);
        for (int period : {30000, 120000, 120000}) {
            hub.OnTimer(CTrayCore::TimerSaveRetry);
            EXPECT_EQ(timers.active[CTrayCore::TimerSaveRetry], period);
        }
    }
    EXPECT_EQ(BoxesWith("could not be saved"), 1u);
    hub.OnTimer(CTrayCore::TimerSaveRetry);
    EXPECT_FALSE(timers.active.count(CTrayCore::TimerSaveRetry));
    EXPECT_EQ(OnDisk().at(0).m_title, "Typed while the disk was full");
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

    hub.Store().notes()[0]->m_text = "typed";
    hub.SetState(CTrayCore::StateOptionsOpen);
    hub.OnTimer(CTrayCore::TimerAutoSave);
    EXPECT_FALSE(fs::exists(hub.DataPath())) << "not while the options are open";
    EXPECT_TRUE(timers.active.count(CTrayCore::TimerAutoSave));
    // A note may ring for hours: what was typed meanwhile is saved all the same.
    hub.SetState(CTrayCore::StateRinging);
    hub.OnTimer(CTrayCore::TimerAutoSave);
    EXPECT_FALSE(timers.active.count(CTrayCore::TimerAutoSave));
    EXPECT_EQ(OnDisk().at(0).m_text, "typed");
    hub.SetState(CTrayCore::StateIdle);

    // A save made otherwise meanwhile leaves nothing pending.
    hub.NoteChanged();
    ASSERT_TRUE(hub.SaveData());
    EXPECT_FALSE(timers.active.count(CTrayCore::TimerAutoSave));
    EXPECT_TRUE(platform.dialogs.boxes.empty());
}

// Another program replaces "Note.Dat" while the program runs (a sync tool, a restore). Without
// changes here, the next save reads it instead (windows follow); with changes of our own, the
// outside version is kept as a conflict copy, ours is saved, the user is told once, and Import
// takes the notes of the copy that ours lack. Nothing of either side is lost.
TEST_F(DataSafety, FileReplacedFromOutsideIsReloadedOrKeptAside) {
    Put(GoodFile(2));
    hub.LoadData();
    ASSERT_TRUE(hub.SaveData());
    // Written by a second process, as a sync tool would (a new file renamed into place).
    auto replaceFromOutside = [&](const std::string& bytes) {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(CAtomicFile::Write(hub.DataPath(), bytes, nullptr) ? 0 : 1);
        int status = -1;
        ::waitpid(child, &status, 0);
        ASSERT_EQ(status, 0);
    };
    const std::string three = GoodFile(3);
    replaceFromOutside(three);
    ASSERT_TRUE(hub.SaveData());
    EXPECT_EQ(ReadFile(hub.DataPath()), three) << "an unchanged program saved over it";
    ASSERT_EQ(hub.Store().notes().size(), 3u);
    EXPECT_EQ(platform.windows.OpenCount(), 3);
    EXPECT_TRUE(platform.dialogs.boxes.empty());

    hub.Store().notes()[0]->m_title = "Ours";
    std::string four = GoodFile(4);
    replaceFromOutside(four);
    ASSERT_TRUE(hub.SaveData());
    const std::string aside = hub.DataPath() + ".conflict-20030513-100000";
    EXPECT_EQ(ReadFile(aside), four);
    EXPECT_EQ(BoxesWith(aside), 1u);
    ASSERT_TRUE(hub.SaveData());
    EXPECT_EQ(BoxesWith(aside), 1u) << "told again for the same change";
    const std::vector<CNote> saved = OnDisk();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0].m_title, "Ours");

    // Import from the conflict copy adds only what ours lacks ("Kept 0" was renamed here, and
    // "Kept 3" is new): nothing is doubled.
    platform.dialogs.answers = {IDialogs::AnswerYes, IDialogs::AnswerYes};
    platform.dialogs.files = {aside};
    hub.ImportData();
    std::vector<std::string> titles;
    for (const auto& n : hub.Store().notes())
        titles.push_back(n->m_title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Ours", "Kept 1", "Kept 2", "Kept 0", "Kept 3"}));
    EXPECT_EQ(BoxesWith("2 notes were added"), 1u);
    EXPECT_EQ(OnDisk().size(), 5u);
}

// A file from a later version (an unknown stamp, or records after the last note) is read as
// far as it is understood, the user is told, and the original is kept byte for byte before the
// first save over it.
TEST_F(DataSafety, FileFromANewerVersionIsKeptBeforeTheFirstSave) {
    std::string newerStamp = GoodFile(2);
    const int32_t stamp = -20050101;
    std::memcpy(newerStamp.data() + 24, &stamp, sizeof stamp);
    for (const std::string& original : {newerStamp, GoodFile(2) + std::string("\x05more", 5)}) {
        platform.dialogs.boxes.clear();
        fs::remove_all(env.DataFolder());
        Put(original);
        hub.LoadData();
        EXPECT_EQ(hub.Store().notes().size(), 2u);
        EXPECT_EQ(BoxesWith("newer version of Jotterly"), 1u);
        EXPECT_EQ(BoxesWith("Data Read Error!"), 0u);
        ASSERT_TRUE(hub.SaveData());
        EXPECT_EQ(ReadFile(hub.DataPath() + ".unreadable-20030513-100000"), original);
        EXPECT_EQ(OnDisk().size(), 2u);
    }
}

// The smaller promises of the save path: "saved all the same" only after a save that wrote;
// a backup cut short by a kill is removed; the log is the user's alone; a note that rings
// without having been posted is saved unposted (a signal may end the program meanwhile).
TEST_F(DataSafety, SmallerPromisesOfTheSavePath) {
    Put(GoodFile(2));
    fs::create_directories(env.DataFolder() + "backups");
    const std::string partial = env.DataFolder() + "backups/Note-2003-05-12.Dat.tmp-Ab12Cd";
    std::ofstream(partial) << "cut";
    hub.SetState(CTrayCore::StateStarting);
    hub.Startup();
    struct stat st {};
    ASSERT_EQ(::stat((env.DataFolder() + "Log.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    fs::remove_all(env.DataFolder() + "backups");
    std::ofstream(env.DataFolder() + "backups") << "in the way";
    {
        FailAfter full(0);
        EXPECT_FALSE(hub.SaveData());
    }
    EXPECT_EQ(BoxesWith("saved all the same"), 0u) << "before a save that failed";
    fs::remove(env.DataFolder() + "backups");
    fs::create_directories(env.DataFolder() + "backups");
    std::ofstream(partial) << "cut";
    ASSERT_TRUE(hub.SaveData());
    EXPECT_FALSE(fs::exists(partial));

    auto* window = static_cast<FakeNoteWindow*>(hub.Store().notes()[1]->Window());
    window->ringing = true;
    window->postedBefore = false;
    ASSERT_TRUE(hub.SaveData());
    EXPECT_EQ(OnDisk().at(1).m_posted, 0);
    EXPECT_EQ(hub.Store().notes()[1]->m_posted, 1); // still on the desktop while it rings
}
