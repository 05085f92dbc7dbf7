// The alarm check over the note array, the log file, and the ringing of a note window.
#include "core/alarms/CAlarmRinging.h"
#include "core/alarms/CClockJumpDetector.h"
#include "core/alarms/CRingNotice.h"
#include "core/alarms/IRingingWindow.h"
#include "core/app/CTrayCore.h"
#include "core/app/Globals.h"
#include "core/platform/Clock.h"
#include "core/platform/ProgramFolder.h"
#include "core/storage/CAtomicFile.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using OkResult = CAlarmRinging::OkResult;

COleDateTime T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return COleDateTime(y, mo, d, h, mi, s);
}

// A note window whose ringing is the real CAlarmRinging; what it would draw is recorded.
struct RingingWindow : INoteWindow, IRingingWindow {
    RingingWindow(IAlarmHost& tray, CNote& n) : note(&n), ringing(tray, n, *this, timers) {}

    CNote* note; // what a repaint of the real window reads

    FakeTimers timers;
    CAlarmRinging ringing;
    int entered = 0, left = 0;
    bool closed = false, busy = false;
    std::vector<int> pinStates;
    std::vector<Field> focus;

    bool IsRinging() const override { return ringing.IsRinging(); }
    bool IsBusy() const override { return busy; }
    void StartAlarm(int i, bool wasPosted) override { ringing.StartAlarm(i, wasPosted); }
    RECT GetWindowRect() const override { return {1, 2, 3, 4}; }
    void SetReadOnly(bool) override {}
    void BringToTop() override {}
    void UpdateCountdown() override {}
    void ReloadTexts() override {}
    void MoveTo(int, int) override {}
    void Destroy() override { closed = true; }
    void EnterRingingMode() override { ++entered; }
    void DrawPinBox(int state) override { pinStates.push_back(state); }
    void FocusField(Field f) override { focus.push_back(f); }
    void LeaveRingingMode() override { ++left; }
    void CloseAfterRinging() override {
        closed = true;
        note->WindowGone(this);
    }
    int okPressed = 0;
    void PressOk() override {
        ++okPressed;
        Ok();
    }

    // The ticks of the given seconds of ringing: a flash every half second, a beep every second.
    void Run(int seconds) {
        for (int s = 0; s < seconds; ++s)
            for (int id : {1, 0, 1})
                if (timers.active.count(id)) ringing.OnTimer(id);
    }
    OkResult Ok(const char* hours = "0", const char* minutes = "15", bool box = false) {
        return ringing.OnOK(hours, minutes, box);
    }
};

// Like the real window, an opened window posts its note.
struct RingingFactory : INoteWindowFactory {
    IAlarmHost* tray = nullptr;
    std::vector<std::unique_ptr<RingingWindow>> windows;
    INoteWindow* OpenNoteWindow(CNote& note, int, int, bool) override {
        windows.push_back(std::make_unique<RingingWindow>(*tray, note));
        note.m_posted = 1;
        return windows.back().get();
    }
};

class Alarms : public ::testing::Test {
protected:
    void SetUp() override {
        g_ringingCount = 0;
        Clock::SetForTest(T(2003, 5, 13, 10, 0, 0));
        factory.tray = &tray;
    }

    CNote* Add(const COleDateTime& at, int type = CNote::OneTime, bool posted = false) {
        CNote& n = NoteBuilder(type)
                       .Title("Dentist")
                       .At(at)
                       .Recurrence(CNote::Day * 1000 + 1)
                       .DueSoonNow()
                       .AddTo(tray.Store());
        if (posted) n.OpenWindow(-1, -1, false, factory);
        return &n;
    }
    static RingingWindow& Win(const CNote* n) { return *static_cast<RingingWindow*>(n->Window()); }
    // A note whose alarm passed a minute ago, rung by the alarm check.
    RingingWindow& Ring(int type = CNote::OneTime, bool posted = false) {
        CNote* n = Add(Clock::Now() - COleDateTimeSpan(0, 0, 1, 0), type, posted);
        tray.Alarms().CheckAlarms();
        return Win(n);
    }
    std::vector<std::string> TitlesOnDisk() {
        CTrayCore reader;
        reader.LoadData(); // no file: a welcome note
        std::vector<std::string> titles;
        for (const auto& n : reader.Store().notes())
            titles.push_back(n->m_title);
        return titles;
    }
    static std::string Log() { return ReadFile(ProgramFolder() + "Log.txt"); }

    TestEnv env;
    RingingFactory factory;
    FakePlatform platform;
    FakeSound& sound = platform.sound;
    FakeDialogs& dialogs = platform.dialogs;
    FakeHub tray{platform, &factory}; // destroyed first: it closes the windows
};

} // namespace

TEST_F(Alarms, OnlyDueSoonValidPastNotesRingInArrayOrderOnce) {
    CNote* a = Add(T(2003, 5, 13, 9, 59));
    tray.Store().AddNote(std::make_unique<CNote>()); // a memo in between
    CNote* b = Add(T(2003, 5, 13, 9, 59));
    Add(T(2003, 5, 13, 11, 0)); // due soon, not yet due
    CNote* unflagged = Add(T(2003, 5, 13, 9, 0));
    unflagged->m_dueSoon = 0;
    CNote* invalid = Add(T(2003, 5, 13, 9, 0));
    invalid->m_alarmTime.SetStatus(COleDateTime::invalid);
    invalid->m_dueSoon = 1;

    tray.Alarms().CheckAlarms();
    tray.Alarms().CheckAlarms(); // a ringing window is not started twice
    ASSERT_EQ(factory.windows.size(), 2u);
    EXPECT_EQ(a->Window(), factory.windows[0].get());
    EXPECT_EQ(b->Window(), factory.windows[1].get());
    EXPECT_EQ(Win(a).entered + Win(b).entered, 2);
    EXPECT_FALSE(Win(a).ringing.WasPosted());
    EXPECT_EQ(g_ringingCount, 2);
    EXPECT_EQ(tray.State(), CTrayCore::StateRinging);
    EXPECT_EQ(a->m_alarmTime, T(2003, 5, 13, 9, 59)); // the check moves no alarm

    // The refresh flags the unflagged note; the next check rings it.
    tray.Alarms().RefreshDueFlags();
    EXPECT_EQ(invalid->m_dueSoon, 0);
    tray.Alarms().CheckAlarms();
    ASSERT_NE(unflagged->Window(), nullptr);
    EXPECT_EQ(factory.windows.size(), 3u);
}

TEST_F(Alarms, BusyPostedWindowRingsOnceItIsFree) {
    CNote* n = Add(T(2003, 5, 13, 9, 0), CNote::OneTime, true);
    Win(n).busy = true; // its note menu is open
    tray.Alarms().CheckAlarms();
    EXPECT_FALSE(Win(n).IsRinging());
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    Win(n).busy = false;
    tray.Alarms().CheckAlarms();
    EXPECT_TRUE(Win(n).ringing.WasPosted());
    EXPECT_EQ(factory.windows.size(), 1u);
    EXPECT_EQ(tray.State(), CTrayCore::StateRinging);
}

TEST_F(Alarms, EmptyArrayFileTransferOrNoWindowsReturnAtOnce) {
    tray.Alarms().CheckAlarms(); // nothing to do, nothing breaks
    Add(T(2003, 5, 13, 9, 0));
    tray.SetState(CTrayCore::StateFileTransfer);
    tray.Alarms().CheckAlarms();
    EXPECT_TRUE(factory.windows.empty());
    EXPECT_EQ(tray.State(), CTrayCore::StateFileTransfer);
    tray.SetState(CTrayCore::StateIdle);
    tray.SetPlatform({}); // no windows to be had: nothing rings, nothing breaks
    tray.Alarms().CheckAlarms();
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
}

TEST_F(Alarms, CheckTimerGate) {
    // Runs when the earliest alarm is fewer than period / 500 seconds away, and not while the
    // manager or the options are open. The sound is readied half a minute ahead, whatever the
    // state, so that the ring does not wait for it to load.
    const int idle = CTrayCore::StateIdle;
    const struct {
        int period, secondsAway, state;
        bool rings, prepared;
    } cases[] = {{5000, 10, idle, false, true},
                 {5000, 9, idle, true, true},
                 {2000, 4, idle, false, true},
                 {2000, 3, idle, true, true},
                 {7000, 14, idle, false, true},
                 {7000, 13, idle, true, true},
                 {5000, -3600, idle, true, true}, // long past: every tick
                 {5000, 30, idle, false, false},
                 {5000, 29, idle, false, true},
                 {5000, 3600, idle, false, false},
                 {5000, -9, CTrayCore::StateManagerOpen, false, true},
                 {5000, -9, CTrayCore::StateOptionsOpen, false, true}};
    for (const auto& c : cases) {
        CNote* n = Add(T(2003, 5, 13, 9, 59));
        tray.settings().m_checkPeriod = c.period;
        tray.SetState(c.state);
        tray.Alarms().SetEarliestAlarm(Clock::Now() + COleDateTimeSpan(0, 0, 0, c.secondsAway));
        sound.prepares = 0;
        tray.OnTimer(CTrayCore::TimerCheck);
        EXPECT_EQ(n->Window() != nullptr, c.rings) << c.period << " " << c.secondsAway;
        EXPECT_EQ(sound.prepares > 0, c.prepared) << c.period << " " << c.secondsAway;
    }
}

TEST_F(Alarms, NoteThatBecomesDueSoonLaterStillRings) {
    // Nothing is due soon at load; the note the night's refresh flags must still be checked.
    Clock::SetForTest(T(2003, 5, 13, 20, 0));
    CNote* n = Add(T(2003, 5, 14, 8, 0));
    tray.Alarms().ComputeEarliestAlarm();
    ASSERT_EQ(tray.Alarms().EarliestAlarm(), T(2200, 1, 1));
    Clock::SetForTest(T(2003, 5, 14, 2, 0));
    tray.Alarms().RefreshDueFlags();
    EXPECT_EQ(tray.Alarms().EarliestAlarm(), T(2003, 5, 14, 8, 0));
    Clock::SetForTest(T(2003, 5, 14, 8, 0, 3));
    tray.OnTimer(CTrayCore::TimerCheck);
    ASSERT_NE(n->Window(), nullptr);
    EXPECT_TRUE(Win(n).IsRinging());
}

TEST_F(Alarms, ALogThatCannotBeOpenedIsSilentlyAbsent) {
    std::filesystem::create_directories(ProgramFolder() + "Log.txt");
    tray.settings().m_logEnabled = 1;
    tray.Alarms().OpenLogFile(ProgramFolder());
    EXPECT_FALSE(tray.Alarms().LogOpen());
    tray.Alarms().WriteLogLine(CNote()); // nothing happens, nothing breaks
}

TEST_F(Alarms, SpeakerBeepsAndPinFlashesUntilStopAfterSilencesIt) {
    tray.settings().m_stopAfter = 60;
    RingingWindow& w = Ring();
    EXPECT_EQ(w.timers.active, (std::map<int, int>{{0, 1000}, {1, 500}}));
    w.Run(3);
    EXPECT_EQ(sound.beeps, 3);
    EXPECT_EQ(w.pinStates, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    w.Run(117);
    EXPECT_EQ(sound.beeps, 61);
    EXPECT_TRUE(w.IsRinging());
    EXPECT_EQ(w.pinStates.size(), 240u);
    EXPECT_EQ(sound.loopsStarted, 0);

    tray.settings().m_stopAfter = 0; // no limit: rings until acknowledged
    sound.beeps = 0;
    Ring().Run(300);
    EXPECT_EQ(sound.beeps, 300);
}

TEST_F(Alarms, RingingWaveNotesShareOneLoop) {
    tray.settings().m_alarmSound = 115;
    tray.settings().m_wavePath = "/tmp/alarm.wav";
    sound.device = true;
    RingingWindow& a = Ring();
    RingingWindow& b = Ring();
    RingingWindow& c = Ring();
    EXPECT_EQ(sound.loopsStarted, 1);
    EXPECT_EQ(sound.lastWave, "/tmp/alarm.wav");
    // A window closed by other means gives up its share without silencing the others.
    a.ringing.Abandon();
    EXPECT_TRUE(a.timers.active.empty());
    EXPECT_EQ(b.Ok(), OkResult::Closed);
    EXPECT_TRUE(sound.looping);
    EXPECT_EQ(tray.State(), CTrayCore::StateRinging);
    EXPECT_FALSE(std::filesystem::exists(tray.DataPath()));
    EXPECT_EQ(c.Ok(), OkResult::Closed);
    EXPECT_FALSE(sound.looping);
    EXPECT_EQ(sound.loopStops, 1);
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    EXPECT_EQ(g_ringingCount, 0);
    EXPECT_EQ(TitlesOnDisk(), std::vector<std::string>{"Dentist"}); // the abandoned one stays
}

TEST_F(Alarms, WaveStopsAfterTheLimitAndNeedsADevice) {
    tray.settings().m_alarmSound = 115;
    tray.settings().m_stopAfter = 5;
    sound.device = true;
    RingingWindow& w = Ring();
    w.Run(5);
    EXPECT_TRUE(sound.looping);
    w.Run(1);
    EXPECT_FALSE(sound.looping);
    w.Ok();

    // Without a device, and with the mute choice, there is no sound at all, only the flashing.
    for (int choice : {115, 116}) {
        sound = FakeSound{};
        sound.device = choice == 116;
        tray.settings().m_alarmSound = choice;
        RingingWindow& m = Ring();
        m.Run(3);
        EXPECT_EQ(sound.loopsStarted + sound.beeps, 0) << choice;
        EXPECT_EQ(m.pinStates.size(), 6u);
    }
}

TEST_F(Alarms, AcknowledgedOneTimeNotesAreRemovedLoggedAndSaved) {
    { std::ofstream(ProgramFolder() + "Log.txt") << "Earlier\n"; }
    tray.Alarms().OpenLogFile(ProgramFolder());
    tray.Store().AddNote(std::make_unique<CNote>());
    tray.Store().notes()[0].get()->m_title = "Memo";
    RingingWindow& quiet = Ring();
    RingingWindow& a = Ring();
    RingingWindow& b = Ring();
    tray.Store().notes().back().get()->m_title = "";
    tray.settings().m_logEnabled = 2; // only 1 turns logging on
    EXPECT_EQ(quiet.Ok(), OkResult::Closed);
    tray.settings().m_logEnabled = 1;
    Clock::AdvanceForTest(30);
    EXPECT_EQ(a.Ok(), OkResult::Closed);
    // Read while the file is still open: each line is flushed at once.
    EXPECT_EQ(Log(), "Earlier\nTuesday 2003-05-13 10:00:30 Dentist\n");
    // The options can empty the file while it is open; the next line starts it afresh.
    { std::ofstream(ProgramFolder() + "Log.txt", std::ios::trunc); }
    Clock::AdvanceForTest(61);
    EXPECT_EQ(b.Ok(), OkResult::Closed);
    EXPECT_EQ(Log(), "Tuesday 2003-05-13 10:01:31 No Title\n");

    EXPECT_TRUE(b.closed);
    EXPECT_EQ(b.ringing.Note(), nullptr);
    EXPECT_TRUE(b.timers.active.empty());
    EXPECT_EQ(TitlesOnDisk(), std::vector<std::string>{"Memo"});
}

// The save after the last One Time note is acknowledged fails: its box runs a nested event loop
// that repaints every open window. The acknowledged note is freed by then, so its window must
// already be closed; a repaint of it would read freed memory (the sanitizer build sees that).
TEST_F(Alarms, FailedSaveAfterTheLastOneTimeNoteFindsItsWindowClosed) {
    struct RepaintingDialogs : FakeDialogs {
        RingingFactory* factory = nullptr;
        int repaints = 0;
        std::string seen;
        Answer MessageBox(const std::string& text, const std::string& caption, Buttons b,
                          Icon i) override {
            for (const auto& w : factory->windows)
                if (!w->closed) {
                    ++repaints;
                    seen += w->note->m_title;
                }
            return FakeDialogs::MessageBox(text, caption, b, i);
        }
    } repainting;
    repainting.factory = &factory;
    PlatformServices services = tray.Platform();
    services.dialogs = &repainting;
    tray.SetPlatform(services);
    CNote* memo = Add(Clock::Now() + COleDateTimeSpan(3, 0, 0, 0), CNote::Memo, true);
    memo->m_title = "Memo";
    RingingWindow& last = Ring();
    CAtomicFile::s_failAfterBytes = 0; // a full disk
    EXPECT_EQ(last.Ok(), OkResult::Closed);
    CAtomicFile::s_failAfterBytes = SIZE_MAX;
    ASSERT_EQ(repainting.boxes.size(), 1u);
    EXPECT_NE(repainting.boxes[0].text.find("No space left on device"), std::string::npos);
    EXPECT_TRUE(last.closed);
    EXPECT_EQ(repainting.repaints, 1); // only the memo's window was open during the box
    EXPECT_EQ(repainting.seen, "Memo");
    EXPECT_EQ(tray.Store().notes().size(), 1u);
}

TEST_F(Alarms, RemindLaterRingsAgainAfterTheDelay) {
    RingingWindow& w = Ring(CNote::OneTime, true);
    CNote* n = tray.Store().notes().back().get();
    EXPECT_EQ(w.Ok("0", "15", true), OkResult::Restored);
    EXPECT_EQ(w.left, 1);
    EXPECT_FALSE(w.closed);
    EXPECT_EQ(n->Window(), &w);
    EXPECT_EQ(COleDateTime::WholeSeconds(n->m_alarmTime - Clock::Now()), 15 * 60);
    EXPECT_EQ(tray.Alarms().EarliestAlarm(), n->m_alarmTime);
    EXPECT_EQ(TitlesOnDisk(), std::vector<std::string>{"Dentist"});
    // A tick queued before OK, and a second OK, change nothing.
    w.ringing.OnTimer(0);
    w.ringing.OnTimer(1);
    EXPECT_EQ(sound.beeps, 0);
    EXPECT_TRUE(w.pinStates.empty());
    EXPECT_EQ(w.Ok(), OkResult::NotRinging);

    Clock::AdvanceForTest(14 * 60 + 59);
    tray.Alarms().CheckAlarms();
    EXPECT_FALSE(w.IsRinging());
    Clock::AdvanceForTest(2);
    tray.Alarms().CheckAlarms();
    EXPECT_EQ(w.entered, 2);
}

TEST_F(Alarms, RecurringNoteGetsItsNextOccurrenceOrTheDelay) {
    RingingWindow& w = Ring(CNote::Every, true);
    CNote* n = tray.Store().notes().back().get();
    COleDateTime occurrence = n->m_nextTime;
    EXPECT_EQ(w.Ok(), OkResult::Restored);
    EXPECT_EQ(COleDateTime::WholeSeconds(n->m_nextTime - occurrence), 86400);
    EXPECT_EQ(n->m_alarmTime, n->m_nextTime);
    ASSERT_EQ(tray.Store().notes().size(), 1u);

    // With the box ticked the delay wins and the schedule is left alone.
    n->m_alarmTime = Clock::Now() - COleDateTimeSpan(0, 0, 0, 5);
    n->m_dueSoon = 1;
    COleDateTime next = n->m_nextTime;
    tray.Alarms().CheckAlarms();
    EXPECT_EQ(w.Ok("1", "0", true), OkResult::Restored);
    EXPECT_EQ(COleDateTime::WholeMinutes(n->m_alarmTime - Clock::Now()), 60);
    EXPECT_EQ(n->m_nextTime, next);
}

TEST_F(Alarms, RefusedValuesKeepRingingThenTheWindowOpenedToRingCloses) {
    RingingWindow& w = Ring();
    CNote* n = tray.Store().notes().back().get();
    const std::string range24 = "Please enter an integer between 0 and 24.";
    const std::string notInt = "Please enter an integer.";
    const struct {
        const char *hours, *minutes;
        std::string message;
        IRingingWindow::Field field;
    } refused[] = {
        {"25", "0", range24, IRingingWindow::HoursField},
        {"-1", "0", range24, IRingingWindow::HoursField},
        {"0", "60", "Please enter an integer between 0 and 59.", IRingingWindow::MinutesField},
        {"0", "99999999999999", notInt, IRingingWindow::MinutesField}};
    for (const auto& r : refused) {
        EXPECT_EQ(w.Ok(r.hours, r.minutes, true), OkResult::Refused) << r.hours << " " << r.minutes;
        EXPECT_EQ(dialogs.boxes.back().text, r.message);
        EXPECT_EQ(w.focus.back(), r.field);
    }
    for (const char* bad : {"", " ", "+", "1 2", "0x1", "1.5", "1x", "２"}) {
        EXPECT_EQ(w.Ok(bad, "5", true), OkResult::Refused) << bad;
        EXPECT_EQ(dialogs.boxes.back().text, notInt);
    }
    // Refusals change nothing: still ringing, timers running.
    EXPECT_EQ(w.timers.active.size(), 2u);
    EXPECT_EQ(g_ringingCount, 1);

    EXPECT_EQ(w.Ok(" +1\t", "59", true), OkResult::Closed);
    EXPECT_EQ(COleDateTime::WholeMinutes(n->m_alarmTime - Clock::Now()), 119);
    EXPECT_TRUE(w.closed);
    EXPECT_EQ(n->Window(), nullptr);
    EXPECT_EQ(n->m_posted, 0);
}

// ---- the wall clock jumps while the monotonic clock does not (suspend, clock or zone change)

namespace {
// Moves the wall clock alone, as a suspend looks to the program, then lets the check timer
// tick three times five seconds apart.
void JumpThenTick(CTrayCore& tray, const COleDateTime& to) {
    Clock::SetForTest(to);
    for (int tick = 0; tick < 3; ++tick) {
        tray.OnTimer(CTrayCore::TimerCheck);
        Clock::AdvanceForTest(5);
    }
}
int RefreshTimerSets(const FakeTimers& timers) {
    int n = 0;
    for (const auto& [id, period] : timers.history)
        n += id == CTrayCore::TimerRefresh;
    return n;
}
} // namespace

TEST(ClockJumpDetector, ReportsOnlyDriftBeyondTheTolerance) {
    const COleDateTime t0 = T(2003, 5, 13, 10, 0, 0);
    const struct {
        double wallSeconds;
        int64_t monotonicMs;
        bool jump;
    } cases[] = {
        {5, 5000, false},      // an ordinary tick
        {9, 5000, false},      // late by less than a period (plus a second of rounding)
        {5, 9000, false},      // the timer ran late: the wall clock agrees
        {12, 5000, true},      // ahead by more than a period
        {5 - 7, 5000, true},   // set back
        {9 * 3600, 5000, true} // a night's suspend
    };
    for (const auto& c : cases) {
        CClockJumpDetector d;
        EXPECT_FALSE(d.OnTick(t0, 1000, 5000)); // the first tick only records
        EXPECT_EQ(
            d.OnTick(t0 + COleDateTimeSpan(c.wallSeconds / 86400.0), 1000 + c.monotonicMs, 5000),
            c.jump)
            << c.wallSeconds << " s wall, " << c.monotonicMs << " ms monotonic";
    }
}

TEST_F(Alarms, ForwardJumpRingsWhatFellDueOnTheNextTick) {
    // 20:00, the note at 04:00 tomorrow: neither today nor within 7 hours, so not due soon.
    Clock::SetForTest(T(2003, 5, 13, 20, 0));
    tray.StartTimers();
    CNote* n = Add(T(2003, 5, 14, 4, 0));
    ASSERT_EQ(n->m_dueSoon, 0);
    tray.Alarms().ComputeEarliestAlarm();
    tray.OnTimer(CTrayCore::TimerCheck);
    Clock::AdvanceForTest(5);
    tray.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(n->Window(), nullptr);
    const int refreshes = RefreshTimerSets(platform.timers);

    Clock::SetForTest(T(2003, 5, 14, 5, 0, 5)); // the wall clock alone moves
    tray.OnTimer(CTrayCore::TimerCheck);
    ASSERT_NE(n->Window(), nullptr);
    EXPECT_TRUE(Win(n).IsRinging());
    // The refresh timer starts its schedule again, with the daytime period.
    EXPECT_EQ(RefreshTimerSets(platform.timers), refreshes + 1);
    EXPECT_EQ(platform.timers.active[CTrayCore::TimerRefresh], 7200000);
}

TEST_F(Alarms, DaysAsleepRingADailyNoteOnceThenItsNextOccurrence) {
    CNote* n = Add(T(2003, 5, 13, 12, 0), CNote::Every);
    n->Recompute();
    tray.Alarms().ComputeEarliestAlarm();
    tray.OnTimer(CTrayCore::TimerCheck);
    JumpThenTick(tray, T(2003, 5, 16, 10, 0, 5));
    ASSERT_EQ(factory.windows.size(), 1u);
    EXPECT_EQ(Win(n).entered, 1); // three missed occurrences, one ring
    EXPECT_EQ(Win(n).Ok(), OkResult::Closed);
    EXPECT_EQ(n->m_nextTime, T(2003, 5, 16, 12, 0));
    EXPECT_EQ(n->m_alarmTime, T(2003, 5, 16, 12, 0));
    tray.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(factory.windows.size(), 1u);
}

TEST_F(Alarms, ResumeLooksForDueNotesAtOnce) {
    Clock::SetForTest(T(2003, 5, 13, 20, 0));
    CNote* n = Add(T(2003, 5, 14, 4, 0));
    tray.Alarms().ComputeEarliestAlarm();
    Clock::SetForTest(T(2003, 5, 14, 4, 0, 1));
    tray.OnResume();
    EXPECT_EQ(n->m_dueSoon, 1);
    EXPECT_EQ(tray.Alarms().EarliestAlarm(), T(2003, 5, 14, 4, 0));
}

namespace {
class AlarmNotices : public Alarms {
protected:
    void SetUp() override {
        Alarms::SetUp();
        PlatformServices services = platform.Services(&factory);
        services.notices = &notices;
        tray.SetPlatform(services);
    }
    RecordingNotices notices;
};
} // namespace

TEST_F(AlarmNotices, OneNoticePerRingingWithdrawnWhenAcknowledgedOrGivenUp) {
    RingingWindow& w = Ring(CNote::Every, true);
    tray.Alarms().CheckAlarms();
    EXPECT_EQ(notices.shown, std::vector<std::string>{"Dentist"});
    // A refused value keeps the note ringing, and its notice.
    EXPECT_EQ(w.Ok("25"), OkResult::Refused);
    EXPECT_TRUE(notices.withdrawn.empty());
    EXPECT_EQ(w.Ok(), OkResult::Restored);
    EXPECT_EQ(notices.withdrawn, std::vector<unsigned>{1});
    // A late press on the withdrawn notice does nothing.
    notices.Press(0, IDesktopNotices::Action::Acknowledge);
    EXPECT_EQ(w.okPressed, 0);

    // Rung again and given up (the program ends): withdrawn; without a service: none shown.
    w.StartAlarm(0, true);
    w.ringing.Abandon();
    ASSERT_EQ(notices.shown.size(), 2u);
    EXPECT_EQ(notices.withdrawn, (std::vector<unsigned>{1, 2}));
    notices.available = false;
    w.StartAlarm(0, true);
    EXPECT_TRUE(w.IsRinging());
    EXPECT_FALSE(w.ringing.NoticeShown());
}

TEST_F(AlarmNotices, AButtonOfANoteWhoseWindowIsGoneDoesNothing) {
    auto n = std::make_unique<CNote>();
    n->m_title = "Gone";
    const COleDateTime before = n->m_alarmTime;
    auto window = std::make_unique<RingingWindow>(tray, *n);
    window->StartAlarm(0, true);
    ASSERT_EQ(notices.shown.size(), 1u);
    window.reset(); // destroyed without being given up first
    notices.Press(0, IDesktopNotices::Action::RemindLater);
    EXPECT_EQ(n->m_alarmTime, before);
    g_ringingCount = 0;
}

TEST(RingNotice, TitleAndFirstLineHoldingText) {
    CNote n;
    EXPECT_EQ(CRingNotice::Summary(n), "No Title");
    EXPECT_EQ(CRingNotice::Body(n), "");
    n.m_title = "Call Bob";
    n.m_text = " \t\r\n\r\n\t 555-0101  \r\nsecond line";
    EXPECT_EQ(CRingNotice::Summary(n), "Call Bob");
    EXPECT_EQ(CRingNotice::Body(n), "555-0101");
    n.m_text = "   \r\n  ";
    EXPECT_EQ(CRingNotice::Body(n), "");
    // A long line is cut short, never inside a character.
    n.m_text = "a";
    for (int i = 0; i < 150; ++i)
        n.m_text += "\xC3\xA9"; // e-acute
    const std::string body = CRingNotice::Body(n);
    EXPECT_EQ(body.size(), CRingNotice::kMaxBodyBytes - 1 + 3);
    EXPECT_EQ(body.substr(body.size() - 4), "\xA9...");
}
