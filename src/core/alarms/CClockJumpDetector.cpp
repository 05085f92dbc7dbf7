#include "core/alarms/CClockJumpDetector.h"

#include <cmath>
#include <cstdlib>

bool CClockJumpDetector::OnTick(const COleDateTime& wallNow, int64_t monotonicMs,
                                int64_t toleranceMs) {
    const double wallDays = wallNow.Linear();
    const bool first = !m_seen;
    const double wallMovedMs = (wallDays - m_lastWallDays) * 86400000.0;
    const int64_t monoMovedMs = monotonicMs - m_lastMonotonicMs;
    m_seen = true;
    m_lastWallDays = wallDays;
    m_lastMonotonicMs = monotonicMs;
    if (first || !wallNow.IsValid()) return false;
    // Whole-second wall times carry up to a second of rounding on each side.
    const double drift = wallMovedMs - static_cast<double>(monoMovedMs);
    if (std::fabs(drift) <= static_cast<double>(toleranceMs) + 1000.0) return false;
    m_lastJumpMs = static_cast<int64_t>(drift);
    return true;
}
