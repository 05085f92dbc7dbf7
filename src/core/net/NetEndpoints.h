#pragma once

#include <string>

// Every server the program asks for the time or the weather, in one place. A base address is a
// scheme and a host (and a port), without a trailing '/'; tests point them at loopback.
struct NetEndpoints {
    // No public server answers these two paths today: the names are placeholders to be set
    // once one exists (".invalid" never resolves, so nothing is sent to a stranger).
    // Answers GET /cgi-bin/timer.pl with a page whose first colon past its sixth character
    // starts an HH:MM:SS time.
    std::string timeServer = "http://time.jotterly.invalid";
    // The classic weather page service (one HTML page per place).
    std::string classicWeatherServer = "http://weather.jotterly.invalid";
    // Open-Meteo: free, no key.
    std::string geocodingServer = "https://geocoding-api.open-meteo.com";
    std::string forecastServer = "https://api.open-meteo.com";

    static constexpr const char* kTimePath = "/cgi-bin/timer.pl";
    static constexpr const char* kGeocodingPath = "/v1/search";
    static constexpr const char* kForecastPath = "/v1/forecast";
};
