#pragma once

#include "core/ical/CICalTime.h"
#include "core/model/CNote.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Notes as iCalendar (RFC 5545) and back. A timed note is a VEVENT whose DTSTART is in the
// local zone (TZID and VTIMEZONE) with a display alarm its prior days ahead, a memo is a
// VJOURNAL; what only Jotterly knows travels in X-JOTTERLY-* properties, so a file written here
// reads back into the same notes. Items other programs wrote are taken as near as Jotterly can
// hold them, and nothing of them is dropped: what a rule cannot say is kept in the note's text.
// A snoozed alarm travels as RFC 9074 has it: the first alarm acknowledged, and a second one at
// the new time that names it as RELATED-TO;RELTYPE=SNOOZE.
class CICalMapping {
public:
    // The identity a note carries to the calendar file.
    struct Identity {
        std::string uid;
        int sequence = 0;
        int64_t lastModified = 0; // seconds since 1970 (UTC); 0 = now
        int64_t acknowledged = 0; // when its alarm was last acknowledged (UTC); 0 = never
    };
    struct ExportItem {
        const CNote* note = nullptr;
        std::vector<std::string> categoryPath; // names from the top category down
        Identity identity;
    };
    // A whole VCALENDAR. zone: the IANA name of the local zone ("" = the system's; a zone the
    // calendar library does not know gives floating local times). now: seconds since 1970.
    static std::string Export(const std::vector<ExportItem>& items, int64_t now,
                              const std::string& zone = {});

    struct ImportItem {
        std::unique_ptr<CNote> note;
        std::vector<std::string> categoryPath;
        std::string uid; // as the file has it (empty when it has none)
        int sequence = 0;
        int64_t acknowledged = 0; // the latest ACKNOWLEDGED of its alarms (UTC); 0 = none
        bool snoozed = false;     // the note's alarm is a snooze alarm's time
    };
    struct Imported {
        std::vector<ImportItem> items;
        int reminders = 0, memos = 0;
        int approximated = 0; // items whose rule could only be taken as the nearest one
        // "12 reminders and 3 memos imported; 2 recurrence rules approximated (see their text)"
        std::string Summary() const;
    };
    static constexpr size_t kMaxBytes = size_t{64} << 20;
    static constexpr size_t kMaxItems = 200000;

    // prototype: the look (font, colours, border, countdown) of notes the file gives none.
    // False with a reason when the bytes hold no calendar; items that are not notes (time
    // zones, free/busy) are passed over.
    static bool Import(const std::string& bytes, const CNote& prototype, Imported& out,
                       std::string* error);

    // Seconds since 1970 of a local wall-clock time (0 for one that is not valid).
    static int64_t UtcSeconds(const COleDateTime& t) { return CICalTime::UtcSeconds(t); }

    // The IANA name of the system's zone: TZ, else /etc/timezone, else /etc/localtime's link.
    static std::string SystemZoneName() { return CICalTime::SystemZoneName(); }
};
