#pragma once

#include "core/platform/COleDateTime.h"

#include <cstdint>
#include <optional>

// The one source of "now" (local wall-clock time). Tests set it and move it forward.
class Clock {
public:
    static COleDateTime Now();
    // Milliseconds on a monotonic scale; follows the test clock while one is set.
    static int64_t MonotonicMs();
    // Takes up a changed time zone (TZ or /etc/localtime) for the local times from now on.
    static void FollowTimeZone();

    static void SetForTest(const COleDateTime& now);
    static void AdvanceForTest(double seconds);
    static void ResetForTest();
    static bool IsFake();

private:
    static std::optional<double> s_fakeLinear;
    static int64_t s_fakeMs;
};
