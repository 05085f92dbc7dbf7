#include "gui/platform/CSleepWatcher.h"

#include <QDBusConnection>

CSleepWatcher::CSleepWatcher(QObject* parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return;
    m_connected = bus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                              "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                              SLOT(OnPrepareForSleep(bool)));
}

void CSleepWatcher::OnPrepareForSleep(bool sleeping) {
    if (!sleeping) emit resumed();
}
