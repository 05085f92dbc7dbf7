#pragma once

#include "core/platform/COleDateTime.h"

#include <string>

class CNote;

// The text of a note's countdown line: how long until its event, in the units the note's
// format bits choose. Pure: the same inputs always give the same text.
class CCountdown {
public:
    enum FormatBits { Days = 8, Hours = 4, Minutes = 2, Seconds = 1, AllUnits = 15 };

    // alarmTime - now + priorDays is the time left until the occurrence itself.
    static std::string Text(const COleDateTime& alarmTime, int priorDays, int format,
                            const COleDateTime& now);
    // The line of a note, or an empty string when it shows none (a memo, or the line is off).
    static std::string ForNote(const CNote& note, const COleDateTime& now);
    // A note shows a line when it is not a memo and its line is switched on.
    static bool Shows(const CNote& note);
};
