#include "gui/manager/CManagerFrameDrag.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>

Qt::Edge CManagerFrameDrag::Zone(const QPoint& p, int height, int frame, const QRect& band) {
    if (p.y() < frame) return Qt::TopEdge;
    if (height - p.y() < frame) return Qt::BottomEdge;
    if (band.adjusted(band.height(), 0, -band.height(), 0).contains(p)) return Qt::LeftEdge;
    return Qt::Edge(0);
}

Qt::CursorShape CManagerFrameDrag::CursorFor(Qt::Edge zone) {
    switch (zone) {
    case Qt::TopEdge:
    case Qt::BottomEdge:
        return Qt::SizeVerCursor;
    case Qt::LeftEdge:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void CManagerFrameDrag::Press(QWidget& window, Qt::Edge zone, const QPoint& globalPos) {
    const bool move = zone == Qt::LeftEdge;
    QWindow* w = window.windowHandle();
    if (w && (move ? w->startSystemMove() : w->startSystemResize(zone))) return;
    m_moving = move;
    m_edges = move ? Qt::Edges() : Qt::Edges(zone);
    m_start = globalPos;
    m_geometry = window.geometry();
}

bool CManagerFrameDrag::Follow(QWidget& window, const QPoint& globalPos, int minHeight) {
    const QPoint delta = globalPos - m_start;
    if (m_moving) {
        window.move(m_geometry.topLeft() + delta);
        return true;
    }
    if (!m_edges) return false;
    QRect r = m_geometry;
    if (m_edges & Qt::TopEdge)
        r.setTop(std::min(r.top() + delta.y(), r.bottom() + 1 - minHeight));
    else
        r.setBottom(std::max(r.bottom() + delta.y(), r.top() + minHeight - 1));
    window.setGeometry(r);
    return true;
}

void CManagerFrameDrag::Release() {
    m_moving = false;
    m_edges = {};
}
