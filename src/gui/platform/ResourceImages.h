#pragma once

#include <QIcon>
#include <QPixmap>

// Our own pictures by resource id, drawn from SVG sources so they stay crisp at any size.
class ResourceImages {
public:
    static QIcon Icon(int id);
    static QPixmap Pixmap(const QString& resource, QSize size);
    // The pictures live in a static library: register them once before the first use.
    static void Init();
};
