#include "core/platform/COleDateTime.h"

#include <gtest/gtest.h>

TEST(COleDateTime, EpochAndKnownDates) {
    COleDateTime epoch(1899, 12, 30, 0, 0, 0);
    EXPECT_EQ(epoch.m_dt, 0.0);
    EXPECT_EQ(epoch.GetDayOfWeek(), 7); // a Saturday
    COleDateTime t(2003, 5, 13, 9, 30, 0);
    EXPECT_EQ(t.Format("%A %Y-%m-%d %H:%M:%S "), "Tuesday 2003-05-13 09:30:00 ");
    EXPECT_EQ(t.GetDayOfWeek(), 3);
    EXPECT_DOUBLE_EQ(COleDateTime(2000, 1, 1, 0, 0, 0).m_dt, 36526.0);
    EXPECT_EQ(COleDateTime(2000, 3, 1, 0, 0, 0).GetDayOfYear(), 61);
    EXPECT_EQ(COleDateTime(2026, 12, 6, 0, 0, 0).Format("%a %b %d %Y"), "Sun Dec 06 2026");
}

TEST(COleDateTime, NegativeDaysCountTheFractionForward) {
    COleDateTime t(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(t.m_dt, -1.25);
    COleDateTime back(-1.25);
    EXPECT_EQ(back.Format("%Y-%m-%d %H:%M:%S"), "1899-12-29 06:00:00");
    // Arithmetic crosses the epoch on a continuous scale.
    COleDateTime later = back + COleDateTimeSpan(1.0);
    EXPECT_EQ(later.Format("%Y-%m-%d %H:%M"), "1899-12-30 06:00");
    EXPECT_DOUBLE_EQ(later.m_dt, 0.25);
    COleDateTime earlier = COleDateTime(0.25) - COleDateTimeSpan(0.5);
    EXPECT_EQ(earlier.Format("%Y-%m-%d %H:%M"), "1899-12-29 18:00");
    EXPECT_DOUBLE_EQ(earlier.m_dt, -1.75);
    EXPECT_TRUE(earlier < COleDateTime(0.0));
    EXPECT_TRUE(COleDateTime(-1.75) > COleDateTime(-1.25)); // later in the day, same date
    // Every day of two centuries round-trips through its parts.
    for (double d = -36522; d < 36600; d += 1.375) {
        COleDateTime x = COleDateTime::FromLinear(d);
        COleDateTime y(x.GetYear(), x.GetMonth(), x.GetDay(), x.GetHour(), x.GetMinute(),
                       x.GetSecond());
        ASSERT_NEAR(y.Linear(), d, 1e-9) << d;
    }
}

TEST(COleDateTime, ValidityAndRange) {
    EXPECT_FALSE(COleDateTime(1900, 2, 29, 0, 0, 0).IsValid());
    EXPECT_TRUE(COleDateTime(2000, 2, 29, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(2003, 4, 31, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(99, 12, 31, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(10000, 1, 1, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(2003, 1, 1, 24, 0, 0).IsValid());
    EXPECT_TRUE(COleDateTime(100, 1, 1, 0, 0, 0).IsValid());
    EXPECT_EQ(COleDateTime(100, 1, 1, 23, 59, 59).Format("%Y-%m-%d %H:%M:%S"),
              "100-01-01 23:59:59"); // the whole first day, not only its midnight
    EXPECT_TRUE(COleDateTime(9999, 12, 31, 23, 59, 59).IsValid());
    EXPECT_FALSE(COleDateTime(1e9).IsValid());
    EXPECT_EQ(COleDateTime(1e9).Format("%Y"), "");
    EXPECT_EQ(COleDateTime(1e9).GetDayOfWeek(), -1);
}

TEST(COleDateTime, PartsRoundToTheNearestSecond) {
    COleDateTime t(2003, 5, 13, 9, 29, 59);
    COleDateTime almost(t.m_dt + 0.6 / 86400.0);
    EXPECT_EQ(almost.GetMinute(), 30);
    EXPECT_EQ(almost.GetSecond(), 0);
    COleDateTime midnight(COleDateTime(2003, 5, 13, 0, 0, 0).m_dt - 0.2 / 86400.0);
    EXPECT_EQ(midnight.GetDay(), 13);
    EXPECT_EQ(midnight.GetHour(), 0);
}

TEST(COleDateTime, WholeMinutesAndSecondsUseTheEpsilon) {
    // Differences that are a hair below a whole unit because of double rounding still count.
    COleDateTime a(2003, 5, 13, 9, 0, 0), b(2003, 5, 13, 10, 0, 0);
    EXPECT_EQ(COleDateTime::WholeMinutes(b - a), 60);
    EXPECT_EQ(COleDateTime::WholeSeconds(b - a), 3600);
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(1.0 / 86400.0 - 1e-12)), 1);
    EXPECT_EQ(COleDateTime::WholeMinutes(COleDateTimeSpan(1.0 / 1440.0 - 1e-12)), 1);
    // Below the epsilon it truncates.
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(0.999 / 86400.0)), 0);
    // Negative differences truncate toward zero: -1.5 s is -1; -0.5 s is 0.
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(-1.5 / 86400.0)), -1);
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(-0.5 / 86400.0)), 0);
    // Exactly at the epsilon boundary: x * 86400 + eps with x = -eps / 86400 gives 0.
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(-5.787037037037037e-6 / 86400.0)), 0);
    // Huge spans saturate instead of overflowing.
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(1e6)), 2147483647);
    EXPECT_EQ(COleDateTime::WholeSeconds(COleDateTimeSpan(-1e6)), -2147483647 - 1);
}

TEST(COleDateTime, FormatUsesEnglishNamesWhateverTheLocale) {
    COleDateTime t(2003, 5, 13, 21, 5, 7);
    EXPECT_EQ(t.Format("%B %b %p %I %j %%"), "May May PM 09 133 %");
    EXPECT_EQ(COleDateTime(150, 3, 1, 0, 0, 0).Format("%Y-%m-%d %A"), "150-03-01 Sunday");
}
