#pragma once

#include "core/platform/COleDateTime.h"
#include "core/platform/Win32Types.h"

#include <string>

class CNote;

// What one row of the note list shows: its texts, its icon and its colours.
class CNoteListFormat {
public:
    // Images of the list's icon strip.
    enum Icon { GreenBell = 0, YellowBell = 1, RedBell = 2, YellowPage = 3, GreenPage = 4 };

    // The "Time" column (string 57671).
    static constexpr const char* kTimeFormat = "%a, %b %d,%Y %I:%M %p";

    // "%d day(s)", "%d hour(s)" or "%d minute(s)" for the span (negative when overdue); empty
    // beyond 10000 days either way.
    static std::string FormatTimeLeft(COleDateTimeSpan span);
    static std::string TimeText(const CNote& note);
    // The title, or for a note without one its first line of text (untitled is then set).
    static std::string TitleText(const CNote& note, bool& untitled);
    // Empty for a memo; "snoozed, ..." with the time to the alarm of a reminder put off.
    static std::string TimeLeftText(const CNote& note, const COleDateTime& now);
    // Bells by the minutes to the alarm for notes due soon, pages otherwise.
    static Icon RowIcon(const CNote& note, const COleDateTime& now);

    // The text colour of a row due soon: blue pushed away from its level (black becomes
    // RGB 0,0,204, white text on a dark theme turns yellow).
    static COLORREF DueSoonTextColor(COLORREF windowText);
    // The tint of the odd columns (white becomes RGB 242,242,242).
    static COLORREF TintedColumnColor(COLORREF window);
};
