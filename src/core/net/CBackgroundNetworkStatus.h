#pragma once

#include "core/net/INetworkStatus.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

// Answers at once with what the last look found, and looks again on a thread of its own when
// that answer has aged: the GUI thread that asks must never wait, whatever the probe does.
class CBackgroundNetworkStatus : public INetworkStatus {
public:
    // probe: the real test (owned); asked for the first time at once.
    explicit CBackgroundNetworkStatus(std::unique_ptr<INetworkStatus> probe,
                                      std::chrono::milliseconds maxAge = std::chrono::seconds(20));
    ~CBackgroundNetworkStatus() override;
    CBackgroundNetworkStatus(const CBackgroundNetworkStatus&) = delete;
    CBackgroundNetworkStatus& operator=(const CBackgroundNetworkStatus&) = delete;

    // False until the first look has answered.
    bool IsOnline() override;
    // Whether a look is still running (tests).
    bool Looking() const { return m_running.load(); }

private:
    void StartLook();

    std::unique_ptr<INetworkStatus> m_probe;
    std::chrono::milliseconds m_maxAge;
    std::atomic<bool> m_online{false};
    std::atomic<bool> m_running{false};
    std::atomic<std::int64_t> m_answeredMs{-1}; // steady clock, when the last look answered
    std::thread m_thread;
};
