#pragma once

#include <cstdlib>

// A time allowance for slower builds (ThreadSanitizer runs the code several times slower): the
// allowance times JOTTERLY_TIME_SCALE, which such a build sets for its tests (1 when unset).
inline long long ScaledMs(long long ms) {
    const char* scale = std::getenv("JOTTERLY_TIME_SCALE");
    const long long k = scale ? std::atoll(scale) : 1;
    return ms * (k > 0 ? k : 1);
}
