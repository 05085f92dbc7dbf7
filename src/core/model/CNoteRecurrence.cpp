#include "core/model/CNote.h"

#include "core/calendar/NthWeekday.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// Stepping of Every notes. All arithmetic is on local wall-clock day counts, so an event at
// 09:00 stays at 09:00 across daylight-saving changes.

namespace {

COleDateTime Invalid() {
    COleDateTime t;
    t.SetStatus(COleDateTime::invalid);
    return t;
}

constexpr int64_t kDay = 86400;

// Seconds since the day count's origin; stepping runs on these.
int64_t Seconds(const COleDateTime& t) {
    return std::llround(t.Linear() * 86400.0);
}

COleDateTime FromSeconds(int64_t seconds) {
    return COleDateTime::FromLinear(static_cast<double>(seconds) / 86400.0);
}

// A day the note does not fall on (only workday and weekend notes have such days).
bool WrongDay(int unit, int64_t seconds) {
    const COleDateTime t = FromSeconds(seconds);
    if ((unit != CNote::Workday && unit != CNote::Weekend) || !t.IsValid()) return false;
    const int dow = t.GetDayOfWeek();
    const bool weekend = dow == 1 || dow == 7;
    return unit == CNote::Workday ? weekend : !weekend;
}

bool SameDay(const COleDateTime& a, const COleDateTime& b) {
    COleDateTime::Parts pa, pb;
    return a.GetParts(pa) && b.GetParts(pb) && pa.year == pb.year && pa.month == pb.month &&
           pa.day == pb.day;
}

// A count of 0 can only come from a damaged file; the editor shows it as 1, and stepping by 0
// would never get past now.
int StepCount(int count) {
    return count < 1 ? 1 : count;
}

} // namespace

void CNote::StepEvery(const COleDateTime& now) {
    const COleDateTimeSpan prior(static_cast<double>(m_priorDays));
    COleDateTime occurrence =
        m_indexDay > 10000 ? IndexDayOccurrence(now, prior) : StepByUnit(now, prior);
    m_baseTime = m_nextTime = occurrence;
    m_alarmTime = occurrence.IsValid() ? occurrence - prior : occurrence;
}

COleDateTime CNote::StepByUnit(const COleDateTime& now, COleDateTimeSpan prior) const {
    const int unit = Unit();
    const int count = StepCount(Count());
    COleDateTime o = m_baseTime;
    if (!o.IsValid()) return o;

    if ((unit == Month || unit == Year) && now + prior > o) {
        // Each walk starts again from the start; a day lowered for a short month stays
        // lowered for the rest of the walk.
        COleDateTime::Parts s;
        if (!m_startTime.GetParts(s)) return Invalid();
        int year = s.year, month = s.month, day = s.day;
        while (now + prior > o) {
            if (unit == Month) {
                month += count;
                year += (month - 1) / 12;
                month %= 12;
                if (month == 0) month = 12;
            } else {
                year += count;
            }
            if (year > 9999) return Invalid();
            o.SetDateTime(year, month, day, s.hour, s.minute, 0);
            while (!o.IsValid() && day > 1)
                o.SetDateTime(year, month, --day, s.hour, s.minute, 0);
            if (!o.IsValid()) return Invalid();
        }
        return o;
    }
    if (unit > Weekend) return o;

    // Whole seconds, so that neither repeated steps nor a comparison at the very second of an
    // alarm depend on how a day fraction happens to round.
    const int64_t n = Seconds(now);
    const int64_t p = std::llround(prior.GetTotalSeconds());
    int64_t t = Seconds(o);
    int64_t period = kDay;
    if (unit <= Week) {
        if (n + p < t) return o; // the alarm has not come yet
        // q counts whole periods from O to now; negative while O still lies ahead (prior days
        // made the alarm ring early).
        static const int64_t kMinutesPerUnit[] = {1, 60, 1440, 10080};
        const int64_t perUnit = kMinutesPerUnit[unit];
        const int64_t q = (n - t) / 60 / count; // whole minutes, then periods; toward zero
        period = count * perUnit * 60;
        t += std::max<int64_t>(q / perUnit + 1, 0) * period; // never back before what rang
    } else {
        if (t < n) t += (n - t + kDay - 1) / kDay * kDay; // the first such time not before now
        while (WrongDay(unit, t))
            t += kDay;
    }
    // Prior days as long as the step or longer leave the alarm of that step behind now, and it
    // would ring again at every check: step on until it lies ahead. Shorter prior days cannot
    // (an alarm just past rings at once and the next step lies ahead).
    if (p >= period && t - p <= n) {
        t += ((n + p - t) / period + 1) * period;
        while (WrongDay(unit, t))
            t += kDay;
    }
    return FromSeconds(t);
}

COleDateTime CNote::IndexDayOccurrence(const COleDateTime& now, COleDateTimeSpan prior) const {
    const int rule = m_indexDay - 10000;
    const int ruleMonth = rule / 100 % 100;
    const int weekday = rule / 10 % 10;
    const int nth = rule % 10;
    const bool monthly = m_indexDay < 10099;
    const int count = StepCount(Count());

    COleDateTime::Parts start, sp;
    if (!m_startTime.GetParts(start)) return Invalid();
    const COleDateTime s = m_startTime - prior;
    const COleDateTime r = now > s ? now : s;
    if (!s.GetParts(sp)) return Invalid();
    const COleDateTimeSpan timeOfDay(0, start.hour, start.minute, 0);

    int year = sp.year;
    int month = monthly ? sp.month : ruleMonth;
    for (;;) {
        // A rule whose month never exists runs out of years instead of looping for ever.
        if (year > 9999) return Invalid();
        COleDateTime d = NthWeekday(year, month, weekday, nth);
        if (d.IsValid()) {
            d += timeOfDay;
            COleDateTime a = d - prior;
            if (r < a) return d;
            if (r == s && SameDay(a, r)) return m_startTime;
        }
        if (monthly) {
            month += count;
            if (month > 12) {
                year += (month - 1) / 12;
                month = (month - 1) % 12 + 1;
            }
        } else {
            year += count;
        }
    }
}
