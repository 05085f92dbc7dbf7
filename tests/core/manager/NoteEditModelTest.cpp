#include "core/manager/CNoteEditModel.h"
#include "core/platform/Clock.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
const COleDateTime kNow(2003, 5, 13, 9, 30, 0);

class NoteEditModel : public ::testing::Test {
protected:
    void SetUp() override { Clock::SetForTest(kNow); }
    void TearDown() override { Clock::ResetForTest(); }

    // The visible controls as letters: c count, u unit, p prior, i index check, f index field.
    static std::string Shown(const CNoteEditModel& m) {
        const auto& v = m.Visible();
        std::string s;
        if (v.count) s += 'c';
        if (v.unit) s += 'u';
        if (v.prior) s += 'p';
        if (v.indexCheck) s += 'i';
        if (v.indexField) s += 'f';
        return s;
    }
    // Every, the given unit, and typed texts, as a user would set them.
    static void Every(CNoteEditModel& m, int unit, const char* count, const char* prior) {
        m.OnTypeChanged(CNote::Every);
        m.OnUnitChanged(unit);
        m.m_countText = count;
        m.m_priorText = prior;
    }
    static std::string Fields(const CNote& n) {
        return std::to_string(n.m_type) + " " + std::to_string(n.m_recurrence) + " " +
               std::to_string(n.m_indexDay) + " " + std::to_string(n.m_priorDays) + " " +
               n.m_startTime.Format("%Y-%m-%d %H:%M:%S") + " " +
               n.m_alarmTime.Format("%Y-%m-%d %H:%M:%S") + " " + n.m_title + "|" + n.m_text;
    }
};

TEST_F(NoteEditModel, ChoosingATypeSetsUnitCountPriorAndStart) {
    CNoteEditModel m(false);
    m.LoadFromNote(nullptr);
    EXPECT_EQ(Shown(m), "p");
    const COleDateTime start(2003, 7, 1, 8, 0, 0);
    m.m_start.SetTime(start);
    m.m_priorText = "3";
    EXPECT_FALSE(m.OnTypeChanged(CNote::Memo));
    EXPECT_EQ(Shown(m), "");
    EXPECT_EQ(m.m_start.Value(), start); // a memo keeps its start
    EXPECT_EQ(m.m_priorText, "0");

    m.m_priorText = "3";
    EXPECT_FALSE(m.OnTypeChanged(CNote::Every));
    EXPECT_EQ(Shown(m), "cu");
    EXPECT_EQ(m.m_unit, CNote::Day);
    EXPECT_EQ(m.m_countText, "1");
    EXPECT_EQ(m.m_priorText, "0");
    EXPECT_EQ(m.m_start.Value(), COleDateTime(2003, 5, 13, 10, 30, 0));

    m.m_countText = "7"; // kept while the count stays shown
    m.OnUnitChanged(CNote::Week);
    EXPECT_EQ(Shown(m), "cup");
    EXPECT_EQ(m.m_countText, "7");
    for (int unit : {CNote::Minute, CNote::Hour, CNote::Day}) {
        m.m_priorText = "4";
        m.OnUnitChanged(unit);
        EXPECT_EQ(Shown(m), "cu") << unit;
        EXPECT_EQ(m.m_priorText, "0");
    }
    m.OnUnitChanged(CNote::Workday);
    EXPECT_EQ(Shown(m), "u");
    EXPECT_EQ(m.m_countText, "1");

    m.OnUnitChanged(CNote::Month);
    EXPECT_EQ(Shown(m), "cupi");
    m.m_index.SetIndexRule(3, 4, 5, true);
    m.OnIndexCheckClicked(true); // the field appears with the first rule, monthly for Month
    EXPECT_EQ(Shown(m), "cupif");
    EXPECT_EQ(m.m_index.IndexDay(), 10011);
    m.OnUnitChanged(CNote::Year);
    EXPECT_FALSE(m.m_indexChecked);
    EXPECT_EQ(Shown(m), "cupi");
    m.OnIndexCheckClicked(true);
    EXPECT_EQ(m.m_index.IndexDay(), 10111);
    m.OnIndexCheckClicked(false);
    EXPECT_EQ(Shown(m), "cupi");

    EXPECT_FALSE(m.Clear());
    EXPECT_EQ(m.m_type, CNote::OneTime);
    EXPECT_EQ(Shown(m), "p");
}

TEST_F(NoteEditModel, NewEntryStartsEmptyAtTheNextWholeHourAndNoTimeHasSeconds) {
    Clock::SetForTest(COleDateTime(2003, 5, 13, 7, 6, 11));
    CNoteEditModel m(false);
    CNote filed;
    filed.m_type = CNote::Every;
    filed.m_recurrence = 2 * 1000 + 3;
    filed.m_title = "Dentist";
    filed.m_text = "bring the card";
    filed.m_startTime = COleDateTime(2003, 5, 1, 9, 0, 0);
    m.LoadFromNote(&filed);
    m.NewEntry();
    CNote fresh;
    ASSERT_FALSE(m.SaveToNote(fresh));
    EXPECT_EQ(Fields(fresh), "133 0 0 0 2003-05-13 08:00:00 2003-05-13 08:00:00 |");
    // A minute picked in the field rings on the minute, whatever second the editor opened at.
    m.LoadFromNote(nullptr);
    m.m_start.StepFieldOf(CDateTimeFields::Minute, 1);
    ASSERT_FALSE(m.SaveToNote(fresh));
    EXPECT_EQ(fresh.m_alarmTime.Format("%H:%M:%S"), "08:07:00");
    EXPECT_EQ(CNoteEditModel::NextWholeHour(COleDateTime(2003, 12, 31, 23, 0, 0)),
              COleDateTime(2004, 1, 1, 0, 0, 0));
}

TEST_F(NoteEditModel, SavingWritesTheRecurrenceAndRecomputes) {
    CNoteEditModel m(false);
    CNote n;
    Every(m, CNote::Week, "3", "2");
    m.m_start.SetTime(COleDateTime(2003, 6, 1, 10, 0, 0));
    m.m_subject = "Rent";
    m.m_item = "Pay it";
    ASSERT_FALSE(m.SaveToNote(n));
    EXPECT_EQ(n.m_type, CNote::Every);
    EXPECT_EQ(n.m_recurrence, 3003);
    EXPECT_EQ(n.m_priorDays, 2);
    EXPECT_EQ(n.m_title, "Rent");
    EXPECT_EQ(n.m_text, "Pay it");
    EXPECT_EQ(n.m_baseTime, COleDateTime(2003, 6, 1, 10, 0, 0));
    EXPECT_EQ(n.m_alarmTime, COleDateTime(2003, 5, 30, 10, 0, 0)); // recomputed

    for (auto [unit, count, recurrence] : {std::tuple{CNote::Hour, "5", 1005},
                                           {CNote::Workday, "1", 6000},
                                           {CNote::Weekend, "1", 7000}}) {
        Every(m, unit, count, "0");
        ASSERT_FALSE(m.SaveToNote(n));
        EXPECT_EQ(n.m_recurrence, recurrence);
        EXPECT_EQ(n.m_priorDays, 0);
    }
    EXPECT_EQ(n.m_nextTime.GetDayOfWeek(), 7); // Tuesday -> the coming Saturday

    Every(m, CNote::Year, "1", "0");
    m.OnIndexCheckClicked(true);
    m.m_index.SetIndexRule(4, 5, 11, false);
    ASSERT_FALSE(m.SaveToNote(n));
    EXPECT_EQ(n.m_indexDay, 11154);
    EXPECT_EQ(n.m_nextTime, COleDateTime(2003, 11, 27, 10, 30, 0));

    m.OnTypeChanged(CNote::Memo);
    m.m_start.SetTime(COleDateTime(2001, 1, 2, 3, 4, 0));
    ASSERT_FALSE(m.SaveToNote(n));
    EXPECT_EQ(n.m_recurrence, 20000);
    EXPECT_EQ(n.m_indexDay, 0);
    EXPECT_EQ(n.m_dueSoon, 0);
    EXPECT_EQ(n.m_alarmTime, n.m_startTime);
    EXPECT_EQ(n.m_nextTime, n.m_startTime);

    m.OnTypeChanged(CNote::OneTime);
    m.m_priorText = "1";
    ASSERT_FALSE(m.SaveToNote(n));
    EXPECT_EQ(n.m_recurrence, 0);
    EXPECT_EQ(n.m_alarmTime, COleDateTime(2003, 5, 12, 10, 30, 0));
}

TEST_F(NoteEditModel, RefusedValuesLeaveTheNoteUntouched) {
    CNoteEditModel m(false);
    CNote n;
    n.m_title = "Keep";
    const std::string before = Fields(n);
    struct Case {
        const char *count, *prior;
        CNoteEditModel::Edit edit;
        const char* message;
    } cases[] = {
        {"0", "1", CNoteEditModel::CountEdit, "Please enter an integer between 1 and 999."},
        {"1000", "1", CNoteEditModel::CountEdit, "Please enter an integer between 1 and 999."},
        {"2x", "1", CNoteEditModel::CountEdit, "Please enter an integer."},
        {" 999 ", "25", CNoteEditModel::PriorEdit, "Please enter an integer between 0 and 24."},
        {"1", "-1", CNoteEditModel::PriorEdit, "Please enter an integer between 0 and 24."},
        {"1", "", CNoteEditModel::PriorEdit, "Please enter an integer."},
    };
    for (const Case& c : cases) {
        Every(m, CNote::Month, c.count, c.prior);
        m.m_subject = "Changed";
        auto refused = m.SaveToNote(n);
        ASSERT_TRUE(refused) << c.count << " " << c.prior;
        EXPECT_EQ(refused->edit, c.edit);
        EXPECT_EQ(refused->message, c.message);
        EXPECT_EQ(Fields(n), before);
    }
    // A type change reports a refused count, goes on, and shows the last good count again.
    Every(m, CNote::Week, "12", "0");
    m.StepCount(1);
    EXPECT_EQ(m.m_countText, "13");
    m.m_countText = "5000";
    m.StepCount(1); // the arrows step from the last good count
    EXPECT_EQ(m.m_countText, "14");
    m.m_countText = "abc";
    auto refused = m.OnTypeChanged(CNote::Every);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->edit, CNoteEditModel::CountEdit);
    EXPECT_EQ(m.m_countText, "14");
    EXPECT_EQ(m.m_unit, CNote::Day);
    m.m_countText = "999";
    m.StepCount(1);
    EXPECT_EQ(m.m_countText, "999");
}

TEST_F(NoteEditModel, LoadingShowsWhatSavingWrote) {
    CNoteEditModel m(false);
    CNote n;
    n.m_type = CNote::Every;
    n.m_recurrence = 6000;
    n.m_title = "Stand-up";
    m.LoadFromNote(&n);
    EXPECT_EQ(m.m_unit, CNote::Workday);
    EXPECT_EQ(m.m_countText, "1");
    EXPECT_EQ(Shown(m), "u");
    EXPECT_EQ(m.m_subject, "Stand-up");

    n.m_recurrence = 4002;
    n.m_indexDay = 11275;
    n.m_priorDays = 3;
    n.m_startTime = COleDateTime(2003, 12, 27, 18, 0, 0);
    m.LoadFromNote(&n);
    EXPECT_EQ(Shown(m), "cupif");
    EXPECT_EQ(m.m_countText, "2");
    EXPECT_EQ(m.m_priorText, "3");
    EXPECT_EQ(m.m_index.Text(), "Last Sat of Dec");
    EXPECT_EQ(m.m_start.Text(), "Sat, Dec 27, 2003 06:00 PM");
    CNote copy = n;
    ASSERT_FALSE(m.SaveToNote(copy));
    EXPECT_EQ(copy.m_recurrence, 4002);
    EXPECT_EQ(copy.m_indexDay, 11275);
    EXPECT_EQ(copy.m_priorDays, 3);

    n.m_recurrence = 3000; // no count stored: 1
    n.m_indexDay = 11275;  // an index day on a weekly note is not shown
    m.LoadFromNote(&n);
    EXPECT_EQ(m.m_countText, "1");
    EXPECT_EQ(Shown(m), "cup");
    n.m_recurrence = 9001; // a damaged unit shows as days
    m.LoadFromNote(&n);
    EXPECT_EQ(m.m_unit, CNote::Day);

    CNote memo;
    memo.m_startTime = COleDateTime(2002, 2, 2, 2, 2, 0);
    memo.m_priorDays = 9;
    m.LoadFromNote(&memo);
    EXPECT_EQ(m.m_type, CNote::Memo);
    EXPECT_EQ(m.m_priorText, "0");
    EXPECT_EQ(m.m_start.Value(), memo.m_startTime);

    m.LoadFromNote(nullptr); // a new entry starts in an hour
    EXPECT_EQ(m.m_type, CNote::OneTime);
    EXPECT_EQ(m.m_start.Value(), COleDateTime(2003, 5, 13, 10, 30, 0));
}

TEST_F(NoteEditModel, TheTimeOnlyFormNeverTouchesSubjectOrText) {
    CNoteEditModel m(true);
    CNote n;
    n.m_type = CNote::OneTime;
    n.m_title = "Title";
    n.m_text = "Body";
    m.LoadFromNote(&n);
    EXPECT_EQ(m.m_subject, "");
    m.m_subject = "Other";
    m.m_item = "Other";
    m.OnTypeChanged(CNote::Every);
    ASSERT_FALSE(m.SaveToNote(n));
    EXPECT_EQ(n.m_title, "Title");
    EXPECT_EQ(n.m_text, "Body");
    EXPECT_EQ(n.m_recurrence, 2001);
}

} // namespace
