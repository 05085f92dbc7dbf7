#pragma once

#include "core/net/NetEndpoints.h"
#include "core/platform/COleDateTime.h"

#include <atomic>
#include <functional>
#include <string>

// One clock synchronisation: measure the local clock's offset from the time server (SNTP),
// then move the clock through the setter given (tests pass one that only records). Without a
// setter it only measures.
class CClockSync {
public:
    // Moves the system clock by offsetSeconds; false when it could not.
    using Setter = std::function<bool(double offsetSeconds)>;

    struct Result {
        bool measured = false;
        double offsetSeconds = 0; // when measured: the server's time less the local one
        bool set = false;         // the clock was moved
        std::string logLine;      // when set
        std::string error;        // when not measured, or not set
    };

    CClockSync(NetEndpoints endpoints, Setter setter)
        : m_endpoints(std::move(endpoints)), m_setter(std::move(setter)) {}

    // See CNotesInternetSession::SetStopFlag.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }
    void SetTimeoutMs(int ms) { m_timeoutMs = ms; }

    Result Run();

    // "This computer's clock is 2 min 3 s fast." and the like, for the user.
    static std::string OffsetText(double offsetSeconds);
    // "Change Local Time From <from> To <to> \n" for the log.
    static std::string LogLine(const COleDateTime& from, const COleDateTime& to);

    // Whether this process holds CAP_SYS_TIME in its effective set.
    static bool CanSetClock();
    // The real setter: the system clock moved by the offset.
    static bool MoveSystemClock(double offsetSeconds);

private:
    NetEndpoints m_endpoints;
    Setter m_setter;
    const std::atomic<bool>* m_stop = nullptr;
    int m_timeoutMs = 5000;
};
