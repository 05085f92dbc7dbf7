#pragma once

#include "app/CTrayCore.h"
#include "app/ITrayActions.h"
#include "platform/Clock.h"
#include "platform/ITimerHost.h"
#include "support/Fakes.h"

#include <functional>
#include <map>
#include <vector>

// A tray core whose later subsystems only count their calls.
struct CountingCore : CTrayCore {
    int managerOpens = 0, optionsOpens = 0, weatherChecks = 0, destroys = 0;
    void OpenManager() override { ++managerOpens; }
    void OpenOptions() override { ++optionsOpens; }
    void CheckWeather() override { ++weatherChecks; }
    void DestroyWindow() override { ++destroys; }
    void RunMailThread() override {} // keeps m_mailTarget as a running check would
};

struct CountingActions : ITrayActions {
    int help = 0, homepage = 0, about = 0;
    void ShowHelpContents() override { ++help; }
    void OpenHomePage() override { ++homepage; }
    void ShowAbout() override { ++about; }
};

// Window timers that follow the test clock: Advance moves the clock and fires every timer
// that falls due on the way, in time order.
class ClockedTimers : public ITimerHost {
public:
    std::function<void(int)> fire;

    void SetTimer(int id, int periodMs) override {
        m_timers[id] = {Clock::MonotonicMs() + periodMs, periodMs};
    }
    void KillTimer(int id) override { m_timers.erase(id); }
    bool IsActive(int id) const { return m_timers.count(id) != 0; }
    int Period(int id) const { return IsActive(id) ? m_timers.at(id).period : -1; }

    void Advance(int ms) {
        const int64_t target = Clock::MonotonicMs() + ms;
        for (;;) {
            int id = -1;
            int64_t due = target + 1;
            for (const auto& [tid, t] : m_timers)
                if (t.due < due) {
                    due = t.due;
                    id = tid;
                }
            if (id < 0) break;
            MoveTo(due);
            m_timers[id].due += m_timers[id].period;
            if (fire) fire(id);
        }
        MoveTo(target);
    }

private:
    struct Timer {
        int64_t due;
        int period;
    };
    // The test clock counts in seconds; steps below one second keep the milliseconds exact.
    static void MoveTo(int64_t ms) {
        while (Clock::MonotonicMs() < ms) {
            int64_t step = std::min<int64_t>(ms - Clock::MonotonicMs(), 500);
            Clock::AdvanceForTest(static_cast<double>(step) / 1000.0);
        }
    }
    std::map<int, Timer> m_timers;
};
