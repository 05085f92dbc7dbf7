#include "core/net/WeatherPage.h"

#include "core/net/UrlEncode.h"
#include "core/net/WeatherConditions.h"

namespace {

constexpr const char* kBasePath =
    "/cgi-java/WL_WLServer?templatename=templates%2Findex%2Fwmo.html&mode=E&cityname=";

bool IsLineByte(unsigned char c) {
    return c >= 31 && c <= 127;
}

} // namespace

namespace WeatherPage {

std::string RequestPath(const std::string& country, const std::string& state,
                        const std::string& city, const std::string& zip) {
    if (!zip.empty())
        return std::string(kBasePath) + "&statename=&countryname=&zipcode=" + UrlEncode(zip);
    return kBasePath + UrlEncode(city) + "&statename=" + UrlEncode(state) +
           "&countryname=" + UrlEncode(country) + "&zipcode=";
}

std::string ReadToken(const std::string& text, size_t& pos) {
    while (pos < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[pos]);
        if (c >= 30 && c < 128) break;
        ++pos;
    }
    const size_t start = pos;
    while (pos < text.size() && IsLineByte(static_cast<unsigned char>(text[pos])))
        ++pos;
    return text.substr(start, pos - start);
}

int ReadTemperature(const std::string& token, int fahrenheit) {
    const size_t paren = token.find('(');
    if (paren == std::string::npos) return 0;
    size_t i = 0;
    while (i < paren && (token[i] == ' ' || token[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < paren && (token[i] == '-' || token[i] == '+')) negative = token[i++] == '-';
    long t = 0;
    // No real temperature has more than three digits; more would only overflow.
    for (int digits = 0; i < paren && token[i] >= '0' && token[i] <= '9' && digits < 6;
         ++i, ++digits)
        t = t * 10 + (token[i] - '0');
    if (negative) t = -t;
    if (fahrenheit == 0) t = (t * 5 - 160) / 9;
    return static_cast<int>(t);
}

bool Parse(const std::string& text, CWeather& weather) {
    const size_t i = text.find("24-hour forecast");
    if (i == std::string::npos) return false;
    size_t lineStart = i;
    while (lineStart > 0 && IsLineByte(static_cast<unsigned char>(text[lineStart - 1])))
        --lineStart;
    const std::string place = i > lineStart ? text.substr(lineStart, i - 1 - lineStart) : "";

    const size_t j = text.find("Extended forecast");
    if (j == std::string::npos) return false;
    const size_t k = text.find("lo", j);
    if (k == std::string::npos) return false;

    CWeather read = weather;
    size_t pos = k + 2;
    for (int d = 0; d < CWeather::kDays; ++d) {
        read.m_dayName[d] = ReadToken(text, pos);
        const std::string condition = ReadToken(text, pos);
        read.m_high[d] = ReadTemperature(ReadToken(text, pos), weather.m_fahrenheit);
        read.m_low[d] = ReadTemperature(ReadToken(text, pos), weather.m_fahrenheit);
        read.m_condition[d] = NormalizeCondition(condition, read.m_icon[d]);
    }
    // A page cut before its first day would show as a report with nothing in it.
    if (read.m_dayName[0].empty()) return false;
    read.m_place = place;
    weather = read;
    return true;
}

} // namespace WeatherPage
