#pragma once

// Sets the computer clock from a time server.
class IClockSyncService {
public:
    virtual ~IClockSyncService() = default;
    // True when the clock was set.
    virtual bool SyncClock() = 0;
    // Whether this process may set the system clock.
    virtual bool CanSetClock() = 0;
};
