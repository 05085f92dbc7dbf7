#include "TrayTestSupport.h"
#include "app/CHelpFile.h"
#include "app/CTrayCommands.h"
#include "app/Globals.h"
#include "app/TrayIds.h"
#include "support/TestEnv.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace TrayId;

namespace {

class TrayCommandsTest : public ::testing::Test {
protected:
    TrayCommandsTest() : commands(core, actions) {
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

    CNote* AddPostedNote() {
        auto* n = new CNote;
        n->m_posted = 1;
        core.m_notes.push_back(n);
        n->OpenWindow(-1, -1, false, windows);
        return n;
    }

    TestEnv env;
    FakeWindowFactory windows; // outlives the core, which closes the windows
    CountingCore core;
    CountingActions actions;
    FakeTimers timers;
    FakeTray tray;
    FakeDialogs dialogs;
    CTrayCommands commands;
};

TEST_F(TrayCommandsTest, NoteCommandsActOnTheNoteWindows) {
    CNote* a = AddPostedNote();
    CNote* ringing = AddPostedNote();
    windows.windows[1]->ringing = true;

    EXPECT_TRUE(commands.OnCommand(CmdNewNote));
    ASSERT_EQ(core.m_notes.size(), 3u);
    EXPECT_EQ(windows.OpenCount(), 3);

    EXPECT_TRUE(commands.OnCommand(CmdShowNotes));
    for (const auto& w : windows.windows)
        EXPECT_EQ(w->raised, 1);

    windows.windows[0]->rect = RECT{5, 6, 205, 156};
    EXPECT_TRUE(commands.OnCommand(CmdCloseNotes));
    EXPECT_EQ(a->m_window, nullptr);
    EXPECT_EQ(a->m_posted, 0);
    EXPECT_EQ(a->m_windowRect, (RECT{5, 6, 205, 156}));
    EXPECT_NE(ringing->m_window, nullptr) << "a ringing note stays";
    EXPECT_EQ(ringing->m_posted, 1);
    EXPECT_EQ(core.m_notes[2]->m_window, nullptr);
    EXPECT_EQ(windows.OpenCount(), 1);
    EXPECT_EQ(core.m_notes.size(), 3u) << "closing a note's window keeps the note";
}

TEST_F(TrayCommandsTest, MailCommandsStartTheCheckForExistingAccountsOnly) {
    for (int i = 0; i < 3; ++i)
        core.m_mailAccounts.push_back(new CMailAccount);
    EXPECT_TRUE(commands.OnCommand(CmdFirstAccount + 2));
    EXPECT_EQ(core.m_mailTarget, 2);
    EXPECT_EQ(core.m_mailManual, 1);

    core.m_mailTarget = -1;
    EXPECT_TRUE(commands.OnCommand(CmdFirstAccount + 3)); // no such account
    EXPECT_TRUE(commands.OnCommand(CmdLastAccount));
    EXPECT_EQ(core.m_mailTarget, -1);

    EXPECT_TRUE(commands.OnCommand(CmdAllAccounts));
    EXPECT_EQ(core.m_mailTarget, 999);
}

TEST_F(TrayCommandsTest, ExportAndImportRunOnlyWhenIdle) {
    core.m_state = CTrayCore::StateRinging;
    EXPECT_TRUE(commands.OnCommand(CmdExport));
    EXPECT_TRUE(commands.OnCommand(CmdImport));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(core.m_state, CTrayCore::StateRinging);

    core.m_state = CTrayCore::StateIdle;
    dialogs.answers.push_back(IDialogs::AnswerNo);
    EXPECT_TRUE(commands.OnCommand(CmdImport));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Warning");
    EXPECT_EQ(core.m_state, CTrayCore::StateIdle);
}

TEST_F(TrayCommandsTest, ExitEndsAtOnceWithoutAMailCheck) {
    core.StartTimers();
    commands.OnCommand(CmdExit);
    EXPECT_EQ(core.m_state, CTrayCore::StateExiting);
    EXPECT_EQ(tray.removed, 1);
    EXPECT_TRUE(timers.active.empty());
    EXPECT_EQ(core.destroys, 1);
}

TEST_F(TrayCommandsTest, ExitWaitsForTheRunningMailCheck) {
    core.StartTimers();
    g_mailBusy = 1;
    commands.OnCommand(CmdExit);
    EXPECT_EQ(core.m_state, CTrayCore::StateExiting);
    EXPECT_EQ(tray.removed, 1);
    EXPECT_EQ(timers.active, (std::map<int, int>{{CTrayCore::TimerExitWait, 5000}}));
    EXPECT_EQ(core.destroys, 0);
    for (int i = 0; i < 3; ++i)
        core.OnTimer(CTrayCore::TimerExitWait);
    EXPECT_EQ(core.destroys, 0);
    g_mailBusy = 0;
    core.OnTimer(CTrayCore::TimerExitWait);
    EXPECT_EQ(core.destroys, 1);
    EXPECT_FALSE(timers.active.count(CTrayCore::TimerExitWait));
}

TEST(HelpFile, FoundBesideTheBuildOrInTheInstalledDataFolder) {
    TestEnv env;
    namespace fs = std::filesystem;
    fs::path root = env.Dir();
    fs::create_directories(root / "build/help");
    std::ofstream(root / "build/help/index.html") << "<html></html>";
    EXPECT_EQ(CHelpFile::Find((root / "build").string()),
              (root / "build/help/index.html").string());

    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/jotterly/help");
    EXPECT_EQ(CHelpFile::Find((root / "usr/bin").string()), "");
    std::ofstream(root / "usr/share/jotterly/help/index.html") << "<html></html>";
    EXPECT_EQ(CHelpFile::Find((root / "usr/bin").string()),
              (root / "usr/share/jotterly/help/index.html").string());
    EXPECT_EQ(CHelpFile::Find(""), "");

    // The build puts the page beside the program.
    EXPECT_FALSE(CHelpFile::Find(JOTTERLY_BINARY_DIR).empty());
}

} // namespace
