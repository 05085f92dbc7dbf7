#include "app/CTrayWnd.h"

#include "app/CSplashDlg.h"
#include "platform/ResourceImages.h"

#include <QApplication>
#include <QLocalServer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalPipe[2] = {-1, -1};

void SignalHandler(int) {
    char c = 1;
    [[maybe_unused]] ssize_t n = ::write(g_signalPipe[1], &c, 1);
}
} // namespace

CTrayWnd::CTrayWnd(QString instanceName)
    : m_instanceName(instanceName.isEmpty() ? DefaultInstanceName() : instanceName) {
    m_dialogs = &m_qtDialogs;
    m_sound = &m_qtSound;
    m_windowFactory = &m_noteFactory;
    m_timers = this;
    m_tray = this;
}

CTrayWnd::~CTrayWnd() {
    for (auto& [id, timer] : m_qtTimers)
        delete timer;
    m_qtTimers.clear();
    m_timers = nullptr;
    m_sound = nullptr; // the windows the base class closes must not reach it
}

QString CTrayWnd::DefaultInstanceName() {
    QString name = qEnvironmentVariable("JOTTERLY_INSTANCE");
    return name.isEmpty() ? QStringLiteral("WispTrayIconHandler-%1").arg(getuid()) : name;
}

bool CTrayWnd::Create(const QString& commandLine) {
    // An abstract-namespace name: listen() fails while a copy runs, and the kernel frees it
    // when that copy dies, so nothing stale is ever left behind.
    m_instanceServer = std::make_unique<QLocalServer>();
    m_instanceServer->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!m_instanceServer->listen(m_instanceName)) return false;

    if (commandLine != QLatin1String("nologo")) {
        CSplashDlg logo;
        logo.exec();
    }
    Show(213, "Double-Click to create a new note");
    Startup();

    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { Shutdown(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &CTrayWnd::Shutdown);
    if (g_signalPipe[0] >= 0) {
        m_signalNotifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
        connect(m_signalNotifier, &QSocketNotifier::activated, this, &CTrayWnd::OnSignal);
    }
    return true;
}

void CTrayWnd::InstallSignalHandlers() {
    if (g_signalPipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = SignalHandler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
}

void CTrayWnd::OnSignal() {
    char c;
    [[maybe_unused]] ssize_t n = ::read(g_signalPipe[0], &c, 1);
    QCoreApplication::quit(); // aboutToQuit runs the shutdown save
}

void CTrayWnd::Shutdown() {
    if (m_shutdownDone || m_state == StateStarting) return;
    m_shutdownDone = true;
    StopTimers();
    ShutdownSave();
}

void CTrayWnd::DestroyWindow() {
    Shutdown();
    QCoreApplication::quit();
}

void CTrayWnd::SetTimer(int id, int periodMs) {
    QTimer*& timer = m_qtTimers[id];
    if (!timer) {
        timer = new QTimer;
        timer->setTimerType(Qt::CoarseTimer);
        QObject::connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(periodMs);
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
    if (!m_trayIconWidget) m_trayIconWidget = std::make_unique<QSystemTrayIcon>();
    m_trayIcon = iconId;
    m_trayIconWidget->setIcon(ResourceImages::Icon(iconId));
    m_trayIconWidget->setToolTip(QString::fromStdString(tip));
    m_trayIconWidget->show();
}

void CTrayWnd::Remove() {
    if (m_trayIconWidget) m_trayIconWidget->hide();
}
