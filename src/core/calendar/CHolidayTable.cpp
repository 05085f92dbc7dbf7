#include "core/calendar/CHolidayTable.h"

#include "core/calendar/EasterDate.h"
#include "core/calendar/NthWeekday.h"

namespace {
struct NameRule {
    const char* name;
    const char* rule;
};
constexpr NameRule kTable[CHolidayTable::kCount] = {
    {"New Year's Day", "Jan 1"},
    {"Martin Luther King, Jr. Day", "3rd Monday of Jan"},
    {"Lincoln's Birthday", "Feb 12"},
    {"Valentine's Day", "Feb 14"},
    {"Presidents' Day", "3rd Monday of Feb"},
    {"Washington's Birthday", "February 22"},
    {"St. Patrick's Day", "March 17"},
    {"Good Friday", "Friday before Easter"},
    {"Easter", "1st Sun after 1st Full Moon after/on Mar 21"},
    {"April Fools Day", "April 1"},
    {"Daylight savings +1 hour", "2nd Sunday of Mar (1st Sunday of Apr before 2007)"},
    {"Mother's Day", "2nd Sunday of May"},
    {"Memorial Day", "Last Monday of May"},
    {"Flag Day", "June 14"},
    {"Father's Day", "3nd Sunday of Jun"},
    {"Canada Day", "July 1"},
    {"Independence Day", "July 4"},
    {"Labor Day", "1st Monday of Sep"},
    {"Grandparents' day", "2nd Sunday in Sep"},
    {"Columbus day", "2nd Monday in Oct"},
    {"Canadian Thanksgiving", "2nd Monday of Oct"},
    {"Halloween", "Oct 31"},
    {"Daylight savings time ends -1 hour", "1st Sunday of Nov (Last Sunday of Oct before 2007)"},
    {"Election Day", "1st Tuesday after 1st Monday of Nov"},
    {"Veterans' Day", "Nov 11"},
    {"Remembrance Day", "Nov 11"},
    {"Thanksgiving", "4th Thursday of Nov"},
    {"Christmas", "Dec 25"},
};
} // namespace

CHolidayTable::CHolidayTable() {
    for (int i = 0; i < kCount; ++i) {
        entries[i].name = kTable[i].name;
        entries[i].rule = kTable[i].rule;
        entries[i].enabled = 1;
        entries[i].date.SetStatus(COleDateTime::invalid);
    }
}

void CHolidayTable::ComputeDates(int year) {
    enum { Sunday = 1, Monday = 2, Thursday = 5, Last = 5 };
    auto fixed = [year](int month, int day) { return COleDateTime(year, month, day, 0, 0, 0); };
    int easterMonth = 0, easterDay = 0;
    EasterDate(year, &easterMonth, &easterDay);
    COleDateTime easter(year, easterMonth, easterDay, 0, 0, 0);
    // The United States and Canada moved the clock changes in 2007.
    const bool dst2007 = year >= 2007;

    COleDateTime dates[kCount] = {
        fixed(1, 1),
        NthWeekday(year, 1, Monday, 3),
        fixed(2, 12),
        fixed(2, 14),
        NthWeekday(year, 2, Monday, 3),
        fixed(2, 22),
        fixed(3, 17),
        easter - COleDateTimeSpan(2.0),
        easter,
        fixed(4, 1),
        dst2007 ? NthWeekday(year, 3, Sunday, 2) : NthWeekday(year, 4, Sunday, 1),
        NthWeekday(year, 5, Sunday, 2),
        NthWeekday(year, 5, Monday, Last),
        fixed(6, 14),
        NthWeekday(year, 6, Sunday, 3),
        fixed(7, 1),
        fixed(7, 4),
        NthWeekday(year, 9, Monday, 1),
        NthWeekday(year, 9, Sunday, 2),
        NthWeekday(year, 10, Monday, 2),
        NthWeekday(year, 10, Monday, 2),
        fixed(10, 31),
        dst2007 ? NthWeekday(year, 11, Sunday, 1) : NthWeekday(year, 10, Sunday, Last),
        NthWeekday(year, 11, Monday, 1) + COleDateTimeSpan(1.0),
        fixed(11, 11),
        fixed(11, 11),
        NthWeekday(year, 11, Thursday, 4),
        fixed(12, 25),
    };
    for (int i = 0; i < kCount; ++i)
        entries[i].date = dates[i];
}

CHoliday CHolidayTable::GetNextHoliday(const COleDateTime& day) const {
    COleDateTimeSpan best(400.0);
    int bestIndex = -1;
    for (int i = 0; i < kCount; ++i) {
        const CHoliday& h = entries[i];
        // An entry whose date was never computed (or could not be) is no candidate.
        if (!h.enabled || !h.date.IsValid()) continue;
        COleDateTimeSpan diff = h.date - day;
        // Truncating keeps the holiday itself when day carries a time of day.
        if (static_cast<long>(diff.GetTotalDays()) < 0) continue;
        if (diff < best) {
            best = diff;
            bestIndex = i;
        }
    }
    if (bestIndex >= 0) return entries[bestIndex];

    CHoliday newYear;
    newYear.date = COleDateTime(day.GetYear() + 1, 1, 1, 0, 0, 0);
    newYear.name = "New Year";
    return newYear;
}
