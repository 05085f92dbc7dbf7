#include "platform/COleDateTime.h"

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
}
