#include "net/CWeatherFetcher.h"

#include "net/CNotesInternetSession.h"
#include "net/HtmlToText.h"
#include "net/OpenMeteo.h"
#include "net/WeatherPage.h"

bool CWeatherFetcher::Fetch(CWeather& weather, WeatherSource source) {
    m_error.clear();
    return source == WeatherSource::Classic ? FetchClassic(weather) : FetchOpenMeteo(weather);
}

bool CWeatherFetcher::Get(const std::string& server, const std::string& path, std::string& reply) {
    CNotesInternetSession session;
    session.SetTimeoutMs(m_timeoutMs);
    session.SetStopFlag(m_stop);
    reply.clear();
    if (!session.HttpGet(reply, server, path)) {
        m_error = session.LastError();
        return false;
    }
    if (session.LastStatus() != 200) {
        m_error = "the server answered with status " + std::to_string(session.LastStatus());
        return false;
    }
    return true;
}

bool CWeatherFetcher::FetchClassic(CWeather& weather) {
    std::string page;
    if (!Get(m_endpoints.classicWeatherServer,
             WeatherPage::RequestPath(weather.m_country, weather.m_state, weather.m_city,
                                      weather.m_zipCode),
             page))
        return false;
    if (WeatherPage::Parse(HtmlToText(page), weather)) return true;
    m_error = "the weather page holds no report";
    return false;
}

bool CWeatherFetcher::FetchOpenMeteo(CWeather& weather) {
    const std::string search = OpenMeteo::GeocodingPath(weather);
    if (search.empty()) {
        m_error = "no place is set";
        return false;
    }
    std::string reply;
    if (!Get(m_endpoints.geocodingServer, search, reply)) return false;
    const auto place = OpenMeteo::ParseGeocoding(reply, weather);
    if (!place) {
        m_error = "the place was not found";
        return false;
    }
    if (!Get(m_endpoints.forecastServer, OpenMeteo::ForecastPath(*place, weather.m_fahrenheit),
             reply))
        return false;
    CWeather read = weather;
    if (!OpenMeteo::ParseForecast(reply, read)) {
        m_error = "the forecast reply holds no five days";
        return false;
    }
    read.m_place = place->name;
    weather = read;
    return true;
}
