#include "core/net/WeatherConditions.h"

#include <algorithm>
#include <cctype>

namespace {

struct Keyword {
    const char* keyword;
    const char* wording; // null: the keyword itself
    int iconClass;
};

constexpr Keyword kSky[] = {
    {"Broken clouds", "Partial Cloudy", 1},
    {"High-level clouds", "Partial Cloudy", 1},
    {"More sun than clouds", "Partial Cloudy", 1},
    {"Many clouds", "Partial Cloudy", 1},
    {"More clouds than sun", "Partial Cloudy", 1},
    {"Passing clouds", "Partial Cloudy", 1},
    {"Scattered clouds", "Partial Cloudy", 1},
    {"Several clouds", "Partial Cloudy", 1},
    {"Sun mixed with clouds", "Partial Cloudy", 1},
    {"Clear skies", "Clear", 0},
    {"Clearing skies", "Clear", 0},
    {"Mainly sunny", "Clear", 0},
    {"Sunny", "Clear", 0},
    {"Clouds", "Cloudy", 2},
    {"Cloudy", "Cloudy", 2},
    {"Low clouds", "Cloudy", 2},
    {"Mid-level clouds", "Cloudy", 2},
    {"Mid-and high-level clouds", "Cloudy", 2},
    {"Mainly cloudy", "Cloudy", 2},
    {"Overcast", "Cloudy", 2},
    {"Dense fog", "Fog", 5},
    {"Fog", "Fog", 5},
    {"Haze", "Fog", 5},
    {"Ice fog", "Fog", 5},
    {"Hazy sunshine", "Fog", 5},
    {"Light fog", "Fog", 5},
    {"Low-level haze", "Fog", 5},
};

constexpr Keyword kPrecipitation[] = {
    {"Big storms", nullptr, 4},
    {"Heavy thunderstorms", nullptr, 4},
    {"Nasty thunderstorms", nullptr, 4},
    {"Severe thunderstorms", nullptr, 4},
    {"Few storms", nullptr, 4},
    {"Tropical storm", nullptr, 4},
    {"Scattered storms", nullptr, 4},
    {"Thunderstorms", nullptr, 4},
    {"Flash floods", nullptr, 4},
    {"Flooding rains", nullptr, 4},
    {"Freezing rain", nullptr, 4},
    {"Light freezing rain", nullptr, 3},
    {"Light rain", nullptr, 3},
    {"Few showers", nullptr, 3},
    {"Numerous showers", nullptr, 3},
    {"Passing showers", nullptr, 3},
    {"Rain showers", nullptr, 3},
    {"Lots of rain", nullptr, 3},
    {"Heavy rain", nullptr, 4},
    {"Tons of rain", nullptr, 4},
    {"Gully washers", nullptr, 4},
    {"Light snow/sleet mixed with rain or freezing rain", "Light snow with rain", 3},
    {"Snow/sleet mixed with rain or freezing rain", "Snow with rain", 3},
    {"Sandstorm", nullptr, 3},
    {"Light snow", nullptr, 3},
    {"Scattered showers", nullptr, 3},
    {"Showery", nullptr, 3},
    {"Snow flurries", nullptr, 3},
    {"Snow showers", nullptr, 3},
    {"Snow sprinkles", nullptr, 3},
    {"Moderate snow", nullptr, 4},
    {"Heavy snow", nullptr, 4},
    {"Snowstorm", nullptr, 4},
    {"Thundery", nullptr, 4},
    {"Storms", nullptr, 4},
    {"Snow", nullptr, 4},
    {"Rain", nullptr, 3},
    {"Hail", nullptr, 3},
    {"Mist", nullptr, 3},
    {"Icy", nullptr, 3},
    {"Tornado", nullptr, 3},
    {"Hurricane", nullptr, 4},
    {"Blizzard", nullptr, 3},
    {"Sprinkles", nullptr, 3},
    {"Sleet", nullptr, 3},
    {"Smoke", nullptr, 5},
};

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

template <size_t N> const Keyword* FirstMatch(const std::string& upper, const Keyword (&table)[N]) {
    for (const Keyword& k : table)
        if (upper.find(Upper(k.keyword)) != std::string::npos) return &k;
    return nullptr;
}

template <size_t N> const Keyword* ExactMatch(const std::string& upper, const Keyword (&table)[N]) {
    for (const Keyword& k : table)
        if (upper == Upper(k.keyword)) return &k;
    return nullptr;
}

} // namespace

std::string NormalizeCondition(const std::string& text, int& icon) {
    const std::string upper = Upper(text);
    std::string result;
    if (const Keyword* sky = FirstMatch(upper, kSky)) {
        result = sky->wording ? sky->wording : sky->keyword;
        icon = kFirstWeatherIcon + sky->iconClass;
    }
    if (const Keyword* rain = FirstMatch(upper, kPrecipitation)) {
        if (!result.empty()) result += ' ';
        result += rain->wording ? rain->wording : rain->keyword;
        icon = kFirstWeatherIcon + rain->iconClass;
    }
    return result;
}

std::string KeywordCondition(const std::string& text, int& icon) {
    const std::string upper = Upper(text);
    const Keyword* k = ExactMatch(upper, kSky);
    if (!k) k = ExactMatch(upper, kPrecipitation);
    if (!k) return NormalizeCondition(text, icon);
    icon = kFirstWeatherIcon + k->iconClass;
    return k->wording ? k->wording : k->keyword;
}
