#include "core/calendar/NthWeekday.h"

COleDateTime NthWeekday(int year, int month, int dayOfWeek, int n) {
    COleDateTime first(year, month, 1, 0, 0, 0);
    if (!first.IsValid() || dayOfWeek < 1 || dayOfWeek > 7) return first;

    // Straight arithmetic instead of a day-by-day walk: the recurrence rules call this in loops.
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int daysInMonth = (month == 2 && leap) ? 29 : kDays[month - 1];

    int day = 1 + (dayOfWeek - first.GetDayOfWeek() + 7) % 7; // the first match
    int last = day + (daysInMonth - day) / 7 * 7;
    if (n >= 1 && n <= 5 && day + (n - 1) * 7 <= daysInMonth)
        day += (n - 1) * 7;
    else
        day = last;
    return COleDateTime(year, month, day, 0, 0, 0);
}
