#include "gui/platform/TopLevelWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

QRect TopLevelWindows::ScreenRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QRect TopLevelWindows::DesktopRect() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->virtualGeometry() : QRect(0, 0, 1024, 768);
}

QRect TopLevelWindows::WorkArea() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TopLevelWindows::SetStaysOnTop(QWidget& window, bool onTop) {
    Qt::WindowFlags f = window.windowFlags();
    if (f.testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    f.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* w = window.windowHandle()) {
        // Changing the flags of a shown widget would re-create and hide its window; the
        // platform window takes the hint as it is.
        window.overrideWindowFlags(f);
        w->setFlags(f);
    } else {
        window.setWindowFlags(f);
    }
}
