#pragma once

#include <string>

class CSideSettings;
struct CSettings;
struct PlatformServices;

// What the clock synchronisation needs from the program that runs it.
class IClockSyncHost {
public:
    virtual ~IClockSyncHost() = default;

    virtual const PlatformServices& Platform() const = 0;
    virtual CSettings& settings() = 0;
    // The time server named beside the data file.
    virtual const CSideSettings& Side() const = 0;
    // Milliseconds until the next synchronisation; a failure moves it to the retry.
    virtual int& ClockCountdown() = 0;
    virtual void WriteLog(const std::string& line) = 0;
    // The tray tip's line about the clock; empty: none.
    virtual void SetClockTip(const std::string& line) = 0;
};
