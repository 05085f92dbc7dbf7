#pragma once

#include <QIcon>
#include <QPixmap>

// Our own pictures by resource id, drawn from SVG sources so they stay crisp at any size.
class ResourceImages {
public:
    static QIcon Icon(int id);
    // size in device-independent pixels; the picture holds size x scale pixels and says so.
    static QPixmap Pixmap(const QString& resource, QSize size, qreal scale = 1.0);
    // The pictures live in a static library: register them once before the first use.
    static void Init();
};
