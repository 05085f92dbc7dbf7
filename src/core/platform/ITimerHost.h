#pragma once

// Window timers by id, delivered on the user-interface thread.
class ITimerHost {
public:
    virtual ~ITimerHost() = default;
    virtual void SetTimer(int id, int periodMs) = 0;
    virtual void KillTimer(int id) = 0;
};
