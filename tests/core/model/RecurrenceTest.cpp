#include "model/CNote.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

COleDateTime T(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return COleDateTime(y, mo, d, h, mi, s);
}

std::string Text(const COleDateTime& t) {
    return t.IsValid() ? t.Format("%Y-%m-%d %H:%M:%S %a") : std::string("invalid");
}

class Recurrence : public testing::Test {
protected:
    void TearDown() override { Clock::ResetForTest(); }

    // An Every note whose last occurrence (and start) is base.
    static CNote Every(int unit, int count, const COleDateTime& base, int priorDays = 0) {
        CNote n;
        n.m_type = CNote::Every;
        n.m_recurrence = unit * 1000 + count;
        n.m_startTime = n.m_baseTime = n.m_nextTime = n.m_alarmTime = base;
        n.m_priorDays = priorDays;
        return n;
    }

    // Recomputes at now and checks the invariants every result must keep.
    static void StepAt(CNote& n, const COleDateTime& now) {
        Clock::SetForTest(now);
        EXPECT_EQ(n.Recompute(), 1);
        EXPECT_EQ(n.m_baseTime, n.m_nextTime);
        if (n.m_nextTime.IsValid()) {
            EXPECT_EQ(Text(n.m_alarmTime),
                      Text(n.m_nextTime - COleDateTimeSpan(static_cast<double>(n.m_priorDays))));
        }
    }
};

} // namespace

TEST_F(Recurrence, MinutesAndHours) {
    CNote n = Every(CNote::Minute, 15, T(2003, 5, 13, 10, 0));
    StepAt(n, T(2003, 5, 13, 10, 47)); // M = 47, q = 3
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 13, 11, 0)));
    StepAt(n, T(2003, 5, 13, 11, 0)); // exactly on the occurrence: the next one
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 13, 11, 15)));

    n = Every(CNote::Hour, 2, T(2003, 5, 13, 8, 0));
    StepAt(n, T(2003, 5, 13, 11, 30)); // M = 210, q = 105, q / 60 = 1
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 13, 12, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 13, 12, 0)));

    n = Every(CNote::Day, 3, T(2003, 5, 12, 8, 0)); // Monday
    StepAt(n, T(2003, 5, 15, 9, 0));                // Thursday, an hour after an occurrence
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 18, 8, 0)));
}

TEST_F(Recurrence, AlarmNotYetComeLeavesTheOccurrence) {
    CNote n = Every(CNote::Day, 1, T(2003, 5, 13, 10, 0));
    n.m_startTime = T(2003, 5, 1, 10, 0);
    StepAt(n, T(2003, 5, 13, 9, 59));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 13, 10, 0)));
    CNote m = Every(CNote::Month, 1, T(2003, 6, 30, 10, 0));
    StepAt(m, T(2003, 6, 1));
    EXPECT_EQ(Text(m.m_nextTime), Text(T(2003, 6, 30, 10, 0)));
}

TEST_F(Recurrence, WeekWithPriorDaysAcknowledgedEarly) {
    // O = Friday 10:00 with 2 prior days; acknowledged on Wednesday 10:05: M = -2875.
    CNote n = Every(CNote::Week, 1, T(2003, 5, 16, 10, 0), 2);
    StepAt(n, T(2003, 5, 14, 10, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 23, 10, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 21, 10, 0)));
}

TEST_F(Recurrence, PriorDaysAsLongAsThePeriodKeepTheAlarm) {
    // Weekly with exactly 7 prior days: a whole period is never quite reached (the minutes
    // truncate toward zero), so the note moves on and rings at the occurrence just left.
    CNote n = Every(CNote::Week, 1, T(2003, 5, 23, 10, 0), 7);
    StepAt(n, T(2003, 5, 16, 10, 0));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 30, 10, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 23, 10, 0)));

    // 10 prior days: the step is 0 and the alarm stays where it is.
    n = Every(CNote::Week, 1, T(2003, 5, 23, 10, 0), 10);
    StepAt(n, T(2003, 5, 13, 10, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 23, 10, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 13, 10, 0)));

    // 24 prior days would make the step negative (two weeks back); it stays put instead.
    n = Every(CNote::Week, 1, T(2003, 6, 20, 10, 0), 24);
    StepAt(n, T(2003, 5, 27, 10, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 6, 20, 10, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 27, 10, 0)));

    // The same for days and minutes (prior days only a damaged file could give them).
    n = Every(CNote::Day, 1, T(2003, 5, 20, 10, 0), 5);
    StepAt(n, T(2003, 5, 15, 10, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 20, 10, 0)));
    n = Every(CNote::Minute, 15, T(2003, 5, 14, 10, 0), 1);
    StepAt(n, T(2003, 5, 13, 10, 5));
    EXPECT_GE(n.m_nextTime, T(2003, 5, 14, 10, 0));
}

TEST_F(Recurrence, MonthEndDayStaysLoweredWithinAWalk) {
    CNote n = Every(CNote::Month, 1, T(2003, 1, 31, 9, 30));
    StepAt(n, T(2003, 2, 10));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 2, 28, 9, 30)));

    n = Every(CNote::Month, 1, T(2003, 1, 31, 9, 30));
    StepAt(n, T(2003, 4, 15)); // Feb 28, Mar 28, Apr 28
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 4, 28, 9, 30)));

    // Each walk starts again from the start, so a later walk lowers the day the same way.
    StepAt(n, T(2003, 4, 29));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 28, 9, 30)));

    // A walk that never meets a short month keeps the 31st where it exists.
    n = Every(CNote::Month, 2, T(2003, 5, 31, 9, 30));
    StepAt(n, T(2003, 6, 1)); // July 31
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 7, 31, 9, 30)));

    // Carry into the year, also for counts above 12.
    n = Every(CNote::Month, 14, T(2003, 11, 15, 8, 0));
    StepAt(n, T(2003, 11, 16));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2005, 1, 15, 8, 0)));
    n = Every(CNote::Month, 1, T(2003, 12, 15, 8, 0));
    StepAt(n, T(2003, 12, 16));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 1, 15, 8, 0)));
    n = Every(CNote::Month, 12, T(2003, 12, 15, 8, 0));
    StepAt(n, T(2003, 12, 16));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 12, 15, 8, 0)));
}

TEST_F(Recurrence, YearlyFromFebruary29) {
    CNote n = Every(CNote::Year, 1, T(2004, 2, 29, 7, 0));
    StepAt(n, T(2004, 3, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2005, 2, 28, 7, 0)));
    n.m_baseTime = n.m_startTime;
    StepAt(n, T(2008, 1, 10)); // 2008 is a leap year, but the walk lowered the day already
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2008, 2, 28, 7, 0)));
    StepAt(n, T(2009, 3, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2010, 2, 28, 7, 0)));
}

TEST_F(Recurrence, WorkdaysAndWeekends) {
    // Saturday 2003-05-17 in the future moves to Monday at the same time.
    CNote n = Every(CNote::Workday, 0, T(2003, 5, 17, 9, 15));
    StepAt(n, T(2003, 5, 13, 12, 0));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 19, 9, 15)));

    // Friday 09:00 has passed: the next workday is Monday.
    n = Every(CNote::Workday, 0, T(2003, 5, 16, 9, 0));
    StepAt(n, T(2003, 5, 16, 9, 0, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 19, 9, 0)));
    // Tuesday before 09:00: today.
    n = Every(CNote::Workday, 0, T(2003, 5, 12, 9, 0));
    StepAt(n, T(2003, 5, 13, 8, 59));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 13, 9, 0)));
    // Years behind.
    n = Every(CNote::Workday, 0, T(1995, 1, 2, 9, 0));
    StepAt(n, T(2003, 5, 17, 10, 0)); // a Saturday
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 19, 9, 0)));

    n = Every(CNote::Weekend, 0, T(2003, 5, 12, 18, 0)); // Monday
    StepAt(n, T(2003, 5, 10));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 17, 18, 0)));
    StepAt(n, T(2003, 5, 17, 18, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 18, 18, 0)));
    StepAt(n, T(2003, 5, 18, 18, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 5, 24, 18, 0)));
}

TEST_F(Recurrence, IndexDayYearly) {
    // 10000 + 11 x 100 + 5 x 10 + 4: the fourth Thursday of November.
    CNote n = Every(CNote::Year, 1, T(2003, 1, 1, 9, 30));
    n.m_indexDay = 10000 + 11 * 100 + 5 * 10 + 4;
    StepAt(n, T(2003, 6, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 11, 27, 9, 30)));
    StepAt(n, T(2003, 11, 27, 9, 31));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 11, 25, 9, 30)));

    // Last Monday of May, every 2 years.
    n = Every(CNote::Year, 2, T(2003, 1, 1, 8, 0));
    n.m_indexDay = 10000 + 5 * 100 + 2 * 10 + 5;
    StepAt(n, T(2003, 6, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2005, 5, 30, 8, 0)));
}

TEST_F(Recurrence, IndexDayStartOnTheRuleDayAndPriorDays) {
    // The start itself is the rule's day and lies ahead: it is the occurrence.
    CNote n = Every(CNote::Year, 1, T(2003, 11, 27, 9, 0));
    n.m_indexDay = 11154;
    StepAt(n, T(2003, 11, 1));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 11, 27, 9, 0)));

    // With 3 prior days whose alarm has come and gone this year: next year.
    n = Every(CNote::Year, 1, T(2003, 11, 27, 9, 0), 3);
    n.m_indexDay = 11154;
    StepAt(n, T(2003, 11, 25, 10, 0));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 11, 25, 9, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2004, 11, 22, 9, 0)));
    // Before that alarm this year's day still counts.
    StepAt(n, T(2003, 11, 23, 10, 0));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 11, 27, 9, 0)));
}

TEST_F(Recurrence, IndexDayMonthlyAcrossTheYear) {
    // Last Friday of every month, after the last one of 2003 (Dec 26).
    CNote n = Every(CNote::Month, 1, T(2003, 11, 3, 17, 0));
    n.m_indexDay = 10000 + 6 * 10 + 5;
    StepAt(n, T(2003, 11, 3, 17, 0));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 11, 28, 17, 0)));
    StepAt(n, T(2003, 12, 27));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 1, 30, 17, 0)));

    // December with a count of 12 steps to December of the next year.
    n = Every(CNote::Month, 12, T(2003, 12, 1, 8, 0));
    n.m_indexDay = 10000 + 3 * 10 + 2; // second Tuesday
    StepAt(n, T(2003, 12, 20));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 12, 14, 8, 0)));

    // Every 3 months from November: February of the next year.
    n = Every(CNote::Month, 3, T(2003, 11, 1, 8, 0));
    n.m_indexDay = 10000 + 2 * 10 + 1; // first Monday
    StepAt(n, T(2003, 11, 4));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 2, 2, 8, 0)));
}

TEST_F(Recurrence, WallClockAcrossDaylightSavingChanges) {
    std::optional<std::string> oldTz;
    if (const char* tz = std::getenv("TZ")) oldTz = tz;
    setenv("TZ", "America/New_York", 1);
    tzset();

    // 2024-03-10 02:00 does not exist locally; an hourly note simply carries on by the hour.
    CNote n = Every(CNote::Hour, 1, T(2024, 3, 10, 0, 0));
    StepAt(n, T(2024, 3, 10, 3, 30));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2024, 3, 10, 4, 0)));
    n = Every(CNote::Hour, 3, T(2024, 11, 2, 23, 0));
    StepAt(n, T(2024, 11, 3, 1, 30)); // in the repeated hour
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2024, 11, 3, 2, 0)));

    n = Every(CNote::Day, 1, T(2024, 3, 9, 9, 0));
    StepAt(n, T(2024, 3, 10, 9, 30));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2024, 3, 11, 9, 0)));

    n = Every(CNote::Week, 1, T(2024, 11, 1, 9, 0));
    StepAt(n, T(2024, 11, 1, 9, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2024, 11, 8, 9, 0)));
    n = Every(CNote::Week, 2, T(2024, 3, 1, 9, 0), 3);
    StepAt(n, T(2024, 3, 1, 9, 5));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2024, 3, 15, 9, 0)));
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2024, 3, 12, 9, 0)));

    if (oldTz)
        setenv("TZ", oldTz->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(Recurrence, ManyStepsDoNotDrift) {
    CNote n = Every(CNote::Minute, 7, T(2003, 5, 13, 10, 0));
    for (int i = 0; i < 20000; ++i)
        StepAt(n, n.m_alarmTime + COleDateTimeSpan(0, 0, 0, 1));
    // 20000 x 7 minutes = 97 days 5 hours 20 minutes, to the second.
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 8, 18, 15, 20)));
    EXPECT_NEAR(n.m_nextTime.m_dt, T(2003, 8, 18, 15, 20).m_dt, 1e-9);
}

TEST_F(Recurrence, HopelessRulesEndInsteadOfLooping) {
    // Stepping by 0 (only a damaged file can hold it) steps by 1.
    CNote n = Every(CNote::Month, 0, T(2003, 1, 15, 8, 0));
    StepAt(n, T(2003, 3, 20));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 4, 15, 8, 0)));
    n = Every(CNote::Minute, 0, T(2003, 1, 15, 8, 0));
    StepAt(n, T(2003, 1, 15, 8, 10, 30));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2003, 1, 15, 8, 11)));
    n = Every(CNote::Year, 0, T(2003, 1, 15, 8, 0));
    n.m_indexDay = 10000 + 100 + 2 * 10 + 1;
    StepAt(n, T(2003, 3, 20));
    EXPECT_EQ(Text(n.m_nextTime), Text(T(2004, 1, 5, 8, 0)));

    // Past the last year the date type holds, or a rule month that does not exist: the
    // note gets an invalid time, which never rings.
    n = Every(CNote::Month, 1, T(9999, 11, 15, 8, 0));
    StepAt(n, T(9999, 12, 20));
    EXPECT_FALSE(n.m_nextTime.IsValid());
    EXPECT_FALSE(n.m_alarmTime.IsValid());
    EXPECT_EQ(n.m_dueSoon, 0);
    EXPECT_EQ(n.IsAlarmPast(), 0);

    n = Every(CNote::Year, 1, T(2003, 1, 15, 8, 0));
    n.m_indexDay = 10000 + 13 * 100 + 2 * 10 + 1;
    StepAt(n, T(2003, 3, 20));
    EXPECT_FALSE(n.m_nextTime.IsValid());

    n = Every(CNote::Weekend, 0, T(9999, 12, 31, 8, 0)); // the last day there is
    StepAt(n, T(9999, 12, 31, 9, 0));
    EXPECT_FALSE(n.m_nextTime.IsValid());
}

TEST_F(Recurrence, InvalidAlarmNeverRings) {
    CNote n;
    n.m_type = CNote::OneTime;
    n.m_startTime.SetStatus(COleDateTime::invalid);
    Clock::SetForTest(T(2003, 5, 13, 10, 0));
    n.Recompute();
    EXPECT_FALSE(n.m_alarmTime.IsValid());
    EXPECT_EQ(n.m_dueSoon, 0);
    Clock::SetForTest(T(2200, 1, 1));
    EXPECT_EQ(n.IsAlarmPast(), 0);
    EXPECT_EQ(n.IsDueSoon(), 0);

    CNote e = Every(CNote::Day, 1, T(2003, 5, 13, 10, 0));
    e.m_baseTime.SetStatus(COleDateTime::invalid);
    StepAt(e, T(2003, 5, 14, 10, 0));
    EXPECT_FALSE(e.m_alarmTime.IsValid());
    EXPECT_EQ(e.m_dueSoon, 0);
}

TEST_F(Recurrence, OneTimeAndMemo) {
    Clock::SetForTest(T(2003, 5, 13, 8, 0));
    CNote n;
    n.m_type = CNote::OneTime;
    n.m_startTime = T(2003, 5, 20, 9, 30);
    n.m_baseTime = T(2001, 1, 1);
    n.m_priorDays = 7;
    EXPECT_EQ(n.Recompute(), 1);
    EXPECT_EQ(n.m_nextTime, n.m_startTime);
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 13, 9, 30)));
    EXPECT_EQ(n.m_baseTime, T(2001, 1, 1));
    EXPECT_EQ(n.m_dueSoon, 1);

    CNote memo;
    memo.m_alarmTime = T(2003, 5, 13, 7, 0);
    memo.m_dueSoon = 1;
    COleDateTime next = memo.m_nextTime;
    memo.Recompute();
    EXPECT_EQ(memo.m_dueSoon, 0);
    EXPECT_EQ(memo.m_nextTime, next);
    EXPECT_EQ(memo.m_alarmTime, T(2003, 5, 13, 7, 0));
}

TEST_F(Recurrence, DueSoon) {
    CNote n;
    n.m_type = CNote::OneTime;
    n.m_alarmTime = T(2003, 5, 14, 0, 30); // 00:30 tomorrow
    Clock::SetForTest(T(2003, 5, 13, 18, 0));
    EXPECT_EQ(n.IsDueSoon(), 1); // 6.5 hours ahead
    Clock::SetForTest(T(2003, 5, 13, 16, 0));
    EXPECT_EQ(n.IsDueSoon(), 0); // 8.5 hours ahead and not today
    Clock::SetForTest(T(2003, 5, 13, 17, 30, 1));
    EXPECT_EQ(n.IsDueSoon(), 1); // just under 7 hours
    Clock::SetForTest(T(2003, 5, 13, 17, 29, 59));
    EXPECT_EQ(n.IsDueSoon(), 0);

    Clock::SetForTest(T(2003, 5, 13, 0, 1));
    n.m_alarmTime = T(2003, 5, 13, 23, 59, 58); // late today
    EXPECT_EQ(n.IsDueSoon(), 1);
    n.m_alarmTime = T(2003, 5, 1, 10, 0); // long past
    EXPECT_EQ(n.IsDueSoon(), 1);
    EXPECT_EQ(n.IsAlarmPast(), 1);
    n.m_type = CNote::Memo;
    EXPECT_EQ(n.IsDueSoon(), 0);

    CNote e;
    e.m_type = CNote::Every;
    e.m_alarmTime = T(2003, 5, 13, 0, 1);
    EXPECT_EQ(e.IsAlarmPast(), 0); // equal to now is not earlier than now
    EXPECT_EQ(e.IsDueSoon(), 1);
}

TEST_F(Recurrence, MinutesUntil) {
    CNote n;
    n.m_alarmTime = T(2003, 5, 13, 10, 30);
    EXPECT_EQ(n.MinutesUntil(T(2003, 5, 13, 9, 0)), 90);
    EXPECT_EQ(n.MinutesUntil(T(2003, 5, 13, 9, 0, 1)), 89);
    EXPECT_EQ(n.MinutesUntil(T(2003, 5, 13, 10, 31, 30)), -1); // toward zero
    EXPECT_EQ(n.MinutesUntil(T(2003, 5, 13, 10, 30, 59)), 0);
}

TEST_F(Recurrence, RemindLaterMovesOnlyTheAlarm) {
    CNote n = Every(CNote::Week, 1, T(2003, 5, 16, 10, 0), 2);
    Clock::SetForTest(T(2003, 5, 14, 10, 0, 20));
    n.Recompute();
    COleDateTime next = n.m_nextTime, base = n.m_baseTime;
    n.m_dueSoon = 1;
    n.RemindLater(24, 59);
    EXPECT_EQ(Text(n.m_alarmTime), Text(T(2003, 5, 15, 10, 59, 20)));
    EXPECT_EQ(n.m_nextTime, next);
    EXPECT_EQ(n.m_baseTime, base);
    EXPECT_EQ(n.m_dueSoon, 1);
}
