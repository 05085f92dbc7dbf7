#pragma once

#include "core/app/CRingIconFlash.h"
#include "core/app/CTrayClicks.h"
#include "core/app/CTrayCommands.h"
#include "core/app/CTrayCore.h"
#include "core/app/ITrayActions.h"
#include "core/app/TrayIds.h"
#include "core/net/CBackgroundNetworkStatus.h"
#include "core/net/CHostNetworkStatus.h"
#include "core/platform/CConsoleDialogs.h"
#include "core/platform/ITimerHost.h"
#include "core/platform/ITrayIcon.h"
#include "core/storage/CDataLock.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CTrayMenuWnd.h"
#include "gui/desktop/CDesktopNotices.h"
#include "gui/mail/CMailService.h"
#include "gui/manager/CManagerService.h"
#include "gui/net/CClockSyncService.h"
#include "gui/net/CWeatherService.h"
#include "gui/notemenu/CNoteMenuCommands.h"
#include "gui/options/COptionsService.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/platform/CLazySound.h"
#include "gui/platform/CSingleInstance.h"
#include "gui/platform/QtDialogs.h"
#include "gui/sticky/CStickyNoteFactory.h"
#include "gui/sync/CSyncService.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <map>
#include <memory>

// The hidden main window: owns the data (through CTrayCore), the tray icon, the timers and the
// mark of the running copy, and runs the start-up and shutdown sequences.
class CTrayWnd : public QObject,
                 public CTrayCore,
                 public ITimerHost,
                 public ITrayIcon,
                 public ITrayActions {
    Q_OBJECT
public:
    // instanceName: the name of the socket that marks a running copy, in the user's private
    // folder (tests pass a unique one).
    explicit CTrayWnd(QString instanceName = QString());
    ~CTrayWnd() override;

    // Returns false when another copy runs (it is handed the word), or holds the data file
    // (word is handed to it when it can be reached, else the user is told), or the data
    // folder cannot be trusted. StartStatus() is then the program's exit status.
    bool Create(const QString& commandLine, const std::string& word = {});
    int StartStatus() const { return m_startStatus; }

    // ITimerHost
    void SetTimer(int id, int periodMs) override;
    void KillTimer(int id) override;
    bool IsTimerActive(int id) const;
    // A ring nobody can hear starts or ends with the state: the icon flashes meanwhile.
    void SetState(int state) override;
    // ITrayIcon
    void Show(int iconId, const std::string& tip) override;
    void Remove() override;
    void TipChanged() override;

    QSystemTrayIcon* TrayIcon() const { return m_trayIconWidget.get(); }
    // The mark of the running copy, which also brings the launcher's words.
    CSingleInstance& Instance() { return m_instance; }

    // The icon's clicks, and the tray menu (the right button's message to this window).
    void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
    void OpenTrayMenu();
    CTrayMenuWnd* MenuWindow() const { return m_menuWnd; }
    CWeatherService& WeatherService() { return m_weatherService; }
    CClockSyncService& ClockSyncService() { return m_clockSyncService; }
    COptionsService& OptionsService() { return m_optionsService; }
    CMailService& MailService() { return m_mailService; }
    CSyncService& SyncFolderService() { return m_syncService; }
    // A command of the hidden window (menu items, Ctrl+click).
    bool OnCommand(int id) {
        const CDialogOwner::Scope owner(CDialogOwner::Tray()); // what the tray opens is its own
        return m_commands.OnCommand(id);
    }

    // A start without a word found this copy running (its notes or manager are brought
    // forward first): a short notice says so, in the tray or else on the desktop.
    void ShowAlreadyRunning();
    // How long the tray shows that notice.
    static constexpr int kRunningNoticeMs = 4000;
    // How long the tray says that sounds cannot be played.
    static constexpr int kSoundNoticeMs = 15000;

    // Where the help page is looked for: the program's folder unless set.
    void SetProgramDir(const QString& dir) { m_programDir = dir; }

    // ITrayActions
    void ShowHelpContents() override;
    void OpenHomePage() override;
    void ShowAbout() override;

    // Runs the shutdown save once (logout, signals); false when it failed.
    bool Shutdown();
    // Exit: ends the program once the data is saved, otherwise it runs on.
    void DestroyWindow() override;
    // SIGTERM, SIGINT, SIGHUP: save and end at once, with status 1 when the save failed. The
    // failure goes to stderr, as nobody will answer a box.
    void OnTerminationSignal();

private:
    void OnWindowTimer(int id);
    void ShowFlashedIcon();
    // One writer per data file: false when this copy must end (see Create).
    bool ClaimDataFile(const std::string& word);
    void RefuseStart(const std::string& text);
    // A short notice in the tray, or on the desktop without a tray.
    void ShowTrayNotice(const QString& text, int ms);

    CSingleInstance m_instance;
    std::unique_ptr<QSystemTrayIcon> m_trayIconWidget;
    std::map<int, QTimer*> m_qtTimers;
    QtDialogs m_qtDialogs;
    CLazySound m_sound;
    CStickyNoteFactory m_noteFactory{*this, &CNoteMenuCommands::AttachTo};
    CConsoleDialogs m_consoleDialogs;
    CManagerService m_managerService{*this, m_qtDialogs};
    COptionsService m_optionsService{*this, m_qtDialogs, m_sound};
    CDataLock m_dataLock;
    int m_startStatus = 0;
    bool m_shutdownDone = false;
    bool m_running = false; // start-up is over
    CTrayClicks m_clicks;
    CTrayCommands m_commands;
    QPointer<CTrayMenuWnd> m_menuWnd;
    QPointer<CAboutDlg> m_about;
    QString m_programDir;
    std::string m_hint = TrayId::kTip; // the tip the icon was last shown with
    CRingIconFlash m_ringFlash;
    QTimer m_ringFlashTimer;
    CWeatherService m_weatherService{*this};
    CClockSyncService m_clockSyncService{*this};
    CDesktopNotices m_desktopNotices{QDBusConnection::sessionBus(),
                                     [this] { return Side().desktopNotifications; }};
    CMailService m_mailService{*this};
    CSyncService m_syncService{*this};
    // Asked by the timer before each automatic check; its look runs off this thread.
    CBackgroundNetworkStatus m_networkStatus{std::make_unique<CHostNetworkStatus>()};
};
