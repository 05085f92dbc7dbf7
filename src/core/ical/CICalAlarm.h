#pragma once

#include "core/model/CNote.h"

#include <libical/ical.h>

#include <cstdint>
#include <string>

// A note's alarm as VALARMs: one display alarm its prior days ahead of the start, and while the
// note is snoozed a second one at the snoozed time that names the first as
// RELATED-TO;RELTYPE=SNOOZE (RFC 9074), so other calendars show the same ring.
class CICalAlarm {
public:
    // uid: the note's; the alarm is "<uid>-alarm". acknowledged: UTC seconds, 0 for never.
    static void AddAlarms(icalcomponent* comp, const CNote& note, const std::string& uid,
                          int64_t acknowledged);
    // A snooze moved the alarm past the one the occurrence and the prior days give.
    static bool IsSnoozed(const CNote& note);
    static bool IsSnoozeAlarm(icalcomponent* alarm);
    // The latest ACKNOWLEDGED of the alarms (UTC seconds, 0 for none) and the latest time a
    // snooze alarm names (not valid for none).
    static int64_t AlarmState(icalcomponent* comp, COleDateTime& snoozedTo);
    // Days ahead of the start the earliest display or audio alarm rings (whole days, rounded
    // down).
    static int PriorDays(icalcomponent* comp, const COleDateTime& start);
};
