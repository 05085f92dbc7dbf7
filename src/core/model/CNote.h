#pragma once

#include "core/model/CNoteWindowLink.h"
#include "core/platform/COleDateTime.h"
#include "core/platform/Win32Types.h"

#include <string>

class INoteWindow;
class INoteWindowFactory;

// The one record for memos, one-time reminders and recurring events.
class CNote {
public:
    enum NoteType { Memo = 132, OneTime = 133, Every = 134 };
    enum Unit {
        Minute = 0,
        Hour = 1,
        Day = 2,
        Week = 3,
        Month = 4,
        Year = 5,
        Workday = 6,
        Weekend = 7
    };

    CNote(); // a Memo with all four times set to now
    CNote(const CNote&) = default;
    CNote& operator=(const CNote&) = default;

    int m_dueSoon = 0;
    int m_showCountdown = 0;
    int m_countdownFormat = 15;
    int m_type = Memo;
    int m_indexDay = 0;
    int m_recurrence = 0;
    int m_borderStyle = 0;
    int m_category = 0;
    int m_priorDays = 0;
    COleDateTime m_alarmTime;
    COleDateTime m_nextTime;
    COleDateTime m_baseTime;
    COleDateTime m_startTime;
    COleDateTime m_spareTime;
    std::string m_title;
    std::string m_text; // line breaks are CR LF, as stored
    LOGFONT m_font;
    COLORREF m_backColor = 0;
    COLORREF m_textColor = 0;
    RECT m_windowRect{0, -999, 0, 0};
    RECT m_firstRect;
    int m_posted = 0;
    int m_rectKnown = 0;
    int m_topMost = 1;
    int m_spareFlag = 0;
    // The stable identity (a calendar UID); not in the data file but kept beside it.
    std::string m_uid;

    int Unit() const { return m_recurrence / 1000; }
    int Count() const { return m_recurrence % 1000; }

    // Sets the next occurrence, the alarm and the due-soon flag; always 1.
    int Recompute();
    // The alarm falls before the end of today or within the next 7 hours.
    int IsDueSoon() const;
    // The same for a given now and its end of day (23:59:59), for passes over many notes.
    int IsDueSoonAt(const COleDateTime& now, const COleDateTime& endOfDay) const;
    static COleDateTime EndOfDay(const COleDateTime& now);
    // The alarm is valid and earlier than now.
    int IsAlarmPast() const;
    int IsAlarmPastAt(const COleDateTime& now) const;
    int MinutesUntil(const COleDateTime& t) const;
    // Rings again that long from now; the occurrence and the due-soon flag stay as they are.
    void RemindLater(int hours, int minutes);
    std::string TypeText() const;

    // The note's open window, or null; the window points back. Only these set and clear it:
    // the window the factory opens is linked, CloseWindow destroys it, and a window that goes by
    // itself says so with WindowGone. The window pushes every edit of the title and text into
    // the note as it is made, so the note always holds what is shown.
    INoteWindow* Window() const { return m_window.Get(); }
    void OpenWindow(int x, int y, bool ringing, INoteWindowFactory& factory);
    void SetWindowReadOnly(bool readOnly);
    void CloseWindow();
    void WindowGone(const INoteWindow* window) {
        if (m_window.m_window == window) m_window.m_window = nullptr;
    }

private:
    void StepEvery(const COleDateTime& now);
    COleDateTime StepByUnit(const COleDateTime& now, COleDateTimeSpan prior) const;
    COleDateTime IndexDayOccurrence(const COleDateTime& now, COleDateTimeSpan prior) const;

    CNoteWindowLink m_window; // not stored
};
