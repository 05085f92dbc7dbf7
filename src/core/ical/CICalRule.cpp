#include "core/ical/CICalRule.h"

#include "core/calendar/NthWeekday.h"
#include "core/model/CNote.h"

#include <libical/ical.h>

#include <cstdio>

namespace {

const char* const kDays[] = {"", "SU", "MO", "TU", "WE", "TH", "FR", "SA"};

int StepCount(int count) {
    return count < 1 ? 1 : count;
}

std::string Interval(int count) {
    return count > 1 ? ";INTERVAL=" + std::to_string(count) : std::string();
}

bool SameDay(const COleDateTime& a, const COleDateTime& b) {
    return a.GetYear() == b.GetYear() && a.GetMonth() == b.GetMonth() && a.GetDay() == b.GetDay();
}

// The first occurrence of an index-day rule as the stepping finds it before the start's alarm:
// the rule's day in the months counted from the month the alarm falls in, on or after the start.
COleDateTime FirstIndexDay(const CNote& note, int weekday, int nth, int month, bool monthly) {
    const COleDateTime s = note.m_startTime - COleDateTimeSpan(double(note.m_priorDays));
    const int count = StepCount(note.Count());
    int year = s.GetYear();
    int mo = monthly ? s.GetMonth() : month;
    // Calendars (and libical) cannot say a start past the zone rules: such a rule stays inexact.
    for (int guard = 0; guard < 12000 && year <= 2200; ++guard) {
        COleDateTime d = NthWeekday(year, mo, weekday, nth);
        if (d.IsValid()) {
            d += COleDateTimeSpan(0, note.m_startTime.GetHour(), note.m_startTime.GetMinute(), 0);
            if (SameDay(d, note.m_startTime)) return note.m_startTime;
            if (d > note.m_startTime) return d;
        }
        if (monthly) {
            mo += count;
            year += (mo - 1) / 12;
            mo = (mo - 1) % 12 + 1;
        } else {
            year += count;
        }
    }
    COleDateTime none;
    none.SetStatus(COleDateTime::invalid);
    return none;
}

// A BYDAY position as the nth of an index-day rule (5 = the last). A 5th that only some months
// have, and positions from the end other than the last, come out as the nearest.
int Nth(int position, bool& exact) {
    if (position >= 1 && position <= 4) return position;
    if (position == -1) return 5;
    exact = false;
    return position >= 5 ? 5 : 4;
}

std::string ByDay(int weekday, int nth) {
    return std::to_string(nth == 5 ? -1 : nth) + kDays[weekday];
}

} // namespace

CICalRule::Exported CICalRule::ForNote(const CNote& note) {
    Exported out;
    out.dtstart = note.m_startTime;
    if (note.m_type != CNote::Every || !note.m_startTime.IsValid()) return out;
    const int count = StepCount(note.Count());
    const bool wholeMinute = note.m_startTime.GetSecond() == 0;

    if (note.m_indexDay > 10000) {
        const int rule = note.m_indexDay - 10000;
        const int month = rule / 100 % 100, weekday = rule / 10 % 10, nth = rule % 10;
        const bool monthly = note.m_indexDay < 10099;
        if (weekday < 1 || weekday > 7 || nth < 1 || nth > 5 || rule / 100 > 12 ||
            (!monthly && month < 1)) {
            out.exact = false; // never rings; nothing a calendar could say
            return out;
        }
        out.dtstart = FirstIndexDay(note, weekday, nth, month, monthly);
        if (!out.dtstart.IsValid()) {
            out.dtstart = note.m_startTime;
            out.exact = false;
            return out;
        }
        out.rrule = monthly
                        ? "FREQ=MONTHLY" + Interval(count) + ";BYDAY=" + ByDay(weekday, nth)
                        : "FREQ=YEARLY" + Interval(count) + ";BYMONTH=" + std::to_string(month) +
                              ";BYDAY=" + ByDay(weekday, nth);
        out.exact = wholeMinute;
        return out;
    }

    const int day = note.m_startTime.GetDay(), month = note.m_startTime.GetMonth();
    switch (note.Unit()) {
    case CNote::Minute:
        out.rrule = "FREQ=MINUTELY" + Interval(count);
        break;
    case CNote::Hour:
        out.rrule = "FREQ=HOURLY" + Interval(count);
        break;
    case CNote::Day:
        out.rrule = "FREQ=DAILY" + Interval(count);
        break;
    case CNote::Week:
        out.rrule = "FREQ=WEEKLY" + Interval(count);
        break;
    case CNote::Month:
        out.rrule = "FREQ=MONTHLY" + Interval(count);
        // A day short months lack is lowered there and stays lowered: the nearest rule is the
        // last day up to the start's day in every month.
        if (day > 28 && !(count % 12 == 0 && !(month == 2 && day == 29))) {
            out.rrule += ";BYMONTHDAY=28";
            for (int d = 29; d <= day; ++d)
                out.rrule += "," + std::to_string(d);
            out.rrule += ";BYSETPOS=-1";
            out.exact = false;
        }
        out.exact = out.exact && wholeMinute;
        break;
    case CNote::Year:
        out.rrule = "FREQ=YEARLY" + Interval(count);
        if (month == 2 && day == 29) {
            out.rrule += ";BYMONTH=2;BYMONTHDAY=28,29;BYSETPOS=-1";
            out.exact = false;
        }
        out.exact = out.exact && wholeMinute;
        break;
    case CNote::Workday:
    case CNote::Weekend: {
        const bool work = note.Unit() == CNote::Workday;
        out.rrule = work ? "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR" : "FREQ=DAILY;BYDAY=SA,SU";
        // The stepping moves a start on a wrong day to the next right one.
        COleDateTime t = note.m_startTime;
        for (int i = 0; i < 7; ++i) {
            const int dow = t.GetDayOfWeek();
            const bool weekend = dow == 1 || dow == 7;
            if (weekend != work) break;
            t += COleDateTimeSpan(1.0);
        }
        out.dtstart = t.IsValid() ? t : note.m_startTime;
        out.exact = t.IsValid();
        break;
    }
    default:
        out.exact = false; // a unit no editor writes: only the exact text can carry it
        break;
    }
    return out;
}

bool CICalRule::FromRRule(const std::string& rule, const COleDateTime& dtstart, Imported& out) {
    out = Imported{};
    icalerror_set_errors_are_fatal(0);
    struct icalrecurrencetype r = icalrecurrencetype_from_string(rule.c_str());
    icalerror_clear_errno();
    if (r.freq == ICAL_NO_RECURRENCE) return false;

    auto count = [](const short* a) {
        int n = 0;
        while (n < ICAL_BY_DAY_SIZE && a[n] != ICAL_RECURRENCE_ARRAY_MAX)
            ++n;
        return n;
    };
    const int nDay = count(r.by_day), nMonthDay = count(r.by_month_day), nMonth = count(r.by_month);
    const bool others = count(r.by_second) || count(r.by_minute) || count(r.by_hour) ||
                        count(r.by_year_day) || count(r.by_week_no) || count(r.by_set_pos);
    bool exact = !others && r.count == 0 && icaltime_is_null_time(r.until);
    int interval = r.interval < 1 ? 1 : r.interval;
    if (interval > 999) {
        interval = 999;
        exact = false;
    }
    const int startDow = dtstart.GetDayOfWeek(), startDay = dtstart.GetDay(),
              startMonth = dtstart.GetMonth();

    // Weekdays of BYDAY without a position, as a bit set over 1 = Sunday .. 7 = Saturday.
    unsigned plainDays = 0;
    bool positioned = false;
    for (int i = 0; i < nDay; ++i) {
        if (icalrecurrencetype_day_position(r.by_day[i]) != 0) positioned = true;
        plainDays |= 1u << int(icalrecurrencetype_day_day_of_week(r.by_day[i]));
    }
    const unsigned workdays = 0x7Cu, weekend = 0x82u;
    auto set = [&](int unit, int cnt) { out.recurrence = unit * 1000 + cnt; };

    const bool monthDayIsStart =
        nMonthDay == 0 || (nMonthDay == 1 && r.by_month_day[0] == startDay);
    const bool monthIsStart = nMonth == 0 || (nMonth == 1 && r.by_month[0] == startMonth);

    switch (r.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        set(CNote::Minute, 1);
        exact = false;
        break;
    case ICAL_MINUTELY_RECURRENCE:
    case ICAL_HOURLY_RECURRENCE:
        set(r.freq == ICAL_MINUTELY_RECURRENCE ? CNote::Minute : CNote::Hour, interval);
        exact = exact && nDay == 0 && nMonthDay == 0 && nMonth == 0;
        break;
    case ICAL_DAILY_RECURRENCE:
    case ICAL_WEEKLY_RECURRENCE: {
        const bool weekly = r.freq == ICAL_WEEKLY_RECURRENCE;
        exact = exact && nMonthDay == 0 && nMonth == 0 && !positioned;
        if (nDay == 0 || (weekly && plainDays == (1u << startDow))) {
            set(weekly ? CNote::Week : CNote::Day, interval);
        } else if ((plainDays == workdays || plainDays == weekend) && interval == 1) {
            set(plainDays == workdays ? CNote::Workday : CNote::Weekend, 0);
        } else if (!weekly && interval > 1) {
            set(CNote::Day, interval);
            exact = false;
        } else {
            // One weekly note per weekday, each from its first date in the start's week (the
            // week beginning on WKST) or, when that lies before the start, interval weeks on.
            set(CNote::Week, interval);
            const int wkst = r.week_start == ICAL_NO_WEEKDAY ? 2 : int(r.week_start);
            const COleDateTime weekBegin =
                dtstart - COleDateTimeSpan(double((startDow - wkst + 7) % 7));
            for (int k = 0; k < 7; ++k) {
                const int dow = (wkst - 1 + k) % 7 + 1;
                if (!(plainDays & (1u << dow))) continue;
                COleDateTime t = weekBegin + COleDateTimeSpan(double(k));
                if (t < dtstart) t += COleDateTimeSpan(7.0 * interval);
                if (t.IsValid()) out.weeklyStarts.push_back(t);
            }
        }
        break;
    }
    case ICAL_MONTHLY_RECURRENCE:
        set(CNote::Month, interval);
        if (nDay == 1 && positioned && nMonthDay == 0 && nMonth == 0) {
            const int pos = Nth(icalrecurrencetype_day_position(r.by_day[0]), exact);
            const int dow = int(icalrecurrencetype_day_day_of_week(r.by_day[0]));
            out.indexDay = 10000 + dow * 10 + pos;
        } else {
            exact = exact && nDay == 0 && nMonth == 0 && monthDayIsStart && startDay <= 28;
        }
        break;
    case ICAL_YEARLY_RECURRENCE:
        set(CNote::Year, interval);
        if (nDay == 1 && positioned && nMonth == 1 && nMonthDay == 0) {
            const int pos = Nth(icalrecurrencetype_day_position(r.by_day[0]), exact);
            const int dow = int(icalrecurrencetype_day_day_of_week(r.by_day[0]));
            out.indexDay = 10000 + r.by_month[0] * 100 + dow * 10 + pos;
        } else {
            exact = exact && nDay == 0 && monthIsStart && monthDayIsStart &&
                    !(startMonth == 2 && startDay == 29);
        }
        break;
    default:
        return false;
    }
    out.exact = exact;
    return true;
}

std::string CICalRule::FormatLocal(const COleDateTime& t) {
    COleDateTime::Parts p;
    if (!t.GetParts(p)) return {};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02dT%02d%02d%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
    return buf;
}

bool CICalRule::ParseLocal(const std::string& s, COleDateTime& t) {
    int y, mo, d, h, mi, se;
    char tail;
    if (s.size() != 15 ||
        std::sscanf(s.c_str(), "%4d%2d%2dT%2d%2d%2d%c", &y, &mo, &d, &h, &mi, &se, &tail) != 6)
        return false;
    COleDateTime v(y, mo, d, h, mi, se);
    if (!v.IsValid()) return false;
    t = v;
    return true;
}

std::string CICalRule::ExactText(const CNote& note) {
    return "R=" + std::to_string(note.m_recurrence) + ";I=" + std::to_string(note.m_indexDay) +
           ";P=" + std::to_string(note.m_priorDays) + ";S=" + FormatLocal(note.m_startTime);
}

bool CICalRule::ApplyExactText(const std::string& text, CNote& note) {
    long r = 0, i = 0, p = 0;
    char start[16] = {};
    int used = 0;
    if (std::sscanf(text.c_str(), "R=%ld;I=%ld;P=%ld;S=%15[0-9T]%n", &r, &i, &p, start, &used) !=
            4 ||
        size_t(used) != text.size())
        return false;
    COleDateTime s;
    if (r < 0 || r > 99999 || i < 0 || i > 99999 || p < 0 || p > 99999 || !ParseLocal(start, s))
        return false;
    note.m_recurrence = int(r);
    note.m_indexDay = int(i);
    note.m_priorDays = int(p);
    note.m_startTime = s;
    return true;
}
