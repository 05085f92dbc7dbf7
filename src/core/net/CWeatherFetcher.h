#pragma once

#include "core/model/CWeather.h"
#include "core/net/NetEndpoints.h"

#include <atomic>
#include <string>

// Where the five-day report comes from.
enum class WeatherSource { OpenMeteo, Classic };

// One weather fetch, blocking (run it off the user-interface thread).
class CWeatherFetcher {
public:
    // What went wrong: the user can do something about a place that was not found, nothing
    // about a service that cannot be reached.
    enum class Failure { None, Unreachable, PlaceNotFound, BadReport };
    // A report holds a few lines of text: more after extraction is a hostile or broken page,
    // and is never stored (it would be carried in every save of the data file).
    static constexpr std::size_t kMaxReportBytes = 4096;

    explicit CWeatherFetcher(NetEndpoints endpoints) : m_endpoints(std::move(endpoints)) {}
    void SetTimeoutMs(long ms) { m_timeoutMs = ms; }
    // See CNotesInternetSession::SetStopFlag.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }

    // weather holds the place and the unit; on success it also holds the reported place and
    // the five days. On failure it is unchanged and LastError() says why.
    bool Fetch(CWeather& weather, WeatherSource source);
    const std::string& LastError() const { return m_error; }
    Failure LastFailure() const { return m_failure; }
    // The failure in words for the user, e.g. "Cannot reach the weather service (timed out)".
    std::string FailureText(const CWeather& weather) const;

private:
    bool Get(const std::string& server, const std::string& path, std::string& reply);
    bool FetchClassic(CWeather& weather);
    bool FetchOpenMeteo(CWeather& weather);
    bool Fail(Failure failure, const std::string& error);

    NetEndpoints m_endpoints;
    long m_timeoutMs = 15000;
    const std::atomic<bool>* m_stop = nullptr;
    std::string m_error;
    Failure m_failure = Failure::None;
};
