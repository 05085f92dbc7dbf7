#pragma once

#include "net/CClockSync.h"
#include "net/IClockSyncService.h"
#include "net/NetEndpoints.h"

#include <QObject>
#include <atomic>
#include <thread>

class CTrayCore;

// Sets the clock from the time server on a worker thread. SyncClock() answers at once that a
// synchronisation started; its result comes back on the GUI thread, and a failure moves the
// hub's countdown to the retry.
class CClockSyncService : public QObject, public IClockSyncService {
    Q_OBJECT
public:
    static constexpr int kRetryMs = 300000;

    explicit CClockSyncService(CTrayCore& hub) : m_hub(hub) {}
    ~CClockSyncService() override;

    void SetEndpoints(const NetEndpoints& endpoints) { m_endpoints = endpoints; }
    // Tests set a setter that only records; the real one sets the system clock.
    void SetSetter(CClockSync::Setter setter) { m_setter = std::move(setter); }

    bool SyncClock() override;
    bool CanSetClock() override { return CClockSync::CanSetClock(); }

signals:
    void finished(bool ok);

private:
    void Finish(const CClockSync::Result& result);

    CTrayCore& m_hub;
    NetEndpoints m_endpoints;
    CClockSync::Setter m_setter = &CClockSync::SetSystemClock;
    std::thread m_worker;
    std::atomic<bool> m_stop{false}; // raised when the program closes
    bool m_running = false;
};
