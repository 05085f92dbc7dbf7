#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

// Looks, a little after the start, whether the desktop holds back part of the program (no
// system tray, a Wayland compositor placing the windows) and then says so once.
class CDesktopCheck : public QObject {
    Q_OBJECT
public:
    // delayMs: a tray host started with the session may come up a moment after the program.
    explicit CDesktopCheck(int delayMs = kDelayMs);
    ~CDesktopCheck() override;

    void Start() { m_timer.start(); }
    // The notice while it is open (for tests).
    QMessageBox* Notice() const { return m_notice; }

    static constexpr int kDelayMs = 3000;

private:
    void Check();

    QTimer m_timer;
    QPointer<QMessageBox> m_notice;
};
