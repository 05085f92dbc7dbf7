#pragma once

#include "core/platform/COleDateTime.h"

class CNote;

// Which notes the manager lists: those of the chosen category (0 = all) that fall into the
// chosen time tab, judged against one "today" for the whole pass.
class CNoteFilter {
public:
    enum TimeFilter { AllNotes = 142, ThisMonth = 143, ThisWeek = 144, Today = 145 };

    CNoteFilter(int category, int timeFilter, const COleDateTime& today);

    bool Passes(const CNote& note) const;

    int Category() const { return m_category; }
    int Time() const { return m_timeFilter; }

private:
    int m_category;
    int m_timeFilter;
    int m_year = 0, m_month = 0, m_day = 0;
    double m_weekStart = 0, m_weekEnd = 0; // the Sunday 00:00 that starts this week, + 7 days
    bool m_todayValid = false;
};
