#pragma once

#include "core/platform/ITimerHost.h"

#include <QTimer>
#include <functional>
#include <map>
#include <memory>

// A window's timers by id on Qt timers, each tick handed to one handler with its id on the
// user-interface thread.
class CWindowTimers : public ITimerHost {
public:
    explicit CWindowTimers(std::function<void(int)> onTimer) : m_onTimer(std::move(onTimer)) {}

    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsActive(int id) const;

private:
    std::function<void(int)> m_onTimer;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
};
