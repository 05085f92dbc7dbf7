#pragma once

#include <string>

// The weather icons: clear, partly cloudy, cloudy, rain and snow, storms, fog.
constexpr int kFirstWeatherIcon = 243;
constexpr int kLastWeatherIcon = 248;

// A short wording for a forecast's condition text, from the sky keywords and then the
// precipitation keywords (case-insensitive: equal to or contained in the text). A match sets
// icon (the precipitation one wins); with no match the wording is empty and icon unchanged.
std::string NormalizeCondition(const std::string& text, int& icon);

// The wording and icon of the keyword that equals text, when one does; else as
// NormalizeCondition. For texts made from a code table, where the table's own keyword must win
// over a shorter one listed before it ("Light freezing rain", not "Freezing rain").
std::string KeywordCondition(const std::string& text, int& icon);
