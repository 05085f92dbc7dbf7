#pragma once

#include <cstdint>

// Automatic network checks wait while the computer seems offline, but never for ever: the
// online test can be wrong, so after a while offline a due check is tried all the same (an
// automatic check fails quietly when the network is really gone).
class COfflineWait {
public:
    static constexpr std::int64_t kTryAnywayMs = 10 * 60 * 1000;

    // A check is due and the online test answered online; nowMs on a steady clock. True: run
    // the check now.
    bool MayRun(bool online, std::int64_t nowMs);
    // Whether the last answer was offline (the tray tip says so).
    bool Offline() const { return m_offlineSinceMs >= 0; }

private:
    std::int64_t m_offlineSinceMs = -1; // since when checks wait, or the last try anyway
};
