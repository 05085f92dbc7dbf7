#pragma once

#include "core/platform/COleDateTime.h"

#include <string>
#include <vector>

class CNote;

// A note's recurrence as an RRULE and back. Jotterly steps on local wall-clock days; the rule
// is written so that a calendar expanding it from DTSTART gets the same occurrences, except for
// two rules RFC 5545 cannot say (a monthly day lowered for a short month stays lowered; a
// yearly 29 February becomes the 28th for good): those get the nearest rule, and the exact one
// travels in X-JOTTERLY-RECURRENCE.
class CICalRule {
public:
    struct Exported {
        std::string rrule;    // without "RRULE:", empty for none
        COleDateTime dtstart; // the first occurrence
        bool exact = true;    // expanding rrule from dtstart gives the note's occurrences
    };
    // For an Every note; a note of another type gets no rule.
    static Exported ForNote(const CNote& note);

    struct Imported {
        int recurrence = 0; // unit x 1000 + count
        int indexDay = 0;
        bool exact = true;
        // A weekly rule on several weekdays: one note per entry, each starting at its date.
        std::vector<COleDateTime> weeklyStarts;
    };
    // rule: an RRULE value; dtstart in local time. False when it is no rule at all.
    static bool FromRRule(const std::string& rule, const COleDateTime& dtstart, Imported& out);

    // The exact rule of a note, as X-JOTTERLY-RECURRENCE holds it: "R=<recurrence>;I=<index
    // day>;P=<prior days>;S=<start, yyyymmddThhmmss>".
    static std::string ExactText(const CNote& note);
    // Reads that text into the note's rule fields and start; false (nothing changed) when it is
    // not well formed.
    static bool ApplyExactText(const std::string& text, CNote& note);

    static std::string FormatLocal(const COleDateTime& t); // yyyymmddThhmmss
    static bool ParseLocal(const std::string& s, COleDateTime& t);
};
