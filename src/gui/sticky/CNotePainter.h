#pragma once

#include "core/platform/Win32Types.h"

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class CNoteGeometry;
class QPainter;
class QRect;

// The self-drawn parts of a note window: background, title bar, pin box, close glyph, frame
// and title text. Everything comes in as values, so the same picture can be painted onto a
// window or an image.
class CNotePainter {
public:
    // The system's 3-D colours the frames and the embossed glyph are drawn in.
    struct Colors3d {
        QColor light;     // COLOR_3DLIGHT
        QColor dark;      // COLOR_3DDKSHADOW
        QColor highlight; // COLOR_BTNHIGHLIGHT
        static Colors3d FromPalette();
    };

    struct Look {
        COLORREF back = 0;
        COLORREF text = 0;
        int borderStyle = 0; // CNoteGeometry::BorderStyle
        QString title;
        QFont font;
        // The pin box picture: 1 on top, 0 not on top, -1 none (a ringing note before its
        // first flash).
        int pinState = 0;
        // The rule above the "remind" row of a ringing note; -1 for none.
        int ruleY = -1;
        // A ringing note nobody can hear flashes its title band in the glyph colour.
        bool flashTitle = false;
        Colors3d system;
    };

    static void Paint(QPainter& p, const CNoteGeometry& g, QSize size, const Look& look);
    // State 1: the small square in front (on top); 0: the big one in front.
    static void DrawPinBox(QPainter& p, const CNoteGeometry& g, int state, COLORREF titleColor,
                           const Colors3d& system);
    static void DrawGlow(QPainter& p, const QRect& r, COLORREF c);
};
