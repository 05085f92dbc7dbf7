#include "net/CClockSyncService.h"

#include "app/CTrayCore.h"
#include "app/TrayIds.h"
#include "net/SideEndpoints.h"
#include "platform/Clock.h"
#include "platform/ITrayIcon.h"

#include <QMetaObject>
#include <QtGlobal>

CClockSyncService::~CClockSyncService() {
    m_stop = true;
    if (m_worker.joinable()) m_worker.join();
}

bool CClockSyncService::SyncClock() {
    if (m_running) return true;
    if (m_worker.joinable()) m_worker.join();
    m_running = true;
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(TrayId::IconClockSync, TrayId::kTip);
    m_worker = std::thread([this, endpoints = SideEndpoints::Read(m_endpoints), setter = m_setter] {
        CClockSync sync(endpoints, setter);
        sync.SetStopFlag(&m_stop);
        const CClockSync::Result result = sync.Run();
        QMetaObject::invokeMethod(
            this, [this, result] { Finish(result); }, Qt::QueuedConnection);
    });
    return true;
}

void CClockSyncService::Finish(const CClockSync::Result& result) {
    m_running = false;
    if (ITrayIcon* tray = m_hub.Platform().tray) tray->Show(TrayId::IconNormal, TrayId::kTip);
    if (result.ok) {
        m_hub.settings().m_lastClockSync = Clock::Now();
        m_hub.Alarms().WriteLogText(result.logLine);
    } else {
        m_hub.countdowns().clockSync = kRetryMs;
        qWarning("The clock was not synchronised: %s", result.error.c_str());
    }
    emit finished(result.ok);
}
