// Feeds arbitrary bytes to the day-token reader and the temperature reader, as the report
// parser uses them: every token from the start to the end of the text.
#include "core/net/WeatherPage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t pos = 0;
    for (int guard = 0; guard <= static_cast<int>(size) + 1; ++guard) {
        const size_t before = pos;
        const std::string token = WeatherPage::ReadToken(text, pos);
        if (pos > text.size()) std::abort();
        WeatherPage::ReadTemperature(token, 0);
        WeatherPage::ReadTemperature(token, 1);
        if (pos == before) break; // stuck at a byte that is neither skipped nor taken, or the end
    }
    return 0;
}
