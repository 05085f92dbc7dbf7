#include "core/manager/CNoteFilter.h"
#include "core/manager/CNoteListDrag.h"
#include "core/manager/CNoteListEdit.h"
#include "core/manager/CNoteListFormat.h"
#include "core/manager/CNoteSort.h"
#include "core/model/CNote.h"
#include "core/platform/Clock.h"
#include "support/NoteBuilder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {
using F = CNoteListFormat;
const COleDateTime kNow(2003, 11, 6, 10, 0, 0); // a Thursday

COleDateTimeSpan Minutes(double m) {
    return COleDateTimeSpan(m / 1440.0);
}

std::unique_ptr<CNote> Note(int type, const COleDateTime& alarm, const char* title = "") {
    return NoteBuilder(type).At(alarm).Title(title).Build();
}

std::vector<CNote*> Ptrs(const std::vector<std::unique_ptr<CNote>>& v) {
    std::vector<CNote*> out;
    for (auto& n : v)
        out.push_back(n.get());
    return out;
}

class NoteList : public ::testing::Test {
protected:
    void SetUp() override { Clock::SetForTest(kNow); }
    void TearDown() override { Clock::ResetForTest(); }
};
} // namespace

TEST_F(NoteList, TimeLeftTexts) {
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(1.0)), "1 day");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(-1.0)), "-1 day");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(-3.5)), "-3 days");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(30 * 60)), "1 day");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(23 * 60 + 59)), "23 hours");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(60)), "1 hour");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(-90)), "-1 hour");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(59)), "59 minutes");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(1.5)), "1 minute");
    EXPECT_EQ(F::FormatTimeLeft(Minutes(0.5)), "0 minutes");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(10000.9)), "10000 days");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(10001.0)), "");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(-10001.0)), "");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(1e300)), "");
    EXPECT_EQ(F::FormatTimeLeft(COleDateTimeSpan(std::nan(""))), "");

    auto memo = Note(CNote::Memo, kNow + COleDateTimeSpan(2.0));
    auto timed = Note(CNote::OneTime, kNow + COleDateTimeSpan(2.0));
    EXPECT_EQ(F::TimeLeftText(*memo, kNow), "");
    EXPECT_EQ(F::TimeLeftText(*timed, kNow), "2 days");
    EXPECT_EQ(F::TimeText(*timed), "Sat, Nov 08,2003 10:00 AM");
    // Rung a minute ago and put off for 15 minutes: when it rings again, not "-1 minute".
    auto snoozed = Note(CNote::OneTime, kNow - Minutes(1));
    snoozed->m_alarmTime = kNow + Minutes(14.5);
    EXPECT_EQ(F::TimeLeftText(*snoozed, kNow), "snoozed, 14 minutes");
    // A note without a title is listed by its first line of text.
    bool untitled = false;
    EXPECT_EQ(F::TitleText(*snoozed, untitled), "");
    EXPECT_TRUE(untitled);
    snoozed->m_text = "\r\n  Buy milk\r\nand bread";
    EXPECT_EQ(F::TitleText(*snoozed, untitled), "Buy milk");
    snoozed->m_title = "Shop";
    EXPECT_EQ(F::TitleText(*snoozed, untitled), "Shop");
    EXPECT_FALSE(untitled);
}

TEST_F(NoteList, IconsByDueStateAndMinutesLeft) {
    auto icon = [](int type, double minutes, int dueSoon) {
        auto n = Note(type, kNow + Minutes(minutes));
        n->m_dueSoon = dueSoon;
        return F::RowIcon(*n, kNow);
    };
    EXPECT_EQ(icon(CNote::OneTime, 61, 1), F::GreenBell);
    EXPECT_EQ(icon(CNote::OneTime, 60, 1), F::YellowBell);
    EXPECT_EQ(icon(CNote::Every, 5, 1), F::YellowBell);
    EXPECT_EQ(icon(CNote::OneTime, 4, 1), F::RedBell);
    EXPECT_EQ(icon(CNote::OneTime, -300, 1), F::RedBell);
    EXPECT_EQ(icon(CNote::OneTime, 4, 0), F::YellowPage);
    EXPECT_EQ(icon(CNote::Every, 600, 0), F::YellowPage);
    EXPECT_EQ(icon(CNote::Memo, 4, 0), F::GreenPage);

    EXPECT_EQ(F::DueSoonTextColor(RGB(0, 0, 0)), RGB(0, 0, 204));
    const COLORREF onDark = F::DueSoonTextColor(RGB(255, 255, 255));
    EXPECT_LT(GetBValue(onDark), 128); // still far from a dark background
    EXPECT_GT(GetRValue(onDark), 200);
    EXPECT_EQ(F::TintedColumnColor(RGB(255, 255, 255)), RGB(242, 242, 242));
}

TEST_F(NoteList, SortKeysAndToggles) {
    std::vector<std::unique_ptr<CNote>> v;
    v.push_back(Note(CNote::Memo, kNow + COleDateTimeSpan(-5.0), "apple"));
    v.push_back(Note(CNote::OneTime, kNow + COleDateTimeSpan(30.0), "Zebra"));
    v.push_back(Note(CNote::Memo, kNow + COleDateTimeSpan(-9.0), "\xc3\xa9t\xc3\xa9"));
    v.push_back(Note(CNote::Every, kNow + COleDateTimeSpan(1.0), "banana"));
    v[3]->m_recurrence = 2003;                       // every 3 days
    v[0]->m_recurrence = v[2]->m_recurrence = 20000; // as the editor stores memos
    auto titles = [&] {
        std::string s;
        for (auto& n : v)
            s += n->m_title.substr(0, 2) + ",";
        return s;
    };
    // Bytes, not letters: upper case before lower case, bytes above 127 last.
    CNoteSort::Sort(v, CNoteSort::ByText, true);
    EXPECT_EQ(titles(), "Ze,ap,ba,\xc3\xa9,");
    // Every memo after every timed note, memos among themselves by their own times.
    CNoteSort::Sort(v, CNoteSort::ByTime, true);
    EXPECT_EQ(titles(), "ba,Ze,\xc3\xa9,ap,");
    CNoteSort::Sort(v, CNoteSort::ByTime, false);
    EXPECT_EQ(titles(), "ap,\xc3\xa9,Ze,ba,");
    CNoteSort::Sort(v, CNoteSort::ByType, true); // One Time, every 3 days, then the memos
    EXPECT_EQ(titles().substr(0, 6), "Ze,ba,");

    CNoteSort::Toggles t;
    bool asc = true;
    EXPECT_EQ(t.Take(0, asc), CNoteSort::ByText);
    EXPECT_FALSE(asc); // the first click sorts descending
    t.Take(0, asc);
    EXPECT_TRUE(asc);
    EXPECT_EQ(t.Take(1, asc), CNoteSort::ByTime);
    EXPECT_FALSE(asc);
    EXPECT_EQ(t.Take(2, asc), CNoteSort::ByTime); // "Time Left" shares the toggle of "Time"
    EXPECT_TRUE(asc);
    EXPECT_EQ(t.Take(3, asc), CNoteSort::ByType);
    EXPECT_FALSE(asc);
}

// The selection sort as written, one comparison at a time; the fast sort must leave every
// note exactly where this leaves it (ties included, as the swaps make it unstable). Each
// note's key is worked out first and travels with it, so 10,000 rounds stay quick.
template <class K, class Before>
void LiteralSelectionSort(std::vector<CNote*>& v, std::vector<K> keys, Before before) {
    for (size_t i = 0; i < v.size(); ++i) {
        size_t best = i;
        for (size_t j = i + 1; j < v.size(); ++j)
            if (before(keys[j], keys[best])) best = j;
        if (best != i) {
            std::swap(v[i], v[best]);
            std::swap(keys[i], keys[best]);
        }
    }
}

void LiteralSelectionSort(std::vector<CNote*>& v, CNoteSort::Key key, bool ascending) {
    std::vector<const unsigned char*> text;
    std::vector<double> time; // COleDateTime compares by this value
    std::vector<int> type;
    for (const CNote* n : v) {
        text.push_back(reinterpret_cast<const unsigned char*>(n->m_title.c_str()));
        time.push_back(n->m_type == CNote::Memo
                           ? (n->m_alarmTime + COleDateTimeSpan(36500.0)).Linear()
                           : n->m_alarmTime.Linear());
        type.push_back(n->m_type + n->m_recurrence);
    }
    // One instantiation per direction keeps the direction out of the innermost loop.
    auto run = [&](auto ordered) {
        if (key == CNoteSort::ByText) // byte by byte, unsigned, up to the terminating zero
            LiteralSelectionSort(v, text, [&](const unsigned char* x, const unsigned char* y) {
                while (*x && *x == *y)
                    ++x, ++y;
                return ordered(*x, *y);
            });
        else if (key == CNoteSort::ByTime)
            LiteralSelectionSort(v, time, ordered);
        else
            LiteralSelectionSort(v, type, ordered);
    };
    if (ascending)
        run([](auto a, auto b) { return a < b; });
    else
        run([](auto a, auto b) { return b < a; });
}

TEST_F(NoteList, FastSortEqualsTheLiteralSelectionSort) {
    std::mt19937 rng(13);
    std::vector<CNote> pool(300);
    const char letters[4] = {'a', 'Z', 'b', '\0'};
    const int types[3] = {CNote::Memo, CNote::OneTime, CNote::Every};
    const int recurrences[4] = {0, 1001, 2003, 6000};
    int mismatches = 0;
    for (int round = 0; round < 10000 && mismatches < 5; ++round) {
        const int n = static_cast<int>(rng() % 301);
        std::vector<CNote*> notes;
        for (int i = 0; i < n; ++i) {
            CNote& note = pool[i];
            // Around the eight bytes the sort looks at first, with stray zero bytes.
            note.m_title = rng() % 2 ? "" : rng() % 2 ? "Shopping" : "Shoppin";
            for (int k = rng() % 3; k > 0; --k)
                note.m_title += letters[rng() % 4];
            note.m_type = types[rng() % 3];
            note.m_recurrence = recurrences[rng() % 4];
            note.m_alarmTime = kNow + COleDateTimeSpan(static_cast<double>(rng() % 6) / 24.0);
            notes.push_back(&note);
        }
        for (auto key : {CNoteSort::ByText, CNoteSort::ByTime, CNoteSort::ByType})
            for (bool ascending : {true, false}) {
                std::vector<CNote*> fast = notes, slow = notes;
                CNoteSort::Sort(fast, key, ascending);
                LiteralSelectionSort(slow, key, ascending);
                if (fast != slow) {
                    ADD_FAILURE() << "round " << round << " size " << n << " key " << key
                                  << (ascending ? " ascending" : " descending");
                    ++mismatches;
                }
            }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(NoteList, TimeTabsAndCategory) {
    auto at = [](int y, int m, int d, int h) { return Note(CNote::OneTime, {y, m, d, h, 0, 0}); };
    // Sunday 2003-11-09: the week is that Sunday 00:00 to Saturday 23:59:59.
    const CNoteFilter sunday(0, CNoteFilter::ThisWeek, {2003, 11, 9, 15, 0, 0});
    EXPECT_TRUE(sunday.Passes(*at(2003, 11, 9, 0)));
    EXPECT_TRUE(sunday.Passes(*at(2003, 11, 15, 23)));
    EXPECT_FALSE(sunday.Passes(*at(2003, 11, 16, 0)));
    EXPECT_FALSE(sunday.Passes(*at(2003, 11, 8, 23)));
    // Saturday 2003-11-15: the six days before it belong to its week.
    const CNoteFilter saturday(0, CNoteFilter::ThisWeek, {2003, 11, 15, 8, 0, 0});
    EXPECT_TRUE(saturday.Passes(*at(2003, 11, 9, 1)));
    EXPECT_FALSE(saturday.Passes(*at(2003, 11, 8, 1)));
    // Across a year end.
    const CNoteFilter newYear(0, CNoteFilter::ThisWeek, {2004, 1, 1, 8, 0, 0});
    EXPECT_TRUE(newYear.Passes(*at(2003, 12, 28, 1)));

    const CNoteFilter month(0, CNoteFilter::ThisMonth, kNow), today(0, CNoteFilter::Today, kNow);
    EXPECT_TRUE(month.Passes(*at(2003, 11, 30, 23)));
    EXPECT_FALSE(month.Passes(*at(2004, 11, 6, 10)));
    EXPECT_TRUE(today.Passes(*at(2003, 11, 6, 23)));
    EXPECT_FALSE(today.Passes(*at(2003, 10, 6, 10)));
    // On the 31st late in the evening the month is still the whole of that month.
    const CNoteFilter lastDay(0, CNoteFilter::ThisMonth, {2003, 12, 31, 23, 59, 59});
    EXPECT_TRUE(lastDay.Passes(*at(2003, 12, 1, 0)));
    EXPECT_TRUE(lastDay.Passes(*at(2003, 12, 31, 23)));
    EXPECT_FALSE(lastDay.Passes(*at(2004, 1, 1, 0)));
    EXPECT_FALSE(lastDay.Passes(*at(2003, 11, 30, 23)));

    auto filed = at(2003, 11, 6, 10);
    filed->m_category = 7;
    EXPECT_TRUE(CNoteFilter(7, CNoteFilter::AllNotes, kNow).Passes(*filed));
    EXPECT_FALSE(CNoteFilter(8, CNoteFilter::AllNotes, kNow).Passes(*filed));
    EXPECT_TRUE(CNoteFilter(0, CNoteFilter::Today, kNow).Passes(*filed));
    EXPECT_FALSE(CNoteFilter(0, 146, kNow).Passes(*filed));
}

TEST_F(NoteList, DragGestures) {
    using S = CNoteListDrag::State;
    using A = CNoteListDrag::Action;
    using C = CNoteListDrag::Cursor;
    CNoteListDrag d;
    // A plain click never arms a drag, and moves without one do nothing.
    d.Clicked();
    EXPECT_EQ(d.MouseMoved(1).action, A::None);
    EXPECT_EQ(d.LeftUp(false).action, A::None);
    EXPECT_EQ(d.GetState(), S::Idle);

    // Left drag: pending, then dragging on the first move; released, the notes are posted.
    d.LeftDragDetected();
    EXPECT_EQ(d.GetState(), S::LeftPending);
    EXPECT_EQ(d.MouseMoved(3).cursor, C::Many);
    EXPECT_EQ(d.GetState(), S::LeftDragging);
    EXPECT_EQ(d.MouseMoved(3).action, A::TrackCategory); // the tree shows where it would file
    const auto up = d.LeftUp(false);
    EXPECT_EQ(up.action, A::PostNotes);
    EXPECT_EQ(up.cursor, C::Arrow);
    EXPECT_EQ(d.GetState(), S::Idle);
    // Ended on the category tree, a left drag files the notes instead.
    d.LeftDragDetected();
    d.MouseMoved(1);
    EXPECT_EQ(d.LeftUp(true).action, A::DropOnCategory);

    // Released without a move: nothing posted. A right click cancels a left drag.
    d.LeftDragDetected();
    EXPECT_EQ(d.LeftUp(true).action, A::None);
    EXPECT_EQ(d.GetState(), S::Idle);
    d.LeftDragDetected();
    d.MouseMoved(1);
    EXPECT_EQ(d.RightDown(true).cursor, C::Arrow);
    EXPECT_EQ(d.GetState(), S::Idle);
    EXPECT_EQ(d.LeftUp(false).action, A::None);

    // Right drag only with the category tree shown; it tracks the tree and drops on release.
    d.RightDown(false);
    EXPECT_EQ(d.GetState(), S::Idle);
    d.RightDown(true);
    EXPECT_EQ(d.GetState(), S::RightPending);
    EXPECT_EQ(d.RightUp().action, A::None); // no move: no drop
    d.RightDown(true);
    const auto move = d.MouseMoved(1);
    EXPECT_EQ(move.cursor, C::One);
    EXPECT_EQ(move.action, A::TrackCategory);
    EXPECT_EQ(d.MouseMoved(1).action, A::TrackCategory);
    EXPECT_EQ(d.RightUp().action, A::DropOnCategory);
    EXPECT_EQ(d.GetState(), S::Idle);
}

TEST_F(NoteList, ShiftByHourAndFileInCategory) {
    std::vector<std::unique_ptr<CNote>> v;
    v.push_back(Note(CNote::OneTime, kNow + Minutes(30)));
    v.push_back(Note(CNote::Memo, kNow));
    v[0]->Recompute();
    const COleDateTime memoStart = v[1]->m_startTime;
    auto minutesFromNow = [](const COleDateTime& t) { return (t - kNow).GetTotalMinutes(); };
    CNoteListEdit::ShiftByHour(Ptrs(v), true);
    EXPECT_NEAR(minutesFromNow(v[0]->m_nextTime), 90, 1e-6);
    EXPECT_NEAR(minutesFromNow(v[0]->m_alarmTime), 90, 1e-6);
    EXPECT_EQ(v[0]->m_baseTime, v[0]->m_startTime);
    EXPECT_EQ(v[1]->m_nextTime, memoStart); // a memo's shown time stays
    CNoteListEdit::ShiftByHour(Ptrs(v), false);
    EXPECT_NEAR(minutesFromNow(v[0]->m_nextTime), 30, 1e-6);

    bool refresh = true;
    EXPECT_FALSE(CNoteListEdit::FileInCategory(Ptrs(v), CNoteListEdit::kNoCategory, 0, refresh));
    EXPECT_FALSE(CNoteListEdit::FileInCategory(Ptrs(v), 4, 4, refresh));
    EXPECT_EQ(v[0]->m_category, 0);
    EXPECT_TRUE(CNoteListEdit::FileInCategory(Ptrs(v), 4, 0, refresh));
    EXPECT_FALSE(refresh); // with all categories shown, the rows stay
    EXPECT_EQ(v[1]->m_category, 4);
    EXPECT_TRUE(CNoteListEdit::FileInCategory(Ptrs(v), 5, 4, refresh));
    EXPECT_TRUE(refresh);
}
