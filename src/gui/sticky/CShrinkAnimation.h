#pragma once

#include "platform/Win32Types.h"

#include <QPixmap>
#include <QTimer>
#include <functional>

class QPainter;
class QWidget;

// The close box's farewell: the window shrinks towards its top-right corner in three steps
// of 15 ms, showing the picture it had before, cut off at each new size.
class CShrinkAnimation {
public:
    CShrinkAnimation(QWidget& window, std::function<void()> finished);

    // picture: the window as it looked before closing began. Hides the window's controls and
    // makes the first step.
    void Start(const QPixmap& picture);
    void Stop() { m_timer.stop(); }
    bool IsRunning() const { return m_timer.isActive(); }
    bool HasStarted() const { return m_step > 0; }
    // Where the window was before the first step.
    const RECT& StartRect() const { return m_start; }
    void Paint(QPainter& p) const;

private:
    void Step();

    QWidget& m_window;
    std::function<void()> m_finished;
    QTimer m_timer;
    int m_step = 0;
    RECT m_start;
    QPixmap m_picture;
};
