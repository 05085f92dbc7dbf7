#include "net/ClockCorrection.h"

#include <gtest/gtest.h>

namespace {

std::string Corrected(const COleDateTime& local, const std::string& reply) {
    const auto c = ClockCorrection::Compute(reply, local);
    return c ? c->to.Format("%Y-%m-%d %H:%M:%S") : "none";
}

std::string Page(const std::string& mmss) {
    return "<html>Tue, 07 May 2024 10:" + mmss + " UTC</html>";
}

} // namespace

TEST(ClockCorrection, KeepsTheLocalHourAndCrossesHourBoundaries) {
    EXPECT_EQ(Corrected({2024, 5, 7, 10, 59, 40}, Page("01:05")), "2024-05-07 11:01:05");
    EXPECT_EQ(Corrected({2024, 5, 7, 11, 1, 10}, Page("59:50")), "2024-05-07 10:59:50");
    // The added hour carries into the date, the year and back across a month.
    EXPECT_EQ(Corrected({2024, 12, 31, 23, 58, 0}, Page("00:30")), "2025-01-01 00:00:30");
    EXPECT_EQ(Corrected({2024, 3, 1, 0, 1, 0}, Page("59:00")), "2024-02-29 23:59:00");
}

TEST(ClockCorrection, HalfAnHourApartMeansTheOtherHour) {
    const COleDateTime local(2024, 5, 7, 14, 20, 0);
    EXPECT_EQ(Corrected(local, Page("50:00")), "2024-05-07 13:50:00"); // d = -30
    EXPECT_EQ(Corrected(local, Page("49:59")), "2024-05-07 14:49:59"); // d = -29
    const COleDateTime late(2024, 5, 7, 14, 40, 0);
    EXPECT_EQ(Corrected(late, Page("10:00")), "2024-05-07 15:10:00"); // d = 30
    EXPECT_EQ(Corrected(late, Page("11:00")), "2024-05-07 14:11:00"); // d = 29
}

TEST(ClockCorrection, OnlyATimeAtTheFirstColonPastTheSixthCharacterCounts) {
    const COleDateTime local(2024, 5, 7, 10, 0, 0);
    EXPECT_EQ(Corrected(local, "12:34:56 and more"), "none"); // colon at 2
    EXPECT_EQ(Corrected(local, "abcde:12:34"), "none");       // colon at 5
    EXPECT_EQ(Corrected(local, "abcdef:12:34"), "2024-05-07 10:12:34");
    EXPECT_EQ(Corrected(local, "abcdef:12:3"), "none"); // cut short
    EXPECT_EQ(Corrected(local, ""), "none");
    // Garbage must not set the clock to a whole hour, nor to a 75th minute.
    EXPECT_EQ(Corrected(local, "Error: xx:yy"), "none");
    EXPECT_EQ(Corrected(local, "Time: 10:75:00"), "none");
    EXPECT_EQ(Corrected(local, "Time: 10:05:61"), "none");
}

TEST(ClockCorrection, LogLineNamesBothTimes) {
    const auto c = ClockCorrection::Compute(Page("01:05"), {2024, 5, 7, 10, 59, 40});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->LogLine(), "Change Local Time From Tuesday 2024-05-07 10:59:40  To Tuesday "
                            "2024-05-07 11:01:05 \n");
}
