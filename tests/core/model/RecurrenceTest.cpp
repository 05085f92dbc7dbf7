#include "core/model/CNote.h"
#include "core/platform/Clock.h"
#include "support/ScopedZone.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace {

// "2003-05-13 10:00", optionally with seconds; "" is an invalid time.
COleDateTime At(const char* s) {
    int y, mo, d, h = 0, mi = 0, sec = 0;
    COleDateTime t;
    if (std::sscanf(s, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec) < 3)
        t.SetStatus(COleDateTime::invalid);
    else
        t = COleDateTime(y, mo, d, h, mi, sec);
    return t;
}

std::string Text(const COleDateTime& t) {
    return t.IsValid() ? t.Format("%Y-%m-%d %H:%M:%S %a") : std::string("invalid");
}

struct Step {
    int unit, count;
    const char *base, *now, *next; // base is also the start
    int priorDays = 0, indexDay = 0;
};

// Recomputes an Every note at now, checking the rules every result keeps.
void Check(const Step& s) {
    CNote n;
    n.m_type = CNote::Every;
    n.m_recurrence = s.unit * 1000 + s.count;
    n.m_startTime = n.m_baseTime = n.m_nextTime = n.m_alarmTime = At(s.base);
    n.m_priorDays = s.priorDays;
    n.m_indexDay = s.indexDay;
    Clock::SetForTest(At(s.now));
    SCOPED_TRACE(std::string(s.base) + " at " + s.now);
    n.Recompute();
    EXPECT_EQ(Text(n.m_nextTime), Text(At(s.next)));
    EXPECT_EQ(n.m_baseTime, n.m_nextTime);
    if (n.m_nextTime.IsValid())
        EXPECT_EQ(Text(n.m_alarmTime), Text(n.m_nextTime - COleDateTimeSpan(s.priorDays * 1.0)));
    else
        EXPECT_TRUE(!n.m_alarmTime.IsValid() && n.m_dueSoon == 0); // never rings
}

constexpr int Minute = CNote::Minute, Hour = CNote::Hour, Day = CNote::Day, Week = CNote::Week,
              Month = CNote::Month, Year = CNote::Year, Workday = CNote::Workday,
              Weekend = CNote::Weekend;

// The stepping of minute to week, workday and weekend notes read afresh from the rules, in
// whole seconds since 1899-12-30 00:00, stepping one period at a time.
int64_t Oracle(int unit, int count, int64_t o, int64_t now, int priorDays) {
    constexpr int64_t kDay = 86400;
    const int64_t prior = priorDays * kDay;
    auto wrongDay = [unit](int64_t t) {
        using namespace std::chrono;
        const weekday wd{sys_days{1899y / December / 30} + days{t / kDay}};
        const bool weekend = wd == Saturday || wd == Sunday;
        return unit == Workday ? weekend : unit == Weekend && !weekend;
    };
    int64_t period = kDay;
    if (unit <= Week) {
        const int64_t minutesPerUnit = std::array<int64_t, 4>{1, 60, 1440, 10080}[unit];
        period = count * minutesPerUnit * 60;
        if (now + prior >= o) {
            const int64_t q = (now - o) / 60 / count; // both truncate toward zero
            o += std::max<int64_t>(q / minutesPerUnit + 1, 0) * period;
        }
    } else {
        while (o < now || wrongDay(o))
            o += kDay;
    }
    if (prior >= period)
        while (o - prior <= now || wrongDay(o))
            o += period;
    return o;
}

} // namespace

TEST(Recurrence, AgreesWithAnIndependentReading) {
    // Around a base, times drawn at random and times on the second of an alarm (where
    // boundaries live), each unit with prior days shorter than, equal to and longer than its step.
    std::mt19937 random(30);
    auto pick = [&random](int64_t lo, int64_t hi) {
        return std::uniform_int_distribution<int64_t>(lo, hi)(random);
    };
    const int64_t base = std::llround(At("2003-05-13 00:00").Linear() * 86400);
    const int units[] = {Minute, Hour, Day, Week, Workday, Weekend};
    int mismatches = 0;
    for (int i = 0; i < 20000 && mismatches < 10; ++i) {
        const int unit = units[i % 6];
        const int count = unit >= Workday ? 0 : static_cast<int>(pick(1, unit == Week ? 3 : 40));
        const int prior = static_cast<int>(pick(0, 9));
        const int64_t o = base + pick(0, 20 * 86400) / 60 * 60;
        const int64_t step =
            unit >= Workday ? 86400 : count * std::array<int64_t, 4>{60, 3600, 86400, 604800}[unit];
        const int64_t now = i % 2 ? o + pick(-12, 40) * 86400 + pick(0, 86399)
                                  : o + pick(-1, 4) * step - prior * 86400 + pick(-1, 1);
        CNote n;
        n.m_type = CNote::Every;
        n.m_recurrence = unit * 1000 + count;
        n.m_startTime = n.m_baseTime = COleDateTime::FromLinear(o / 86400.0);
        n.m_priorDays = prior;
        Clock::SetForTest(COleDateTime::FromLinear(now / 86400.0));
        n.Recompute();
        const int64_t got = std::llround(n.m_nextTime.Linear() * 86400);
        const int64_t want = Oracle(unit, std::max(count, 1), o, now, prior);
        if (got != want) {
            ++mismatches;
            ADD_FAILURE() << "unit " << unit << " x" << count << " prior " << prior << " base "
                          << Text(n.m_startTime) << " now " << Text(Clock::Now()) << ": "
                          << Text(n.m_nextTime) << ", expected "
                          << Text(COleDateTime::FromLinear(want / 86400.0));
        }
    }
}

TEST(Recurrence, EveryRule) {
    // Minute to week, workday and weekend steps are held against the independent reading
    // above; these are the walks it does not model.
    const Step steps[] = {
        {Month, 1, "2003-06-30 10:00", "2003-06-01", "2003-06-30 10:00"},
        // Month ends: a lowered day stays lowered within a walk; each walk starts afresh.
        {Month, 1, "2003-01-31 09:30", "2003-02-10", "2003-02-28 09:30"},
        {Month, 1, "2003-01-31 09:30", "2003-04-15", "2003-04-28 09:30"},
        {Month, 1, "2003-01-31 09:30", "2003-04-29", "2003-05-28 09:30"},
        {Month, 2, "2003-05-31 09:30", "2003-06-01", "2003-07-31 09:30"},
        {Month, 14, "2003-11-15 08:00", "2003-11-16", "2005-01-15 08:00"},
        {Month, 1, "2003-12-15 08:00", "2003-12-16", "2004-01-15 08:00"},
        {Month, 12, "2003-12-15 08:00", "2003-12-16", "2004-12-15 08:00"},
        {Year, 1, "2004-02-29 07:00", "2004-03-01", "2005-02-28 07:00"},
        {Year, 1, "2004-02-29 07:00", "2008-01-10", "2008-02-28 07:00"}, // a leap year too
        // Years behind catch up in one step, not day by day.
        {Workday, 0, "1995-01-02 09:00", "2003-05-17 10:00", "2003-05-19 09:00"},
        // Index days, 10000 + month x 100 + weekday x 10 + n (month 0: monthly; n 5: last).
        {Year, 1, "2003-01-01 09:30", "2003-06-01", "2003-11-27 09:30", 0, 11154},
        {Year, 1, "2003-01-01 09:30", "2003-11-27 09:31", "2004-11-25 09:30", 0, 11154},
        {Year, 2, "2003-01-01 08:00", "2003-06-01", "2005-05-30 08:00", 0, 10525},
        {Year, 1, "2003-11-27 09:00", "2003-11-01", "2003-11-27 09:00", 0, 11154}, // the start
        {Year, 1, "2003-11-27 09:00", "2003-11-25 10:00", "2004-11-25 09:00", 3, 11154},
        {Year, 1, "2003-11-27 09:00", "2003-11-23 10:00", "2003-11-27 09:00", 3, 11154},
        {Month, 1, "2003-11-03 17:00", "2003-11-03 17:00", "2003-11-28 17:00", 0, 10065},
        {Month, 1, "2003-11-03 17:00", "2003-12-27", "2004-01-30 17:00", 0, 10065},
        {Month, 12, "2003-12-01 08:00", "2003-12-20", "2004-12-14 08:00", 0, 10032},
        {Month, 3, "2003-11-01 08:00", "2003-11-04", "2004-02-02 08:00", 0, 10021},
        // A count of 0 (only a damaged file holds one) steps by 1.
        {Month, 0, "2003-01-15 08:00", "2003-03-20", "2003-04-15 08:00"},
        {Minute, 0, "2003-01-15 08:00", "2003-01-15 08:10:30", "2003-01-15 08:11"},
        {Year, 0, "2003-01-15 08:00", "2003-03-20", "2004-01-05 08:00", 0, 10121},
        // No date to be had: an invalid time instead of an endless loop.
        {Month, 1, "9999-11-15 08:00", "9999-12-20", ""},
        {Year, 1, "2003-01-15 08:00", "2003-03-20", "", 0, 11321},
        {Weekend, 0, "9999-12-31 08:00", "9999-12-31 09:00", ""},
        {Day, 1, "", "2003-05-14 10:00", ""},
    };
    for (const Step& s : steps)
        Check(s);
}

TEST(Recurrence, WallClockAcrossDaylightSavingChanges) {
    ScopedZone zone("America/New_York");
    // 2024-03-10 02:00 does not exist there and 2024-11-03 01:30 comes twice.
    const Step steps[] = {
        {Hour, 1, "2024-03-10 00:00", "2024-03-10 03:30", "2024-03-10 04:00"},
        {Hour, 3, "2024-11-02 23:00", "2024-11-03 01:30", "2024-11-03 02:00"},
        {Day, 1, "2024-03-09 09:00", "2024-03-10 09:30", "2024-03-11 09:00"},
        {Week, 1, "2024-11-01 09:00", "2024-11-01 09:05", "2024-11-08 09:00"},
        {Week, 2, "2024-03-01 09:00", "2024-03-01 09:05", "2024-03-15 09:00", 3},
    };
    for (const Step& s : steps)
        Check(s);
}

TEST(Recurrence, ManyStepsDoNotDrift) {
    CNote n;
    n.m_type = CNote::Every;
    n.m_recurrence = Minute * 1000 + 7;
    n.m_startTime = n.m_baseTime = n.m_alarmTime = At("2003-05-13 10:00");
    for (int i = 0; i < 20000; ++i) {
        Clock::SetForTest(n.m_alarmTime + COleDateTimeSpan(0, 0, 0, 1));
        n.Recompute();
    }
    // 20000 x 7 minutes = 97 days 5 hours 20 minutes, to the second.
    EXPECT_NEAR(n.m_nextTime.m_dt, At("2003-08-18 15:20").m_dt, 1e-9);
}

TEST(Recurrence, OneTimeMemoAndInvalidStart) {
    Clock::SetForTest(At("2003-05-13 08:00"));
    CNote n;
    n.m_type = CNote::OneTime;
    n.m_startTime = At("2003-05-20 09:30");
    n.m_baseTime = At("2001-01-01");
    n.m_priorDays = 7;
    EXPECT_EQ(n.Recompute(), 1);
    EXPECT_EQ(n.m_nextTime, n.m_startTime);
    EXPECT_EQ(Text(n.m_alarmTime), Text(At("2003-05-13 09:30")));
    EXPECT_EQ(n.m_baseTime, At("2001-01-01"));
    EXPECT_EQ(n.m_dueSoon, 1);

    n.m_startTime = At("");
    n.Recompute();
    Clock::SetForTest(At("2200-01-01"));
    EXPECT_FALSE(n.IsAlarmPast() || n.IsDueSoon() || n.m_dueSoon);

    CNote memo;
    memo.m_alarmTime = At("2003-05-13 07:00");
    memo.m_dueSoon = 1;
    memo.Recompute();
    EXPECT_EQ(memo.m_dueSoon, 0);
    EXPECT_EQ(memo.m_alarmTime, At("2003-05-13 07:00"));
}

TEST(Recurrence, DueSoonIsBeforeTheEndOfTodayOrWithinSevenHours) {
    const struct {
        const char *alarm, *now;
        int dueSoon;
    } cases[] = {{"2003-05-14 00:30", "2003-05-13 18:00", 1},
                 {"2003-05-14 00:30", "2003-05-13 16:00", 0},
                 {"2003-05-14 00:30", "2003-05-13 17:30:01", 1},
                 {"2003-05-14 00:30", "2003-05-13 17:29:59", 0},
                 {"2003-05-13 23:59:58", "2003-05-13 00:01", 1},
                 {"2003-05-01 10:00", "2003-05-13 00:01", 1}};
    CNote n;
    n.m_type = CNote::Every;
    for (const auto& c : cases) {
        n.m_alarmTime = At(c.alarm);
        Clock::SetForTest(At(c.now));
        EXPECT_EQ(n.IsDueSoon(), c.dueSoon) << c.alarm << " at " << c.now;
    }
    n.m_type = CNote::Memo;
    EXPECT_EQ(n.IsDueSoon(), 0);
    n.m_alarmTime = Clock::Now();
    EXPECT_EQ(n.IsAlarmPast(), 0); // equal to now is not earlier than now

    // Whole minutes truncate toward zero.
    n.m_alarmTime = At("2003-05-13 10:30");
    EXPECT_EQ(n.MinutesUntil(At("2003-05-13 09:00:01")), 89);
    EXPECT_EQ(n.MinutesUntil(At("2003-05-13 10:31:30")), -1);
}
