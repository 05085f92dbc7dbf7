#include "platform/ResourceImages.h"

#include <QPainter>
#include <QSvgRenderer>

// The pictures are compiled into the static GUI library; registering them by name makes the
// linker keep them.
static void EnsureResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(jotterly);
        return true;
    }();
    (void)registered;
}

QIcon ResourceImages::Icon(int id) {
    QString path = QStringLiteral(":/icons/%1.svg").arg(id);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(Pixmap(path, QSize(size, size)));
    return icon;
}

QPixmap ResourceImages::Pixmap(const QString& resource, QSize size) {
    EnsureResources();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
