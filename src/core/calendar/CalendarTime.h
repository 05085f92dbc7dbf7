#pragma once

#include "core/platform/COleDateTime.h"

// A broken-down calendar time as the moon-phase arithmetic produces it.
struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;

    // Invalid when the fields lie outside what COleDateTime holds.
    COleDateTime ToDateTime() const { return COleDateTime(year, month, day, hour, minute, second); }
};
