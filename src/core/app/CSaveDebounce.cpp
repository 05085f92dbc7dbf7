#include "core/app/CSaveDebounce.h"

#include "core/platform/ITimerHost.h"

void CSaveDebounce::Changed(ITimerHost* timers) {
    m_pending = true;
    if (timers) timers->SetTimer(m_timerId, kDelayMs); // restarts a running countdown
}

bool CSaveDebounce::OnTimer(bool idle, ITimerHost* timers) {
    if (!m_pending || !idle) {
        if (!m_pending && timers) timers->KillTimer(m_timerId);
        return false; // pending but busy: the timer keeps running and asks again
    }
    Cancel(timers);
    return true;
}

void CSaveDebounce::Cancel(ITimerHost* timers) {
    if (!m_pending) return;
    m_pending = false;
    if (timers) timers->KillTimer(m_timerId);
}
