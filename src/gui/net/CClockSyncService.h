#pragma once

#include "core/net/CClockSync.h"
#include "core/net/IClockSyncService.h"
#include "core/net/NetEndpoints.h"

#include <QObject>
#include <atomic>
#include <mutex>
#include <thread>

class IClockSyncHost;

// Sets the clock from the time server on a worker thread. SyncClock() answers at once that a
// synchronisation started; its result comes back on the GUI thread, and a failure moves the
// hub's countdown to the retry and is shown in the tray tip until a synchronisation succeeds.
class CClockSyncService : public QObject, public IClockSyncService {
    Q_OBJECT
public:
    static constexpr int kRetryMs = 300000;

    explicit CClockSyncService(IClockSyncHost& hub) : m_hub(hub) {}
    ~CClockSyncService() override;

    void SetEndpoints(const NetEndpoints& endpoints) { m_endpoints = endpoints; }
    // Tests set a setter that only records; the real one moves the system clock.
    void SetSetter(CClockSync::Setter setter) { m_setter = std::move(setter); }

    bool SyncClock() override;
    bool CanSetClock() override { return CClockSync::CanSetClock(); }
    void MeasureClock() override;
    std::string ClockStatus() const override;

signals:
    // set: the clock was moved.
    void finished(bool set);

private:
    // Starts one run on the worker unless one runs; setter null: measure only.
    bool Start(CClockSync::Setter setter);
    void Finish(const CClockSync::Result& result, bool syncing);

    IClockSyncHost& m_hub;
    NetEndpoints m_endpoints;
    CClockSync::Setter m_setter = &CClockSync::MoveSystemClock;
    std::thread m_worker;
    std::atomic<bool> m_stop{false}; // raised when the program closes
    bool m_running = false;
    mutable std::mutex m_statusLock; // the options page reads the status while a run ends
    std::string m_status;
};
