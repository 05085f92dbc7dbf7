#include "net/CClockSync.h"

#include "net/CNotesInternetSession.h"
#include "platform/Clock.h"

#include <ctime>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

CClockSync::Result CClockSync::Run() {
    Result result;
    CNotesInternetSession session;
    session.SetStopFlag(m_stop);
    std::string reply;
    if (!session.HttpGet(reply, m_endpoints.timeServer, NetEndpoints::kTimePath)) {
        result.error = session.LastError();
        return result;
    }
    const auto correction = ClockCorrection::Compute(reply, Clock::Now());
    if (!correction) {
        result.error = "the time server's reply holds no time";
        return result;
    }
    // A clock left unchanged is no synchronisation: it is neither logged nor counted as one.
    if (!m_setter || !m_setter(correction->to)) {
        result.error = "the clock could not be set";
        return result;
    }
    result.ok = true;
    result.logLine = correction->LogLine();
    return result;
}

bool CClockSync::CanSetClock() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    return (data[CAP_TO_INDEX(CAP_SYS_TIME)].effective & CAP_TO_MASK(CAP_SYS_TIME)) != 0;
}

bool CClockSync::SetSystemClock(const COleDateTime& local) {
    if (!local.IsValid()) return false;
    std::tm tm{};
    tm.tm_year = local.GetYear() - 1900;
    tm.tm_mon = local.GetMonth() - 1;
    tm.tm_mday = local.GetDay();
    tm.tm_hour = local.GetHour();
    tm.tm_min = local.GetMinute();
    tm.tm_sec = local.GetSecond();
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) return false;
    const timespec ts{t, 0};
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}
