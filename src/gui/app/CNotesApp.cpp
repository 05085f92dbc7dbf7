#include "gui/app/CNotesApp.h"

#include "core/app/CLaunchReply.h"
#include "gui/app/CCalendarCommands.h"
#include "gui/app/CDesktopCheck.h"
#include "gui/app/CLaunchService.h"
#include "gui/app/CTrayWnd.h"
#include "gui/platform/CSignalWatcher.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <cstdio>
#include <cstdlib>

CNotesApp::CNotesApp() = default;

CNotesApp::~CNotesApp() = default; // the launch service goes before the hub it holds

namespace {
bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}
} // namespace

bool CNotesApp::PreparePlatform() {
    if (IsSet("QT_QPA_PLATFORM")) return true; // the user's choice
    // X11 (XWayland on a Wayland session) keeps notes where they were left and on top.
    if (IsSet("DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    }
    if (IsSet("WAYLAND_DISPLAY")) {
        const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms");
        if (platforms.entryList({"libqwayland*"}, QDir::Files).isEmpty()) {
            std::fputs("jotterly: this Wayland session has no X server (DISPLAY is not set) and "
                       "Qt's Wayland platform is not installed (Debian: qt6-wayland)\n",
                       stderr);
            return false;
        }
        setenv("QT_QPA_PLATFORM", "wayland", 1);
        return true;
    }
    std::fputs("jotterly: no display to show windows on (neither DISPLAY nor WAYLAND_DISPLAY "
               "is set)\n",
               stderr);
    return false;
}

bool CNotesApp::InitInstance(const LaunchRequest& request) {
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName("Jotterly");
    QApplication::setApplicationVersion(JOTTERLY_VERSION);
    CSignalWatcher::Install(); // SIGTERM and the like end the program through its shutdown save
    m_tray = std::make_unique<CTrayWnd>();
    CTrayWnd* tray = m_tray.get();
    m_launch = std::make_unique<CLaunchService>(*tray, [tray](int id) {
        if (id == CLaunchArgs::kOpenMenu)
            tray->OpenTrayMenu();
        else if (id == CLaunchArgs::kShowRunning)
            tray->ShowAlreadyRunning();
        else
            tray->OnCommand(id);
    });
    tray->Instance().SetReplier([tray](const QString& word) {
        return QString::fromStdString(CLaunchReply::For(word.toStdString(), tray->State()));
    });
    // Before the start-up: words that come while the logo shows wait for the idle program.
    m_calendarWords = std::make_unique<CCalendarCommands>(*tray);
    QObject::connect(&tray->Instance(), &CSingleInstance::messageReceived, m_launch.get(),
                     [this](const QString& line) {
                         if (!m_calendarWords->OnLine(line)) m_launch->OnWord(line);
                     });
    if (!tray->Create(QString::fromStdString(CLaunchArgs::CommandLine(request)),
                      CLaunchArgs::HandOverLine(request))) {
        m_startStatus = tray->StartStatus();
        m_launch.reset();
        m_calendarWords.reset();
        m_tray.reset();
        return false;
    }
    if (!request.word.empty()) m_launch->OnWord(QString::fromStdString(request.word));
    m_desktopCheck = std::make_unique<CDesktopCheck>();
    m_desktopCheck->Start();
    return true;
}
