#include "core/app/CCheckCountdown.h"

#include "core/model/CDataDocument.h"

#include <algorithm>
#include <climits>

int CCheckCountdown::Next(const COleDateTime& last, long long periodMs, const COleDateTime& now) {
    const long long sinceMs =
        std::max<long long>(COleDateTime::WholeSeconds(now - last), 0) * 1000LL;
    if (sinceMs >= periodMs) return kFirstCheckMs;
    return static_cast<int>(std::min<long long>(periodMs - sinceMs, INT_MAX));
}

void CCheckCountdown::Derive(const CDataDocument& data, const COleDateTime& now, Countdowns& c) {
    constexpr long long kDayMs = 86400000, kWeatherPeriodMs = 2 * 3600 * 1000;
    const CSettings& s = data.m_settings;
    if (data.m_headerRead)
        c.clockSync = s.m_clockSync == 1 ? Next(s.m_lastClockSync, kDayMs, now) : -1;
    if (data.m_mailRead && s.m_mailInterval > 0)
        c.mail = Next(s.m_lastMailCheck, s.m_mailInterval * 60000LL, now);
    if (data.m_weatherRead) c.weather = Next(s.m_lastWeatherCheck, kWeatherPeriodMs, now);
}
