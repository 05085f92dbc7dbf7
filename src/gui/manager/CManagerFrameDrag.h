#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Moves the Note Manager by its caption band and sizes it by its top and bottom margins. The
// window manager does it where it can (snapping, its own feedback); without one the window
// follows the pointer here, never shorter than its least height.
class CManagerFrameDrag {
public:
    // Top or bottom: a sizing margin; LeftEdge stands for the band that moves the window.
    static Qt::Edge Zone(const QPoint& p, int height, int frame, const QRect& band);
    static Qt::CursorShape CursorFor(Qt::Edge zone);

    // A left press in a zone of the frame.
    void Press(QWidget& window, Qt::Edge zone, const QPoint& globalPos);
    // True when the pointer's move belonged to a drag (the window followed it).
    bool Follow(QWidget& window, const QPoint& globalPos, int minHeight);
    void Release();

private:
    Qt::Edges m_edges;
    bool m_moving = false;
    QPoint m_start;
    QRect m_geometry;
};
