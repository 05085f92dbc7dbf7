#include "core/app/COfflineWait.h"

bool COfflineWait::MayRun(bool online, std::int64_t nowMs) {
    if (online) {
        m_offlineSinceMs = -1;
        return true;
    }
    if (m_offlineSinceMs < 0) m_offlineSinceMs = nowMs;
    if (nowMs - m_offlineSinceMs < kTryAnywayMs) return false;
    m_offlineSinceMs = nowMs;
    return true;
}
