#pragma once

// Fetches the weather report for the stored place in the background.
class IWeatherService {
public:
    virtual ~IWeatherService() = default;
    virtual void CheckWeather() = 0;
};
