#include "calendar/MoonPhase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

COleDateTime Day(int y, int m, int d) {
    return COleDateTime(y, m, d, 0, 0, 0);
}

std::string Text(const CalendarTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

struct Phase {
    int phase;
    COleDateTime when; // UT
    double deltaT;     // seconds from UT to ephemeris time
};

std::vector<Phase> ReadTable() {
    std::vector<Phase> out;
    std::ifstream in(std::string(JOTTERLY_TEST_DATA) + "/moon_phases_1990_2030.txt");
    std::string line;
    while (std::getline(in, line)) {
        int p, y, mo, d, h, mi, s;
        double dt;
        if (std::sscanf(line.c_str(), "%d %d-%d-%d %d:%d:%d %lf", &p, &y, &mo, &d, &h, &mi, &s,
                        &dt) == 8)
            out.push_back({p, COleDateTime(y, mo, d, h, mi, s), dt});
    }
    return out;
}

} // namespace

TEST(MoonPhase, MeeusWorkedExample) {
    // The new moon of 1977 February.
    EXPECT_NEAR(TruePhase(-283, 0), 2443192.65118, 0.0001);
    CalendarTime t = JdToCalendar(TruePhase(-283, 0));
    EXPECT_EQ(Text(t).substr(0, 16), "1977-02-18 03:37");
    EXPECT_EQ(Text(PhaseInstant(-283 + 953, 0)), Text(t));
}

TEST(MoonPhase, JulianDayToCalendar) {
    EXPECT_EQ(Text(JdToCalendar(2436116.31)), "1957-10-04 19:26:24");
    EXPECT_EQ(Text(JdToCalendar(1842713.0)), "0333-01-27 12:00:00"); // Julian calendar
    EXPECT_EQ(Text(JdToCalendar(2299160.5)), "1582-10-15 00:00:00"); // first Gregorian day
    EXPECT_EQ(Text(JdToCalendar(2299160.49999)), "1582-10-04 23:59:59");
    EXPECT_EQ(Text(JdToCalendar(2451544.5)), "2000-01-01 00:00:00");
    EXPECT_EQ(Text(JdToCalendar(2460000.25)), "2023-02-24 18:00:00");
}

TEST(MoonPhase, DegToRadKeepsTheSign) {
    EXPECT_DOUBLE_EQ(DegToRad(720.0 + 90.0), 1.5707963267948966);
    EXPECT_DOUBLE_EQ(DegToRad(-450.0), -1.5707963267948966);
}

TEST(MoonPhase, AllPhases1990To2030AgreeWithAnIndependentEphemeris) {
    std::vector<Phase> table = ReadTable();
    ASSERT_GT(table.size(), 2000u) << "missing test data";
    const COleDateTime from = Day(1990, 1, 1), to = Day(2031, 1, 1);

    for (int phase = 0; phase < 4; ++phase) {
        std::vector<Phase> expected;
        std::vector<COleDateTime> ours;
        for (const Phase& p : table)
            if (p.phase == phase) expected.push_back(p);
        // Every lunation that could touch the range; keep the instants inside it.
        for (int n = 700; n < 1450; ++n) {
            COleDateTime t = PhaseInstant(n, phase).ToDateTime();
            if (t >= from && t < to) ours.push_back(t);
        }
        ASSERT_EQ(ours.size(), expected.size()) << "phase " << phase;
        double worstUt = 0.0, worstEt = 0.0;
        for (size_t i = 0; i < ours.size(); ++i) {
            // Against UT the allowance covers Delta T; against ephemeris time what remains is
            // the error of the series itself, which must stay small.
            double ut = (ours[i] - expected[i].when).GetTotalSeconds();
            double et = ut - expected[i].deltaT;
            worstUt = std::max(worstUt, std::fabs(ut));
            worstEt = std::max(worstEt, std::fabs(et));
            EXPECT_LT(std::fabs(ut), 180.0)
                << "phase " << phase << " at " << expected[i].when.Format("%Y-%m-%d %H:%M:%S");
            EXPECT_LT(std::fabs(et), 20.0)
                << "phase " << phase << " at " << expected[i].when.Format("%Y-%m-%d %H:%M:%S");
        }
        RecordProperty("worst_ut_seconds_phase_" + std::to_string(phase), std::to_string(worstUt));
        RecordProperty("worst_et_seconds_phase_" + std::to_string(phase), std::to_string(worstEt));
    }
}

TEST(MoonPhaseDeathTest, BadSelectorEndsTheProcess) {
    EXPECT_EXIT(TruePhase(0, 4), testing::ExitedWithCode(1), "The Moon has exploded!");
    EXPECT_EXIT(TruePhase(0, -1), testing::ExitedWithCode(1), "The Moon has exploded!");
}

TEST(MoonPhase, FullMoonLaterTheSameDay) {
    // Full moon 2003-11-09 01:13 (ephemeris time, shown as local time).
    COleDateTime date;
    int phase = -1;
    int percent = MoonPhase(Day(2003, 11, 9), date, phase);
    EXPECT_EQ(phase, 2);
    EXPECT_EQ(date, Day(2003, 11, 9));
    EXPECT_EQ(percent, 100);
    // Just after it, the full moon is behind and the last quarter is next.
    percent = MoonPhase(COleDateTime(2003, 11, 9, 2, 0, 0), date, phase);
    EXPECT_EQ(phase, 3);
    EXPECT_EQ(date, Day(2003, 11, 17));
    EXPECT_EQ(percent, 0);
}

TEST(MoonPhase, JustAfterLastQuarterAndHalfwayToFirstQuarter) {
    // Last quarter 2003-11-17 04:15, new moon 2003-11-23 22:59, first quarter 2003-11-30 17:16.
    COleDateTime date;
    int phase = -1;
    int percent = MoonPhase(Day(2003, 11, 18), date, phase);
    EXPECT_EQ(phase, 0);
    EXPECT_EQ(date, Day(2003, 11, 23));
    EXPECT_GT(percent, 50);
    EXPECT_LT(percent, 60);

    // The progress counts whole days: 4 of the 7 days from Nov 23 to Nov 30.
    percent = MoonPhase(COleDateTime(2003, 11, 27, 8, 0, 0), date, phase);
    EXPECT_EQ(phase, 1);
    EXPECT_EQ(date, Day(2003, 11, 30));
    EXPECT_EQ(percent, 4 * 50 / 7);

    // New moon 2003-02-01 10:48, first quarter 2003-02-09 11:11: halfway is Feb 5.
    percent = MoonPhase(COleDateTime(2003, 2, 5, 11, 0, 0), date, phase);
    EXPECT_EQ(phase, 1);
    EXPECT_EQ(date, Day(2003, 2, 9));
    EXPECT_EQ(percent, 25);
}

TEST(MoonPhase, EveryDay1900To2100GivesASensibleAnswer) {
    const int order[] = {1, 2, 3, 0};
    int lastPhase = -1;
    COleDateTime lastDate;
    for (COleDateTime d = Day(1900, 1, 1); d < Day(2101, 1, 1); d += COleDateTimeSpan(1.0)) {
        COleDateTime date;
        int phase = -1;
        int percent = MoonPhase(d, date, phase);
        ASSERT_GE(percent, 0) << d.Format("%Y-%m-%d");
        ASSERT_LE(percent, 100) << d.Format("%Y-%m-%d");
        ASSERT_GE(date, d) << d.Format("%Y-%m-%d");
        ASSERT_LE((date - d).GetTotalDays(), 9.0) << d.Format("%Y-%m-%d");
        if (lastPhase >= 0 && phase != lastPhase) {
            // The phases follow each other in order, never skipping one.
            ASSERT_EQ(phase, order[lastPhase]) << d.Format("%Y-%m-%d");
            ASSERT_GT(date, lastDate);
        }
        lastPhase = phase;
        lastDate = date;
    }
}

TEST(MoonPhase, InvalidDay) {
    COleDateTime bad;
    bad.SetStatus(COleDateTime::invalid);
    COleDateTime date;
    int phase = 7;
    EXPECT_EQ(MoonPhase(bad, date, phase), 0);
    EXPECT_FALSE(date.IsValid());
    EXPECT_EQ(phase, 0);
}
