#include "gui/platform/GdiPaint.h"

#include <QPainter>
#include <QWidget>

void GdiPaint::Draw3dRect(QPainter& p, const QRect& r, const QColor& topLeft,
                          const QColor& bottomRight) {
    int x = r.x(), y = r.y(), w = r.width(), h = r.height();
    if (w <= 0 || h <= 0) return;
    p.fillRect(x, y, w - 1, 1, topLeft);
    p.fillRect(x, y, 1, h - 1, topLeft);
    p.fillRect(x + w - 1, y, 1, h, bottomRight);
    p.fillRect(x, y + h - 1, w, 1, bottomRight);
}

void GdiPaint::SetWidgetColors(QWidget* w, const QColor& background, const QColor& text) {
    QPalette pal = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, background);
        pal.setColor(group, QPalette::Window, background);
        pal.setColor(group, QPalette::Text, text);
        pal.setColor(group, QPalette::WindowText, text);
        pal.setColor(group, QPalette::ButtonText, text);
    }
    w->setPalette(pal);
}
