#pragma once

#include "platform/COleDateTime.h"

#include <optional>
#include <string>

// The new local time from a time server's page: its minutes and seconds on the local date and
// hour, the hour moved by one when the two clocks lie on either side of an hour boundary.
struct ClockCorrection {
    COleDateTime from;
    COleDateTime to;

    // None when the page holds no "HH:MM:SS" at its first colon past the sixth character, or
    // the minutes or seconds are not two digits below 60, or the new time is impossible.
    static std::optional<ClockCorrection> Compute(const std::string& reply,
                                                  const COleDateTime& local);
    // "Change Local Time From <from> To <to> \n" for the log.
    std::string LogLine() const;
};
