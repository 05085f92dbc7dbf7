#pragma once

#include "model/CWeather.h"
#include "net/NetEndpoints.h"

#include <atomic>
#include <string>

// Where the five-day report comes from.
enum class WeatherSource { OpenMeteo, Classic };

// One weather fetch, blocking (run it off the user-interface thread).
class CWeatherFetcher {
public:
    explicit CWeatherFetcher(NetEndpoints endpoints) : m_endpoints(std::move(endpoints)) {}
    void SetTimeoutMs(long ms) { m_timeoutMs = ms; }
    // See CNotesInternetSession::SetStopFlag.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }

    // weather holds the place and the unit; on success it also holds the reported place and
    // the five days. On failure it is unchanged and LastError() says why.
    bool Fetch(CWeather& weather, WeatherSource source);
    const std::string& LastError() const { return m_error; }

private:
    bool Get(const std::string& server, const std::string& path, std::string& reply);
    bool FetchClassic(CWeather& weather);
    bool FetchOpenMeteo(CWeather& weather);

    NetEndpoints m_endpoints;
    long m_timeoutMs = 15000;
    const std::atomic<bool>* m_stop = nullptr;
    std::string m_error;
};
