#pragma once

#include <string>

// Fetches the weather report for the stored place in the background.
class IWeatherService {
public:
    virtual ~IWeatherService() = default;
    // manual: the user asked for it, and a failure may be told in a box; an automatic fetch's
    // failure is only shown in the menu.
    virtual void CheckWeather(bool manual) = 0;
    // Why the last fetch failed, in words; empty after a success.
    virtual std::string LastFailure() const = 0;
    // A fetch was started and has not handed back its result yet.
    virtual bool FetchRunning() const = 0;
};
