#include "alarms/CAlarmRinging.h"
#include "alarms/IRingingWindow.h"
#include "app/CTrayCore.h"
#include "app/Globals.h"
#include "platform/Clock.h"
#include "support/Fakes.h"
#include "support/TestEnv.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>

namespace {

using OkResult = CAlarmRinging::OkResult;

// A note window whose ringing is the real CAlarmRinging; what it would draw is recorded.
struct RingingWindow : INoteWindow, IRingingWindow, ITimerHost {
    RingingWindow(CTrayCore& tray, CNote& n) : note(&n), ringing(tray, n, *this, *this) {}

    CNote* note;
    CAlarmRinging ringing;
    std::map<int, int> timers; // id -> period
    std::map<int, int> elapsed;
    int entered = 0, left = 0;
    bool closed = false, busy = false;
    std::vector<int> pinStates;
    std::vector<Field> focus;
    std::string body = "typed text", title = "typed title";

    // INoteWindow
    bool IsRinging() const override { return ringing.IsRinging(); }
    bool IsBusy() const override { return busy; }
    void StartAlarm(int index, bool wasPosted) override { ringing.StartAlarm(index, wasPosted); }
    RECT GetWindowRect() const override { return {1, 2, 3, 4}; }
    std::string GetTitleText() const override { return title; }
    std::string GetBodyText() const override { return body; }
    void SetReadOnly(bool) override {}
    void BringToTop() override {}
    void UpdateCountdown() override {}
    void Destroy() override {
        closed = true;
        if (note && note->m_window == this) note->m_window = nullptr;
        note = nullptr;
    }
    // IRingingWindow
    void EnterRingingMode() override { ++entered; }
    void DrawPinBox(int state) override { pinStates.push_back(state); }
    void FocusField(Field f) override { focus.push_back(f); }
    void LeaveRingingMode() override { ++left; }
    void CloseAfterRinging() override {
        closed = true;
        note = nullptr; // may be deleted already
    }
    // ITimerHost
    void SetTimer(int id, int periodMs) override {
        timers[id] = periodMs;
        elapsed[id] = 0;
    }
    void KillTimer(int id) override { timers.erase(id); }

    // Delivers the timer ticks that fall due in the next ms milliseconds (100 ms steps).
    void Run(int ms) {
        for (int t = 0; t < ms; t += 100) {
            for (int id : {0, 1}) {
                auto it = timers.find(id);
                if (it == timers.end()) continue;
                if ((elapsed[id] += 100) >= it->second) {
                    elapsed[id] = 0;
                    ringing.OnTimer(id);
                }
            }
        }
    }
    OkResult Ok(const std::string& hours = "0", const std::string& minutes = "15",
                bool box = false) {
        return ringing.OnOK(hours, minutes, box);
    }
};

// Opens ringing-capable windows the way the real window does: the window posts its note.
struct RingingFactory : INoteWindowFactory {
    explicit RingingFactory(CTrayCore& t) : tray(t) {}
    CTrayCore& tray;
    std::vector<std::unique_ptr<RingingWindow>> windows;
    std::vector<bool> ringingFlags;
    INoteWindow* OpenNoteWindow(CNote& note, int, int, bool ringing) override {
        windows.push_back(std::make_unique<RingingWindow>(tray, note));
        ringingFlags.push_back(ringing);
        note.m_posted = 1;
        note.m_rectKnown = 1;
        return windows.back().get();
    }
};

class Ringing : public ::testing::Test {
protected:
    void SetUp() override {
        g_ringingCount = 0;
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
        tray.m_windowFactory = &factory;
        tray.m_sound = &sound;
        tray.m_dialogs = &dialogs;
        tray.m_state = CTrayCore::StateIdle;
    }
    void TearDown() override {
        tray.DeleteAllData();
        g_ringingCount = 0;
    }

    // A note whose alarm passed a minute ago.
    CNote* AddDue(int type, const std::string& title = "Dentist") {
        auto* n = new CNote;
        n->m_type = type;
        n->m_title = title;
        n->m_startTime = n->m_nextTime = n->m_baseTime =
            Clock::Now() - COleDateTimeSpan(0, 0, 1, 0);
        n->m_alarmTime = n->m_startTime;
        n->m_dueSoon = 1;
        tray.m_notes.push_back(n);
        return n;
    }
    // A note already on the desktop.
    CNote* AddPostedDue(int type, const std::string& title = "Posted") {
        CNote* n = AddDue(type, title);
        n->OpenWindow(-1, -1, false, factory);
        return n;
    }
    RingingWindow& Win(const CNote* n) {
        for (auto& w : factory.windows)
            if (w->note == n) return *w;
        throw std::runtime_error("no window");
    }
    bool Saved() const { return std::filesystem::exists(tray.DataPath()); }
    int NotesOnDisk() {
        CTrayCore reader;
        reader.LoadData();
        int n = static_cast<int>(reader.m_notes.size());
        reader.DeleteAllData();
        return n;
    }

    TestEnv env;
    FakeSound sound;
    FakeDialogs dialogs;
    CTrayCore tray;
    RingingFactory factory{tray};
};

} // namespace

TEST_F(Ringing, CheckAlarmsRingsADueNoteOnce) {
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    ASSERT_EQ(factory.windows.size(), 1u);
    EXPECT_TRUE(factory.ringingFlags[0]);
    RingingWindow& w = Win(n);
    EXPECT_TRUE(w.IsRinging());
    EXPECT_FALSE(w.ringing.WasPosted());
    EXPECT_EQ(w.entered, 1);
    EXPECT_EQ(tray.m_state, CTrayCore::StateRinging);
    EXPECT_EQ(g_ringingCount, 1);
    EXPECT_EQ(w.timers, (std::map<int, int>{{0, 1000}, {1, 500}}));
    tray.CheckAlarms(); // already ringing: not started again
    EXPECT_EQ(w.entered, 1);
    EXPECT_EQ(g_ringingCount, 1);
}

TEST_F(Ringing, SpeakerBeepsEverySecondAndThePinFlashesEveryHalf) {
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    w.Run(3000);
    EXPECT_EQ(sound.beeps, 3);
    EXPECT_EQ(w.pinStates, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(sound.loopsStarted, 0);
}

TEST_F(Ringing, StopAfterSilencesButKeepsRinging) {
    tray.m_stopAfter = 60;
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    w.Run(120000);
    EXPECT_EQ(sound.beeps, 61);
    EXPECT_EQ(w.ringing.RingSeconds(), 61);
    EXPECT_FALSE(w.timers.count(0));
    EXPECT_TRUE(w.timers.count(1));
    EXPECT_TRUE(w.IsRinging());
    EXPECT_EQ(w.pinStates.size(), 240u);

    // Without a limit it rings until acknowledged.
    tray.m_stopAfter = 0;
    CNote* m = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    sound.beeps = 0;
    Win(m).Run(300000);
    EXPECT_EQ(sound.beeps, 300);
}

TEST_F(Ringing, TwoWaveNotesShareOneLoop) {
    tray.m_alarmSound = 115;
    tray.m_wavePath = "/tmp/alarm.wav";
    sound.device = true;
    CNote* a = AddDue(CNote::OneTime, "A");
    CNote* b = AddDue(CNote::OneTime, "B");
    tray.CheckAlarms();
    EXPECT_EQ(g_ringingCount, 2);
    EXPECT_EQ(sound.loopsStarted, 1);
    EXPECT_EQ(sound.lastWave, "/tmp/alarm.wav");
    RingingWindow& wa = Win(a);
    RingingWindow& wb = Win(b);
    wa.Run(5000);
    EXPECT_EQ(sound.beeps, 0); // the wave replaces the speaker

    EXPECT_EQ(wa.Ok(), OkResult::Closed);
    EXPECT_EQ(sound.stops, 0);
    EXPECT_EQ(tray.m_state, CTrayCore::StateRinging);
    EXPECT_FALSE(Saved());
    EXPECT_EQ(wb.Ok(), OkResult::Closed);
    EXPECT_EQ(sound.stops, 1);
    EXPECT_EQ(tray.m_state, CTrayCore::StateIdle);
    EXPECT_EQ(g_ringingCount, 0);
    EXPECT_TRUE(Saved());
}

TEST_F(Ringing, WaveStopsAtStopAfterAndIsSkippedWithoutDevice) {
    tray.m_alarmSound = 115;
    tray.m_stopAfter = 5;
    sound.device = true;
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    w.Run(5000);
    EXPECT_EQ(sound.stops, 0);
    w.Run(1000);
    EXPECT_EQ(sound.stops, 1);
    w.Ok();

    // No audio device: no sound at all, not even the speaker.
    sound = FakeSound{};
    CNote* m = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    Win(m).Run(3000);
    EXPECT_EQ(sound.loopsStarted, 0);
    EXPECT_EQ(sound.beeps, 0);
    EXPECT_TRUE(Win(m).IsRinging());
}

TEST_F(Ringing, MuteOnlyFlashes) {
    tray.m_alarmSound = 116;
    sound.device = true;
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    Win(n).Run(4000);
    EXPECT_EQ(sound.beeps + sound.loopsStarted, 0);
    EXPECT_EQ(Win(n).pinStates.size(), 8u);
    Win(n).Ok();
    EXPECT_EQ(sound.stops, 0);
}

TEST_F(Ringing, AcknowledgedOneTimeNoteIsRemovedLoggedAndSaved) {
    tray.m_logEnabled = 1;
    tray.OpenLogFile();
    CNote* keep = new CNote;
    keep->m_title = "Memo";
    tray.m_notes.push_back(keep);
    CNote* n = AddDue(CNote::OneTime, "Dentist");
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    Clock::AdvanceForTest(30);
    EXPECT_EQ(w.Ok(), OkResult::Closed);
    EXPECT_TRUE(w.closed);
    EXPECT_EQ(w.ringing.Note(), nullptr);
    EXPECT_EQ(tray.m_notes, std::vector<CNote*>{keep});
    EXPECT_TRUE(w.timers.empty());
    EXPECT_EQ(NotesOnDisk(), 1);

    std::ifstream log(env.DataFolder() + "Log.txt");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str(), "Tuesday 2003-05-13 10:00:30 Dentist\n");
}

TEST_F(Ringing, RemindLaterRingsAgainAfterTheDelay) {
    CNote* n = AddPostedDue(CNote::OneTime);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    EXPECT_TRUE(w.ringing.WasPosted());
    EXPECT_EQ(w.Ok("0", "15", true), OkResult::Restored);
    EXPECT_EQ(w.left, 1);
    EXPECT_FALSE(w.closed);
    EXPECT_EQ(n->m_window, &w);
    EXPECT_EQ(n->m_posted, 1);
    EXPECT_EQ(COleDateTime::WholeSeconds(n->m_alarmTime - Clock::Now()), 15 * 60);
    EXPECT_EQ(tray.m_earliestAlarm, n->m_alarmTime);
    EXPECT_EQ(NotesOnDisk(), 1);

    Clock::AdvanceForTest(14 * 60 + 59);
    tray.CheckAlarms();
    EXPECT_FALSE(w.IsRinging());
    Clock::AdvanceForTest(2);
    tray.CheckAlarms();
    EXPECT_TRUE(w.IsRinging());
    EXPECT_EQ(w.entered, 2);

    // Hours count too, up to a whole day.
    COleDateTime now = Clock::Now();
    EXPECT_EQ(w.Ok("24", "59", true), OkResult::Restored);
    EXPECT_EQ(COleDateTime::WholeMinutes(n->m_alarmTime - now), 24 * 60 + 59);
}

TEST_F(Ringing, RecurringNoteGetsItsNextOccurrenceOrTheDelay) {
    CNote* n = AddPostedDue(CNote::Every);
    n->m_recurrence = CNote::Day * 1000 + 1;
    COleDateTime occurrence = n->m_nextTime;
    tray.CheckAlarms();
    EXPECT_EQ(Win(n).Ok(), OkResult::Restored);
    EXPECT_EQ(COleDateTime::WholeSeconds(n->m_nextTime - occurrence), 86400);
    EXPECT_EQ(n->m_alarmTime, n->m_nextTime);
    EXPECT_EQ(n->m_dueSoon, 0); // tomorrow morning is not soon
    ASSERT_EQ(tray.m_notes.size(), 1u);

    // With the box ticked the delay wins and the schedule is left alone.
    n->m_alarmTime = Clock::Now() - COleDateTimeSpan(0, 0, 0, 5);
    n->m_dueSoon = 1;
    COleDateTime next = n->m_nextTime;
    tray.CheckAlarms();
    EXPECT_EQ(Win(n).Ok("1", "0", true), OkResult::Restored);
    EXPECT_EQ(COleDateTime::WholeMinutes(n->m_alarmTime - Clock::Now()), 60);
    EXPECT_EQ(n->m_nextTime, next);
}

TEST_F(Ringing, RefusedValuesKeepTheNoteRinging) {
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);

    EXPECT_EQ(w.Ok("25", "0", true), OkResult::Refused);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Please enter an integer between 0 and 24.");
    EXPECT_EQ(w.focus, std::vector<IRingingWindow::Field>{IRingingWindow::HoursField});

    EXPECT_EQ(w.Ok("0", "60", true), OkResult::Refused);
    EXPECT_EQ(dialogs.boxes[1].text, "Please enter an integer between 0 and 59.");
    EXPECT_EQ(w.focus.back(), IRingingWindow::MinutesField);

    EXPECT_EQ(w.Ok("", "5", true), OkResult::Refused);
    EXPECT_EQ(dialogs.boxes[2].text, "Please enter an integer.");
    EXPECT_EQ(w.focus.back(), IRingingWindow::HoursField);
    EXPECT_EQ(w.Ok("1x", "5", false), OkResult::Refused);
    EXPECT_EQ(w.Ok("0", "99999999999999", false), OkResult::Refused);

    // Refusals change nothing: still ringing, timers running, note kept.
    EXPECT_TRUE(w.IsRinging());
    EXPECT_EQ(w.timers.size(), 2u);
    EXPECT_EQ(tray.m_notes.size(), 1u);
    EXPECT_EQ(g_ringingCount, 1);
    w.Run(1000);
    EXPECT_EQ(sound.beeps, 1);

    EXPECT_EQ(w.Ok(" 0 ", "59", true), OkResult::Closed);
    EXPECT_EQ(w.ringing.RemindMinutes(), 59);
    EXPECT_EQ(dialogs.boxes.size(), 5u);
}

TEST_F(Ringing, WindowOpenedOnlyToRingClosesAndIsNoLongerPosted) {
    CNote* n = AddDue(CNote::OneTime);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    EXPECT_EQ(n->m_posted, 1); // the window posts its note while it rings
    EXPECT_EQ(w.Ok("0", "15", true), OkResult::Closed);
    EXPECT_TRUE(w.closed);
    EXPECT_EQ(n->m_window, nullptr);
    EXPECT_EQ(n->m_posted, 0);
    EXPECT_EQ(tray.m_notes.size(), 1u);
    EXPECT_EQ(n->m_title, "Dentist"); // nothing pulled from a window that was only ringing
}

TEST_F(Ringing, EscapeWhileRingingClosesAfterOkAndKeepsTheTexts) {
    CNote* n = AddPostedDue(CNote::OneTime);
    RECT home = n->m_windowRect;
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    n->m_posted = 0; // what Escape does while the note rings
    EXPECT_TRUE(w.IsRinging());
    EXPECT_EQ(w.Ok("0", "15", true), OkResult::Closed);
    EXPECT_TRUE(w.closed);
    EXPECT_EQ(n->m_window, nullptr);
    EXPECT_EQ(n->m_text, "typed text");
    EXPECT_EQ(n->m_title, "typed title");
    EXPECT_EQ(n->m_windowRect, home);
}

TEST_F(Ringing, LateTicksAndSecondOkDoNothing) {
    CNote* n = AddPostedDue(CNote::Every);
    tray.CheckAlarms();
    RingingWindow& w = Win(n);
    w.Ok("0", "15", true);
    w.ringing.OnTimer(0);
    w.ringing.OnTimer(1);
    EXPECT_EQ(sound.beeps, 0);
    EXPECT_TRUE(w.pinStates.empty());
    EXPECT_EQ(w.Ok(), OkResult::NotRinging);
    EXPECT_EQ(g_ringingCount, 0);
}

TEST_F(Ringing, BusyWindowRingsAfterItIsFree) {
    CNote* n = AddPostedDue(CNote::OneTime);
    Win(n).busy = true;
    tray.CheckAlarms();
    EXPECT_FALSE(Win(n).IsRinging());
    EXPECT_EQ(tray.m_state, CTrayCore::StateIdle);
    Win(n).busy = false;
    tray.CheckAlarms();
    EXPECT_TRUE(Win(n).IsRinging());
}

TEST(RemindFields, ParseLikeTheDialogFramework) {
    int v = -1;
    std::string error;
    EXPECT_TRUE(CAlarmRinging::ParseField("24", 0, 24, v, &error));
    EXPECT_EQ(v, 24);
    EXPECT_TRUE(CAlarmRinging::ParseField(" +7\t", 0, 24, v, &error));
    EXPECT_EQ(v, 7);
    EXPECT_FALSE(CAlarmRinging::ParseField("-1", 0, 24, v, &error));
    EXPECT_EQ(error, "Please enter an integer between 0 and 24.");
    for (const char* bad : {"", " ", "+", "1 2", "0x1", "1.5", "２"}) {
        EXPECT_FALSE(CAlarmRinging::ParseField(bad, 0, 59, v, &error)) << bad;
        EXPECT_EQ(error, "Please enter an integer.");
    }
    EXPECT_EQ(v, 7); // untouched by refusals
}

TEST_F(Ringing, AbandonedRingingGivesUpCountAndSound) {
    tray.m_alarmSound = 115;
    sound.device = true;
    CNote* a = AddDue(CNote::OneTime, "A");
    CNote* b = AddDue(CNote::OneTime, "B");
    tray.CheckAlarms();
    Win(a).ringing.Abandon();
    EXPECT_EQ(g_ringingCount, 1);
    EXPECT_EQ(sound.stops, 0);
    EXPECT_TRUE(Win(a).timers.empty());
    Win(b).ringing.Abandon();
    EXPECT_EQ(g_ringingCount, 0);
    EXPECT_EQ(sound.stops, 1);
    EXPECT_EQ(tray.m_state, CTrayCore::StateIdle);
    EXPECT_EQ(tray.m_notes.size(), 2u); // nothing acknowledged, nothing removed
    EXPECT_FALSE(Saved());
}
