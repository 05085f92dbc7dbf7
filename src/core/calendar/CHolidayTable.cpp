#include "calendar/CHolidayTable.h"

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
    {"Washhington's Birthday", "February 22"},
    {"St. Patrick's Day", "March 17"},
    {"Good Friday", "Friday before Easter"},
    {"Easter", "1st Sun after 1st Full Moon after/on Mar 21"},
    {"April Fools Day", "April 1"},
    {"Daylight savings +1 hour", "1st Sunday of Apr"},
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
    {"Daylight savings time ends -1 hour", "Last Sunday of Oct"},
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
