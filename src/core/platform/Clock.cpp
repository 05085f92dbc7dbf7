#include "core/platform/Clock.h"

#include <chrono>
#include <ctime>

std::optional<double> Clock::s_fakeLinear;
int64_t Clock::s_fakeMs = 0;

COleDateTime Clock::Now() {
    if (s_fakeLinear) return COleDateTime::FromLinear(*s_fakeLinear);
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    // Whole seconds, as the system clock of the original data model reports them.
    return COleDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                        tm.tm_sec);
}

int64_t Clock::MonotonicMs() {
    if (s_fakeLinear) return s_fakeMs;
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Clock::FollowTimeZone() {
    // localtime_r reads the zone once; tzset looks again (a stat when nothing changed).
    tzset();
}

void Clock::SetForTest(const COleDateTime& now) {
    s_fakeLinear = now.Linear();
}

void Clock::AdvanceForTest(double seconds) {
    if (!s_fakeLinear) s_fakeLinear = Now().Linear();
    *s_fakeLinear += seconds / 86400.0;
    s_fakeMs += static_cast<int64_t>(seconds * 1000.0);
}

void Clock::ResetForTest() {
    s_fakeLinear.reset();
}

bool Clock::IsFake() {
    return s_fakeLinear.has_value();
}
