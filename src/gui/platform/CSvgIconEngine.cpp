#include "gui/platform/CSvgIconEngine.h"

#include "gui/platform/ResourceImages.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <cmath>

void CSvgIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) {
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    painter->drawPixmap(rect, Render(rect.size(), mode, scale));
}

QPixmap CSvgIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
    return Render(size, mode, 1.0);
}

QPixmap CSvgIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State,
                                     qreal scale) {
    if (scale <= 0) scale = 1.0;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Before 6.8 QIcon asks with the size already in the screen's pixels.
    return Render((QSizeF(size) / scale).toSize(), mode, scale);
#else
    return Render(size, mode, scale);
#endif
}

QPixmap CSvgIconEngine::Render(const QSize& size, QIcon::Mode mode, qreal scale) const {
    QPixmap pixmap = ResourceImages::Pixmap(m_resource, size, scale);
    if (mode == QIcon::Disabled) {
        QStyleOption option;
        option.palette = QApplication::palette();
        const QPixmap grey =
            QApplication::style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
        if (!grey.isNull()) return grey;
    }
    return pixmap;
}

QList<QSize> CSvgIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    // Any size is drawn anew; these are the ones the desktop usually asks for.
    return {QSize(16, 16), QSize(22, 22), QSize(24, 24),
            QSize(32, 32), QSize(48, 48), QSize(64, 64)};
}
