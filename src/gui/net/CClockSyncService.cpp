#include "gui/net/CClockSyncService.h"

#include "core/app/TrayIds.h"
#include "core/model/CSettings.h"
#include "core/net/IClockSyncHost.h"
#include "core/platform/Clock.h"
#include "core/platform/ITrayIcon.h"
#include "core/platform/PlatformServices.h"
#include "gui/net/SideEndpoints.h"

#include <QMetaObject>

CClockSyncService::~CClockSyncService() {
    m_stop = true;
    if (m_worker.joinable()) m_worker.join();
}

bool CClockSyncService::SyncClock() {
    if (m_running) return true;
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(TrayId::IconClockSync, TrayId::kTip);
    return Start(m_setter);
}

void CClockSyncService::MeasureClock() {
    if (!m_running) Start(nullptr);
}

std::string CClockSyncService::ClockStatus() const {
    const std::lock_guard lock(m_statusLock);
    return m_status;
}

bool CClockSyncService::Start(CClockSync::Setter setter) {
    if (m_worker.joinable()) m_worker.join();
    m_running = true;
    const bool syncing = static_cast<bool>(setter);
    m_worker = std::thread([this, endpoints = SideEndpoints::Read(m_endpoints, m_hub.Side()),
                            setter = std::move(setter), syncing] {
        CClockSync sync(endpoints, setter);
        sync.SetStopFlag(&m_stop);
        const CClockSync::Result result = sync.Run();
        {
            const std::lock_guard lock(m_statusLock);
            m_status = result.measured
                           ? CClockSync::OffsetText(result.offsetSeconds)
                           : "The time server could not be asked: " + result.error + ".";
        }
        QMetaObject::invokeMethod(
            this, [this, result, syncing] { Finish(result, syncing); }, Qt::QueuedConnection);
    });
    return true;
}

void CClockSyncService::Finish(const CClockSync::Result& result, bool syncing) {
    m_running = false;
    if (!syncing) return;
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(TrayId::IconNormal, TrayId::kTip);
    if (result.set) {
        m_hub.settings().m_lastClockSync = Clock::Now();
        m_hub.WriteLog(result.logLine);
        m_hub.SetClockTip("");
    } else {
        m_hub.ClockCountdown() = kRetryMs;
        m_hub.SetClockTip("The clock was not synchronised: " + result.error);
    }
    emit finished(result.set);
}
