#include "TrayTestSupport.h"
#include "app/CTrayClicks.h"
#include "app/CTrayCommands.h"
#include "app/Globals.h"
#include "app/TrayIds.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

constexpr int kDoubleClickMs = 400;

class TrayClicksTest : public ::testing::Test {
protected:
    TrayClicksTest()
        : commands(core, actions), clicks(
                                       core,
                                       [this](int id) {
                                           posted.push_back(id);
                                           commands.OnCommand(id);
                                       },
                                       [this] { ++menus; }) {
        Clock::SetForTest(COleDateTime(2024, 3, 5, 10, 0, 0));
        core.m_timers = &timers;
        core.m_windowFactory = &windows;
        core.m_state = CTrayCore::StateIdle;
        clicks.SetDoubleClickTime(kDoubleClickMs);
        timers.fire = [this](int id) {
            if (id == CTrayCore::TimerClick)
                clicks.OnClickTimer();
            else
                core.OnTimer(id);
        };
        g_lastWasDoubleClick = 0;
        g_timeDialogCount = 0;
    }
    ~TrayClicksTest() override { core.m_timers = nullptr; }

    void Press(bool shift = false, bool ctrl = false) {
        clicks.OnActivated(CTrayClicks::Press, shift, ctrl);
    }
    void Double() { clicks.OnActivated(CTrayClicks::DoubleClick, false, false); }
    int Notes() const { return static_cast<int>(core.m_notes.size()); }

    TestEnv env;
    FakeWindowFactory windows; // outlives the core, which closes the windows
    CountingCore core;
    CountingActions actions;
    ClockedTimers timers;
    CTrayCommands commands;
    std::vector<int> posted;
    int menus = 0;
    CTrayClicks clicks;
};

// Trays differ in how they report a double click: two presses and a double-click report
// (Qt 6 on an XEmbed tray), a press and a double-click report, or only two presses. Each
// makes exactly one note, and the first press never reaches the Note Manager.
TEST_F(TrayClicksTest, EveryFormOfDoubleClickMakesOneNoteAndNoManager) {
    const std::vector<std::vector<CTrayClicks::Activation>> forms = {
        {CTrayClicks::Press, CTrayClicks::Press, CTrayClicks::DoubleClick},
        {CTrayClicks::Press, CTrayClicks::DoubleClick},
        {CTrayClicks::Press, CTrayClicks::Press},
    };
    int expected = 0;
    for (const auto& form : forms) {
        for (size_t i = 0; i < form.size(); ++i) {
            if (i > 0) timers.Advance(120);
            clicks.OnActivated(form[i], false, false);
        }
        ++expected;
        EXPECT_EQ(Notes(), expected);
        EXPECT_FALSE(timers.IsActive(CTrayCore::TimerClick));
        timers.Advance(5 * kDoubleClickMs);
        EXPECT_EQ(Notes(), expected) << "form " << expected;
        EXPECT_EQ(core.managerOpens, 0) << "form " << expected;
        EXPECT_EQ(g_lastWasDoubleClick, 0);
    }
    ASSERT_EQ(windows.OpenCount(), 3);
    EXPECT_FALSE(windows.windows[0]->readOnly);

    // A later single click is a single click again.
    Press();
    timers.Advance(kDoubleClickMs);
    EXPECT_EQ(core.managerOpens, 1);
    EXPECT_EQ(Notes(), 3);
}

TEST_F(TrayClicksTest, SingleClickOpensTheManagerOnlyAfterTheDoubleClickTime) {
    Press();
    EXPECT_TRUE(clicks.IsClickPending());
    EXPECT_EQ(timers.Period(CTrayCore::TimerClick), kDoubleClickMs);
    timers.Advance(kDoubleClickMs - 1);
    EXPECT_EQ(core.managerOpens, 0);
    timers.Advance(1);
    EXPECT_EQ(core.managerOpens, 1);
    EXPECT_FALSE(timers.IsActive(CTrayCore::TimerClick));
    EXPECT_FALSE(clicks.IsClickPending());
    EXPECT_EQ(core.m_pendingClickKeys, 0);
    timers.Advance(10 * kDoubleClickMs);
    EXPECT_EQ(core.managerOpens, 1);
    EXPECT_EQ(Notes(), 0);

    // Presses further apart than the double-click time are two single clicks.
    Press();
    timers.Advance(kDoubleClickMs + 1);
    Press();
    timers.Advance(kDoubleClickMs);
    EXPECT_EQ(core.managerOpens, 3);
    EXPECT_EQ(Notes(), 0);
}

TEST_F(TrayClicksTest, ShiftAndCtrlClicksActWhenTheDoubleClickTimeIsOver) {
    auto* kept = new CNote;
    core.m_notes.push_back(kept);
    kept->OpenWindow(-1, -1, false, windows);

    Press(/*shift=*/true);
    EXPECT_EQ(core.m_pendingClickKeys, TrayId::KeyShift);
    timers.Advance(kDoubleClickMs - 1);
    EXPECT_EQ(Notes(), 1);
    timers.Advance(1);
    EXPECT_EQ(Notes(), 2);
    EXPECT_EQ(core.managerOpens, 0);

    Press(false, /*ctrl=*/true);
    EXPECT_EQ(core.m_pendingClickKeys, TrayId::KeyControl);
    timers.Advance(kDoubleClickMs);
    EXPECT_EQ(posted, std::vector<int>{TrayId::CmdShowNotes});
    EXPECT_EQ(windows.windows[0]->raised, 1);
    EXPECT_EQ(windows.windows[1]->raised, 1);
    EXPECT_EQ(Notes(), 2);

    // Shift wins over Ctrl.
    Press(true, true);
    EXPECT_EQ(core.m_pendingClickKeys, TrayId::KeyShift);
    timers.Advance(kDoubleClickMs);
    EXPECT_EQ(Notes(), 3);
    EXPECT_EQ(posted.size(), 1u);
    EXPECT_EQ(core.managerOpens, 0);
}

TEST_F(TrayClicksTest, DoubleClickDropsThePendingClickWithItsKeys) {
    Press(false, /*ctrl=*/true);
    timers.Advance(kDoubleClickMs - 10);
    Press(false, true);
    EXPECT_EQ(Notes(), 1);
    EXPECT_FALSE(clicks.IsClickPending());
    EXPECT_EQ(core.m_pendingClickKeys, 0);
    timers.Advance(10 * kDoubleClickMs);
    EXPECT_TRUE(posted.empty());
    EXPECT_EQ(core.managerOpens, 0);
    EXPECT_EQ(Notes(), 1);
}

TEST_F(TrayClicksTest, ClicksOutsideTheIdleStateFollowTheirRules) {
    const int busyStates[] = {CTrayCore::StateRinging, CTrayCore::StateManagerOpen,
                              CTrayCore::StateOptionsOpen, CTrayCore::StateFileTransfer};
    int expectedManager = 0;
    for (int state : busyStates) {
        SCOPED_TRACE(state);
        core.m_state = state;
        // No note from a double click or a Shift+click.
        Press();
        timers.Advance(100);
        Double();
        Press(true);
        timers.Advance(kDoubleClickMs);
        EXPECT_EQ(Notes(), 0);
        // No menu.
        clicks.OnActivated(CTrayClicks::Context, false, false);
        EXPECT_EQ(menus, 0);
        // The plain click goes to the manager unless the manager is already open.
        Press();
        timers.Advance(kDoubleClickMs);
        if (state != CTrayCore::StateManagerOpen) ++expectedManager;
        EXPECT_EQ(core.managerOpens, expectedManager);
        // Ctrl+click still raises the notes.
        size_t before = posted.size();
        Press(false, true);
        timers.Advance(kDoubleClickMs);
        EXPECT_EQ(posted.size(), before + 1);
        EXPECT_EQ(core.m_state, state);
    }
    core.m_state = CTrayCore::StateIdle;
    clicks.OnActivated(CTrayClicks::Context, false, false);
    EXPECT_EQ(menus, 1);
}

} // namespace
