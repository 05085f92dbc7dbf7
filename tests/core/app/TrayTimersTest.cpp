#include "app/CTrayCore.h"
#include "app/Globals.h"
#include "platform/Clock.h"
#include "support/Fakes.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

// Records the network work the timer starts instead of doing it.
class TimerTray : public CTrayCore {
public:
    int checks = 0, mailStarts = 0, weatherChecks = 0, syncs = 0, destroyed = 0;
    bool online = true, syncResult = true;
    void CheckAlarms() override { ++checks; }
    void StartMailCheck(int target, int manual) override {
        ++mailStarts;
        CTrayCore::StartMailCheck(target, manual);
    }
    void RunMailThread() override {}
    void CheckWeather() override { ++weatherChecks; }
    bool SyncClock() override {
        ++syncs;
        return syncResult;
    }
    bool IsOnline() override { return online; }
    void DestroyWindow() override { ++destroyed; }
};

class TrayTimers : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
        tray.m_timers = &timers;
        tray.m_state = CTrayCore::StateIdle;
        tray.m_mailInterval = 0;
    }
    void AlarmIn(double seconds) {
        tray.m_earliestAlarm = Clock::Now() + COleDateTimeSpan(seconds / 86400.0);
    }
    TestEnv env;
    FakeTimers timers;
    TimerTray tray;
};

} // namespace

TEST_F(TrayTimers, AlarmCheckRunsWithinTwoPeriods) {
    AlarmIn(10); // exactly twice the period: not yet
    tray.OnTimer(105);
    EXPECT_EQ(tray.checks, 0);
    AlarmIn(9.5);
    tray.OnTimer(105);
    EXPECT_EQ(tray.checks, 1);
    AlarmIn(-3600); // long past: every tick
    tray.OnTimer(105);
    tray.OnTimer(105);
    EXPECT_EQ(tray.checks, 3);
    tray.m_checkPeriod = 7000; // 14 s window (7000 / 500)
    AlarmIn(13.5);
    tray.OnTimer(105);
    EXPECT_EQ(tray.checks, 4);
    AlarmIn(14);
    tray.OnTimer(105);
    EXPECT_EQ(tray.checks, 4);
}

TEST_F(TrayTimers, NoAlarmWhileManagerOrOptionsOpenButCountdownsUpdate) {
    FakeWindowFactory windows;
    tray.m_notes.push_back(new CNote);
    tray.m_notes[0]->m_showCountdown = 1;
    tray.m_notes[0]->OpenWindow(-1, -1, false, windows);
    AlarmIn(-1);
    tray.m_state = CTrayCore::StateManagerOpen;
    tray.OnTimer(105);
    tray.m_state = CTrayCore::StateOptionsOpen;
    tray.OnTimer(105);
    EXPECT_EQ(tray.checks, 0);
    EXPECT_EQ(windows.windows[0]->countdownUpdates, 2);
    tray.DeleteAllData(); // before the windows go
}

TEST_F(TrayTimers, NetworkCountdownsAndFallbacks) {
    tray.m_mailInterval = 60;
    tray.m_mailCountdown = 4000;
    tray.OnTimer(105); // 4000 - 5000 < 0: start the automatic check
    EXPECT_EQ(tray.mailStarts, 1);
    EXPECT_EQ(tray.m_mailTarget, 999);
    EXPECT_EQ(tray.m_mailManual, 0);

    tray.m_mailCountdown = 4000;
    tray.online = false;
    tray.OnTimer(105);
    EXPECT_EQ(tray.m_mailCountdown, 30000);
    EXPECT_EQ(tray.mailStarts, 1);

    tray.online = true;
    tray.m_mailCountdown = 4000;
    tray.m_state = CTrayCore::StateOptionsOpen;
    tray.OnTimer(105);
    EXPECT_EQ(tray.m_mailCountdown, 30000);
    EXPECT_EQ(tray.mailStarts, 1);

    tray.m_state = CTrayCore::StateIdle;
    tray.m_mailCountdown = 4000;
    g_mailBusy = 1; // a check still running: no second start, countdown keeps falling
    tray.OnTimer(105);
    EXPECT_EQ(tray.m_mailCountdown, -1000);
    g_mailBusy = 0;

    tray.m_mailInterval = 0;
    tray.m_weatherEnabled = 1;
    tray.m_weatherCountdown = 5000; // 0 is not negative yet
    tray.OnTimer(105);
    EXPECT_EQ(tray.weatherChecks, 0);
    tray.OnTimer(105);
    EXPECT_EQ(tray.weatherChecks, 1);
    tray.m_weatherCountdown = 1;
    tray.online = false;
    tray.OnTimer(105);
    EXPECT_EQ(tray.m_weatherCountdown, 30000);

    tray.m_weatherEnabled = 0;
    tray.m_clockSync = 1;
    tray.online = true;
    tray.m_clockSyncCountdown = 1;
    tray.OnTimer(105);
    EXPECT_EQ(tray.syncs, 1);
    EXPECT_EQ(tray.m_clockSyncCountdown, 86400000);
    tray.syncResult = false;
    tray.m_clockSyncCountdown = 1;
    tray.OnTimer(105);
    EXPECT_EQ(tray.m_clockSyncCountdown, 300000);
    tray.m_clockSyncCountdown = 1;
    tray.m_state = CTrayCore::StateOptionsOpen;
    tray.OnTimer(105);
    EXPECT_EQ(tray.syncs, 2);
    EXPECT_EQ(tray.m_clockSyncCountdown, 300000);
}

TEST_F(TrayTimers, RefreshPeriodFollowsTheHour) {
    Clock::SetForTest(COleDateTime(2003, 5, 13, 17, 59, 0));
    tray.StartTimers();
    EXPECT_EQ(timers.active[123], 7200000);
    EXPECT_EQ(timers.active[105], 5000);
    Clock::SetForTest(COleDateTime(2003, 5, 13, 18, 0, 0));
    tray.StartTimers();
    EXPECT_EQ(timers.active[123], 1800000);
    tray.StopTimers();
    EXPECT_TRUE(timers.active.empty());
}

TEST_F(TrayTimers, RefreshTimerSkipsRecentRefreshesAndRearms) {
    auto* note = new CNote;
    note->m_type = CNote::OneTime;
    note->m_alarmTime = COleDateTime(2003, 5, 14, 9, 0, 0);
    tray.m_notes.push_back(note);
    Clock::SetForTest(COleDateTime(2003, 5, 13, 17, 0, 0));
    tray.OnTimer(123); // the first message only records the time
    EXPECT_TRUE(timers.history.empty());
    Clock::SetForTest(COleDateTime(2003, 5, 13, 17, 59, 0));
    tray.OnTimer(123); // same day, within the hour
    EXPECT_TRUE(timers.history.empty());
    EXPECT_EQ(note->m_dueSoon, 0);
    Clock::SetForTest(COleDateTime(2003, 5, 14, 2, 30, 0)); // next day, alarm 6.5 h away
    tray.OnTimer(123);
    EXPECT_EQ(note->m_dueSoon, 1);
    ASSERT_EQ(timers.history.size(), 1u);
    EXPECT_EQ(timers.history[0], std::make_pair(123, 7200000));
    Clock::SetForTest(COleDateTime(2003, 5, 14, 18, 0, 0));
    tray.m_state = CTrayCore::StateRinging; // skipped while ringing
    tray.OnTimer(123);
    EXPECT_EQ(timers.history.size(), 1u);
    tray.m_state = CTrayCore::StateIdle;
    tray.OnTimer(123);
    EXPECT_EQ(timers.history.back(), std::make_pair(123, 1800000));
}

TEST(TrayCoreMail, WithoutAMailSubsystemACheckEndsAtOnce) {
    CTrayCore tray;
    tray.m_mailAccounts.push_back(new CMailAccount);
    tray.StartMailCheck(0, 1);
    EXPECT_EQ(tray.m_mailManual, 1);
    EXPECT_EQ(tray.m_mailTarget, -1); // the account is not left greyed as "being checked"
}

TEST_F(TrayTimers, ExitWaitsAtMostHundredTicksForTheMailThread) {
    g_mailBusy = 1;
    for (int i = 0; i < 100; ++i)
        tray.OnTimer(197);
    EXPECT_EQ(tray.destroyed, 0);
    tray.OnTimer(197);
    EXPECT_EQ(tray.destroyed, 1);
    g_mailBusy = 0;

    TimerTray quick;
    quick.OnTimer(197);
    EXPECT_EQ(quick.destroyed, 1);
}

TEST_F(TrayTimers, StartupRepostsNotesThenChecksThenStartsTimers) {
    FakeWindowFactory windows;
    FakeDialogs dialogs;
    tray.m_windowFactory = &windows;
    tray.m_dialogs = &dialogs;
    tray.LoadData(); // welcome note, posted
    auto* hidden = new CNote;
    tray.m_notes.push_back(hidden);
    ASSERT_TRUE(tray.SaveData());
    tray.CloseNoteWindows(true);
    ASSERT_TRUE(tray.SaveData());

    TimerTray fresh;
    fresh.m_windowFactory = &windows;
    fresh.m_timers = &timers;
    fresh.m_dialogs = &dialogs;
    fresh.Startup();
    EXPECT_EQ(fresh.m_state, CTrayCore::StateIdle);
    ASSERT_EQ(fresh.m_notes.size(), 2u);
    EXPECT_NE(fresh.m_notes[0]->m_window, nullptr);
    EXPECT_EQ(fresh.m_notes[1]->m_window, nullptr);
    EXPECT_EQ(fresh.checks, 1);
    EXPECT_EQ(timers.active.count(105), 1u);
    // The shutdown save stores the rectangles and keeps the posted flags.
    fresh.ShutdownSave();
    EXPECT_EQ(fresh.m_notes[0]->m_window, nullptr);
    EXPECT_EQ(fresh.m_notes[0]->m_posted, 1);
    EXPECT_EQ(fresh.m_notes[0]->m_windowRect, (RECT{10, 20, 214, 173}));
    tray.DeleteAllData();
}
