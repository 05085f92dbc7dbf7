#include "model/CNote.h"

#include "calendar/NthWeekday.h"

#include <cmath>

// Stepping of Every notes. All arithmetic is on local wall-clock day counts, so an event at
// 09:00 stays at 09:00 across daylight-saving changes.

namespace {

COleDateTime Invalid() {
    COleDateTime t;
    t.SetStatus(COleDateTime::invalid);
    return t;
}

// Whole seconds only: repeated stepping must not let the time of day drift.
COleDateTime RoundToSecond(const COleDateTime& t) {
    if (!t.IsValid()) return t;
    return COleDateTime::FromLinear(std::round(t.Linear() * 86400.0) / 86400.0);
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

    if (unit >= Minute && unit <= Year && now + prior >= o) {
        if (unit <= Week) {
            // q counts whole periods from O to now; negative while O still lies ahead (prior
            // days made the alarm ring early).
            int minutes = COleDateTime::WholeMinutes(now - o);
            int q = static_cast<int>(static_cast<double>(minutes) / count);
            static const int kMinutesPerUnit[] = {1, 60, 1440, 10080};
            int perUnit = kMinutesPerUnit[unit];
            double steps = q / perUnit + 1;
            if (steps < 0) steps = 0; // never back before the occurrence that rang
            const double period = count * perUnit / 1440.0;
            o = RoundToSecond(o + COleDateTimeSpan(steps * period));
            // Prior days as long as the period or longer leave the alarm of that step behind
            // now, and it would ring again at every check: step on until it lies ahead.
            if (o.IsValid() && o.Linear() - prior.GetTotalDays() <= now.Linear()) {
                double behind = now.Linear() + prior.GetTotalDays() - o.Linear();
                o = RoundToSecond(o + COleDateTimeSpan((std::floor(behind / period) + 1) * period));
                while (o.IsValid() && o.Linear() - prior.GetTotalDays() <= now.Linear())
                    o = RoundToSecond(o + COleDateTimeSpan(period));
            }
        } else {
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
        }
    }

    if (unit == Workday || unit == Weekend) {
        if (o < now) {
            // Jump over whole days first; what remains is at most one day plus a weekend.
            o = o + COleDateTimeSpan(std::floor((now - o).GetTotalDays()));
            while (o.IsValid() && o < now)
                o += COleDateTimeSpan(1.0);
        }
        auto wrongDay = [unit](const COleDateTime& t) {
            int dow = t.GetDayOfWeek();
            bool weekend = dow == 1 || dow == 7;
            return unit == Workday ? weekend : !weekend;
        };
        while (o.IsValid() && wrongDay(o))
            o += COleDateTimeSpan(1.0);
        // With prior days the alarm of that day may be past already: on to a later day.
        if (o.IsValid() && o.Linear() - prior.GetTotalDays() <= now.Linear()) {
            double behind = now.Linear() + prior.GetTotalDays() - o.Linear();
            o = o + COleDateTimeSpan(std::floor(behind));
            while (o.IsValid() &&
                   (o.Linear() - prior.GetTotalDays() <= now.Linear() || wrongDay(o)))
                o += COleDateTimeSpan(1.0);
        }
    }
    return o;
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
