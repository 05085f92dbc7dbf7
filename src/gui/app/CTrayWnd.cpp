#include "gui/app/CTrayWnd.h"

#include "core/app/CHelpFile.h"
#include "core/app/CLaunchArgs.h"
#include "core/app/HomePage.h"
#include "core/app/TrayIds.h"
#include "gui/app/CAboutDlg.h"
#include "gui/app/CSplashDlg.h"
#include "gui/app/CTrayMenuWnd.h"
#include "gui/mail/CMailAccountDlg.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/platform/CSignalWatcher.h"
#include "gui/platform/CSleepWatcher.h"
#include "gui/platform/ResourceImages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QSessionManager>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <unistd.h>

CTrayWnd::CTrayWnd(QString instanceName)
    : m_instance(QString(), instanceName),
      m_clicks(
          *this,
          [this](int id) { // posted, as a message to this window would be
              QMetaObject::invokeMethod(
                  this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
          },
          [this] {
              QMetaObject::invokeMethod(this, &CTrayWnd::OpenTrayMenu, Qt::QueuedConnection);
          }),
      m_commands(*this, *this) {
    SetPlatform({.dialogs = &m_qtDialogs,
                 .windows = &m_noteFactory,
                 .sound = &m_sound,
                 .timers = this,
                 .tray = this,
                 .notices = &m_desktopNotices});
    m_ringFlashTimer.setInterval(CRingIconFlash::kPeriodMs);
    connect(&m_ringFlashTimer, &QTimer::timeout, this, [this] {
        m_ringFlash.Step();
        ShowFlashedIcon();
    });
    // A ring nobody can hear is always told on the desktop.
    m_desktopNotices.SetShownWhenOff([this] { return !m_sound.HasAudioDevice(); });
    m_sound.SetOnUnavailable([this](const QString& why) { ShowTrayNotice(why, kSoundNoticeMs); });
    // Help and Home Page of the manager reach this window as its own commands do.
    m_managerService.SetCommandSink([this](int id) {
        QMetaObject::invokeMethod(
            this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
    });
    m_optionsService.SetAccountEditor([](QWidget* parent, CMailAccount& account) {
        QPointer<CMailAccountDlg> dlg = new CMailAccountDlg(CDialogOwner::Owner(parent), account);
        const bool ok = CDialogOwner::Exec(*dlg) == QDialog::Accepted;
        delete dlg;
        return ok;
    });
    SetServices({.manager = &m_managerService,
                 .options = &m_optionsService,
                 .mail = &m_mailService,
                 .weather = &m_weatherService,
                 .clock = &m_clockSyncService,
                 .network = &m_networkStatus,
                 .sync = &m_syncService});
}

CTrayWnd::~CTrayWnd() {
    delete m_menuWnd;
    for (auto& [id, timer] : m_qtTimers)
        delete timer;
    m_qtTimers.clear();
    // The windows the base class closes must reach neither the timers nor the sound.
    SetPlatform({.dialogs = &m_qtDialogs, .windows = &m_noteFactory});
}

bool CTrayWnd::Create(const QString& commandLine, const std::string& word) {
    // A second copy hands over its word and ends. Without a folder to trust the program still
    // starts: another user must not be able to keep it from running.
    if (m_instance.TryClaim() == CSingleInstance::Claim::AnotherRuns) {
        // It claimed the socket a moment before this one: it takes the word.
        if (!word.empty()) m_instance.Send(QString::fromStdString(word));
        return false;
    }
    if (!ClaimDataFile(word)) return false;
    // Before anything can wait on the user (the logo, "Data Read Error!"): a signal then still
    // ends the program, and an unreadable file is kept as the save keeps it.
    connect(new CSignalWatcher(this), &CSignalWatcher::received, this,
            &CTrayWnd::OnTerminationSignal);

    if (commandLine != QLatin1String("nologo")) {
        CSplashDlg logo;
        logo.exec();
    }
    Show(TrayId::IconNormal, TrayId::kTip);
    Startup();
    m_syncService.Start();

    // A session save leaves the program running: the logout may still be cancelled.
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { SessionSave(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &CTrayWnd::Shutdown);
    connect(new CSleepWatcher(this), &CSleepWatcher::resumed, this, [this] { OnResume(); });
    m_running = true;
    return true;
}

bool CTrayWnd::ClaimDataFile(const std::string& word) {
    std::string folder = ProgramFolder();
    folder.pop_back(); // the trailing '/'
    if (const std::string why = CDataLock::CheckDataFolder(folder); !why.empty()) {
        RefuseStart("Jotterly does not keep your notes in \"" + folder + "\": " + why +
                    ".\n\nAnother user could read or replace them there. Set XDG_DATA_HOME to "
                    "a folder of your own and start Jotterly again.");
        return false;
    }
    std::string reason;
    switch (m_dataLock.Acquire(DataPath(), m_instance.SocketPath().toStdString(), &reason)) {
    case CDataLock::Result::Ours:
        return true;
    case CDataLock::Result::Failed:
        // Nothing could be locked (a read-only folder, say): the saves tell what goes wrong.
        std::fprintf(stderr, "jotterly: cannot lock the notes: %s\n", reason.c_str());
        return true;
    case CDataLock::Result::HeldByOther:
        break;
    }
    // Another copy, started from another session or runtime folder, holds the notes: it takes
    // the word when it can be reached, and this copy never becomes a second writer.
    const CDataLock::Holder& other = m_dataLock.Other();
    // A plain start is told why it ends: that copy may show its notes on another display.
    if (!word.empty() && word != CLaunchArgs::kStartedAgain && !other.socket.empty()) {
        const QFileInfo socket(QString::fromStdString(other.socket));
        std::string reply;
        if (CSingleInstance::HandOver(word, socket.path(), socket.fileName(), &reply) ==
            CSingleInstance::Delivery::Delivered) {
            if (!reply.empty()) std::printf("%s\n", reply.c_str());
            return false;
        }
    }
    RefuseStart("Your notes in \"" + folder + "\" are open in another Jotterly (" +
                CDataLock::Describe(other) +
                "), and only one may change them.\n\nUse that one, or end it and start "
                "Jotterly again.");
    return false;
}

void CTrayWnd::RefuseStart(const std::string& text) {
    m_startStatus = 1;
    std::fprintf(stderr, "jotterly: %s\n", text.c_str());
    m_qtDialogs.MessageBox(text, "Jotterly", IDialogs::Ok, IDialogs::Stop);
}

bool CTrayWnd::Shutdown() {
    if (m_shutdownDone || State() == StateStarting) return true;
    StopTimers();
    m_shutdownDone = ShutdownSave();
    return m_shutdownDone;
}

void CTrayWnd::DestroyWindow() {
    if (!m_shutdownDone && State() != StateStarting) {
        StopTimers();
        if (!FinishExit()) return; // the save failed: everything is back, the user may retry
        m_shutdownDone = true;
    }
    QCoreApplication::quit();
}

void CTrayWnd::OnTerminationSignal() {
    SetPlatform({.dialogs = &m_consoleDialogs,
                 .windows = &m_noteFactory,
                 .sound = &m_sound,
                 .timers = this,
                 .tray = this,
                 .notices = &m_desktopNotices});
    const bool saved = Shutdown();
    if (!saved)
        std::fprintf(stderr, "jotterly: ended by a signal; your notes could not be saved: %s\n",
                     SaveError().c_str());
    if (!saved || !m_running) {
        // Within a box of the start-up, or with nothing more to do: end here and now.
        std::fflush(nullptr);
        ::_exit(saved ? 0 : 1);
    }
    QCoreApplication::quit();
}

void CTrayWnd::SetTimer(int id, int periodMs) {
    QTimer*& timer = m_qtTimers[id];
    if (!timer) {
        timer = new QTimer;
        timer->setTimerType(Qt::CoarseTimer);
        QObject::connect(timer, &QTimer::timeout, this, [this, id] { OnWindowTimer(id); });
    }
    timer->start(periodMs);
}

void CTrayWnd::OnWindowTimer(int id) {
    if (id == TimerClick)
        m_clicks.OnClickTimer();
    else
        OnTimer(id);
}

void CTrayWnd::KillTimer(int id) {
    auto it = m_qtTimers.find(id);
    if (it != m_qtTimers.end()) it->second->stop();
}

bool CTrayWnd::IsTimerActive(int id) const {
    auto it = m_qtTimers.find(id);
    return it != m_qtTimers.end() && it->second->isActive();
}

void CTrayWnd::Show(int iconId, const std::string& tip) {
    if (!m_trayIconWidget) {
        // No context menu is set: the right button comes here as Context, and the menu is ours.
        m_trayIconWidget = std::make_unique<QSystemTrayIcon>();
        connect(m_trayIconWidget.get(), &QSystemTrayIcon::activated, this,
                &CTrayWnd::OnTrayActivated);
    }
    m_ringFlash.SetIcon(iconId);
    ShowFlashedIcon();
    m_hint = tip;
    m_trayIconWidget->setToolTip(QString::fromStdString(Tip().Text(tip)));
    m_trayIconWidget->show();
}

void CTrayWnd::SetState(int state) {
    CTrayCore::SetState(state);
    const bool flash = m_ringFlash.Follow(CRingIconFlash::Wanted(state, Platform().sound));
    if (flash == m_ringFlashTimer.isActive()) return;
    if (flash) {
        m_ringFlash.Step(); // seen at once, not half a second later
        m_ringFlashTimer.start();
    } else {
        m_ringFlashTimer.stop();
    }
    ShowFlashedIcon();
}

void CTrayWnd::ShowFlashedIcon() {
    if (m_trayIconWidget) m_trayIconWidget->setIcon(ResourceImages::Icon(m_ringFlash.Icon()));
}

void CTrayWnd::TipChanged() {
    if (m_trayIconWidget) m_trayIconWidget->setToolTip(QString::fromStdString(Tip().Text(m_hint)));
}

void CTrayWnd::Remove() {
    if (m_trayIconWidget) m_trayIconWidget->hide();
}

// ---------------------------------------------------------------- tray icon and menu

void CTrayWnd::OnTrayActivated(QSystemTrayIcon::ActivationReason reason) {
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    const bool shift = keys & Qt::ShiftModifier, ctrl = keys & Qt::ControlModifier;
    m_clicks.SetDoubleClickTime(QGuiApplication::styleHints()->mouseDoubleClickInterval());
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        m_clicks.OnActivated(CTrayClicks::Press, shift, ctrl);
        break;
    case QSystemTrayIcon::DoubleClick:
        m_clicks.OnActivated(CTrayClicks::DoubleClick, shift, ctrl);
        break;
    case QSystemTrayIcon::Context:
        m_clicks.OnActivated(CTrayClicks::Context, shift, ctrl);
        break;
    default:
        break;
    }
}

void CTrayWnd::OpenTrayMenu() {
    if (State() != StateIdle) return;
    if (m_menuWnd) m_menuWnd->close();
    QFont font = CTrayMenuWnd::MenuFont();
    CTrayMenu model;
    CTrayMenuWnd::ApplyFontMetrics(model, font);
    model.Build(*this);
    m_menuWnd = new CTrayMenuWnd(std::move(model), font);
    // The command runs once the menu is gone, as after a tracked popup returns.
    connect(
        m_menuWnd, &CTrayMenuWnd::commandChosen, this, [this](int id) { OnCommand(id); },
        Qt::QueuedConnection);
    connect(m_menuWnd, &CTrayMenuWnd::closed, m_menuWnd, &QObject::deleteLater);
    m_menuWnd->Popup(QCursor::pos());
}

void CTrayWnd::ShowAlreadyRunning() {
    ShowTrayNotice(QString::fromLatin1(CLaunchArgs::kAlreadyRunning), kRunningNoticeMs);
}

void CTrayWnd::ShowTrayNotice(const QString& text, int ms) {
    if (m_trayIconWidget && m_trayIconWidget->isVisible() &&
        QSystemTrayIcon::isSystemTrayAvailable())
        m_trayIconWidget->showMessage(QStringLiteral("Jotterly"), text,
                                      QSystemTrayIcon::Information, ms);
    else
        m_desktopNotices.Show("Jotterly", text.toStdString(), nullptr);
}

void CTrayWnd::ShowHelpContents() {
    const QString dir =
        m_programDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_programDir;
    const std::string path = CHelpFile::Find(dir.toStdString());
    if (path.empty()) {
        m_qtDialogs.MessageBox("The help page of Jotterly could not be found.", "Sorry",
                               IDialogs::Ok, IDialogs::Stop);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
        m_qtDialogs.MessageBox("No web browser could show the help page \"" + path + "\".", "Sorry",
                               IDialogs::Ok, IDialogs::Stop);
}

void CTrayWnd::OpenHomePage() {
    if (!*kHomePageUrl) {
        ShowHelpContents();
        return;
    }
    if (!QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePageUrl))))
        m_qtDialogs.MessageBox(std::string("No web browser could open \"") + kHomePageUrl + "\".",
                               "Sorry", IDialogs::Ok, IDialogs::Stop);
}

void CTrayWnd::ShowAbout() {
    if (m_about) { // already open: bring it forward rather than stack a second one
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    m_about = new CAboutDlg(CDialogOwner::Tray());
    CDialogOwner::Exec(*m_about);
    delete m_about;
}
