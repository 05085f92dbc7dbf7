#pragma once

#include "core/calendar/CHoliday.h"

// The fixed list of annual days; only the enable flags are stored.
class CHolidayTable {
public:
    static constexpr int kCount = 28;

    CHolidayTable();
    virtual ~CHolidayTable() = default;

    // Sets the date of every entry for that year; the flags stay as they are.
    void ComputeDates(int year);
    // The first enabled entry, as last computed, on or after day (ties go to the earlier entry);
    // "New Year" on January 1 of the following year when there is none.
    CHoliday GetNextHoliday(const COleDateTime& day) const;

    int count = kCount;
    CHoliday entries[kCount];
};
