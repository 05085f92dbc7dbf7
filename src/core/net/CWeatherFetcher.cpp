#include "core/net/CWeatherFetcher.h"

#include "core/net/CNotesInternetSession.h"
#include "core/net/HtmlToText.h"
#include "core/net/OpenMeteo.h"
#include "core/net/WeatherPage.h"

namespace {
std::size_t ReportBytes(const CWeather& w) {
    std::size_t n = w.m_place.size();
    for (int d = 0; d < CWeather::kDays; ++d)
        n += w.m_dayName[d].size() + w.m_condition[d].size();
    return n;
}
} // namespace

bool CWeatherFetcher::Fetch(CWeather& weather, WeatherSource source) {
    m_error.clear();
    m_failure = Failure::None;
    CWeather read = weather;
    if (!(source == WeatherSource::Classic ? FetchClassic(read) : FetchOpenMeteo(read)))
        return false;
    if (ReportBytes(read) > kMaxReportBytes)
        return Fail(Failure::BadReport,
                    "the report is larger than " + std::to_string(kMaxReportBytes) + " bytes");
    weather = read;
    return true;
}

bool CWeatherFetcher::Fail(Failure failure, const std::string& error) {
    m_failure = failure;
    m_error = error;
    return false;
}

std::string CWeatherFetcher::FailureText(const CWeather& weather) const {
    switch (m_failure) {
    case Failure::None:
        return {};
    case Failure::Unreachable:
        return "Cannot reach the weather service (" + m_error + ").";
    case Failure::PlaceNotFound: {
        const std::string place = weather.m_zipCode.empty() ? weather.m_city : weather.m_zipCode;
        return "The weather service does not know the place \"" + place +
               "\". Check the place in the options.";
    }
    case Failure::BadReport:
        break;
    }
    return "The weather service sent no usable report (" + m_error + ").";
}

bool CWeatherFetcher::Get(const std::string& server, const std::string& path, std::string& reply) {
    CNotesInternetSession session;
    session.SetTimeoutMs(m_timeoutMs);
    session.SetStopFlag(m_stop);
    reply.clear();
    if (!session.HttpGet(reply, server, path))
        return Fail(Failure::Unreachable, session.LastError());
    if (session.LastStatus() != 200)
        return Fail(Failure::Unreachable,
                    "the server answered with status " + std::to_string(session.LastStatus()));
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
    return Fail(Failure::BadReport, "the weather page holds no report");
}

bool CWeatherFetcher::FetchOpenMeteo(CWeather& weather) {
    const std::string search = OpenMeteo::GeocodingPath(weather);
    if (search.empty()) return Fail(Failure::PlaceNotFound, "no place is set");
    std::string reply;
    if (!Get(m_endpoints.geocodingServer, search, reply)) return false;
    const auto place = OpenMeteo::ParseGeocoding(reply, weather);
    if (!place)
        return OpenMeteo::IsJsonObject(reply)
                   ? Fail(Failure::PlaceNotFound, "the place was not found")
                   : Fail(Failure::BadReport, "the place search reply is not readable");
    if (!Get(m_endpoints.forecastServer, OpenMeteo::ForecastPath(*place, weather.m_fahrenheit),
             reply))
        return false;
    CWeather read = weather;
    if (!OpenMeteo::ParseForecast(reply, read))
        return Fail(Failure::BadReport, "the forecast reply holds no five days");
    read.m_place = place->name;
    weather = read;
    return true;
}
