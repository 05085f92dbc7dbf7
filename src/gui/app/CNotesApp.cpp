#include "app/CNotesApp.h"

#include "app/CTrayWnd.h"
#include "platform/CSignalWatcher.h"

#include <QApplication>
#include <cstdlib>

CNotesApp::CNotesApp() = default;
CNotesApp::~CNotesApp() = default;

void CNotesApp::PreparePlatform() {
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!qpa || !*qpa) && wayland && *wayland) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

bool CNotesApp::InitInstance(const QStringList& arguments) {
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName("Jotterly");
    QApplication::setApplicationVersion(JOTTERLY_VERSION);
    CSignalWatcher::Install(); // SIGTERM and the like end the program through its shutdown save
    m_tray = std::make_unique<CTrayWnd>();
    if (!m_tray->Create(arguments.mid(1).join(' '))) {
        m_tray.reset();
        return false;
    }
    return true;
}
