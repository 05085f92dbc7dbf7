#pragma once

#include "core/platform/COleDateTime.h"

// The date (at 00:00) of the nth dayOfWeek (1 = Sunday .. 7 = Saturday) of the month. An n
// larger than the number of such days (5 is the usual way to say it) gives the last one.
// A month the date type cannot hold gives an invalid date; a dayOfWeek outside 1..7 never
// matches and gives day 1 of the month.
COleDateTime NthWeekday(int year, int month, int dayOfWeek, int n);
