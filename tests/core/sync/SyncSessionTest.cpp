#include "core/ical/CICalMapping.h"
#include "core/ical/CNoteIdentity.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CSideConfig.h"
#include "core/sync/CExecLine.h"
#include "core/sync/CSyncSession.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ExecLine, SplitsAsADesktopEntryDoes) {
    struct Case {
        const char* line;
        std::vector<std::string> args; // empty: refused
    };
    const Case cases[] = {
        {"vdirsyncer sync", {"vdirsyncer", "sync"}},
        {"  vdirsyncer   sync  jotterly ", {"vdirsyncer", "sync", "jotterly"}},
        {R"("/opt/my tools/sync" --config "a \"b\" \\ \$c")",
         {"/opt/my tools/sync", "--config", R"(a "b" \ $c)"}},
        {"sync %f 100%%", {"sync", "100%"}},
        {"sh -c 'x; y'", {"sh", "-c", "'x;", "y'"}}, // no shell: single quotes are plain
        {"", {}},
        {"   ", {}},
        {"sync \"open", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args;
        std::string error;
        EXPECT_EQ(CExecLine::Split(c.line, args, &error), !c.args.empty()) << c.line;
        EXPECT_EQ(args, c.args) << c.line;
        EXPECT_EQ(error.empty(), !c.args.empty()) << c.line;
    }
    std::vector<std::string> args;
    EXPECT_FALSE(CExecLine::Split(std::string(CExecLine::kMaxLength + 1, 'a'), args, nullptr));
}

// The session in a hub: a note ringing here stops when another machine acknowledged it, the
// change is saved, and a folder problem is told once, not at every rescan.
TEST(SyncSession, AcknowledgedElsewhereStopsTheRingingAndTellsProblemsOnce) {
    TestEnv env;
    Clock::SetForTest(COleDateTime(2026, 12, 8, 8, 59, 0));
    FakePlatform platform;
    FakeHub hub(platform);
    const std::string folder = env.Dir() + "/sync";
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(env.DataFolder());
    CSideConfig config;
    config.Set(CSideConfig::kSyncFolder, folder + "/");
    ASSERT_TRUE(config.Save(env.DataFolder() + CSideConfig::kFileName));

    hub.Store().AddCategory(CTreeNode::MakeRoot());
    CNote& pills = NoteBuilder(CNote::Every)
                       .Title("Pills")
                       .At(COleDateTime(2026, 12, 8, 9, 0, 0))
                       .AddTo(hub.Store());
    pills.m_recurrence = CNote::Day * 1000 + 1;
    pills.m_uid = "pills@test";
    pills.m_posted = 1;
    CSyncSession session(hub, hub.DataPath());
    session.NotesSaved();
    ASSERT_TRUE(std::filesystem::exists(folder + "/pills@test.ics"));
    CNoteStore other;
    other.AddCategory(CTreeNode::MakeRoot());
    CSyncFolder there(folder, env.Dir() + "/other.dat");
    there.Open();
    there.Rescan(other, CNote(), CICalMapping::UtcSeconds(Clock::Now()),
                 [&](CNote& n) { other.RemoveNote(n); });
    ASSERT_EQ(other.notes().size(), 1u);

    // Due: it rings here, and the other machine acknowledges it.
    Clock::SetForTest(COleDateTime(2026, 12, 8, 9, 1, 0));
    pills.OpenWindow(-1, -1, true, platform.windows);
    pills.Window()->StartAlarm(0, true);
    hub.SetState(CTrayCore::StateRinging);
    other.notes()[0]->Recompute();
    ASSERT_TRUE(there.Mirror(other, CICalMapping::UtcSeconds(Clock::Now()), nullptr));

    auto* ringing = static_cast<FakeNoteWindow*>(pills.Window());
    const CSyncFolder::Report r = session.Rescan();
    EXPECT_EQ(r.acknowledged, std::vector<CNote*>{&pills});
    EXPECT_TRUE(ringing->destroyed);
    ASSERT_NE(pills.Window(), nullptr) << "posted before it rang: shown again, quietly";
    EXPECT_FALSE(pills.Window()->IsRinging());
    EXPECT_EQ(pills.m_alarmTime.Format("%F %T"), "2026-12-09 09:00:00");
    EXPECT_TRUE(CAtomicFile::Exists(hub.DataPath())) << "the change was saved";

    ASSERT_TRUE(CAtomicFile::Write(folder + "/broken.ics", "no calendar", nullptr));
    const size_t boxes = platform.dialogs.boxes.size();
    session.Rescan();
    session.Rescan();
    ASSERT_EQ(platform.dialogs.boxes.size(), boxes + 1);
    EXPECT_NE(platform.dialogs.boxes.back().text.find("broken.ics"), std::string::npos);
}

} // namespace
