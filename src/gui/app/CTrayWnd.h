#pragma once

#include "app/CTrayCore.h"
#include "platform/ITimerHost.h"
#include "platform/ITrayIcon.h"
#include "platform/QtDialogs.h"
#include "platform/QtSound.h"
#include "sticky/CStickyNoteFactory.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QLocalServer;
class QSocketNotifier;
class QSystemTrayIcon;
class QTimer;

// The hidden main window: owns the data (through CTrayCore), the tray icon, the timers and the
// single-instance name, and runs the start-up and shutdown sequences.
class CTrayWnd : public QObject, public CTrayCore, public ITimerHost, public ITrayIcon {
    Q_OBJECT
public:
    // instanceName: the per-user name that marks a running copy (tests pass a unique one).
    explicit CTrayWnd(QString instanceName = QString());
    ~CTrayWnd() override;

    // Returns false when another copy runs (nothing is shown then).
    bool Create(const QString& commandLine);

    // ITimerHost
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerActive(int id) const;
    // ITrayIcon
    void Show(int iconId, const std::string& tip) override;
    void Remove() override;

    QSystemTrayIcon* TrayIcon() const { return m_trayIconWidget.get(); }
    static QString DefaultInstanceName();

    // Runs the shutdown save once (exit, logout, signals).
    void Shutdown();
    void DestroyWindow() override;

    // SIGTERM, SIGINT and SIGHUP end the program through the shutdown save.
    static void InstallSignalHandlers();

private:
    void OnSignal();

    QString m_instanceName;
    std::unique_ptr<QLocalServer> m_instanceServer;
    std::unique_ptr<QSystemTrayIcon> m_trayIconWidget;
    std::map<int, QTimer*> m_qtTimers;
    QtDialogs m_qtDialogs;
    QtSound m_qtSound;
    CStickyNoteFactory m_noteFactory{*this};
    bool m_shutdownDone = false;
    QSocketNotifier* m_signalNotifier = nullptr;
};
