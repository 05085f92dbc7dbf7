#pragma once

#include "core/model/CWeather.h"

#include <string>

// The classic weather service: one HTML page per place, read as plain text.
namespace WeatherPage {

// The request path: by zip code when one is given, else by city, state and country (each
// value escaped, so that a space or "&" stays part of it).
std::string RequestPath(const std::string& country, const std::string& state,
                        const std::string& city, const std::string& zip);

// The next line of the text from pos on: bytes below 30 and from 128 up are skipped, then
// bytes from 31 to 127 are taken. pos moves past what was read.
std::string ReadToken(const std::string& text, size_t& pos);

// The whole degrees at the start of a temperature token ("75 (24)" gives 75), in Centigrade
// when fahrenheit is 0; a token without "(" reads as 0.
int ReadTemperature(const std::string& token, int fahrenheit);

// The place and the five days of the plain text of a report page into weather (its place,
// day names, conditions, temperatures and icons). False, with weather unchanged, when the
// page lacks a marker or the first day.
bool Parse(const std::string& text, CWeather& weather);

} // namespace WeatherPage
