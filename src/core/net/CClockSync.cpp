#include "core/net/CClockSync.h"

#include "core/net/CSntpClient.h"
#include "core/platform/COleDateTimeSpan.h"
#include "core/platform/Clock.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

CClockSync::Result CClockSync::Run() {
    Result result;
    CSntpClient client;
    client.SetStopFlag(m_stop);
    client.SetTimeoutMs(m_timeoutMs);
    SntpPacket::Sample sample;
    if (!client.Measure(m_endpoints.timeServer, sample)) {
        result.error = client.LastError();
        return result;
    }
    result.measured = true;
    result.offsetSeconds = sample.offsetSeconds;
    if (!m_setter) return result;
    const COleDateTime before = Clock::Now();
    // A clock left unchanged is no synchronisation: it is neither logged nor counted as one.
    if (!m_setter(sample.offsetSeconds)) {
        result.error = "the clock could not be set";
        return result;
    }
    result.set = true;
    result.logLine = LogLine(before, before + COleDateTimeSpan(sample.offsetSeconds / 86400.0));
    return result;
}

std::string CClockSync::OffsetText(double offsetSeconds) {
    const double gap = std::fabs(offsetSeconds);
    if (gap < 0.5) return "This computer's clock is right (within half a second).";
    char amount[64];
    if (gap < 60) {
        std::snprintf(amount, sizeof amount, "%.1f s", gap);
    } else {
        const long long whole = std::llround(gap);
        const long long h = whole / 3600, m = whole / 60 % 60, s = whole % 60;
        if (h > 0)
            std::snprintf(amount, sizeof amount, "%lld h %lld min %lld s", h, m, s);
        else
            std::snprintf(amount, sizeof amount, "%lld min %lld s", m, s);
    }
    // The server is ahead when the offset is positive: this clock is behind, slow.
    return std::string("This computer's clock is ") + amount +
           (offsetSeconds > 0 ? " slow." : " fast.");
}

std::string CClockSync::LogLine(const COleDateTime& from, const COleDateTime& to) {
    constexpr const char* kFormat = "%A %Y-%m-%d %H:%M:%S ";
    return "Change Local Time From " + from.Format(kFormat) + " To " + to.Format(kFormat) + "\n";
}

bool CClockSync::CanSetClock() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    return (data[CAP_TO_INDEX(CAP_SYS_TIME)].effective & CAP_TO_MASK(CAP_SYS_TIME)) != 0;
}

bool CClockSync::MoveSystemClock(double offsetSeconds) {
    if (!std::isfinite(offsetSeconds)) return false;
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return false;
    const long long ns = now.tv_nsec + std::llround(offsetSeconds * 1e9);
    now.tv_sec += static_cast<time_t>(ns / 1000000000LL) - (ns % 1000000000LL < 0 ? 1 : 0);
    now.tv_nsec = static_cast<long>((ns % 1000000000LL + 1000000000LL) % 1000000000LL);
    return clock_settime(CLOCK_REALTIME, &now) == 0;
}
