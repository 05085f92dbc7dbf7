// Feeds arbitrary bytes to the SNTP reply checks as a server's answer to a request sent at a
// time taken from the input, received a moment later.
#include "core/net/SntpPacket.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The origin field as the time sent, so that the echo check passes and the rest is reached.
    std::uint64_t sent = 0;
    for (size_t i = 24; i < 32 && i < size; ++i)
        sent = (sent << 8) | data[i];
    const std::uint64_t received =
        sent + ((std::uint64_t{size ? data[size - 1] % 8U : 0U} + 1) << 30);
    SntpPacket::Sample sample;
    std::string error;
    if (SntpPacket::Parse(data, size, sent, received, sample, error)) {
        // A trusted sample has a sane delay and a finite offset.
        if (!std::isfinite(sample.offsetSeconds) || sample.delaySeconds < 0 ||
            sample.delaySeconds > SntpPacket::kMaxDelaySeconds || sample.stratum < 1 ||
            sample.stratum > 15)
            std::abort();
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
