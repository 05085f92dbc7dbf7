#pragma once

#include "core/platform/Win32Types.h"

#include <QPixmap>
#include <QTimer>
#include <functional>

class QPainter;
class QWidget;

// A closing window's farewell in three steps, showing the picture it had before, cut off at
// each new size: the close box shrinks it towards its top-right corner (15 ms a step), Delete
// towards its centre (30 ms a step).
class CShrinkAnimation {
public:
    enum Kind { CloseBox, Delete };
    CShrinkAnimation(QWidget& window, std::function<void()> finished, Kind kind = CloseBox);

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
    Kind m_kind;
    std::function<void()> m_finished;
    QTimer m_timer;
    int m_step = 0;
    RECT m_start;
    QPixmap m_picture;
};
