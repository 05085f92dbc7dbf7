#include "core/platform/COleDateTime.h"

#include <clocale>
#include <cmath>
#include <ctime>
#include <locale.h>

namespace {

constexpr double kMinDate = -657434.99999999; // 0100-01-01 23:59:59 (the day counts backwards)
constexpr double kMaxDate = 2958465.99999999; // 9999-12-31 23:59:59
constexpr double kHalfSecond = 1.0 / 172800.0;
constexpr double kEpsilon = 5.787037037037037e-6;

constexpr bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr int DaysInMonth(int y, int m) {
    return (m == 2 && IsLeap(y)) ? 29 : kMonthDays[m - 1];
}

// Days from 0001-01-01 (proleptic Gregorian) to the date, 0-based.
constexpr long DaysFromCivil(int y, int m, int d) {
    long days = 365L * (y - 1) + (y - 1) / 4 - (y - 1) / 100 + (y - 1) / 400;
    for (int i = 1; i < m; ++i)
        days += DaysInMonth(y, i);
    return days + d - 1;
}

// A constant, so that times built during static initialisation elsewhere are right too.
constexpr long kEpochDays = DaysFromCivil(1899, 12, 30);

void CivilFromDays(long days, int& y, int& m, int& d) {
    // Estimate the year, then correct; fast enough and obviously right.
    y = static_cast<int>(days / 365.2425) + 1;
    while (DaysFromCivil(y, 1, 1) > days)
        --y;
    while (DaysFromCivil(y + 1, 1, 1) <= days)
        ++y;
    long rest = days - DaysFromCivil(y, 1, 1);
    m = 1;
    while (rest >= DaysInMonth(y, m))
        rest -= DaysInMonth(y, m++);
    d = static_cast<int>(rest) + 1;
}

locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        m_dt = 0.0;
        m_status = invalid;
        return 0;
    }
    double dayNumber = static_cast<double>(DaysFromCivil(year, month, day) - kEpochDays);
    double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    m_dt = dayNumber >= 0 ? dayNumber + time : dayNumber - time;
    m_status = valid;
    return 1;
}

void COleDateTime::CheckRange() {
    m_status = (std::isfinite(m_dt) && m_dt >= kMinDate && m_dt <= kMaxDate) ? valid : invalid;
}

bool COleDateTime::GetParts(Parts& p) const {
    if (m_status != valid || !std::isfinite(m_dt) || m_dt < kMinDate || m_dt > kMaxDate)
        return false;
    // Round to the nearest second, on the side the value lies.
    double dbl = m_dt + (m_dt > 0.0 ? kHalfSecond : -kHalfSecond);
    long dayNumber = static_cast<long>(dbl);
    double frac = std::fabs(dbl - static_cast<double>(dayNumber));
    long secs = static_cast<long>(frac * 86400.0);
    if (secs >= 86400) secs = 86399;
    CivilFromDays(dayNumber + kEpochDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    long abs = dayNumber + kEpochDays; // 0001-01-01 was a Monday
    p.dayOfWeek = static_cast<int>((abs + 1) % 7) + 1;
    p.dayOfYear = static_cast<int>(abs - DaysFromCivil(p.year, 1, 1)) + 1;
    return true;
}

#define PART_GETTER(name, field)                                                                   \
    int COleDateTime::name() const {                                                               \
        Parts p;                                                                                   \
        return GetParts(p) ? p.field : -1;                                                         \
    }
PART_GETTER(GetYear, year)
PART_GETTER(GetMonth, month)
PART_GETTER(GetDay, day)
PART_GETTER(GetHour, hour)
PART_GETTER(GetMinute, minute)
PART_GETTER(GetSecond, second)
PART_GETTER(GetDayOfWeek, dayOfWeek)
PART_GETTER(GetDayOfYear, dayOfYear)
#undef PART_GETTER

bool COleDateTime::GetTm(std::tm& tm) const {
    Parts p;
    if (!GetParts(p)) return false;
    tm = std::tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    tm.tm_wday = p.dayOfWeek - 1;
    tm.tm_yday = p.dayOfYear - 1;
    tm.tm_isdst = -1;
    return true;
}

std::string COleDateTime::Format(const char* format) const {
    std::tm tm{};
    if (!GetTm(tm) || format == nullptr) return {};
    std::string out(256, '\0');
    for (;;) {
        size_t n = strftime_l(out.data(), out.size(), format, &tm, CLocale());
        if (n > 0 || *format == '\0') {
            out.resize(n);
            return out;
        }
        if (out.size() > 65536) return {};
        out.resize(out.size() * 4);
    }
}

double COleDateTime::Linear() const {
    if (m_dt >= 0) return m_dt;
    double day = std::ceil(m_dt);
    return day - (m_dt - day);
}

COleDateTime COleDateTime::FromLinear(double linear) {
    if (linear >= 0) return COleDateTime(linear);
    double day = std::floor(linear);
    return COleDateTime(day + (day - linear));
}

COleDateTime COleDateTime::operator+(COleDateTimeSpan span) const {
    if (m_status != valid) return *this;
    return FromLinear(Linear() + span.m_span);
}

COleDateTime COleDateTime::operator-(COleDateTimeSpan span) const {
    if (m_status != valid) return *this;
    return FromLinear(Linear() - span.m_span);
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& other) const {
    return COleDateTimeSpan(Linear() - other.Linear());
}

// Truncates toward zero; values beyond int saturate instead of overflowing.
static int TruncateToInt(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : -2147483647 - 1;
    if (v >= 2147483647.0) return 2147483647;
    return static_cast<int>(v);
}

int COleDateTime::WholeMinutes(COleDateTimeSpan span) {
    return TruncateToInt(span.m_span * 1440.0 + kEpsilon);
}

int COleDateTime::WholeSeconds(COleDateTimeSpan span) {
    return TruncateToInt(span.m_span * 86400.0 + kEpsilon);
}
