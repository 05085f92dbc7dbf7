#include "core/app/COfflineWait.h"
#include "core/app/CRingIconFlash.h"
#include "core/app/CTrayCore.h"
#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

class TrayTimers : public ::testing::Test {
protected:
    void SetUp() override { Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0)); }
    TestEnv env;
    FakePlatform platform;
    FakeTimers& timers = platform.timers;
    FakeServices& services = platform.services;
    FakeHub tray{platform};
};

} // namespace

// The alarm check stays off there (see the alarm tests); the countdown lines still tick.
TEST_F(TrayTimers, CountdownsUpdateWhileManagerOrOptionsOpen) {
    CNote& note = NoteBuilder().At(Clock::Now() + COleDateTimeSpan(0, 1, 0, 0)).AddTo(tray.Store());
    note.m_showCountdown = 1;
    note.OpenWindow(-1, -1, false, platform.windows);
    for (int state : {CTrayCore::StateManagerOpen, CTrayCore::StateOptionsOpen}) {
        tray.SetState(state);
        tray.OnTimer(105);
    }
    EXPECT_EQ(platform.windows.windows[0]->countdownUpdates, 2);
}

TEST_F(TrayTimers, NetworkCountdownsAndFallbacks) {
    tray.settings().m_mailInterval = 60;
    tray.countdowns().mail = 4000;
    tray.OnTimer(105); // 4000 - 5000 < 0: start the automatic check
    EXPECT_EQ(services.mailChecks.size(), 1u);
    EXPECT_EQ(tray.MailTarget(), IMailService::kAllAccounts);
    EXPECT_EQ(tray.MailManual(), 0);

    tray.countdowns().mail = 4000;
    services.online = false;
    tray.OnTimer(105);
    EXPECT_EQ(tray.countdowns().mail, 30000);
    EXPECT_EQ(services.mailChecks.size(), 1u);
    EXPECT_NE(tray.Tip().Text("").find("Offline"), std::string::npos) << "the wait is told";

    services.online = true;
    tray.countdowns().mail = 4000;
    tray.SetState(CTrayCore::StateOptionsOpen);
    tray.OnTimer(105);
    EXPECT_EQ(tray.Tip().Text("hint"), "hint") << "online again: the line goes";
    tray.countdowns().mail = 4000;
    tray.OnTimer(105);
    EXPECT_EQ(tray.countdowns().mail, 30000);
    EXPECT_EQ(services.mailChecks.size(), 1u);

    tray.SetState(CTrayCore::StateIdle);
    tray.countdowns().mail = 4000;
    platform.services.mailRunning =
        true; // a check still running: no second start, countdown keeps falling
    tray.OnTimer(105);
    EXPECT_EQ(tray.countdowns().mail, -1000);
    platform.services.mailRunning = false;

    tray.settings().m_mailInterval = 0;
    tray.settings().m_weatherEnabled = 1;
    tray.countdowns().weather = 5000; // 0 is not negative yet
    tray.OnTimer(105);
    EXPECT_EQ(services.weatherChecks, 0);
    tray.OnTimer(105);
    EXPECT_EQ(services.weatherChecks, 1);
    tray.countdowns().weather = 1;
    services.online = false;
    tray.OnTimer(105);
    EXPECT_EQ(tray.countdowns().weather, 30000);

    tray.settings().m_weatherEnabled = 0;
    tray.settings().m_clockSync = 1;
    services.online = true;
    tray.countdowns().clockSync = 1;
    tray.OnTimer(105);
    EXPECT_EQ(services.syncs, 1);
    EXPECT_EQ(tray.countdowns().clockSync, 86400000);
    services.syncResult = false;
    tray.countdowns().clockSync = 1;
    tray.OnTimer(105);
    EXPECT_EQ(tray.countdowns().clockSync, 300000);
    tray.countdowns().clockSync = 1;
    tray.SetState(CTrayCore::StateOptionsOpen);
    tray.OnTimer(105);
    EXPECT_EQ(services.syncs, 2);
    EXPECT_EQ(tray.countdowns().clockSync, 300000);
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
    CNote* note = &tray.Store().AddNote(std::make_unique<CNote>());
    note->m_type = CNote::OneTime;
    note->m_alarmTime = COleDateTime(2003, 5, 14, 9, 0, 0);
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
    tray.SetState(CTrayCore::StateRinging); // skipped while ringing
    tray.OnTimer(123);
    EXPECT_EQ(timers.history.size(), 1u);
    tray.SetState(CTrayCore::StateIdle);
    tray.OnTimer(123);
    EXPECT_EQ(timers.history.back(), std::make_pair(123, 1800000));
}

TEST(TrayCoreMail, WithoutAMailSubsystemACheckEndsAtOnce) {
    CTrayCore tray;
    tray.Store().AddAccount(std::make_unique<CMailAccount>());
    tray.StartMailCheck(0, 1);
    EXPECT_EQ(tray.MailManual(), 1);
    EXPECT_EQ(tray.MailTarget(), -1); // the account is not left greyed as "being checked"
}

TEST_F(TrayTimers, ExitWaitsAtMostHundredTicksForTheMailThread) {
    platform.services.mailRunning = true;
    for (int i = 0; i < 100; ++i)
        tray.OnTimer(197);
    EXPECT_EQ(tray.destroys, 0);
    tray.OnTimer(197);
    EXPECT_EQ(tray.destroys, 1);
    platform.services.mailRunning = false;

    FakeHub quick{platform};
    quick.OnTimer(197);
    EXPECT_EQ(quick.destroys, 1);
}

TEST_F(TrayTimers, StartupRepostsNotesThenChecksThenStartsTimers) {
    tray.LoadData();                                 // welcome note, posted
    tray.Store().AddNote(std::make_unique<CNote>()); // a memo, not posted
    NoteBuilder().At(Clock::Now() - COleDateTimeSpan(0, 0, 1, 0)).AddTo(tray.Store()); // due
    ASSERT_TRUE(tray.SaveData());
    tray.CloseNoteWindows(true);
    ASSERT_TRUE(tray.SaveData());
    tray.DeleteAllData();
    platform.timers.active.clear();

    FakeHub fresh{platform};
    fresh.SetState(CTrayCore::StateStarting);
    fresh.Startup();
    const auto& notes = fresh.Store().notes();
    ASSERT_EQ(notes.size(), 3u);
    ASSERT_NE(notes[0]->Window(), nullptr);
    EXPECT_FALSE(notes[0]->Window()->IsRinging()); // reposted quietly
    EXPECT_EQ(notes[1]->Window(), nullptr);
    // The check ran once, after the reposting: the due note's window was opened to ring.
    ASSERT_NE(notes[2]->Window(), nullptr);
    EXPECT_EQ(static_cast<FakeNoteWindow*>(notes[2]->Window())->alarmsStarted, 1);
    EXPECT_EQ(fresh.State(), CTrayCore::StateRinging);
    EXPECT_EQ(fresh.Alarms().EarliestAlarm(), notes[2]->m_alarmTime);
    EXPECT_EQ(timers.active.count(105), 1u);
    // The shutdown save stores the rectangles and keeps the posted flags.
    fresh.ShutdownSave();
    EXPECT_EQ(notes[0]->Window(), nullptr);
    EXPECT_EQ(notes[0]->m_posted, 1);
    EXPECT_EQ(notes[0]->m_windowRect, (RECT{10, 20, 214, 173}));
}

// The online test may be wrong: checks that waited for the network long enough try it anyway.
TEST(OfflineWait, WaitsThenTriesAnywayEveryFewMinutes) {
    COfflineWait wait;
    constexpr std::int64_t kLong = COfflineWait::kTryAnywayMs;
    EXPECT_FALSE(wait.MayRun(false, 1000));
    EXPECT_TRUE(wait.Offline());
    EXPECT_FALSE(wait.MayRun(false, 1000 + kLong - 1));
    EXPECT_TRUE(wait.MayRun(false, 1000 + kLong));
    EXPECT_FALSE(wait.MayRun(false, 1000 + kLong + 1));
    EXPECT_TRUE(wait.MayRun(false, 1000 + 2 * kLong));
    EXPECT_TRUE(wait.MayRun(true, 1000 + 2 * kLong + 1));
    EXPECT_FALSE(wait.Offline());
}

// The icon flashes only for a ring nobody hears, and keeps the icon the program set meanwhile.
TEST(RingIconFlash, FlashesOnlyASilentRingOverTheProgramsIcon) {
    FakeSound silent, heard;
    heard.device = true;
    EXPECT_TRUE(CRingIconFlash::Wanted(CTrayCore::StateRinging, &silent));
    EXPECT_TRUE(CRingIconFlash::Wanted(CTrayCore::StateRinging, nullptr));
    EXPECT_FALSE(CRingIconFlash::Wanted(CTrayCore::StateRinging, &heard));
    EXPECT_FALSE(CRingIconFlash::Wanted(CTrayCore::StateIdle, &silent));

    CRingIconFlash flash;
    flash.SetIcon(TrayId::IconNormal);
    flash.Step();
    EXPECT_EQ(flash.Icon(), TrayId::IconNormal) << "no flash before it is wanted";
    ASSERT_TRUE(flash.Follow(true));
    flash.Step();
    EXPECT_EQ(flash.Icon(), TrayId::IconRinging);
    flash.SetIcon(TrayId::IconCheckingMail);
    flash.Step();
    EXPECT_EQ(flash.Icon(), TrayId::IconCheckingMail);
    flash.Step();
    EXPECT_FALSE(flash.Follow(false));
    EXPECT_EQ(flash.Icon(), TrayId::IconCheckingMail) << "the ring ended on the lit picture";
}
