#include "gui/platform/ResourceImages.h"

#include "gui/platform/CSvgIconEngine.h"

#include <QPainter>
#include <QSvgRenderer>

static void InitResources() {
    Q_INIT_RESOURCE(jotterly);
}

void ResourceImages::Init() {
    static bool done = false;
    if (!done) InitResources();
    done = true;
}

QIcon ResourceImages::Icon(int id) {
    Init();
    return QIcon(new CSvgIconEngine(QStringLiteral(":/icons/%1.svg").arg(id)));
}

QPixmap ResourceImages::Pixmap(const QString& resource, QSize size, qreal scale) {
    Init();
    if (scale <= 0) scale = 1.0;
    QPixmap pixmap(QSize(qRound(size.width() * scale), qRound(size.height() * scale)));
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}
