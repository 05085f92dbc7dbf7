#pragma once

#include "core/platform/COleDateTime.h"

struct CDataDocument;

// The countdown of a periodic network check after a start.
class CCheckCountdown {
public:
    static constexpr int kFirstCheckMs = 30000;

    // Milliseconds until the next automatic network checks; below zero one is due.
    struct Countdowns {
        int mail = kFirstCheckMs;
        int weather = kFirstCheckMs;
        int clockSync = kFirstCheckMs;
    };
    // The countdowns that follow from the "last" times of a data file, for the parts it held.
    static void Derive(const CDataDocument& data, const COleDateTime& now, Countdowns& c);

    // Milliseconds from now until one period after the last check: kFirstCheckMs when that
    // lies in the past. A last check in the future (a clock set back, a damaged file) counts as
    // just now, so the wait is never longer than one period and never more than an int holds.
    static int Next(const COleDateTime& last, long long periodMs, const COleDateTime& now);
};
