#pragma once

#include <string>

// The weather icons: clear, partly cloudy, cloudy, rain and snow, storms, fog.
constexpr int kFirstWeatherIcon = 243;
constexpr int kLastWeatherIcon = 248;

// A short wording for a forecast's condition text, from the sky keywords and then the
// precipitation keywords (case-insensitive: equal to or contained in the text). A match sets
// icon (the precipitation one wins); with no match the wording is empty and icon unchanged.
std::string NormalizeCondition(const std::string& text, int& icon);
