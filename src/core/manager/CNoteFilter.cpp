#include "core/manager/CNoteFilter.h"

#include "core/model/CNote.h"

CNoteFilter::CNoteFilter(int category, int timeFilter, const COleDateTime& today)
    : m_category(category), m_timeFilter(timeFilter) {
    COleDateTime::Parts p{};
    if (!today.GetParts(p)) return;
    m_todayValid = true;
    m_year = p.year;
    m_month = p.month;
    m_day = p.day;
    const COleDateTime midnight(p.year, p.month, p.day, 0, 0, 0);
    m_weekStart = (midnight - COleDateTimeSpan(p.dayOfWeek - 1, 0, 0, 0)).Linear();
    m_weekEnd = m_weekStart + 7.0;
}

bool CNoteFilter::Passes(const CNote& note) const {
    if (m_category != 0 && note.m_category != m_category) return false;
    if (m_timeFilter == AllNotes) return true;
    if (!m_todayValid) return false;
    COleDateTime::Parts p{};
    if (!note.m_nextTime.GetParts(p)) return false;
    switch (m_timeFilter) {
    case ThisMonth:
        return p.year == m_year && p.month == m_month;
    case ThisWeek: {
        const double t = note.m_nextTime.Linear();
        return m_weekStart <= t && t < m_weekEnd;
    }
    case Today:
        return p.year == m_year && p.month == m_month && p.day == m_day;
    default:
        return false;
    }
}
