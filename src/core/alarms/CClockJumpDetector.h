#pragma once

#include "core/platform/COleDateTime.h"

#include <cstdint>

// Tells when the wall clock moved differently from the monotonic clock between two ticks: a
// suspend (the monotonic clock stands still while the wall clock runs on), a manual clock
// change, an NTP step or a time-zone change. Alarms computed against the old wall time must
// then be looked at again at once, not hours later when the refresh timer fires.
class CClockJumpDetector {
public:
    // Feeds one tick. Returns true when, since the previous tick, the wall clock moved more
    // than toleranceMs further (or less far) than the monotonic clock. The first tick only
    // records the clocks.
    bool OnTick(const COleDateTime& wallNow, int64_t monotonicMs, int64_t toleranceMs);
    // Forgets the previous tick (after the timers were stopped for a while on purpose).
    void Reset() { m_seen = false; }
    // The difference seen by the last tick that reported a jump, in milliseconds (positive:
    // the wall clock ran ahead).
    int64_t LastJumpMs() const { return m_lastJumpMs; }

private:
    bool m_seen = false;
    double m_lastWallDays = 0;
    int64_t m_lastMonotonicMs = 0;
    int64_t m_lastJumpMs = 0;
};
