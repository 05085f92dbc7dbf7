// The command line and the launcher words a running copy carries out.
#include "core/app/CDesktopNotice.h"
#include "core/app/CLaunchArgs.h"
#include "core/app/CLaunchQueue.h"
#include "core/app/CLaunchReply.h"
#include "core/app/CTrayCommands.h"
#include "core/app/Globals.h"
#include "core/app/ITrayActions.h"
#include "core/app/TrayIds.h"
#include "support/FakeHub.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using Kind = LaunchRequest::Kind;

namespace {
LaunchRequest Parse(std::vector<std::string> args) {
    return CLaunchArgs::Parse(args);
}
} // namespace

TEST(LaunchArgs, CommandLines) {
    EXPECT_EQ(Parse({}).kind, Kind::Run);
    EXPECT_FALSE(Parse({}).noLogo);
    EXPECT_TRUE(Parse({"nologo"}).noLogo);
    EXPECT_EQ(CLaunchArgs::CommandLine(Parse({"nologo"})), "nologo");
    EXPECT_EQ(CLaunchArgs::CommandLine(Parse({"new-note"})), "");

    const LaunchRequest both = Parse({"manager", "nologo"});
    EXPECT_EQ(both.kind, Kind::Run);
    EXPECT_TRUE(both.noLogo);
    EXPECT_EQ(both.word, "manager");

    // Help and version win over anything else and start nothing.
    EXPECT_EQ(Parse({"quit", "--help"}).kind, Kind::Help);
    EXPECT_EQ(Parse({"-h"}).kind, Kind::Help);
    EXPECT_EQ(Parse({"bogus", "--version"}).kind, Kind::Version);

    // Words are exact; two actions, or one twice, are as wrong as an unknown one.
    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"NOLOGO"},
                                               {"nologo", "x"},
                                               {"New-Note"},
                                               {"new-note", "manager"},
                                               {"quit", "quit"},
                                               {"nologo", "nologo"},
                                               {""},
                                               {"--verbose"},
                                               {"sync-conflict", "folder", "ours"},
                                               {"nologo", "sync-conflict", "f", "a", "b"}}) {
        const LaunchRequest r = Parse(wrong);
        EXPECT_EQ(r.kind, Kind::Usage) << wrong.back();
        EXPECT_FALSE(r.error.empty());
    }
    const LaunchRequest conflict = Parse({"sync-conflict", "f", "a", "b"});
    EXPECT_EQ(conflict.kind, Kind::SyncConflict);
    EXPECT_EQ(conflict.paths, (std::vector<std::string>{"f", "a", "b"}));
    EXPECT_NE(CLaunchArgs::UsageLine(Parse({"frobnicate"}).error).find("frobnicate"),
              std::string::npos);

    // A start without a word is the program's own word for the running copy, never the user's.
    EXPECT_EQ(CLaunchArgs::HandOverLine(Parse({})), CLaunchArgs::kStartedAgain);
    EXPECT_EQ(CLaunchArgs::HandOverLine(Parse({"nologo"})), CLaunchArgs::kStartedAgain);
    EXPECT_EQ(CLaunchArgs::HandOverLine(Parse({"show-notes"})), "show-notes");
    EXPECT_EQ(Parse({CLaunchArgs::kStartedAgain}).kind, Kind::Usage);
}

class LaunchQueueTest : public ::testing::Test, public ITrayActions {
protected:
    LaunchQueueTest() { g_timeDialogCount = 0; }
    ~LaunchQueueTest() override { g_timeDialogCount = 0; }
    void ShowHelpContents() override {}
    void OpenHomePage() override {}
    void ShowAbout() override {}

    TestEnv env;
    FakePlatform platform;
    FakeHub core{platform};
    CTrayCommands commands{core, *this};
    int menus = 0, runningNotices = 0;
    CLaunchQueue queue{core, [this](int id) {
                           if (id == CLaunchArgs::kOpenMenu)
                               ++menus;
                           else if (id == CLaunchArgs::kShowRunning)
                               ++runningNotices;
                           else
                               commands.OnCommand(id);
                       }};
};

TEST_F(LaunchQueueTest, WordsRunAsTheirMenuItemsOnceTheProgramIsFree) {
    EXPECT_FALSE(queue.Push("format-disk"));
    EXPECT_FALSE(queue.Push("new-note\n"));
    ASSERT_TRUE(queue.Push("new-note"));
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(platform.windows.OpenCount(), 1) << "exactly one note per word";

    // A second start waits for the first to be up, then shows the notes and is told at once,
    // even over a ring.
    core.SetState(CTrayCore::StateStarting);
    ASSERT_TRUE(queue.Push(CLaunchArgs::kStartedAgain));
    EXPECT_TRUE(queue.RunReady());
    EXPECT_EQ(runningNotices, 0);

    // While a note rings a new note and the manager wait; showing the notes does not.
    core.SetState(CTrayCore::StateRinging);
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(runningNotices, 1);
    EXPECT_EQ(platform.windows.windows[0]->raised, 1);
    ASSERT_TRUE(queue.Push("show-notes"));
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(platform.windows.windows[0]->raised, 2);
    ASSERT_TRUE(queue.Push("manager"));
    ASSERT_TRUE(queue.Push("new-note"));
    ASSERT_TRUE(queue.Push("menu"));
    EXPECT_TRUE(queue.RunReady());
    EXPECT_EQ(platform.services.managerOpens, 0);
    EXPECT_EQ(platform.windows.OpenCount(), 1);

    // A note's time dialog keeps the manager shut, as a tray click would find it.
    core.SetState(CTrayCore::StateIdle);
    g_timeDialogCount = 1;
    EXPECT_TRUE(queue.RunReady());
    g_timeDialogCount = 0;
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(platform.services.managerOpens, 1);
    EXPECT_EQ(platform.windows.OpenCount(), 2) << "in the order they came";
    EXPECT_EQ(menus, 1);

    // While the manager is open, its word brings it to the front (behind a waiting new note
    // too) and does not open it again once it is closed.
    core.SetState(CTrayCore::StateManagerOpen);
    ASSERT_TRUE(queue.Push(CLaunchArgs::kStartedAgain));
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(platform.services.managerRaises, 1) << "a second start shows the open manager";
    EXPECT_EQ(runningNotices, 2);
    ASSERT_TRUE(queue.Push("new-note"));
    ASSERT_TRUE(queue.Push("manager"));
    EXPECT_TRUE(queue.RunReady());
    EXPECT_EQ(platform.services.managerRaises, 2);
    core.SetState(CTrayCore::StateIdle);
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(platform.services.managerOpens, 1);
    EXPECT_EQ(platform.windows.OpenCount(), 3);
}

TEST_F(LaunchQueueTest, QuitEndsTheProgramAndNothingRunsAfterIt) {
    for (std::size_t i = 0; i < CLaunchQueue::kMaxPending; ++i)
        ASSERT_TRUE(queue.Push(i == 0 ? "quit" : "new-note"));
    EXPECT_FALSE(queue.Push("new-note")) << "a flood of words is not kept without end";
    core.SetState(CTrayCore::StateOptionsOpen);
    EXPECT_TRUE(queue.RunReady());
    EXPECT_EQ(core.destroys, 0) << "quit waits for the options to close";
    core.SetState(CTrayCore::StateIdle);
    EXPECT_FALSE(queue.RunReady());
    EXPECT_EQ(core.destroys, 1);
    EXPECT_EQ(core.State(), CTrayCore::StateExiting);
    EXPECT_EQ(platform.windows.OpenCount(), 0) << "no note after quit";
    EXPECT_FALSE(queue.Pending());
}

// A quit that has to wait says so to the launcher instead of a plain success.
TEST(LaunchReply, QuitThatWaitsSaysWhatFor) {
    EXPECT_EQ(CLaunchReply::For("quit", CTrayCore::StateRinging),
              "Jotterly will quit after the ringing note is answered.");
    EXPECT_EQ(CLaunchReply::For("quit", CTrayCore::StateManagerOpen),
              "Jotterly will quit after the Note Manager is closed.");
    EXPECT_EQ(CLaunchReply::For("quit", CTrayCore::StateIdle), "");
    EXPECT_EQ(CLaunchReply::For("new-note", CTrayCore::StateRinging), "");
    EXPECT_EQ(CLaunchReply::For(CLaunchArgs::kStartedAgain, CTrayCore::StateIdle),
              "Jotterly is already running.");
}

TEST(DesktopNotice, NamesWhatTheDesktopLimits) {
    EXPECT_EQ(CDesktopNotice::Text(false, false), "");
    const std::string noTray = CDesktopNotice::Text(true, false);
    for (const char* word :
         {"jotterly new-note", "jotterly manager", "jotterly show-notes", "jotterly close-notes",
          "jotterly quit", "jotterly menu", "\"New Note\"", "\"Note Manager\""})
        EXPECT_NE(noTray.find(word), std::string::npos) << word;
    EXPECT_EQ(noTray.find("Wayland"), std::string::npos);
    const std::string wayland = CDesktopNotice::Text(false, true);
    EXPECT_NE(wayland.find("Wayland"), std::string::npos);
    EXPECT_EQ(wayland.find("system tray"), std::string::npos);
    EXPECT_EQ(CDesktopNotice::Text(true, true), noTray + "\n\n" + wayland);
}
