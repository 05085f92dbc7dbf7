#include "platform/ResourceImages.h"

#include <QPainter>
#include <QSvgRenderer>

QIcon ResourceImages::Icon(int id) {
    QString path = QStringLiteral(":/icons/%1.svg").arg(id);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(Pixmap(path, QSize(size, size)));
    return icon;
}

QPixmap ResourceImages::Pixmap(const QString& resource, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
