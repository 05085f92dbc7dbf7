// Feeds arbitrary bytes to the Open-Meteo mapping as a geocoding reply and as a forecast.
#include "core/model/CWeather.h"
#include "core/net/OpenMeteo.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string json(reinterpret_cast<const char*>(data), size);
    CWeather weather;
    weather.m_city = "Paris";
    weather.m_country = size % 2 ? "France" : "";
    weather.m_zipCode = size % 3 ? "" : "02134";
    if (auto place = OpenMeteo::ParseGeocoding(json, weather)) OpenMeteo::ForecastPath(*place, 1);
    if (OpenMeteo::ParseForecast(json, weather)) {
        for (int d = 0; d < CWeather::kDays; ++d)
            if (weather.m_icon[d] < 243 || weather.m_icon[d] > 248) std::abort();
    }
    return 0;
}
