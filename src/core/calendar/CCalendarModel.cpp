#include "core/calendar/CCalendarModel.h"

#include "core/calendar/CHolidayTable.h"
#include "core/calendar/MoonPhase.h"
#include "core/platform/Clock.h"

#include <algorithm>
#include <cmath>

namespace {
const char* const kPhaseWords[4] = {"New", "First Quarter", "Full", "Last Quarter"};

// "n day" / "n days" + " to " + what.
std::string DaysTo(int n, const std::string& what) {
    return std::to_string(n) + (n > 1 ? " days to " : " day to ") + what;
}
int WholeDays(const COleDateTime& from, const COleDateTime& to) {
    return static_cast<int>(std::trunc((to - from).GetTotalDays()));
}
} // namespace

CCalendarModel::CCalendarModel() {
    const COleDateTime now = Clock::Now();
    SetSelected(now.GetYear(), now.GetMonth(), now.GetDay());
    ComposeInfo(false);
}

int CCalendarModel::DaysIn(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

void CCalendarModel::SetSelected(int year, int month, int day) {
    m_selected = COleDateTime(year, month, day, 0, 0, 0);
    if (!m_selected.IsValid()) return;
    m_daysInMonth = DaysIn(year, month);
    m_firstCol = COleDateTime(year, month, 1, 0, 0, 0).GetDayOfWeek() - 1;
    CellOfDay(m_daysInMonth, m_lastCol, m_lastRow);
}

void CCalendarModel::CellOfDay(int d, int& col, int& row) const {
    const int slot = m_firstCol + d - 1;
    col = slot % 7;
    row = 1 + slot / 7;
}

int CCalendarModel::DayAt(int col, int row) const {
    // Only the seven columns hold days: a point right of the last one is no cell of the next row.
    if (col < 0 || col > 6 || row < 1 || row > m_lastRow) return 0;
    if ((row == 1 && col < m_firstCol) || (row == m_lastRow && col > m_lastCol)) return 0;
    return row * 7 + col - m_firstCol - 6;
}

void CCalendarModel::AttachHolidays(CHolidayTable* holidays) {
    m_holidays = holidays;
    if (m_holidays && m_selected.IsValid()) m_holidays->ComputeDates(m_selected.GetYear());
}

void CCalendarModel::GoToToday() {
    const COleDateTime now = Clock::Now();
    SetSelected(now.GetYear(), now.GetMonth(), now.GetDay());
    MoveBy(0, 0);
    ComposeInfo(true);
}

bool CCalendarModel::MoveBy(int years, int months) {
    if (!m_selected.IsValid()) return false;
    int year = m_selected.GetYear() + years;
    int month = m_selected.GetMonth() + months;
    year += (month - 1 >= 0 ? (month - 1) / 12 : (month - 12) / 12);
    month = ((month - 1) % 12 + 12) % 12 + 1;
    // Checked after the month wraps, so January 1900 cannot step back into 1899 either.
    if (year < kMinYear || year > kMaxYear) return false;
    const int day = std::min(m_selected.GetDay(), DaysIn(year, month));
    if (m_holidays) m_holidays->ComputeDates(year);
    SetSelected(year, month, day);
    return true;
}

void CCalendarModel::Select(const COleDateTime& day) {
    SetSelected(day.GetYear(), day.GetMonth(), day.GetDay());
}

void CCalendarModel::ComposeInfo(bool full) {
    if (!m_selected.IsValid()) {
        m_infoText.clear();
        return;
    }
    std::string holidayText(9, ' ');
    if (full && m_holidays) {
        const CHoliday h = m_holidays->GetNextHoliday(m_selected);
        const int n = WholeDays(m_selected, h.date);
        holidayText += n > 0 ? DaysTo(n, h.name) : h.name;
        holidayText += " (" + h.date.Format("%b %d") + ")";
    }
    COleDateTime phaseDay;
    int phase = 0;
    const int percent = MoonPhase(m_selected, phaseDay, phase);
    phase = std::clamp(phase, 0, 3);
    m_waxing = (phase == 1 || phase == 2) ? 1 : 0;
    m_moonPercent = std::clamp(percent, 0, 100);
    std::string moonText;
    if (phaseDay.GetDay() == m_selected.GetDay()) {
        m_moonPercent = (phase == 0 || phase == 2) ? 100 : 50;
        moonText = kPhaseWords[phase];
    } else {
        moonText = DaysTo(WholeDays(m_selected, phaseDay), kPhaseWords[phase]);
    }
    m_infoText = " " + moonText + holidayText;
}

CCalendarModel::Outcome CCalendarModel::LeftDown(const CCalendarLayout& layout, int x, int y) {
    Outcome out;
    switch (layout.HitZone(x, y)) {
    case CCalendarLayout::Zone::PrevYear:
        MoveBy(-1, 0);
        break;
    case CCalendarLayout::Zone::NextYear:
        MoveBy(1, 0);
        break;
    case CCalendarLayout::Zone::PrevMonth:
        MoveBy(0, -1);
        break;
    case CCalendarLayout::Zone::NextMonth:
        MoveBy(0, 1);
        break;
    case CCalendarLayout::Zone::Title:
        return out;
    case CCalendarLayout::Zone::Grid: {
        int col = 0, row = 0;
        layout.GridCell(x, y, col, row);
        const int d = DayAt(col, row);
        if (d != 0 && d != m_selected.GetDay()) {
            SetSelected(m_selected.GetYear(), m_selected.GetMonth(), d);
            ComposeInfo(true);
            out.infoChanged = true;
        }
        break;
    }
    case CCalendarLayout::Zone::None:
        break;
    }
    out.redraw = true;
    return out;
}

CCalendarModel::Outcome CCalendarModel::DoubleClick(const CCalendarLayout& layout, int x, int y) {
    Outcome out = LeftDown(layout, x, y);
    const CCalendarLayout::Zone zone = layout.HitZone(x, y);
    if (zone == CCalendarLayout::Zone::Title) {
        GoToToday();
        out.redraw = out.infoChanged = true;
    } else if (zone == CCalendarLayout::Zone::Grid) {
        int col = 0, row = 0;
        layout.GridCell(x, y, col, row);
        if (const int d = DayAt(col, row)) {
            m_picked = COleDateTime(m_selected.GetYear(), m_selected.GetMonth(), d, 1, 1, 1);
            out.picked = true;
        }
    }
    return out;
}
