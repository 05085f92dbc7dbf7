#include "TrayTestSupport.h"
#include "app/CHelpFile.h"
#include "app/CTrayCommands.h"
#include "app/Globals.h"
#include "app/ITrayActions.h"
#include "app/TrayIds.h"
#include "support/TestEnv.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace TrayId;

namespace {

class TrayCommandsTest : public ::testing::Test, public ITrayActions {
protected:
    TrayCommandsTest() : commands(core, *this) {
        core.m_timers = &timers;
        core.m_tray = &tray;
        core.m_dialogs = &dialogs;
        core.m_windowFactory = &windows;
        core.m_state = CTrayCore::StateIdle;
        g_mailBusy = 0;
    }
    ~TrayCommandsTest() override {
        g_mailBusy = 0;
        core.m_timers = nullptr;
    }
    void ShowHelpContents() override {}
    void OpenHomePage() override {}
    void ShowAbout() override {}

    TestEnv env;
    FakeWindowFactory windows; // outlives the core, which closes the windows
    CountingCore core;
    FakeTimers timers;
    FakeTray tray;
    FakeDialogs dialogs;
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
    EXPECT_EQ(core.m_notes[0]->m_posted, 0);
    EXPECT_EQ(core.m_notes.size(), 2u) << "closing a note's window keeps the note";

    for (int i = 0; i < 3; ++i)
        core.m_mailAccounts.push_back(new CMailAccount);
    commands.OnCommand(CmdFirstAccount + 3); // no such accounts
    commands.OnCommand(CmdLastAccount);
    EXPECT_EQ(core.m_mailTarget, -1);
    commands.OnCommand(CmdFirstAccount + 2);
    EXPECT_EQ(core.m_mailTarget, 2);
    EXPECT_EQ(core.m_mailManual, 1);
    core.m_mailTarget = -1;
    commands.OnCommand(CmdAllAccounts);
    EXPECT_EQ(core.m_mailTarget, 999);
}

// Both end in the idle state; from a menu opened before a note began to ring they would end
// the ringing state under the ringing window.
TEST_F(TrayCommandsTest, ExportAndImportRunOnlyWhenIdle) {
    core.m_state = CTrayCore::StateRinging;
    commands.OnCommand(CmdExport);
    commands.OnCommand(CmdImport);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(core.m_state, CTrayCore::StateRinging);

    core.m_state = CTrayCore::StateIdle;
    dialogs.answers.push_back(IDialogs::AnswerNo);
    commands.OnCommand(CmdImport);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Warning");
    EXPECT_EQ(core.m_state, CTrayCore::StateIdle);
}

TEST_F(TrayCommandsTest, ExitRemovesTheIconStopsTheTimersAndWaitsForAMailCheck) {
    for (int busy : {0, 1}) {
        SCOPED_TRACE(busy);
        core.StartTimers();
        core.destroys = tray.removed = 0;
        g_mailBusy = busy;
        commands.OnCommand(CmdExit);
        EXPECT_EQ(core.m_state, CTrayCore::StateExiting);
        EXPECT_EQ(tray.removed, 1);
        using Timers = std::map<int, int>;
        EXPECT_EQ(timers.active, (busy ? Timers{{CTrayCore::TimerExitWait, 5000}} : Timers{}));
        EXPECT_EQ(core.destroys, 1 - busy);
    }
    g_mailBusy = 0;
    core.OnTimer(CTrayCore::TimerExitWait);
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
