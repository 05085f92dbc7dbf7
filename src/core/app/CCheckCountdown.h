#pragma once

#include "platform/COleDateTime.h"

// The countdown of a periodic network check after a start.
class CCheckCountdown {
public:
    static constexpr int kFirstCheckMs = 30000;

    // Milliseconds from now until one period after the last check: kFirstCheckMs when that
    // lies in the past. A last check in the future (a clock set back, a damaged file) counts as
    // just now, so the wait is never longer than one period and never more than an int holds.
    static int Next(const COleDateTime& last, long long periodMs, const COleDateTime& now);
};
