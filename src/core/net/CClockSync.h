#pragma once

#include "net/ClockCorrection.h"
#include "net/NetEndpoints.h"

#include <atomic>
#include <functional>
#include <string>

// One clock synchronisation: fetch the time page, compute the correction, set the clock
// through the setter given (tests pass one that only records).
class CClockSync {
public:
    // Sets the local wall-clock time; false when it could not.
    using Setter = std::function<bool(const COleDateTime&)>;

    struct Result {
        bool ok = false;
        std::string logLine; // when ok
        std::string error;   // when not
    };

    CClockSync(NetEndpoints endpoints, Setter setter)
        : m_endpoints(std::move(endpoints)), m_setter(std::move(setter)) {}

    // See CNotesInternetSession::SetStopFlag.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }

    Result Run();

    // Whether this process holds CAP_SYS_TIME in its effective set.
    static bool CanSetClock();
    // The real setter: the system clock from a local wall-clock time.
    static bool SetSystemClock(const COleDateTime& local);

private:
    NetEndpoints m_endpoints;
    Setter m_setter;
    const std::atomic<bool>* m_stop = nullptr;
};
