#include "gui/widgets/CPointerDrag.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

void CPointerDrag::PressCaption(const QPoint& globalPos) {
    m_mode = Mode::PendingMove;
    m_startGlobal = globalPos;
    m_startRect = m_window.geometry();
}

void CPointerDrag::PressBorder(Qt::Edges edges, const QPoint& globalPos) {
    QWindow* handle = m_window.windowHandle();
    if (handle && handle->startSystemResize(edges)) return;
    m_mode = Mode::Sizing;
    m_edges = edges;
    m_startGlobal = globalPos;
    m_startRect = m_window.geometry();
}

std::optional<QRect> CPointerDrag::Follow(const QPoint& globalPos) {
    const QPoint delta = globalPos - m_startGlobal;
    switch (m_mode) {
    case Mode::None:
        return std::nullopt;
    case Mode::PendingMove:
        if (delta.manhattanLength() < QApplication::startDragDistance()) return std::nullopt;
        if (m_window.windowHandle() && m_window.windowHandle()->startSystemMove()) {
            m_mode = Mode::None;
            return std::nullopt;
        }
        m_mode = Mode::Moving;
        [[fallthrough]];
    case Mode::Moving:
        m_window.move(m_startRect.topLeft() + delta);
        return std::nullopt;
    case Mode::Sizing:
        break;
    }
    QRect r = m_startRect;
    if (m_edges & Qt::LeftEdge) r.setLeft(r.left() + delta.x());
    if (m_edges & Qt::RightEdge) r.setRight(r.right() + delta.x());
    if (m_edges & Qt::TopEdge) r.setTop(r.top() + delta.y());
    if (m_edges & Qt::BottomEdge) r.setBottom(r.bottom() + delta.y());
    // A border dragged past the opposite one leaves an empty rectangle, not a negative one.
    if (r.width() < 0) r.setWidth(0);
    if (r.height() < 0) r.setHeight(0);
    return r;
}

Qt::CursorShape CPointerDrag::CursorFor(Qt::Edges edges) {
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        // Top-left and bottom-right share the falling diagonal.
        const bool falling = edges.testFlag(Qt::TopEdge) == edges.testFlag(Qt::LeftEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal) return Qt::SizeHorCursor;
    if (vertical) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}
