#include "core/app/CHelpFile.h"
#include "core/app/CTrayCommands.h"
#include "core/app/ITrayActions.h"
#include "core/app/TrayIds.h"
#include "support/FakeHub.h"
#include "support/TestEnv.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace TrayId;

namespace {

class TrayCommandsTest : public ::testing::Test, public ITrayActions {
protected:
    TrayCommandsTest() : commands(core, *this) {}
    void ShowHelpContents() override {}
    void OpenHomePage() override {}
    void ShowAbout() override {}

    TestEnv env;
    FakePlatform platform; // outlives the core, which closes the windows
    FakeHub core{platform};
    FakeWindowFactory& windows = platform.windows;
    FakeTimers& timers = platform.timers;
    FakeTray& tray = platform.tray;
    FakeDialogs& dialogs = platform.dialogs;
    CTrayCommands commands;
};

TEST_F(TrayCommandsTest, NoteAndMailCommands) {
    commands.OnCommand(CmdNewNote);
    commands.OnCommand(CmdNewNote);
    ASSERT_EQ(windows.OpenCount(), 2);
    windows.windows[1]->ringing = true;
    commands.OnCommand(CmdShowNotes);
    EXPECT_EQ(windows.windows[0]->raised + windows.windows[1]->raised, 2);
    commands.OnCommand(CmdCloseNotes);
    EXPECT_EQ(windows.OpenCount(), 1) << "a ringing note stays";
    EXPECT_EQ(core.Store().notes()[0].get()->m_posted, 0);
    EXPECT_EQ(core.Store().notes().size(), 2u) << "closing a note's window keeps the note";

    for (int i = 0; i < 3; ++i)
        core.Store().AddAccount(std::make_unique<CMailAccount>());
    commands.OnCommand(CmdFirstAccount + 3); // no such accounts
    commands.OnCommand(CmdLastAccount);
    EXPECT_EQ(core.MailTarget(), -1);
    commands.OnCommand(CmdFirstAccount + 2);
    EXPECT_EQ(core.MailTarget(), 2);
    EXPECT_EQ(core.MailManual(), 1);
    core.EndMailCheck();
    commands.OnCommand(CmdAllAccounts);
    EXPECT_EQ(core.MailTarget(), IMailService::kAllAccounts);
}

TEST_F(TrayCommandsTest, AResumeRescansTheSyncFolder) {
    core.OnResume();
    EXPECT_EQ(platform.services.rescans, 1);
}

// Both end in the idle state; from a menu opened before a note began to ring they would end
// the ringing state under the ringing window.
TEST_F(TrayCommandsTest, ExportAndImportRunOnlyWhenIdle) {
    core.SetState(CTrayCore::StateRinging);
    commands.OnCommand(CmdExport);
    commands.OnCommand(CmdImport);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(core.State(), CTrayCore::StateRinging);
    core.SetState(CTrayCore::StateIdle);
    commands.OnCommand(CmdImport);
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "the import's question";
}

TEST_F(TrayCommandsTest, ExitRemovesTheIconStopsTheTimersAndWaitsForAMailCheck) {
    for (int busy : {0, 1}) {
        SCOPED_TRACE(busy);
        core.StartTimers();
        core.destroys = tray.removed = 0;
        platform.services.mailRunning = busy;
        commands.OnCommand(CmdExit);
        EXPECT_EQ(core.State(), CTrayCore::StateExiting);
        EXPECT_EQ(tray.removed, 1);
        using Timers = std::map<int, int>;
        EXPECT_EQ(timers.active, (busy ? Timers{{CTrayCore::TimerExitWait, 5000}} : Timers{}));
        EXPECT_EQ(core.destroys, 1 - busy);
    }
    core.OnTimer(CTrayCore::TimerExitWait); // still checking: still waiting
    EXPECT_EQ(core.destroys, 0);
    platform.services.mailRunning = false;
    core.EndMailCheck(); // the check ended: the exit goes on at once
    EXPECT_EQ(core.destroys, 1);
    EXPECT_TRUE(timers.active.empty());
}

TEST(HelpFile, FoundInTheInstalledDataFolder) {
    TestEnv env;
    const std::filesystem::path root = env.Dir(), page = root / "share/jotterly/help/index.html";
    std::filesystem::create_directories(root / "bin");
    EXPECT_EQ(CHelpFile::Find((root / "bin").string()), "");
    std::filesystem::create_directories(page.parent_path());
    std::ofstream(page) << "<html></html>";
    EXPECT_EQ(CHelpFile::Find((root / "bin").string()), page.string());
    EXPECT_EQ(CHelpFile::Find(""), "");
}

} // namespace
