#pragma once

class CSideSettings;
struct CSettings;
struct PlatformServices;

// What the weather report needs from the program that fetches it.
class IWeatherHost {
public:
    virtual ~IWeatherHost() = default;

    virtual const PlatformServices& Platform() const = 0;
    // The place asked for, and where the report is kept.
    virtual CSettings& settings() = 0;
    // The source and servers named beside the data file.
    virtual const CSideSettings& Side() const = 0;
    // Milliseconds until the next fetch.
    virtual int& WeatherCountdown() = 0;
    virtual bool SaveData() = 0;
};
