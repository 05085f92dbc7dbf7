#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;

// Moves or sizes a frameless top-level window with the pointer. The window manager does it
// where it can, so it snaps and keeps the window's size limits; without one the window
// follows the pointer itself.
class CPointerDrag {
public:
    explicit CPointerDrag(QWidget& window) : m_window(window) {}

    // A press on the caption: moving starts once the pointer travels, so that a double click
    // can still mean something else.
    void PressCaption(const QPoint& globalPos);
    // A press on a sizing border.
    void PressBorder(Qt::Edges edges, const QPoint& globalPos);
    // The pointer moved with the button held: moves the window, or returns the rectangle the
    // user proposes while sizing, for the window's own sizing rules to settle.
    std::optional<QRect> Follow(const QPoint& globalPos);
    void Release() { m_mode = Mode::None; }
    bool IsIdle() const { return m_mode == Mode::None; }

    static Qt::CursorShape CursorFor(Qt::Edges edges);

private:
    enum class Mode { None, PendingMove, Moving, Sizing };

    QWidget& m_window;
    Mode m_mode = Mode::None;
    Qt::Edges m_edges;
    QPoint m_startGlobal;
    QRect m_startRect;
};
