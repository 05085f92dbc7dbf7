#include "gui/platform/CWindowTimers.h"

void CWindowTimers::SetTimer(int id, int periodMs) {
    std::unique_ptr<QTimer>& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] { m_onTimer(id); });
    }
    timer->start(periodMs);
}

void CWindowTimers::KillTimer(int id) {
    if (auto it = m_timers.find(id); it != m_timers.end()) it->second->stop();
}

bool CWindowTimers::IsActive(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}
