#pragma once

#include <QCursor>
#include <QIcon>
#include <QRectF>

class QPainter;

// The small pictures of the note list and the category tree, drawn as shapes so they stay
// crisp on any screen: the five row icons (green, yellow and red bell; yellow and green page),
// the two drag cursors and the category folders.
class CManagerIcons {
public:
    // icon: a CNoteListFormat::Icon, drawn into r (meant for 16 x 16).
    static void PaintNoteIcon(QPainter& p, const QRectF& r, int icon);
    // Dragging one note, or several (a small stack of pages under the arrow).
    static QCursor DragCursor(bool many);
    // Closed folder normally, open folder for the selected category.
    static QIcon FolderIcon();
};
