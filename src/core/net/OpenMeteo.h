#pragma once

#include "core/model/CWeather.h"

#include <optional>
#include <string>

// The Open-Meteo weather source: its geocoding service turns the place of the weather settings
// into coordinates, its forecast service gives five days of highs, lows and WMO weather codes.
namespace OpenMeteo {

struct Place {
    std::string name; // "Paris, Ile-de-France, France"
    double latitude = 0;
    double longitude = 0;
};

// The search for the zip code, else the city; empty when the settings name neither.
std::string GeocodingPath(const CWeather& weather);
// The most populous result in the country and region of the settings (when given: by name or
// ISO code, in any case, with or without accents; a zip code prefers the United States), or
// none.
std::optional<Place> ParseGeocoding(const std::string& json, const CWeather& weather);

// Whether a reply is a JSON object (a search that found nothing still is one).
bool IsJsonObject(const std::string& json);

std::string ForecastPath(const Place& place, int fahrenheit);
// Five days into weather (day names, wordings and icons of the condition keywords, whole
// degrees); false, with weather unchanged, when the reply lacks any of it.
bool ParseForecast(const std::string& json, CWeather& weather);

// A condition text the keyword tables know, for a WMO weather code.
std::string ConditionText(int wmoCode);

} // namespace OpenMeteo
