#include "model/CNote.h"
#include "sticky/CCountdown.h"

#include <gtest/gtest.h>

namespace {

const COleDateTime kNow(2003, 5, 13, 10, 0, 0);

// The text for an alarm that lies the given span ahead of kNow (negative: behind).
std::string Left(int format, long days, int hours, int minutes, int seconds, int priorDays = 0) {
    return CCountdown::Text(kNow + COleDateTimeSpan(days, hours, minutes, seconds), priorDays,
                            format, kNow);
}

std::string LeftDays(int format, double days) {
    return CCountdown::Text(kNow + COleDateTimeSpan(days), 0, format, kNow);
}

} // namespace

TEST(Countdown, TableOfFormats) {
    EXPECT_EQ(Left(15, 2, 3, 15, 20), " 2 days  03:15:20");
    EXPECT_EQ(Left(14, 2, 3, 15, 20), " 2 days  3 Hours 15 Mins");
    EXPECT_EQ(Left(8, 0, 20, 0, 0), " < 1 day");
    EXPECT_EQ(Left(12, 0, 20, 5, 0), " 20 Hours");
    EXPECT_EQ(Left(4, 0, 0, 40, 0), " < 1 hour");
    EXPECT_EQ(Left(2, 0, 0, 0, 30), " < 1 minute");
    EXPECT_EQ(Left(6, 0, 1, 1, 0), " 1 Hour 1 Min");
    EXPECT_EQ(Left(1, 0, 1, 0, 0), " 3600 Secs");
    EXPECT_EQ(Left(7, 1, 2, 3, 4), " 26:03:04");
    for (int format = 1; format <= 15; ++format)
        EXPECT_EQ(Left(format, 0, 0, -5, 0), " Expired") << format;
}

TEST(Countdown, LastSecondTruncatesTowardZero) {
    EXPECT_EQ(Left(15, 0, 0, 0, 0), " 00:00:00");
    // Up to a whole second past the alarm still reads zero; beyond it the line is expired.
    EXPECT_EQ(CCountdown::Text(kNow - COleDateTimeSpan(0.5 / 86400), 0, 15, kNow), " 00:00:00");
    EXPECT_EQ(Left(15, 0, 0, 0, -1), " 00:00:00");
    EXPECT_EQ(CCountdown::Text(kNow - COleDateTimeSpan(1.01 / 86400), 0, 15, kNow), " Expired");
    // Without a days part the clock starts at the hours.
    EXPECT_EQ(Left(15, 0, 20, 5, 0), " 20:05:00");
}

TEST(Countdown, DaysSingularPluralAndMixed) {
    EXPECT_EQ(LeftDays(8, 1.5), " 1 day ");
    EXPECT_EQ(LeftDays(8, 2.5), " 2 days ");
    EXPECT_EQ(Left(12, 0, 30, 0, 0), " 1 day  6 Hours");
    EXPECT_EQ(Left(3, 0, 2, 0, 0), " 120 Mins 0 Secs");
    // Units below one keep their zero when another unit is shown too.
    EXPECT_EQ(Left(14, 2, 0, 5, 0), " 2 days  0 Hour 5 Mins");
    EXPECT_EQ(Left(10, 3, 0, 0, 59), " 3 days  0 Min");
    // Seconds are always plural.
    EXPECT_EQ(Left(1, 0, 0, 0, 1), " 1 Secs");
}

TEST(Countdown, PriorDaysCountToTheOccurrence) {
    // The alarm rang three days early: the line still counts to the event itself.
    COleDateTime alarm = kNow - COleDateTimeSpan(0, 1, 0, 0);
    EXPECT_EQ(CCountdown::Text(alarm, 3, 15, kNow), " 2 days  23:00:00");
    EXPECT_EQ(CCountdown::Text(alarm, 0, 15, kNow), " Expired");
}

TEST(Countdown, FarFutureAndInvalidTimesGiveSaneText) {
    // Beyond what a 32-bit count of seconds holds (about 68 years).
    COleDateTime midnight(2003, 5, 13, 0, 0, 0), far(2203, 5, 13, 0, 0, 0);
    EXPECT_EQ(CCountdown::Text(far, 0, 8, midnight), " 73048 days ");
    EXPECT_EQ(CCountdown::Text(far, 0, 1, midnight), " 6311347200 Secs");
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ(CCountdown::Text(invalid, 0, 15, kNow), " Expired");
}

TEST(Countdown, OnlyTimedNotesWithTheLineOnShowIt) {
    CNote note;
    note.m_type = CNote::OneTime;
    note.m_alarmTime = kNow + COleDateTimeSpan(0, 1, 0, 0);
    note.m_showCountdown = 0;
    EXPECT_EQ(CCountdown::ForNote(note, kNow), "");
    note.m_showCountdown = 1;
    EXPECT_EQ(CCountdown::ForNote(note, kNow), " 01:00:00");
    note.m_countdownFormat = 6;
    EXPECT_EQ(CCountdown::ForNote(note, kNow), " 1 Hour 0 Min");
    note.m_type = CNote::Memo;
    EXPECT_FALSE(CCountdown::Shows(note));
    EXPECT_EQ(CCountdown::ForNote(note, kNow), "");
}

TEST(Countdown, TheLastUnitStaysOn) {
    EXPECT_EQ(CCountdown::ToggleUnit(15, 8), 7);
    EXPECT_EQ(CCountdown::ToggleUnit(7, 8), 15);
    EXPECT_EQ(CCountdown::ToggleUnit(2, 2), 2);
    EXPECT_EQ(CCountdown::ToggleUnit(3, 1), 2);
}
