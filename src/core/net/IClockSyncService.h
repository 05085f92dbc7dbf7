#pragma once

#include <string>

// Sets the computer clock from a time server, or only measures how far off it is.
class IClockSyncService {
public:
    virtual ~IClockSyncService() = default;
    // True when a synchronisation started (its result comes later).
    virtual bool SyncClock() = 0;
    // Whether this process may set the system clock.
    virtual bool CanSetClock() = 0;
    // Measures the clock's offset without setting it (the options show it).
    virtual void MeasureClock() = 0;
    // The last measurement or failure in words; empty before the first.
    virtual std::string ClockStatus() const = 0;
};
