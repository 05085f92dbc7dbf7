#pragma once

#include "core/platform/COleDateTime.h"

#include <libical/ical.h>

#include <cstdint>
#include <string>

// Times between the notes' local wall clock and a calendar's floating, zoned and UTC times.
class CICalTime {
public:
    // zone: null for a floating time.
    static icaltimetype LocalTime(const COleDateTime& t, icaltimezone* zone);
    static icaltimetype UtcTime(int64_t seconds);
    // A property's time with its zone: a zone this computer knows by the TZID's name is taken
    // from the system, only others from the file's VTIMEZONE.
    static icaltimetype ZonedTime(icalcomponent* comp, icalproperty_kind kind,
                                  const std::string& localZone);
    // A calendar time as local wall-clock time: floating times and dates as they stand, UTC
    // and zoned times converted to this computer's zone.
    static bool ToLocal(icaltimetype t, COleDateTime& out);
    // Seconds since 1970 of a local wall-clock time (0 for one that is not valid).
    static int64_t UtcSeconds(const COleDateTime& t);
    // The IANA name of the system's zone: TZ, else /etc/timezone, else /etc/localtime's link.
    static std::string SystemZoneName();
};
