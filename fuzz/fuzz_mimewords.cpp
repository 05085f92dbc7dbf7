// Feeds arbitrary bytes to the header-text decoder as a field's raw value: the shown text
// must be UTF-8, free of control characters and within its length.
#include "core/net/MimeHeaderText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
void Check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const std::string decoded = DecodeMimeWords(raw);
    const std::string shown = ShownHeaderField(raw);
    std::size_t chars = 0;
    for (std::size_t at = 0; at < shown.size(); ++at) {
        const auto c = static_cast<unsigned char>(shown[at]);
        Check(c >= 0x20 && c != 0x7F);
        if ((c & 0xC0) != 0x80) ++chars; // a character's first byte
    }
    Check(chars <= kMaxShownChars + 1); // and the cut mark
    // Only undecodable words stay raw: nothing comes out of nothing.
    Check(size > 0 || decoded.empty());
    return 0;
}
