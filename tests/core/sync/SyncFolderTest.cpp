#include "core/ical/CICalMapping.h"
#include "core/ical/CNoteIdentity.h"
#include "core/model/CTreeNode.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/sync/CSyncConflict.h"
#include "core/sync/CSyncFolder.h"
#include "support/IcalTestSupport.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The calendar files of a folder (hidden ones not).
std::vector<std::string> IcsFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".ics" && e.path().filename().string()[0] != '.')
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int64_t NowSeconds() {
    return CICalMapping::UtcSeconds(Clock::Now());
}

// One machine: its data folder, its notes and its view of the shared sync folder.
struct Machine {
    Machine(const std::string& dataDir, const std::string& folder)
        : sync(folder, dataDir + "/Note.Dat") {
        store.AddCategory(CTreeNode::MakeRoot());
        sync.Open();
    }
    CNote& Add(const std::string& title, int type = CNote::OneTime,
               COleDateTime at = COleDateTime(2026, 12, 8, 9, 0, 0)) {
        CNote& note = NoteBuilder(type).Title(title).At(at).AddTo(store);
        if (type == CNote::Every) note.m_recurrence = CNote::Day * 1000 + 1;
        note.Recompute();
        note.m_uid = CNoteIdentity::NewUid();
        return note;
    }
    void Mirror() {
        std::string why;
        EXPECT_TRUE(sync.Mirror(store, NowSeconds(), &why)) << why;
    }
    CSyncFolder::Report Rescan() {
        return sync.Rescan(store, CNote(), NowSeconds(), [&](CNote& n) { store.RemoveNote(n); });
    }
    CNote* Find(const std::string& title) {
        for (const auto& n : store.notes())
            if (n->m_title == title) return n.get();
        return nullptr;
    }
    std::vector<std::string> Titles() const {
        std::vector<std::string> t;
        for (const auto& n : store.notes())
            t.push_back(n->m_title + "|" + n->m_text);
        std::sort(t.begin(), t.end());
        return t;
    }
    CNoteStore store;
    CSyncFolder sync;
};

class SyncFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::SetForTest(COleDateTime(2026, 12, 7, 12, 0, 0));
        folder = root + "/folder";
        fs::create_directories(folder);
        fs::create_directories(root + "/a");
        fs::create_directories(root + "/b");
        a = std::make_unique<Machine>(root + "/a", folder);
        b = std::make_unique<Machine>(root + "/b", folder);
    }
    // A to B and back, as after a save on each and a rescan of the other.
    void Exchange() {
        a->Mirror();
        b->Rescan();
        b->Mirror();
        a->Rescan();
        a->Mirror();
    }
    TestEnv env; // outlives the machines
    const std::string root = env.Dir();
    std::string folder;
    std::unique_ptr<Machine> a, b;
};

// A removal reaching the other machine is checked end to end, through a CalDAV server.
TEST_F(SyncFolderTest, CreateAndEditReachTheOtherMachine) {
    CNote& dentist = a->Add("Dentist");
    dentist.m_text = "Bring the card";
    a->Add("Shopping", CNote::Memo);
    a->Mirror();
    EXPECT_EQ(IcsFiles(folder).size(), 2u);
    EXPECT_TRUE(fs::exists(folder + "/" + dentist.m_uid + ".ics"));
    CSyncFolder::Report r = b->Rescan();
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(b->Titles(), a->Titles());
    ASSERT_TRUE(b->Find("Dentist"));
    EXPECT_EQ(b->Find("Dentist")->m_uid, dentist.m_uid);
    EXPECT_EQ(b->Find("Dentist")->m_alarmTime, dentist.m_alarmTime);

    dentist.m_text = "Bring the card and the letter";
    a->Mirror();
    r = b->Rescan();
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(b->Titles(), a->Titles());
    // Nothing changed since: the rescan reads no file and changes nothing.
    r = b->Rescan();
    EXPECT_FALSE(r.StoreChanged());
    EXPECT_TRUE(r.unreadable.empty());
}

// What a rescan took in is only in memory until the next save: a crash before it (here: the
// machine started again with the notes of its data file) must take it in again.
TEST_F(SyncFolderTest, ARescanKeepsNoStateBeforeItsChangesAreSaved) {
    a->Add("Call the bank");
    a->Mirror();
    EXPECT_EQ(b->Rescan().added, 1);
    EXPECT_FALSE(b->Rescan().StoreChanged()); // no save yet
    b = std::make_unique<Machine>(root + "/b", folder);
    EXPECT_EQ(b->Rescan().added, 1);
}

// An acknowledgement reaching a ringing note is the session test's; a snooze takes the same way.
TEST_F(SyncFolderTest, ASnoozeMovesTheAlarmOnTheOtherMachine) {
    CNote& daily = a->Add("Pills", CNote::Every, COleDateTime(2026, 12, 7, 9, 0, 0));
    Exchange();
    CNote* there = b->Find("Pills");
    ASSERT_TRUE(there);
    EXPECT_EQ(there->m_alarmTime, daily.m_alarmTime);

    // Due on both and snoozed on A: B rings at the same later time.
    Clock::SetForTest(COleDateTime(2026, 12, 8, 9, 2, 0));
    ASSERT_TRUE(there->IsAlarmPast());
    daily.RemindLater(0, 15);
    a->Mirror();
    CSyncFolder::Report r = b->Rescan();
    EXPECT_EQ(there->m_alarmTime, COleDateTime(2026, 12, 8, 9, 17, 0));
    EXPECT_EQ(r.acknowledged, std::vector<CNote*>{there});
    // And nothing goes back and forth after that.
    b->Mirror();
    EXPECT_FALSE(a->Rescan().StoreChanged());
    EXPECT_EQ(daily.m_alarmTime.Format("%F %T"), there->m_alarmTime.Format("%F %T"));
}

TEST_F(SyncFolderTest, AnEditOnBothSidesKeepsBothVersionsOnBoth) {
    a->Add("Plan");
    Exchange();
    a->Find("Plan")->m_text = "from A";
    b->Find("Plan")->m_text = "from B";
    a->Mirror();
    b->Mirror(); // the file changed under it: not written over
    CSyncFolder::Report r = b->Rescan();
    EXPECT_EQ(r.conflicts, 1);
    b->Mirror();
    a->Rescan();
    a->Mirror();
    const std::vector<std::string> both{std::string(CSyncFolder::kConflictTitle) + "Plan|from A",
                                        "Plan|from B"};
    EXPECT_EQ(b->Titles(), both);
    EXPECT_EQ(a->Titles(), both);
    // Settled: more rounds add nothing.
    Exchange();
    EXPECT_EQ(a->Titles(), both);
    EXPECT_EQ(b->Titles(), both);
    EXPECT_EQ(IcsFiles(folder).size(), 2u);
}

TEST_F(SyncFolderTest, ConflictFilesOfSyncToolsBecomeNotesOnce) {
    CNote& note = a->Add("Call Anna");
    a->Mirror();
    for (const char* name : {"x.sync-conflict-20261207-120000-ABCDEFG.ics",
                             "x (conflicted copy 2026-12-07 120000).ics"}) {
        CNote other = note;
        other.m_text = name;
        CICalMapping::ExportItem item;
        item.note = &other;
        item.identity.uid = note.m_uid;
        ASSERT_TRUE(CAtomicFile::Write(folder + "/" + name,
                                       CICalMapping::Export({item}, NowSeconds()), nullptr));
    }
    EXPECT_EQ(a->Rescan().conflicts, 2);
    EXPECT_EQ(a->Rescan().conflicts, 0); // not yet saved: taken in once all the same
    a->Mirror();
    EXPECT_FALSE(a->Rescan().StoreChanged());
    EXPECT_EQ(a->store.notes().size(), 3u);
    EXPECT_TRUE(a->Find(std::string(CSyncFolder::kConflictTitle) + "Call Anna"));
    // Their contents live on in notes of their own: the tool's files are gone.
    EXPECT_EQ(IcsFiles(folder).size(), 3u);
    for (const std::string& name : IcsFiles(folder))
        EXPECT_FALSE(CSyncFolder::IsConflictFile(name)) << name;
}

// A CalDAV sync tool hands both versions of a note changed on both sides to the resolver, then
// writes what both files say to both sides: ours goes on, the other becomes a note of its own.
TEST_F(SyncFolderTest, ACalDavConflictKeepsTheOtherVersionAsANoteOfItsOwn) {
    CNote& note = a->Add("Plan");
    note.m_text = "from here";
    a->Mirror();
    const std::string ours = ReadFile(folder + "/" + IcsFiles(folder).at(0));
    fs::create_directories(root + "/tool");
    const std::string oursPath = root + "/tool/folder", theirsPath = root + "/tool/server";
    std::string message;
    // The second version has no title: its copy is named after its text.
    for (const auto& [title, text] : std::vector<std::pair<std::string, std::string>>{
             {"Plan", "from the phone"}, {"", "from the tablet\r\nline two"}}) {
        CNote other = note;
        other.m_title = title;
        other.m_text = text;
        CICalMapping::ExportItem item;
        item.note = &other;
        item.identity.uid = note.m_uid;
        ASSERT_TRUE(CAtomicFile::Write(oursPath, ours, nullptr));
        ASSERT_TRUE(
            CAtomicFile::Write(theirsPath, CICalMapping::Export({item}, NowSeconds()), nullptr));
        // The same second twice: the second file takes another name.
        ASSERT_TRUE(CSyncConflict::Resolve(folder, oursPath, theirsPath, 1796644800, &message))
            << message;
        EXPECT_EQ(ReadFile(theirsPath), ours);
        EXPECT_EQ(ReadFile(oursPath), ours);
    }
    EXPECT_EQ(IcsFiles(folder).size(), 1u) << "the tool must not see a second file of the event";
    EXPECT_EQ(a->Rescan().conflicts, 2);
    a->Mirror();
    EXPECT_FALSE(a->Rescan().StoreChanged()); // saved: the conflict files have done their part
    const std::string copy = CSyncFolder::kConflictTitle;
    EXPECT_EQ(a->Titles(),
              (std::vector<std::string>{copy + "Plan|from the phone",
                                        copy + "from the tablet|from the tablet\r\nline two",
                                        "Plan|from here"}));
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator())), 3u);

    // Nothing is given up when the other version cannot be kept.
    const std::string theirs = "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n";
    ASSERT_TRUE(CAtomicFile::Write(theirsPath, theirs, nullptr));
    EXPECT_FALSE(CSyncConflict::Resolve(root + "/gone", oursPath, theirsPath, 0, &message));
    EXPECT_NE(message.find("missing"), std::string::npos) << message;
    ASSERT_TRUE(
        CAtomicFile::Write(oursPath, std::string(CSyncFolder::kMaxFileBytes + 1, 'x'), nullptr));
    EXPECT_FALSE(CSyncConflict::Resolve(folder, oursPath, theirsPath, 0, &message));
    EXPECT_EQ(ReadFile(theirsPath), theirs);
    EXPECT_EQ(IcsFiles(folder).size(), 3u);
}

TEST_F(SyncFolderTest, AnEmptiedOrMissingFolderRemovesNothing) {
    for (int i = 0; i < 5; ++i)
        a->Add("Note " + std::to_string(i));
    Exchange();
    for (const std::string& name : IcsFiles(folder))
        fs::remove(folder + "/" + name);
    CSyncFolder::Report r = b->Rescan();
    EXPECT_EQ(r.removed, 0);
    EXPECT_NE(r.problem.find("No note was removed"), std::string::npos) << r.problem;
    EXPECT_EQ(b->store.notes().size(), 5u);
    EXPECT_EQ(IcsFiles(folder).size(), 5u); // written again

    fs::rename(folder, folder + ".away");
    r = a->Rescan();
    EXPECT_EQ(r.removed, 0);
    EXPECT_FALSE(r.problem.empty());
    EXPECT_EQ(a->store.notes().size(), 5u);
    fs::rename(folder + ".away", folder);

    // One removal among many is a removal.
    fs::remove(folder + "/" + IcsFiles(folder).front());
    EXPECT_EQ(a->Rescan().removed, 1);
}

TEST_F(SyncFolderTest, FilesThatDoNotReadAreLeftAloneAndListed) {
    a->Add("Kept");
    a->Mirror();
    const std::vector<std::pair<std::string, std::string>> bad{
        {"garbage.ics", "not a calendar"},
        {"two.ics", "BEGIN:VCALENDAR\r\nBEGIN:VJOURNAL\r\nUID:1\r\nEND:VJOURNAL\r\n"
                    "BEGIN:VJOURNAL\r\nUID:2\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n"},
        {"nouid.ics", "BEGIN:VCALENDAR\r\nBEGIN:VJOURNAL\r\nSUMMARY:x\r\nEND:VJOURNAL\r\n"
                      "END:VCALENDAR\r\n"},
        {"big.ics", std::string(CSyncFolder::kMaxFileBytes + 1, 'x')}};
    for (const auto& [name, text] : bad)
        ASSERT_TRUE(CAtomicFile::Write(folder + "/" + name, text, nullptr));
    CSyncFolder::Report r = a->Rescan();
    EXPECT_EQ(r.unreadable.size(), bad.size());
    EXPECT_EQ(a->store.notes().size(), 1u);
    for (const auto& [name, text] : bad)
        EXPECT_EQ(ReadFile(folder + "/" + name), text) << name;
}

// Kill -9 at random moments of mirroring: no partial file, and after a restart the rescan
// neither duplicates a note nor calls a note written half-way a conflict.
TEST_F(SyncFolderTest, KillDuringMirrorLeavesNoPartialFileAndNoDuplicate) {
    constexpr int kNotes = 150;
    const std::string roundFile = root + "/a/round";
    auto storeFor = [&](Machine& m, int round) {
        m.store.Clear();
        m.store.AddCategory(CTreeNode::MakeRoot());
        for (int i = 0; i < kNotes; ++i) {
            CNote& n = m.Add("Note " + std::to_string(i));
            n.m_uid = "n" + std::to_string(i) + "@test";
            n.m_text = "round " + std::to_string(round);
        }
    };
    std::mt19937 rng(4711);
    int round = 0;
    for (int attempt = 0; attempt < 30; ++attempt) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Machine m(root + "/a", folder);
            for (int r = round + 1;; ++r) {
                storeFor(m, r);
                // "Note.Dat" is saved before the folder is mirrored.
                if (!CAtomicFile::Write(roundFile, std::to_string(r), nullptr)) _exit(2);
                std::string why;
                m.sync.Mirror(m.store, NowSeconds(), &why);
            }
        }
        usleep(std::uniform_int_distribution<useconds_t>(1000, 60000)(rng));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        round = std::atoi(ReadFile(roundFile).c_str());

        Machine m(root + "/a", folder);
        storeFor(m, round);
        for (const std::string& name : IcsFiles(folder)) {
            CICalMapping::Imported in;
            std::string error;
            ASSERT_TRUE(CICalMapping::Import(ReadFile(folder + "/" + name), CNote(), in, &error))
                << name << ": " << error;
            ASSERT_EQ(in.items.size(), 1u) << name;
        }
        CSyncFolder::Report r = m.Rescan();
        EXPECT_EQ(r.added + r.conflicts + r.removed, 0) << "after kill " << attempt;
        EXPECT_EQ(m.store.notes().size(), size_t(kNotes));
        m.Mirror();
        EXPECT_EQ(IcsFiles(folder).size(), size_t(kNotes));
        for (const auto& e : fs::directory_iterator(folder))
            EXPECT_NE(e.path().filename().string()[0], '.') << "temp left: " << e.path();
    }
    EXPECT_GT(round, 1);
}

} // namespace
