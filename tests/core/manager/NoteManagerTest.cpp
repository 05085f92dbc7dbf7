#include "core/app/CManagerSession.h"
#include "core/app/Globals.h"
#include "core/manager/CDueWatch.h"
#include "core/manager/CManagerGeometry.h"
#include "core/manager/CNoteFind.h"
#include "core/manager/CNoteListEdit.h"
#include "core/manager/CNoteManagerModel.h"
#include "core/manager/IManagerService.h"
#include "core/platform/Clock.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

namespace {

const COleDateTime kNow(2003, 11, 6, 10, 0, 0);

class NoteManager : public ::testing::Test {
protected:
    NoteManager() { Clock::SetForTest(kNow); }
    ~NoteManager() override { Clock::ResetForTest(); }

    CNote& Add(const char* title, int minutesAhead) {
        return NoteBuilder()
            .Title(title)
            .At(kNow + COleDateTimeSpan(0, 0, minutesAhead, 0))
            .DueSoonNow()
            .AddTo(hub.Store());
    }
    FakeNoteWindow& Window(CNote& n) { return *static_cast<FakeNoteWindow*>(n.Window()); }

    TestEnv env;
    FakePlatform platform;
    FakeHub hub{platform};
};

TEST(ManagerGeometry, PostPositionsWrapAtTheBottomAndTurnBack) {
    // 1024 x 100: bottom 82, turn 877.
    auto pts = CManagerGeometry::PostPositions(7, 768, 10, 1024, 100);
    ASSERT_EQ(pts.size(), 7u);
    EXPECT_EQ(pts[0].x, 768);
    EXPECT_EQ(pts[1].y, 28);
    EXPECT_EQ(pts[4].y, 82); // 82 is not past the bottom
    EXPECT_EQ(pts[5].y, 0);  // 100 is: a new column 24 to the right, from the top
    EXPECT_EQ(pts[5].x, 792);
    // Right of six sevenths the columns go left instead.
    pts = CManagerGeometry::PostPositions(3, 900, 64, 1024, 100);
    EXPECT_EQ(pts[1].x, 900);
    EXPECT_EQ(pts[2].x, 876);
    EXPECT_EQ(pts[2].y, 0);
    EXPECT_TRUE(CManagerGeometry::PostPositions(0, 0, 0, 10, 10).empty());
    EXPECT_EQ(CManagerGeometry::PostOrigin(1366).x, 1024);
}

TEST(ManagerGeometry, ExtraHeightIsCentredAndNeverBelowTheMinimum) {
    EXPECT_EQ(CManagerGeometry::MinHeight(500, 181), 410);
    auto s = CManagerGeometry::ApplyExtraHeight(200, 500, 120, 410);
    EXPECT_EQ(s.top, 140);
    EXPECT_EQ(s.height, 620);
    s = CManagerGeometry::ApplyExtraHeight(200, 500, -41, 410); // shrunk: truncated toward zero
    EXPECT_EQ(s.top, 220);
    EXPECT_EQ(s.height, 459);
    s = CManagerGeometry::ApplyExtraHeight(200, 500, -300, 410); // remembered from other fonts
    EXPECT_EQ(s.height, 410);
    EXPECT_EQ(s.top, 245);
    EXPECT_EQ(CManagerGeometry::ClampHeight(300, 410), 410);
    EXPECT_EQ(CManagerGeometry::ClampHeight(700, 410), 700);
}

TEST_F(NoteManager, AddTakesTheSchemeAndOffersItsAlarm) {
    hub.settings().m_defaultScheme = 2;
    hub.settings().m_showCountdownDefault = 1;
    CNoteManagerModel model(hub);
    auto note = model.NewNote(5);
    EXPECT_EQ(note->m_backColor, hub.settings().m_schemeBack[2]);
    EXPECT_EQ(note->m_category, 5);
    EXPECT_EQ(note->m_showCountdown, 1);
    note->m_type = CNote::OneTime;
    note->m_startTime = note->m_baseTime = kNow + COleDateTimeSpan(0, 0, 3, 0);
    note->Recompute();
    CNote& added = model.Add(std::move(note));
    ASSERT_EQ(model.View().size(), 1u);
    EXPECT_EQ(model.View()[0], &added);
    EXPECT_EQ(hub.Alarms().EarliestAlarm(), added.m_alarmTime);
    // An update reaches the posted window's texts and brings a nearer alarm forward.
    added.OpenWindow(0, 0, false, platform.windows);
    added.m_startTime = added.m_baseTime = kNow + COleDateTimeSpan(0, 0, 1, 0);
    added.Recompute();
    model.Updated(added);
    EXPECT_EQ(Window(added).reloads, 1);
    EXPECT_EQ(hub.Alarms().EarliestAlarm(), added.m_alarmTime);
}

TEST_F(NoteManager, DeleteLeavesARingingNoteAndRecomputesTheEarliestAlarm) {
    CNote& soon = Add("soon", 2);
    CNote& ringing = Add("ringing", -1);
    CNote& later = Add("later", 30);
    ringing.OpenWindow(0, 0, true, platform.windows);
    Window(ringing).ringing = true;
    later.OpenWindow(0, 0, false, platform.windows);
    FakeNoteWindow& laterWindow = Window(later);
    CNoteManagerModel model(hub);
    hub.Alarms().ComputeEarliestAlarm();

    const auto result = model.Delete({&soon, &ringing, &later});
    EXPECT_EQ(result.deleted, 2);
    EXPECT_EQ(result.refused, 1);
    ASSERT_EQ(hub.Store().notes().size(), 1u);
    EXPECT_EQ(hub.Store().notes()[0].get(), &ringing);
    EXPECT_EQ(model.View(), std::vector<CNote*>{&ringing});
    EXPECT_TRUE(laterWindow.destroyed); // no window is left holding a freed note
    EXPECT_FALSE(Window(ringing).destroyed);
    EXPECT_EQ(hub.Alarms().EarliestAlarm(), ringing.m_alarmTime);
}

TEST_F(NoteManager, DeletingAHugeSelectionIsOnePass) {
    // Removing notes one at a time moves the rest of the array for each: with this many that
    // takes many seconds; one pass takes milliseconds. What a delete leaves is checked above.
    constexpr int kCount = 100000;
    hub.Store().ReserveNotes(kCount);
    std::vector<CNote*> chosen;
    for (int i = 0; i < kCount; ++i) {
        CNote& n = Add("n", 10 + i);
        if (i != 0) chosen.push_back(&n); // the earliest stays
    }
    CNote& kept = *hub.Store().notes()[0];
    CNoteManagerModel model(hub);
    const auto start = std::chrono::steady_clock::now();
    const auto result = model.Delete(chosen);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(result.deleted, kCount - 1);
    ASSERT_EQ(hub.Store().notes().size(), 1u);
    EXPECT_EQ(hub.Store().notes()[0].get(), &kept);
}

TEST_F(NoteManager, PostOpensNewWindowsAndMovesPostedOnes) {
    CNote& a = Add("a", 10);
    CNote& b = Add("b", 20);
    CNote& c = Add("c", 30);
    b.OpenWindow(5, 5, false, platform.windows);
    Window(b).rect = {300, 400, 500, 550};
    CNoteManagerModel model(hub);
    model.Post({&a, &b, &c}, 768, 10, 1024, 768);
    EXPECT_EQ(platform.windows.OpenCount(), 3); // b was not opened a second time
    EXPECT_EQ(b.m_windowRect.left, 300);        // where it stood before
    EXPECT_EQ(Window(b).rect.left, 768 - 100);  // centred on the post point
    EXPECT_EQ(Window(b).rect.top, 28 - 4 - 2);
    EXPECT_EQ(Window(b).rect.right - Window(b).rect.left, 200);
    ASSERT_TRUE(a.Window() && c.Window());
}

TEST_F(NoteManager, SortReordersTheStoreItself) {
    Add("memo-like late", 600);
    Add("first", 5);
    Add("middle", 60);
    CNoteManagerModel model(hub);
    model.Sort(CNoteSort::ByTime, true);
    std::string order;
    for (const auto& n : hub.Store().notes())
        order += n->m_title + ",";
    EXPECT_EQ(order, "first,middle,memo-like late,");
    EXPECT_EQ(model.View()[0], hub.Store().notes()[0].get());
}

TEST(NoteFind, EveryWordInTitleOrTextIgnoringCaseButNotAccents) {
    auto note = NoteBuilder().Title("Call ÉMILE").Text("about the Café\r\nand ЖУРНАЛ").Build();
    EXPECT_TRUE(CNoteFind("").Matches(*note));
    EXPECT_TRUE(CNoteFind("  ").Empty());
    EXPECT_TRUE(CNoteFind("call").Matches(*note));
    EXPECT_TRUE(CNoteFind("émile CAFÉ").Matches(*note)); // words from title and text
    EXPECT_TRUE(CNoteFind("журнал").Matches(*note));
    EXPECT_FALSE(CNoteFind("emile").Matches(*note)); // accents count
    EXPECT_FALSE(CNoteFind("call bob").Matches(*note));
    EXPECT_FALSE(CNoteFind("cafe").Matches(*note));
    EXPECT_EQ(CNoteFind::Fold("ÀÖØÞ×Ā"), "àöøþ×ā");
    EXPECT_EQ(CNoteFind::Fold("Mixed ÉMILE then ASCII"), "mixed émile then ascii");
}

TEST(NoteFind, TypingOnNarrowsAndAnythingElseSearchesAnew) {
    const CNoteFind dent("dent");
    EXPECT_TRUE(CNoteFind("denti").Narrows(dent));
    EXPECT_TRUE(CNoteFind("dent bill").Narrows(dent));
    EXPECT_TRUE(CNoteFind("bill DENTIST").Narrows(dent)); // words in any order
    EXPECT_TRUE(dent.Narrows(CNoteFind("")));
    EXPECT_FALSE(CNoteFind("den").Narrows(dent)); // a character taken back
    EXPECT_FALSE(CNoteFind("de nt").Narrows(dent));
    EXPECT_FALSE(CNoteFind("").Narrows(dent));
}

TEST_F(NoteManager, DueWatchTellsEachReminderOnceAndListsWhatWaits) {
    CNote& dentist = Add("Dentist", 1);
    CNote& untitled = Add("", 2);
    Add("later", 90);
    NoteBuilder(CNote::Memo).At(kNow - COleDateTimeSpan(0, 1, 0, 0)).AddTo(hub.Store());
    CNoteManagerModel model(hub);
    CDueWatch watch;
    auto poll = [&](double minutes) {
        return watch.Poll(model.View(), kNow + COleDateTimeSpan(0, 0, 0, int(minutes * 60)));
    };
    EXPECT_EQ(poll(0.5).statusText, "");
    auto r = poll(1.5);
    EXPECT_EQ(r.newlyDue, std::vector<const CNote*>{&dentist});
    EXPECT_EQ(r.statusText, "1 reminder due: Dentist");
    r = poll(2.5);
    EXPECT_EQ(r.newlyDue, std::vector<const CNote*>{&untitled}); // told once each
    EXPECT_EQ(r.statusText, "2 reminders due: Dentist, No Title");
    // Moved on, a note leaves the line; due again later, it is told of again.
    CNoteListEdit::ShiftByHour(std::vector<CNote*>{&dentist}, true);
    EXPECT_EQ(poll(3).statusText, "1 reminder due: No Title");
    EXPECT_EQ(poll(62).newlyDue, std::vector<const CNote*>{&dentist});
}

// The manager service that records what the hub looked like while it ran.
struct RecordingManager : IManagerService {
    std::function<void()> onOpen;
    void OpenManager() override { onOpen(); }
};

TEST_F(NoteManager, SessionQuietsTheProgramWhileTheManagerIsOpen) {
    CNote& posted = Add("posted", 1);
    posted.OpenWindow(0, 0, false, platform.windows);
    hub.StartTimers();
    int stateSeen = 0;
    bool readOnlySeen = false, timersSeen = true;
    RecordingManager manager;
    manager.onOpen = [&] {
        stateSeen = hub.State();
        readOnlySeen = Window(posted).readOnly;
        timersSeen = platform.timers.active.count(CTrayCore::TimerCheck) != 0;
        // Even a note long due does not ring while the manager is open.
        Clock::AdvanceForTest(600);
        hub.OnTimer(CTrayCore::TimerCheck);
        EXPECT_EQ(Window(posted).alarmsStarted, 0);
    };
    ASSERT_TRUE(CManagerSession::Run(hub, manager));
    EXPECT_EQ(stateSeen, CTrayCore::StateManagerOpen);
    EXPECT_TRUE(readOnlySeen);
    EXPECT_FALSE(timersSeen);
    EXPECT_FALSE(Window(posted).readOnly);
    EXPECT_EQ(platform.timers.active.count(CTrayCore::TimerCheck), 1u);
    EXPECT_GT(Window(posted).raised, 0);
    EXPECT_TRUE(std::filesystem::exists(hub.DataPath())); // saved on close
    // What fell due while it was open rings the moment it closes.
    EXPECT_EQ(Window(posted).alarmsStarted, 1);
    EXPECT_EQ(hub.State(), CTrayCore::StateRinging);

    // Not while a note rings or a time dialog is open.
    EXPECT_FALSE(CManagerSession::Run(hub, manager));
    hub.SetState(CTrayCore::StateIdle);
    g_timeDialogCount = 1;
    EXPECT_FALSE(CManagerSession::Run(hub, manager));
    g_timeDialogCount = 0;
}

// Random manager sessions (keys that shift times, edits, adds, deletes, filing, sorts) between
// stretches of alarm ticks: every reminder rings within one check period of its alarm time (or
// of the session's end, when it fell due while the manager was open), never early, never twice.
TEST_F(NoteManager, EveryChangeInTheManagerReachesTheAlarmCheck) {
    const double period = hub.settings().m_checkPeriod / 1000.0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        Clock::SetForTest(COleDateTime(2003, 11, 6, 8, 0, 0));
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return static_cast<int>(rng() % unsigned(n)); };
        int made = 0;
        auto note = [&](CNote& n, int minutes) {
            n.m_title = "n" + std::to_string(made++);
            n.m_type = pick(6) == 0 ? CNote::Memo : CNote::OneTime;
            n.m_startTime = n.m_baseTime = Clock::Now() + COleDateTimeSpan(0, 0, minutes, 0);
            n.Recompute();
        };
        for (int i = 0; i < 8; ++i)
            note(hub.Store().AddNote(std::make_unique<CNote>()), 10 + pick(200));
        hub.Alarms().Resync();
        hub.StartTimers();

        std::map<std::string, std::vector<COleDateTime>> rang;
        std::map<std::string, COleDateTime> due; // alarm time, or when it could first ring
        COleDateTime sessionEnd;
        auto expectation = [&] {
            due.clear();
            for (const auto& n : hub.Store().notes())
                if (n->m_type != CNote::Memo)
                    due[n->m_title] = std::max(n->m_alarmTime, sessionEnd);
        };
        // A ringing reminder is answered at once: its note is done with.
        auto answer = [&] {
            for (auto& w : platform.windows.windows)
                if (w->ringing && !w->destroyed) {
                    rang[w->note->m_title].push_back(Clock::Now());
                    hub.Store().RemoveNote(*w->note);
                    hub.SetState(CTrayCore::StateIdle);
                }
        };
        RecordingManager manager;
        manager.onOpen = [&] {
            CNoteManagerModel model(hub);
            for (int op = 0, ops = 1 + pick(8); op < ops; ++op) {
                std::vector<CNote*>& view = model.View();
                std::vector<CNote*> chosen;
                for (CNote* n : view)
                    if (pick(3) == 0) chosen.push_back(n);
                switch (pick(6)) {
                case 0:
                    CNoteListEdit::ShiftByHour(chosen, pick(2) == 0);
                    break;
                case 1: // the editor (or a calendar day) gives a note another start
                    if (!view.empty()) {
                        CNote& n = *view[pick(int(view.size()))];
                        n.m_startTime = n.m_baseTime =
                            Clock::Now() + COleDateTimeSpan(0, 0, pick(240) - 30, 0);
                        n.Recompute();
                        model.Updated(n);
                    }
                    break;
                case 2: {
                    auto added = model.NewNote(0);
                    note(*added, pick(240));
                    model.Add(std::move(added));
                    break;
                }
                case 3:
                    model.Delete(chosen);
                    break;
                case 4: {
                    bool refresh = false;
                    CNoteListEdit::FileInCategory(chosen, 1 + pick(3), 0, refresh);
                    break;
                }
                default:
                    model.Sort(CNoteSort::ByText, pick(2) == 0);
                    break;
                }
                Clock::AdvanceForTest(pick(120)); // the user takes a while
            }
        };
        for (int round = 0; round < 6; ++round) {
            ASSERT_TRUE(CManagerSession::Run(hub, manager));
            sessionEnd = Clock::Now();
            expectation();
            answer();
            for (int tick = 0, ticks = pick(400); tick < ticks; ++tick) {
                Clock::AdvanceForTest(period);
                hub.OnTimer(CTrayCore::TimerCheck);
                answer();
            }
            for (const auto& [title, times] : rang) {
                ASSERT_EQ(times.size(), 1u) << title << " rang twice";
                ASSERT_TRUE(due.count(title)) << title;
                EXPECT_GE(times[0], due[title]) << title << " rang early";
                EXPECT_LE((times[0] - due[title]).GetTotalDays() * 86400.0, period + 1e-3)
                    << title << " rang late";
                due.erase(title);
            }
            rang.clear();
            for (const auto& [title, at] : due) // not rung yet: not yet due either
                EXPECT_GT(at, Clock::Now() - COleDateTimeSpan(0, 0, 0, 1)) << title;
        }
        hub.Store().Clear();
        hub.StopTimers();
    }
}

} // namespace
