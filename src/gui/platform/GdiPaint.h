#pragma once

#include "core/platform/Win32Types.h"

#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

// Pixel-exact drawing primitives the self-painted windows share.
class GdiPaint {
public:
    static QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
    static COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
    static QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
    static RECT FromQRect(const QRect& r) {
        return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }

    // A one-pixel 3-D outline: the top and left sides (without their last pixel) in topLeft,
    // the right and bottom sides in bottomRight.
    static void Draw3dRect(QPainter& p, const QRect& r, const QColor& topLeft,
                           const QColor& bottomRight);

    // A child control in its owner's colours, in every state of the window.
    static void SetWidgetColors(QWidget* w, const QColor& background, const QColor& text);
};
