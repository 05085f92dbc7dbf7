#pragma once

#include "core/net/SntpPacket.h"

#include <atomic>
#include <string>

// Asks one time server for the time over SNTP (UDP) and measures the local clock's offset.
// Blocking: run it off the user-interface thread. Every wait is bounded and ends on the stop
// flag.
class CSntpClient {
public:
    static constexpr unsigned short kPort = 123;

    void SetTimeoutMs(int ms) { m_timeoutMs = ms; }
    // See CNotesInternetSession::SetStopFlag.
    void SetStopFlag(const std::atomic<bool>* stop) { m_stop = stop; }

    // server: "host" or "host:port". False with LastError() telling why.
    bool Measure(const std::string& server, SntpPacket::Sample& sample);
    const std::string& LastError() const { return m_error; }

private:
    bool Fail(const std::string& why);

    int m_timeoutMs = 5000;
    const std::atomic<bool>* m_stop = nullptr;
    std::string m_error;
};
