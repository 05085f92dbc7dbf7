#include "net/ClockCorrection.h"

#include "platform/COleDateTimeSpan.h"

namespace {

constexpr const char* kLogFormat = "%A %Y-%m-%d %H:%M:%S ";

// Two decimal digits below 60, else -1: a garbled page must never set the clock to :00:00.
int TwoDigits(const std::string& s, size_t at) {
    if (at + 2 > s.size()) return -1;
    const char a = s[at], b = s[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    const int v = (a - '0') * 10 + (b - '0');
    return v < 60 ? v : -1;
}

} // namespace

std::optional<ClockCorrection> ClockCorrection::Compute(const std::string& reply,
                                                        const COleDateTime& local) {
    const size_t p = reply.find(':');
    if (p == std::string::npos || p <= 5 || !local.IsValid()) return std::nullopt;
    const std::string t = reply.substr(p + 1, 5);
    const int serverMinute = TwoDigits(t, 0), serverSecond = TwoDigits(t, 3);
    if (t.size() < 5 || serverMinute < 0 || serverSecond < 0) return std::nullopt;

    // Drift is assumed under half an hour: a larger gap means the server is in the other hour.
    const int d = local.GetMinute() - serverMinute;
    COleDateTime base = local;
    if (d >= 30)
        base = local + COleDateTimeSpan(0, 1, 0, 0);
    else if (d <= -30)
        base = local - COleDateTimeSpan(0, 1, 0, 0);
    const COleDateTime to(base.GetYear(), base.GetMonth(), base.GetDay(), base.GetHour(),
                          serverMinute, serverSecond);
    if (!to.IsValid()) return std::nullopt;
    return ClockCorrection{local, to};
}

std::string ClockCorrection::LogLine() const {
    return "Change Local Time From " + from.Format(kLogFormat) + " To " + to.Format(kLogFormat) +
           "\n";
}
