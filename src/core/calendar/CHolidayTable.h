#pragma once

#include "calendar/CHoliday.h"

// The fixed list of annual days; only the enable flags are stored.
class CHolidayTable {
public:
    static constexpr int kCount = 28;

    CHolidayTable();
    virtual ~CHolidayTable() = default;

    int count = kCount;
    CHoliday entries[kCount];
};
