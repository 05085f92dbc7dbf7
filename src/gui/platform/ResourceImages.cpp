#include "platform/ResourceImages.h"

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
    QString path = QStringLiteral(":/icons/%1.svg").arg(id);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(Pixmap(path, QSize(size, size)));
    return icon;
}

QPixmap ResourceImages::Pixmap(const QString& resource, QSize size) {
    Init();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
