#pragma once

class ITimerHost;

// When a change is saved: a few seconds after the last one, so typing is not interrupted by a
// save at every key, and only in the idle state (a change made while a note rings or a dialog
// is open waits until the program is idle again).
class CSaveDebounce {
public:
    static constexpr int kDelayMs = 3000;

    explicit CSaveDebounce(int timerId) : m_timerId(timerId) {}

    // A change: the save is due kDelayMs from now.
    void Changed(ITimerHost* timers);
    // The timer ran out: true when the save is to be made now; otherwise it is tried again at
    // the next tick.
    bool OnTimer(bool idle, ITimerHost* timers);
    // A save was made some other way: nothing is pending any more.
    void Cancel(ITimerHost* timers);
    bool Pending() const { return m_pending; }

private:
    int m_timerId;
    bool m_pending = false;
};
