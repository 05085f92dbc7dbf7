#include "gui/sticky/CNotePainter.h"

#include "core/platform/SystemMetrics.h"
#include "core/sticky/CNoteGeometry.h"
#include "core/sticky/NoteColors.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QPainter>
#include <QPolygon>

CNotePainter::Colors3d CNotePainter::Colors3d::FromPalette() {
    return Colors3d{SystemColors::Get(COLOR_3DLIGHT), SystemColors::Get(COLOR_3DDKSHADOW),
                    SystemColors::Get(COLOR_BTNHIGHLIGHT)};
}

void CNotePainter::Paint(QPainter& p, const CNoteGeometry& g, QSize size, const Look& look) {
    const int w = size.width(), h = size.height();
    const QRect all(QPoint(0, 0), size);
    const COLORREF titleColor =
        look.flashTitle ? GlyphColorFor(look.back) : TitleColorFor(look.back);
    const QColor glyph = GdiPaint::ToQColor(GlyphColorFor(look.back));
    const Colors3d& sys = look.system;

    p.save();
    p.fillRect(all, GdiPaint::ToQColor(look.back));
    p.fillRect(0, 0, w, g.m_titleHeight, GdiPaint::ToQColor(titleColor));
    if (look.pinState >= 0) DrawPinBox(p, g, look.pinState, titleColor, sys);
    if (look.ruleY >= 0)
        p.fillRect(g.m_border + 1, look.ruleY, (w - g.m_border - 1) - (g.m_border + 1), 1, glyph);

    if (look.borderStyle == CNoteGeometry::StyleEmboss) {
        const auto dashes = g.EmbossDashes(w);
        for (const PixelPoint& d : dashes)
            p.fillRect(d.x, d.y, 1, 2, sys.dark);
        for (const PixelPoint& d : dashes)
            p.fillRect(d.x - 1, d.y, 1, 2, sys.highlight);
    } else {
        QPolygon poly;
        for (const PixelPoint& pt : g.CloseGlyph(w))
            poly << QPoint(pt.x, pt.y);
        p.setPen(QPen(glyph, 1));
        p.setBrush(glyph);
        p.drawPolygon(poly, Qt::OddEvenFill);
    }

    switch (look.borderStyle) {
    case CNoteGeometry::StyleEmboss:
        GdiPaint::Draw3dRect(p, all, sys.light, sys.dark);
        GdiPaint::Draw3dRect(p, GdiPaint::ToQRect(g.EmbossInnerFrame(w, h, g.IsRolledUp(h))),
                             sys.dark, sys.light);
        break;
    case CNoteGeometry::StyleGlow:
        DrawGlow(p, all, look.back);
        break;
    default:
        GdiPaint::Draw3dRect(p, all, sys.light, sys.dark);
        break;
    }

    // The title in its colour over a black shadow one pixel down and right.
    const QRect titleRect = GdiPaint::ToQRect(g.TitleTextRect(w));
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    p.setFont(look.font);
    p.setClipRect(titleRect.translated(1, 1));
    p.setPen(Qt::black);
    p.drawText(titleRect.translated(1, 1), flags, look.title);
    p.setClipRect(titleRect);
    p.setPen(GdiPaint::ToQColor(look.text));
    p.drawText(titleRect, flags, look.title);
    p.restore();
}

void CNotePainter::DrawPinBox(QPainter& p, const CNoteGeometry& g, int state, COLORREF titleColor,
                              const Colors3d& sys) {
    auto buttonFrame = [&](QRect r) {
        GdiPaint::Draw3dRect(p, r, sys.dark, sys.light);
        r.adjust(1, 1, -1, -1);
        GdiPaint::Draw3dRect(p, r, sys.light, sys.dark);
        return r.adjusted(1, 1, -1, -1);
    };
    const QColor title = GdiPaint::ToQColor(titleColor);
    const QRect small = GdiPaint::ToQRect(g.PinBoxSmall());
    const QRect big = GdiPaint::ToQRect(g.PinBoxBig());
    if (state == 0) {
        buttonFrame(small);
        p.fillRect(buttonFrame(big), title); // the big square lies in front
    } else {
        buttonFrame(big);
        p.fillRect(buttonFrame(small), title); // the small one lies in front
    }
}

void CNotePainter::DrawGlow(QPainter& p, const QRect& r, COLORREF c) {
    const auto colours = GlowFrameColors(c);
    for (int i = 0; i < 5; ++i) {
        const QColor q = GdiPaint::ToQColor(colours[i]);
        GdiPaint::Draw3dRect(p, r.adjusted(i, i, -i, -i), q, q);
    }
}
