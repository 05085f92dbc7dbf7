#include "core/sticky/CCountdown.h"

#include "core/model/CNote.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Seconds beyond what a 64-bit count can hold cannot come from valid dates; clamp anyway so
// a corrupt time never reaches undefined conversions.
int64_t TruncateSeconds(double v) {
    if (v != v) return 0;
    if (v >= 9.0e18) return INT64_C(9000000000000000000);
    if (v <= -9.0e18) return -INT64_C(9000000000000000000);
    return static_cast<int64_t>(v);
}

std::string Printf(const char* format, long long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

} // namespace

std::string CCountdown::Text(const COleDateTime& alarmTime, int priorDays, int format,
                             const COleDateTime& now) {
    double remaining = (alarmTime - now).GetTotalDays() + priorDays;
    // The same rounding as every other count of whole seconds in the program.
    int64_t total = TruncateSeconds(remaining * 86400.0 + 5.787037037037037e-6);
    if (total < 0) return " Expired";

    std::string text;
    int64_t rest = total;
    const int f = format;
    if (f & Days) {
        double whole = std::trunc(remaining);
        int64_t days = whole >= 0 ? TruncateSeconds(whole) : 0;
        rest = total - days * 86400;
        if (days == 0) {
            if (f == Days) text = " < 1 day";
        } else {
            text += Printf(" %lld", days);
            text += " day";
            text += days > 1 ? "s " : " ";
        }
    }
    const bool clock = (f & Hours) && (f & Minutes) && (f & Seconds);
    if (f & Hours) {
        int64_t hours = rest / 3600;
        rest -= hours * 3600;
        if (f == Hours && hours == 0) {
            text = " < 1 hour";
        } else if (clock) {
            text += Printf(" %02lld:", hours);
        } else {
            text += Printf(" %lld", hours);
            text += " Hour";
            if (std::llabs(hours) > 1) text += "s";
        }
    }
    if (f & Minutes) {
        int64_t minutes = rest / 60;
        rest -= minutes * 60;
        if (f == Minutes && minutes == 0) {
            text = " < 1 minute";
        } else if (clock) {
            text += Printf("%02lld:", minutes);
        } else {
            text += Printf(" %lld", minutes);
            text += " Min";
            if (std::llabs(minutes) > 1) text += "s";
        }
    }
    if (f & Seconds) {
        if (clock) {
            text += Printf("%02lld", rest);
        } else {
            text += Printf(" %lld", rest);
            text += " Secs";
        }
    }
    return text;
}

bool CCountdown::Shows(const CNote& note) {
    return note.m_type != CNote::Memo && note.m_showCountdown != 0;
}

std::string CCountdown::ForNote(const CNote& note, const COleDateTime& now) {
    if (!Shows(note)) return {};
    return Text(note.m_alarmTime, note.m_priorDays, note.m_countdownFormat, now);
}
