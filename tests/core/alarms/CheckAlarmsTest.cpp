#include "app/CTrayCore.h"
#include "platform/Clock.h"
#include "support/Fakes.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

namespace {

COleDateTime T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return COleDateTime(y, mo, d, h, mi, s);
}

class Alarms : public testing::Test {
protected:
    void SetUp() override {
        core.m_windowFactory = &factory;
        core.m_state = CTrayCore::StateIdle;
        core.m_mailInterval = 0; // no network work on the ticks
        Clock::SetForTest(T(2003, 5, 13, 10, 0, 3));
    }

    CNote* AddOneTime(const COleDateTime& at, const std::string& title = "") {
        auto* n = new CNote;
        n->m_type = CNote::OneTime;
        n->m_startTime = at;
        n->m_title = title;
        n->Recompute();
        core.m_notes.push_back(n);
        return n;
    }

    FakeNoteWindow* WindowOf(const CNote* n) { return static_cast<FakeNoteWindow*>(n->m_window); }

    TestEnv env;
    FakeWindowFactory factory;
    CTrayCore core; // destroyed first: it closes the fake windows
};

} // namespace

TEST_F(Alarms, NotesDueTogetherRingInArrayOrder) {
    CNote* a = AddOneTime(T(2003, 5, 13, 10, 0, 0), "a");
    core.m_notes.push_back(new CNote); // a memo in between
    CNote* b = AddOneTime(T(2003, 5, 13, 10, 0, 0), "b");
    CNote* later = AddOneTime(T(2003, 5, 13, 11, 0, 0), "later");
    ASSERT_EQ(a->m_dueSoon, 1);
    ASSERT_EQ(later->m_dueSoon, 1);

    core.CheckAlarms();
    ASSERT_EQ(factory.windows.size(), 2u);
    EXPECT_EQ(factory.windows[0]->note, a);
    EXPECT_EQ(factory.windows[1]->note, b);
    EXPECT_EQ(factory.windows[0]->startIndex, 0);
    EXPECT_EQ(factory.windows[1]->startIndex, 2);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(factory.ringingFlags[i]);
        EXPECT_EQ(factory.positions[i], std::make_pair(-1, -1));
        EXPECT_FALSE(factory.windows[i]->startWasPosted);
        EXPECT_TRUE(factory.windows[i]->ringing);
    }
    EXPECT_EQ(later->m_window, nullptr);
    EXPECT_EQ(core.m_state, CTrayCore::StateRinging);

    // A ringing window is not started twice, and the check moves no alarm.
    core.CheckAlarms();
    EXPECT_EQ(factory.windows.size(), 2u);
    EXPECT_EQ(factory.windows[0]->alarmsStarted, 1);
    EXPECT_EQ(factory.windows[1]->alarmsStarted, 1);
    EXPECT_EQ(a->m_alarmTime, T(2003, 5, 13, 10, 0, 0));
}

TEST_F(Alarms, PostedNoteRingsInItsOwnWindow) {
    CNote* n = AddOneTime(T(2003, 5, 13, 9, 0, 0));
    n->OpenWindow(-1, -1, false, factory);
    core.CheckAlarms();
    ASSERT_EQ(factory.windows.size(), 1u);
    EXPECT_EQ(factory.windows[0]->alarmsStarted, 1);
    EXPECT_TRUE(factory.windows[0]->startWasPosted);
}

TEST_F(Alarms, BusyWindowRingsOnceItIsFree) {
    CNote* n = AddOneTime(T(2003, 5, 13, 9, 0, 0));
    n->OpenWindow(-1, -1, false, factory);
    WindowOf(n)->busy = true; // its note menu is open
    core.CheckAlarms();
    EXPECT_EQ(WindowOf(n)->alarmsStarted, 0);
    EXPECT_EQ(core.m_state, CTrayCore::StateIdle);

    WindowOf(n)->busy = false;
    core.CheckAlarms();
    EXPECT_EQ(WindowOf(n)->alarmsStarted, 1);
    EXPECT_EQ(core.m_state, CTrayCore::StateRinging);
}

TEST_F(Alarms, OnlyDueSoonNotesWithAPastValidAlarmRing) {
    CNote* notFlagged = AddOneTime(T(2003, 5, 13, 9, 0, 0));
    notFlagged->m_dueSoon = 0;
    CNote* now = AddOneTime(T(2003, 5, 13, 10, 0, 3)); // equal to now: not yet
    CNote* invalid = AddOneTime(T(2003, 5, 13, 9, 0, 0));
    invalid->m_alarmTime.SetStatus(COleDateTime::invalid);
    invalid->m_dueSoon = 1;
    core.CheckAlarms();
    EXPECT_TRUE(factory.windows.empty());
    EXPECT_EQ(core.m_state, CTrayCore::StateIdle);

    // The refresh of the due-soon flags lets the first one ring at the next check.
    core.RefreshDueFlags();
    EXPECT_EQ(invalid->m_dueSoon, 0);
    Clock::AdvanceForTest(1);
    core.CheckAlarms();
    ASSERT_EQ(factory.windows.size(), 2u);
    EXPECT_EQ(factory.windows[0]->note, notFlagged);
    EXPECT_EQ(factory.windows[1]->note, now);
}

TEST_F(Alarms, ImportExportOrNoNotesReturnAtOnce) {
    core.CheckAlarms();
    EXPECT_EQ(core.m_state, CTrayCore::StateIdle);

    AddOneTime(T(2003, 5, 13, 9, 0, 0));
    core.m_state = CTrayCore::StateFileTransfer;
    core.CheckAlarms();
    EXPECT_TRUE(factory.windows.empty());
    EXPECT_EQ(core.m_state, CTrayCore::StateFileTransfer);

    core.m_state = CTrayCore::StateIdle;
    core.m_windowFactory = nullptr; // no windows to be had: nothing rings, nothing breaks
    core.CheckAlarms();
    EXPECT_EQ(core.m_state, CTrayCore::StateIdle);
}

TEST_F(Alarms, EarliestAlarm) {
    core.ComputeEarliestAlarm();
    EXPECT_EQ(core.m_earliestAlarm, T(2200, 1, 1));
    CNote* late = AddOneTime(T(2003, 5, 13, 12, 0, 0));
    CNote* early = AddOneTime(T(2003, 5, 13, 11, 0, 0));
    CNote* tomorrow = AddOneTime(T(2003, 5, 14, 11, 0, 0)); // not due soon
    CNote* invalid = AddOneTime(T(2003, 5, 13, 9, 0, 0));
    invalid->m_alarmTime.SetStatus(COleDateTime::invalid);
    invalid->m_dueSoon = 1;
    ASSERT_EQ(tomorrow->m_dueSoon, 0);
    core.ComputeEarliestAlarm();
    EXPECT_EQ(core.m_earliestAlarm, early->m_alarmTime);

    core.OfferAlarmTime(late->m_alarmTime); // only lowers
    EXPECT_EQ(core.m_earliestAlarm, early->m_alarmTime);
    core.OfferAlarmTime(invalid->m_alarmTime);
    EXPECT_EQ(core.m_earliestAlarm, early->m_alarmTime);
    core.OfferAlarmTime(T(2003, 5, 13, 10, 30));
    EXPECT_EQ(core.m_earliestAlarm, T(2003, 5, 13, 10, 30));
}

TEST_F(Alarms, CheckTimerGate) {
    CNote* n = AddOneTime(T(2003, 5, 13, 10, 0, 0));
    core.m_earliestAlarm = T(2003, 5, 13, 10, 0, 13); // 10 s away: twice the period, not less
    core.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(n->m_window, nullptr);
    core.m_earliestAlarm = T(2003, 5, 13, 10, 0, 12); // 9 s away
    core.OnTimer(CTrayCore::TimerCheck);
    ASSERT_NE(n->m_window, nullptr);
    EXPECT_EQ(WindowOf(n)->alarmsStarted, 1);

    // A shorter period narrows the window: 2000 ms lets only alarms under 4 s through.
    CNote* m = AddOneTime(T(2003, 5, 13, 10, 0, 0));
    core.m_checkPeriod = 2000;
    core.m_earliestAlarm = T(2003, 5, 13, 10, 0, 7);
    core.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(m->m_window, nullptr);
    core.m_earliestAlarm = T(2003, 5, 13, 10, 0, 6);
    core.OnTimer(CTrayCore::TimerCheck);
    EXPECT_NE(m->m_window, nullptr);
}

TEST_F(Alarms, NoCheckWhileManagerOrOptionsAreOpen) {
    CNote* due = AddOneTime(T(2003, 5, 13, 9, 0, 0));
    CNote* posted = AddOneTime(T(2003, 5, 14, 9, 0, 0));
    posted->m_showCountdown = 1;
    posted->OpenWindow(-1, -1, false, factory);
    core.ComputeEarliestAlarm();

    core.m_state = CTrayCore::StateManagerOpen;
    core.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(due->m_window, nullptr);
    EXPECT_EQ(WindowOf(posted)->countdownUpdates, 1); // countdowns keep going

    core.m_state = CTrayCore::StateOptionsOpen;
    core.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(due->m_window, nullptr);

    core.m_state = CTrayCore::StateIdle;
    core.OnTimer(CTrayCore::TimerCheck);
    ASSERT_NE(due->m_window, nullptr);
    EXPECT_EQ(WindowOf(due)->alarmsStarted, 1);
}

TEST_F(Alarms, RingsAtTheFirstTickAtOrAfterTheAlarm) {
    Clock::SetForTest(T(2003, 5, 13, 9, 0, 0));
    CNote* n = AddOneTime(T(2003, 5, 13, 10, 0, 0));
    core.ComputeEarliestAlarm();
    Clock::SetForTest(T(2003, 5, 13, 9, 59, 51));
    COleDateTime rangAt;
    for (int tick = 0; tick < 10 && !n->m_window; ++tick) {
        core.OnTimer(CTrayCore::TimerCheck);
        if (n->m_window) rangAt = Clock::Now();
        Clock::AdvanceForTest(core.m_checkPeriod / 1000.0);
    }
    ASSERT_NE(n->m_window, nullptr);
    EXPECT_GT(rangAt, T(2003, 5, 13, 10, 0, 0));
    EXPECT_LE(rangAt, T(2003, 5, 13, 10, 0, 5));
}

TEST_F(Alarms, NoteThatBecomesDueSoonLaterStillRings) {
    // Nothing is due soon at load, so the earliest alarm is the far default; the note that
    // the night's refresh flags must still reach the check.
    Clock::SetForTest(T(2003, 5, 13, 20, 0, 0));
    CNote* n = AddOneTime(T(2003, 5, 14, 8, 0, 0));
    ASSERT_EQ(n->m_dueSoon, 0);
    core.ComputeEarliestAlarm();
    ASSERT_EQ(core.m_earliestAlarm, T(2200, 1, 1));

    Clock::SetForTest(T(2003, 5, 14, 2, 0, 0));
    core.RefreshDueFlags();
    EXPECT_EQ(n->m_dueSoon, 1);
    EXPECT_EQ(core.m_earliestAlarm, T(2003, 5, 14, 8, 0, 0));

    Clock::SetForTest(T(2003, 5, 14, 8, 0, 3));
    core.OnTimer(CTrayCore::TimerCheck);
    ASSERT_NE(n->m_window, nullptr);
    EXPECT_EQ(WindowOf(n)->alarmsStarted, 1);
}

TEST_F(Alarms, AlarmThatPassedWhileNotRunningRingsAtStartup) {
    {
        CTrayCore writer;
        Clock::SetForTest(T(2003, 5, 13, 8, 0, 0));
        auto* n = new CNote;
        n->m_type = CNote::OneTime;
        n->m_startTime = T(2003, 5, 13, 9, 0, 0);
        n->m_title = "Dentist";
        n->Recompute();
        writer.m_notes.push_back(n);
        auto* memo = new CNote;
        memo->m_posted = 1;
        writer.m_notes.push_back(memo);
        ASSERT_TRUE(writer.SaveData());
    }
    Clock::SetForTest(T(2003, 5, 13, 10, 0, 0));
    core.m_state = CTrayCore::StateStarting;
    core.Startup();
    ASSERT_EQ(core.m_notes.size(), 2u);
    ASSERT_NE(core.m_notes[0]->m_window, nullptr);
    EXPECT_EQ(WindowOf(core.m_notes[0])->alarmsStarted, 1);
    EXPECT_EQ(WindowOf(core.m_notes[1])->alarmsStarted, 0); // posted memo, reopened quietly
    EXPECT_EQ(core.m_state, CTrayCore::StateRinging);
    EXPECT_EQ(core.m_earliestAlarm, T(2003, 5, 13, 9, 0, 0));
    EXPECT_NE(core.m_logFile, nullptr);
}
