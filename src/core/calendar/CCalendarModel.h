#pragma once

#include "core/calendar/CCalendarLayout.h"
#include "core/platform/COleDateTime.h"

#include <string>

class CHolidayTable;

// What the month calendar shows and how it answers clicks: the selected day (its month is the
// displayed one), the grid positions of the month's days, the moon's phase and the information
// line "days to the next moon phase, days to the next holiday".
class CCalendarModel {
public:
    static constexpr int kMinYear = 1900, kMaxYear = 2100;

    // What a click asks of the window.
    struct Outcome {
        bool redraw = false;
        bool infoChanged = false; // the information line was recomposed: tell the parent
        bool picked = false;      // a day was double-clicked: tell the parent
    };

    // Today, with the information line composed quietly (no holidays yet, nobody told).
    CCalendarModel();

    // Takes the holiday table (not owned) and computes it for the displayed year.
    void AttachHolidays(CHolidayTable* holidays);
    // Today at midnight, with the holidays of its year.
    void GoToToday();
    // Steps by years and months, keeping the day where the month has it (else its last day).
    // Returns false, changing nothing, when the result would leave 1900-2100.
    bool MoveBy(int years, int months);
    // Selects a day (its time of day is dropped) without changing the holiday table.
    void Select(const COleDateTime& day);

    // full: with the days to the next enabled holiday. Sets the moon's phase as well.
    void ComposeInfo(bool full);

    Outcome LeftDown(const CCalendarLayout& layout, int x, int y);
    Outcome DoubleClick(const CCalendarLayout& layout, int x, int y);

    // The displayed month's grid: day 1 sits in column FirstCol() of row 1 (0 = Sunday).
    int FirstCol() const { return m_firstCol; }
    int LastRow() const { return m_lastRow; }
    int LastCol() const { return m_lastCol; }
    int DaysInMonth() const { return m_daysInMonth; }
    // The grid cell of day d of the displayed month.
    void CellOfDay(int d, int& col, int& row) const;
    // The day in a grid cell, 0 when the cell holds none.
    int DayAt(int col, int row) const;

    const COleDateTime& Selected() const { return m_selected; }
    const COleDateTime& Picked() const { return m_picked; }
    const std::string& InfoText() const { return m_infoText; }
    bool Waxing() const { return m_waxing != 0; }
    int MoonPercent() const { return m_moonPercent; }
    const CHolidayTable* Holidays() const { return m_holidays; }

    static int DaysIn(int year, int month);

private:
    void SetSelected(int year, int month, int day);

    COleDateTime m_selected;
    COleDateTime m_picked{0.0};
    int m_waxing = 0;
    int m_moonPercent = 0;
    std::string m_infoText;
    int m_firstCol = 0, m_lastRow = 1, m_lastCol = 0, m_daysInMonth = 0;
    CHolidayTable* m_holidays = nullptr;
};
