#include "gui/app/CSplashDlg.h"

#include "gui/platform/ResourceImages.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

CSplashDlg::CSplashDlg(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(264, 143);
    setWindowTitle("Jotterly");
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_timer = startTimer(1000);
}

void CSplashDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, ResourceImages::Pixmap(":/logo.svg", size(), devicePixelRatioF()));
}

void CSplashDlg::timerEvent(QTimerEvent* e) {
    if (e->timerId() != m_timer) return;
    if (++m_ticks > 1) {
        killTimer(m_timer);
        accept();
    }
}
