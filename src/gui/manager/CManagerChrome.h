#pragma once

#include <QFont>
#include <QPolygon>
#include <QRect>

class QPainter;

// The Note Manager's self-drawn frame: the fading border, the caption band with its title,
// clock and close box, the toolbar's groove and the filter tabs under the list. Everything comes
// in as values, so the window only says where its parts are.
class CManagerChrome {
public:
    struct Parts {
        QRect window; // the whole window, in its own coordinates
        QRect band;   // the caption band
        QRect help;   // the last tool, where the groove ends
        QRect list;   // the tabs hang under it
        QFont font;
        int tabCount = 4;
        int currentTab = 0;
    };

    static void Paint(QPainter& p, const Parts& parts);
    // The tab's outline: a trapezoid that hangs under the list; empty past the last tab.
    static QPolygon TabShape(const QFont& font, const QRect& list, int tabCount, int index);
    static QRect CloseBox(const QRect& band);

private:
    static void DrawCaption(QPainter& p, const Parts& parts);
    static void DrawTabs(QPainter& p, const Parts& parts);
};
