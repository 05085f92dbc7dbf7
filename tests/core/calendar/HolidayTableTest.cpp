#include "app/CTrayCore.h"
#include "calendar/CHolidayTable.h"
#include "calendar/EasterDate.h"
#include "calendar/NthWeekday.h"

#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

enum { Sunday = 1, Monday = 2, Tuesday = 3, Thursday = 5, Saturday = 7 };
enum Entry {
    GoodFriday = 7,
    Easter = 8,
    DstStart = 10,
    Memorial = 12,
    Columbus = 19,
    CanadianThanksgiving = 20,
    DstEnd = 22,
    Election = 23,
    Veterans = 24,
    Remembrance = 25,
    Thanksgiving = 26,
    Christmas = 27
};

COleDateTime Day(int y, int m, int d) {
    return COleDateTime(y, m, d, 0, 0, 0);
}

// The day-by-day walk the rule describes, as the reference for the arithmetic shortcut.
COleDateTime WalkNthWeekday(int year, int month, int dayOfWeek, int n) {
    COleDateTime last(year, month, 1, 0, 0, 0);
    int counter = 1;
    for (int d = 1;; ++d) {
        COleDateTime t(year, month, d, 0, 0, 0);
        if (!t.IsValid()) return last;
        if (t.GetDayOfWeek() != dayOfWeek) continue;
        last = t;
        if (counter == n) return t;
        ++counter;
    }
}

} // namespace

TEST(HolidayTable, NamesAndRuleTextsAsShown) {
    CHolidayTable table;
    ASSERT_EQ(table.count, 28);
    EXPECT_EQ(table.entries[5].name, "Washhington's Birthday");
    EXPECT_EQ(table.entries[5].rule, "February 22");
    EXPECT_EQ(table.entries[14].rule, "3nd Sunday of Jun");
    EXPECT_EQ(table.entries[22].name, "Daylight savings time ends -1 hour");
    EXPECT_EQ(table.entries[23].rule, "1st Tuesday after 1st Monday of Nov");
    for (const CHoliday& h : table.entries) {
        EXPECT_EQ(h.enabled, 1) << h.name;
        EXPECT_FALSE(h.date.IsValid()) << h.name; // no dates before the first ComputeDates
    }
}

TEST(HolidayTable, DatesOf2003) {
    CHolidayTable table;
    table.entries[3].enabled = 0;
    table.ComputeDates(2003);
    EXPECT_EQ(table.entries[Easter].date, Day(2003, 4, 20));
    EXPECT_EQ(table.entries[GoodFriday].date, Day(2003, 4, 18));
    EXPECT_EQ(table.entries[Memorial].date, Day(2003, 5, 26));
    EXPECT_EQ(table.entries[Thanksgiving].date, Day(2003, 11, 27));
    EXPECT_EQ(table.entries[Election].date, Day(2003, 11, 4));
    EXPECT_EQ(table.entries[DstStart].date, Day(2003, 4, 6));
    EXPECT_EQ(table.entries[DstEnd].date, Day(2003, 10, 26));
    EXPECT_EQ(table.entries[1].date, Day(2003, 1, 20));  // 3rd Monday of January
    EXPECT_EQ(table.entries[14].date, Day(2003, 6, 15)); // 3rd Sunday of June
    EXPECT_EQ(table.entries[Christmas].date, Day(2003, 12, 25));
    EXPECT_EQ(table.entries[3].enabled, 0); // flags are not touched
    for (const CHoliday& h : table.entries) {
        EXPECT_TRUE(h.date.IsValid()) << h.name;
        EXPECT_EQ(h.date.GetHour() + h.date.GetMinute() + h.date.GetSecond(), 0) << h.name;
    }
}

TEST(HolidayTable, EasterAgainstIndependentTable1900To2100) {
    std::ifstream in(std::string(JOTTERLY_TEST_DATA) + "/easter_1900_2100.txt");
    ASSERT_TRUE(in) << "missing test data";
    int year, month, day, years = 0;
    CHolidayTable table;
    while (in >> year >> month >> day) {
        int m = 0, d = 0;
        EasterDate(year, &m, &d);
        EXPECT_EQ(m * 100 + d, month * 100 + day) << year;
        table.ComputeDates(year);
        EXPECT_EQ(table.entries[Easter].date, Day(year, month, day)) << year;
        EXPECT_EQ(table.entries[GoodFriday].date.GetDayOfWeek(), 6) << year;
        EXPECT_DOUBLE_EQ(
            (table.entries[Easter].date - table.entries[GoodFriday].date).GetTotalDays(), 2.0);
        ++years;
    }
    EXPECT_EQ(years, 201);
}

TEST(HolidayTable, LastMondayOfMayWithFourAndFiveMondays) {
    CHolidayTable table;
    table.ComputeDates(2004); // Mondays 3, 10, 17, 24, 31
    EXPECT_EQ(table.entries[Memorial].date, Day(2004, 5, 31));
    table.ComputeDates(2003); // Mondays 5, 12, 19, 26
    EXPECT_EQ(table.entries[Memorial].date, Day(2003, 5, 26));
}

TEST(HolidayTable, ElectionDayWhenNovemberStartsOnMondayOrTuesday) {
    CHolidayTable table;
    table.ComputeDates(1999); // November 1 is a Monday
    EXPECT_EQ(table.entries[Election].date, Day(1999, 11, 2));
    table.ComputeDates(2005); // November 1 is a Tuesday
    EXPECT_EQ(table.entries[Election].date, Day(2005, 11, 8));
    EXPECT_EQ(table.entries[Election].date.GetDayOfWeek(), Tuesday);
}

TEST(NthWeekday, MatchesTheDayByDayWalkEverywhere) {
    for (int year = 1900; year <= 2100; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int dow = 1; dow <= 7; ++dow)
                for (int n = 0; n <= 7; ++n)
                    ASSERT_EQ(NthWeekday(year, month, dow, n), WalkNthWeekday(year, month, dow, n))
                        << year << "-" << month << " dow " << dow << " n " << n;
}

TEST(NthWeekday, LastAndOutOfRange) {
    EXPECT_EQ(NthWeekday(2004, 2, Sunday, 5), Day(2004, 2, 29)); // leap February has five
    EXPECT_EQ(NthWeekday(2003, 2, Sunday, 5), Day(2003, 2, 23));
    EXPECT_EQ(NthWeekday(2003, 5, Saturday, 1000000), Day(2003, 5, 31));
    EXPECT_EQ(NthWeekday(2003, 5, 9, 2), Day(2003, 5, 1)); // no such weekday: day 1
    EXPECT_FALSE(NthWeekday(10000, 1, Monday, 1).IsValid());
    EXPECT_FALSE(NthWeekday(2003, 13, Monday, 1).IsValid());
}

TEST(HolidayTable, NextHolidayOnTheDayItselfAndTies) {
    CHolidayTable table;
    table.ComputeDates(2003);
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 11, 27)).name, "Thanksgiving");
    // Later the same day still counts as the day itself.
    EXPECT_EQ(table.GetNextHoliday(COleDateTime(2003, 11, 27, 15, 0, 0)).name, "Thanksgiving");
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 11, 28)).name, "Christmas");

    CHoliday h = table.GetNextHoliday(Day(2003, 10, 1));
    EXPECT_EQ(h.name, "Columbus day");
    EXPECT_EQ(h.date, Day(2003, 10, 13));
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 11, 5)).name, "Veterans' Day");

    table.entries[Columbus].enabled = 0;
    table.entries[Veterans].enabled = 0;
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 10, 1)).name, "Canadian Thanksgiving");
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 11, 5)).name, "Remembrance Day");
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 11, 5)).rule, "Nov 11");
}

TEST(HolidayTable, NewYearFallback) {
    CHolidayTable table;
    table.ComputeDates(2003);
    CHoliday h = table.GetNextHoliday(Day(2003, 12, 26));
    EXPECT_EQ(h.name, "New Year");
    EXPECT_EQ(h.rule, "");
    EXPECT_EQ(h.date, Day(2004, 1, 1));

    // Also when "New Year's Day" itself is switched off.
    table.entries[0].enabled = 0;
    table.entries[Christmas].enabled = 0;
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 12, 1)).name, "New Year");

    for (CHoliday& e : table.entries)
        e.enabled = 0;
    for (COleDateTime d : {Day(2003, 1, 1), Day(2003, 7, 4), Day(2003, 12, 31)}) {
        CHoliday none = table.GetNextHoliday(d);
        EXPECT_EQ(none.name, "New Year");
        EXPECT_EQ(none.date, Day(2004, 1, 1));
    }

    CHolidayTable neverComputed;
    EXPECT_EQ(neverComputed.GetNextHoliday(Day(2003, 3, 1)).name, "New Year");
}

TEST(HolidayTable, EnableFlagsComeFromTheDataFile) {
    TestEnv env;
    {
        CTrayCore writer;
        writer.m_holidays.entries[0].enabled = 0;
        writer.m_holidays.entries[Columbus].enabled = 0;
        writer.m_holidays.entries[Christmas].enabled = 0;
        ASSERT_TRUE(writer.SaveData());
    }
    CTrayCore reader;
    reader.LoadData();
    for (int i = 0; i < CHolidayTable::kCount; ++i)
        EXPECT_EQ(reader.m_holidays.entries[i].enabled,
                  i == 0 || i == Columbus || i == Christmas ? 0 : 1)
            << i;
    reader.m_holidays.ComputeDates(2003);
    EXPECT_EQ(reader.m_holidays.GetNextHoliday(Day(2003, 10, 1)).name, "Canadian Thanksgiving");
}
