#include "core/net/OpenMeteo.h"

#include "core/net/PlaceCodes.h"
#include "core/net/UrlEncode.h"
#include "core/net/WeatherConditions.h"
#include "core/platform/COleDateTime.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

std::string Trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

std::string Text(const json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

// Lower case without accents: the Latin letters U+00C0 to U+017F as their base letter, so that
// "ile-de-france" is "Île-de-France".
std::string Folded(const std::string& text) {
    static constexpr const char* kBase =
        "aaaaaaaceeeeiiiidnoooooxouuuuytsaaaaaaaceeeeiiiidnooooo/ouuuuyty"
        "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiiijjkkkllllllllllnnnnnnnnnoooooooorrrrrr"
        "ssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const unsigned code = ((c & 0x1F) << 6) | (next & 0x3F);
        if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && (next & 0xC0) == 0x80 && code >= 0xC0 &&
            code < 0x180) {
            out += kBase[code - 0xC0];
            ++i;
        } else {
            out += static_cast<char>(std::tolower(c));
        }
    }
    return out;
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The country as typed: its name, or its ISO alpha-2 or alpha-3 code, in any case and with or
// without accents. Empty matches every country.
bool CountryMatches(const std::string& typed, const json& result) {
    const std::string t = Trimmed(typed), code = Text(result, "country_code");
    return t.empty() || Folded(t) == Folded(Text(result, "country")) ||
           (!code.empty() && (Upper(t) == code || PlaceCodes::Alpha2(Upper(t)) == code));
}

// The region as typed: the name of the first or second level area, or its code ("TX").
bool RegionMatches(const std::string& typed, const json& result) {
    const std::string t = Folded(Trimmed(typed));
    if (t.empty()) return true;
    const std::string admin1 = Folded(Text(result, "admin1"));
    const std::string named = PlaceCodes::SubdivisionName(Text(result, "country_code"), Upper(t));
    return t == admin1 || t == Folded(Text(result, "admin2")) ||
           (!named.empty() && Folded(named) == admin1);
}

double Population(const json& result) {
    const auto it = result.find("population");
    return it != result.end() && it->is_number() ? it->get<double>() : 0;
}

bool Number(const json& value, double& out) {
    if (!value.is_number()) return false;
    out = value.get<double>();
    return std::isfinite(out);
}

// "2024-05-06" to its weekday name.
std::string DayName(const json& value) {
    int y = 0, m = 0, d = 0;
    if (!value.is_string() ||
        std::sscanf(value.get<std::string>().c_str(), "%4d-%2d-%2d", &y, &m, &d) != 3)
        return {};
    const COleDateTime date(y, m, d, 0, 0, 0);
    return date.IsValid() ? date.Format("%A") : std::string();
}

} // namespace

namespace OpenMeteo {

std::string GeocodingPath(const CWeather& weather) {
    const std::string zip = Trimmed(weather.m_zipCode);
    const std::string name = zip.empty() ? Trimmed(weather.m_city) : zip;
    if (name.empty()) return {};
    return "/v1/search?name=" + UrlEncode(name) + "&count=10&language=en&format=json";
}

std::optional<Place> ParseGeocoding(const std::string& text, const CWeather& weather) {
    const json reply = json::parse(text, nullptr, false);
    if (!reply.is_object()) return std::nullopt;
    const auto results = reply.find("results");
    if (results == reply.end() || !results->is_array()) return std::nullopt;
    const bool byZip = !Trimmed(weather.m_zipCode).empty();
    // Of the places that match, the one most people mean: the most populous (a zip code
    // prefers the United States).
    const json* chosen = nullptr;
    auto better = [&](const json& r) {
        if (!chosen) return true;
        if (byZip) {
            const bool us = Text(r, "country_code") == "US";
            if (us != (Text(*chosen, "country_code") == "US")) return us;
        }
        return Population(r) > Population(*chosen);
    };
    for (const json& r : *results) {
        if (!r.is_object()) continue;
        if (!byZip && (!CountryMatches(weather.m_country, r) || !RegionMatches(weather.m_state, r)))
            continue;
        if (better(r)) chosen = &r;
    }
    if (!chosen) return std::nullopt;
    Place place;
    if (!Number(chosen->value("latitude", json()), place.latitude) ||
        !Number(chosen->value("longitude", json()), place.longitude))
        return std::nullopt;
    for (const char* key : {"name", "admin1", "country"}) {
        const std::string part = Text(*chosen, key);
        if (part.empty()) continue;
        if (!place.name.empty()) place.name += ", ";
        place.name += part;
    }
    return place;
}

bool IsJsonObject(const std::string& text) {
    return json::parse(text, nullptr, false).is_object();
}

std::string ForecastPath(const Place& place, int fahrenheit) {
    char coordinates[96];
    std::snprintf(coordinates, sizeof coordinates, "latitude=%.4f&longitude=%.4f", place.latitude,
                  place.longitude);
    return std::string("/v1/forecast?") + coordinates +
           "&daily=weather_code,temperature_2m_max,temperature_2m_min&temperature_unit=" +
           (fahrenheit ? "fahrenheit" : "celsius") + "&timezone=auto&forecast_days=5";
}

bool ParseForecast(const std::string& text, CWeather& weather) {
    const json reply = json::parse(text, nullptr, false);
    if (!reply.is_object()) return false;
    const auto daily = reply.find("daily");
    if (daily == reply.end() || !daily->is_object()) return false;
    auto column = [&](const char* key) -> const json* {
        const auto it = daily->find(key);
        return it != daily->end() && it->is_array() && it->size() >= CWeather::kDays ? &*it
                                                                                     : nullptr;
    };
    const json* codes = column("weather_code");
    if (!codes) codes = column("weathercode"); // the older name of the same column
    const json *days = column("time"), *highs = column("temperature_2m_max"),
               *lows = column("temperature_2m_min");
    if (!codes || !days || !highs || !lows) return false;

    CWeather read = weather;
    for (int d = 0; d < CWeather::kDays; ++d) {
        double high = 0, low = 0, code = 0;
        read.m_dayName[d] = DayName((*days)[d]);
        // No place on earth is this hot or cold: such a reply is broken.
        if (read.m_dayName[d].empty() || !Number((*highs)[d], high) || !Number((*lows)[d], low) ||
            !Number((*codes)[d], code) || std::fabs(high) > 500 || std::fabs(low) > 500 ||
            code < 0 || code > 99)
            return false;
        read.m_high[d] = static_cast<int>(std::lround(high));
        read.m_low[d] = static_cast<int>(std::lround(low));
        read.m_icon[d] = kFirstWeatherIcon + 2;
        read.m_condition[d] =
            KeywordCondition(ConditionText(static_cast<int>(code)), read.m_icon[d]);
    }
    weather = read;
    return true;
}

std::string ConditionText(int code) {
    switch (code) {
    case 0:
        return "Clear skies";
    case 1:
        return "Mainly sunny";
    case 2:
        return "Sun mixed with clouds";
    case 3:
        return "Overcast";
    case 45:
        return "Fog";
    case 48:
        return "Ice fog";
    case 51:
    case 53:
    case 55:
        return "Sprinkles";
    case 56:
    case 57:
    case 66:
        return "Light freezing rain";
    case 61:
        return "Light rain";
    case 63:
        return "Rain";
    case 65:
    case 82:
        return "Heavy rain";
    case 67:
        return "Freezing rain";
    case 71:
        return "Light snow";
    case 73:
        return "Moderate snow";
    case 75:
    case 86:
        return "Heavy snow";
    case 77:
        return "Snow flurries";
    case 80:
        return "Few showers";
    case 81:
        return "Rain showers";
    case 85:
        return "Snow showers";
    case 95:
        return "Thunderstorms";
    case 96:
    case 99:
        return "Severe thunderstorms";
    default:
        return "Clouds";
    }
}

} // namespace OpenMeteo
