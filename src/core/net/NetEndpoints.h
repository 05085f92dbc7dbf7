#pragma once

#include <string>

// Every server the program asks for the time or the weather, in one place. A base address is a
// scheme and a host (and a port), without a trailing '/'; tests point them at loopback.
struct NetEndpoints {
    // An SNTP server, "host" or "host:port" (UDP, port 123 unless given).
    std::string timeServer = "pool.ntp.org";
    // The classic weather page service (one HTML page per place). No public server answers its
    // path: it is offered only when jotterly.conf names one.
    std::string classicWeatherServer;
    // Open-Meteo: free, no key.
    std::string geocodingServer = "https://geocoding-api.open-meteo.com";
    std::string forecastServer = "https://api.open-meteo.com";

    static constexpr const char* kGeocodingPath = "/v1/search";
    static constexpr const char* kForecastPath = "/v1/forecast";
};
