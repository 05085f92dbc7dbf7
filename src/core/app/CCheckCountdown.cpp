#include "app/CCheckCountdown.h"

#include <algorithm>
#include <climits>

int CCheckCountdown::Next(const COleDateTime& last, long long periodMs, const COleDateTime& now) {
    const long long sinceMs =
        std::max<long long>(COleDateTime::WholeSeconds(now - last), 0) * 1000LL;
    if (sinceMs >= periodMs) return kFirstCheckMs;
    return static_cast<int>(std::min<long long>(periodMs - sinceMs, INT_MAX));
}
