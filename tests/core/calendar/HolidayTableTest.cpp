#include "core/calendar/CHolidayTable.h"
#include "core/calendar/EasterDate.h"
#include "core/calendar/NthWeekday.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

enum { Monday = 2, Saturday = 7 };
constexpr int GoodFriday = 7, Easter = 8, DstStart = 10, Memorial = 12, Columbus = 19, DstEnd = 22,
              Election = 23, Christmas = 27;

COleDateTime Day(int y, int m, int d) {
    return COleDateTime(y, m, d, 0, 0, 0);
}

} // namespace

TEST(HolidayTable, Dates) {
    // 2003; Memorial Day in Mays with five and four Mondays; Election Day when November starts
    // on a Monday and on a Tuesday; daylight saving by the old rule up to 2006, the current one
    // from 2007.
    const struct {
        int year, entry, month, day;
    } cases[] = {{2003, Memorial, 5, 26}, {2003, 26, 11, 27},        {2003, Election, 11, 4},
                 {2003, 10, 4, 6},        {2003, 22, 10, 26},        {2003, 1, 1, 20},
                 {2003, 14, 6, 15},       {2003, Christmas, 12, 25}, {2004, Memorial, 5, 31},
                 {1999, Election, 11, 2}, {2005, Election, 11, 8},   {2006, DstStart, 4, 2},
                 {2006, DstEnd, 10, 29},  {2007, DstStart, 3, 11},   {2007, DstEnd, 11, 4},
                 {2026, DstStart, 3, 8},  {2026, DstEnd, 11, 1}};
    CHolidayTable table;
    for (const auto& c : cases) {
        table.ComputeDates(c.year);
        EXPECT_EQ(table.entries[c.entry].date, Day(c.year, c.month, c.day))
            << table.entries[c.entry].name << " " << c.year;
    }
}

TEST(HolidayTable, EasterAgainstIndependentTable1900To2100) {
    std::ifstream in(std::string(JOTTERLY_TEST_DATA) + "/easter_1900_2100.txt");
    int year, month, day, years = 0;
    CHolidayTable table;
    while (in >> year >> month >> day) {
        int m = 0, d = 0;
        EasterDate(year, &m, &d);
        EXPECT_EQ(m * 100 + d, month * 100 + day) << year;
        table.ComputeDates(year);
        EXPECT_EQ(table.entries[Easter].date, Day(year, month, day)) << year;
        EXPECT_EQ(table.entries[GoodFriday].date, Day(year, month, day) - COleDateTimeSpan(2.0));
        ++years;
    }
    EXPECT_EQ(years, 201);
}

TEST(NthWeekday, MatchesTheDayByDayWalkEverywhere) {
    for (int year = 1900; year <= 2100; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int dow = 1; dow <= 7; ++dow) {
                std::vector<COleDateTime> days; // every such weekday of the month
                for (int d = 1; Day(year, month, d).IsValid(); ++d)
                    if (Day(year, month, d).GetDayOfWeek() == dow)
                        days.push_back(Day(year, month, d));
                // The walk the rule describes: the nth match, else the last one.
                for (int n = 0; n <= 7; ++n)
                    ASSERT_EQ(NthWeekday(year, month, dow, n),
                              n >= 1 && n <= int(days.size()) ? days[n - 1] : days.back())
                        << year << "-" << month << " dow " << dow << " n " << n;
            }
    EXPECT_EQ(NthWeekday(2003, 5, Saturday, 1000000), Day(2003, 5, 31));
    EXPECT_EQ(NthWeekday(2003, 5, 9, 2), Day(2003, 5, 1)); // no such weekday: day 1
    EXPECT_FALSE(NthWeekday(10000, 1, Monday, 1).IsValid());
    EXPECT_FALSE(NthWeekday(2003, 13, Monday, 1).IsValid());
}

TEST(HolidayTable, NextHolidayTiesAndNewYear) {
    CHolidayTable table;
    table.ComputeDates(2003);
    const auto next = [&](COleDateTime d) { return table.GetNextHoliday(d).name; };
    EXPECT_EQ(next(Day(2003, 11, 27)), "Thanksgiving"); // the day itself, also later that day
    EXPECT_EQ(next(COleDateTime(2003, 11, 27, 15, 0, 0)), "Thanksgiving");
    EXPECT_EQ(next(Day(2003, 11, 28)), "Christmas");
    EXPECT_EQ(next(Day(2003, 10, 1)), "Columbus day"); // ties: table order
    EXPECT_EQ(next(Day(2003, 11, 5)), "Veterans' Day");
    table.entries[Columbus].enabled = 0;
    table.entries[24].enabled = 0;
    EXPECT_EQ(next(Day(2003, 10, 1)), "Canadian Thanksgiving");
    EXPECT_EQ(table.GetNextHoliday(Day(2003, 11, 5)).rule, "Nov 11");

    // After the last enabled one, even with "New Year's Day" off, and with all off.
    table.entries[0].enabled = 0;
    CHoliday h = table.GetNextHoliday(Day(2003, 12, 26));
    EXPECT_TRUE(h.name == "New Year" && h.rule.empty() && h.date == Day(2004, 1, 1));
    for (CHoliday& e : table.entries)
        e.enabled = 0;
    for (COleDateTime d : {Day(2003, 1, 1), Day(2003, 7, 4), Day(2003, 12, 31)})
        EXPECT_EQ(table.GetNextHoliday(d).date, Day(2004, 1, 1));
    EXPECT_EQ(CHolidayTable().GetNextHoliday(Day(2003, 3, 1)).name, "New Year");
}
