// Feeds arbitrary bytes to the web page reader: the text of the page, then the report parser
// on that text (markers, place line, the five days).
#include "core/model/CWeather.h"
#include "core/net/HtmlToText.h"
#include "core/net/WeatherPage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    const std::string text = HtmlToText(html);
    if (text.size() > html.size()) std::abort(); // the text only ever shrinks
    CWeather weather;
    weather.m_fahrenheit = size % 2;
    WeatherPage::Parse(text, weather);
    return 0;
}
