#include "gui/manager/CManagerChrome.h"

#include "core/platform/Clock.h"
#include "core/platform/SystemMetrics.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QPainter>

namespace {

const char* const kTabLabels[] = {" All notes ", " This month ", " This week ", " Today ",
                                  " Trash "};

QColor Blend(const QColor& a, const QColor& b, int p) {
    auto mix = [p](int x, int y) { return (x + (y - x) * p / 100) & 0xFF; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

} // namespace

void CManagerChrome::Paint(QPainter& p, const Parts& parts) {
    p.fillRect(parts.window, SystemColors::Get(COLOR_BTNFACE));
    // A nine-pixel border that fades into the face colour.
    QRect r = parts.window;
    const QColor light = SystemColors::Get(COLOR_BTNHIGHLIGHT),
                 dark = SystemColors::Get(COLOR_3DDKSHADOW),
                 face = SystemColors::Get(COLOR_BTNFACE);
    GdiPaint::Draw3dRect(p, r, light, dark);
    for (int pc = 40; pc <= 96; pc += 8) {
        r.adjust(1, 1, -1, -1);
        GdiPaint::Draw3dRect(p, r, Blend(light, face, pc), Blend(dark, face, pc));
    }
    DrawCaption(p, parts);
    DrawTabs(p, parts);
}

QRect CManagerChrome::CloseBox(const QRect& band) {
    const int h = band.height();
    return QRect(band.right() - h + 1, band.top(), h, h);
}

void CManagerChrome::DrawCaption(QPainter& p, const Parts& parts) {
    const QRect& band = parts.band;
    const QColor caption = SystemColors::Get(COLOR_ACTIVECAPTION),
                 captionText = SystemColors::Get(COLOR_CAPTIONTEXT),
                 dark = SystemColors::Get(COLOR_3DDKSHADOW);
    p.fillRect(band, caption);
    GdiPaint::Draw3dRect(p, band, dark, SystemColors::Get(COLOR_BTNHIGHLIGHT));
    QFont title = parts.font;
    title.setPointSizeF(11.2);
    title.setBold(true);
    p.setFont(title);
    const QRect text = band.adjusted(8, 0, 0, 0);
    p.setPen(dark);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Note Manager"));
    p.setPen(captionText);
    p.drawText(text.adjusted(-2, -2, 0, -2), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Note Manager"));
    // The clock, left of the close box.
    QFont clockFont = parts.font;
    clockFont.setPointSizeF(10.2);
    p.setFont(clockFont);
    const QString now = QString::fromStdString(Clock::Now().Format("%I:%M:%S %p"));
    const int h = band.height();
    const int tw = QFontMetrics(clockFont).horizontalAdvance(now);
    p.drawText(QRect(band.right() - tw - (h - 2) - 12, band.top() + 1, tw + 2, h - 2),
               Qt::AlignLeft | Qt::AlignVCenter, now);
    // The toolbar's groove, from the band's left edge to a little past Help.
    const QRect& help = parts.help;
    const QRect groove(QPoint(band.left(), help.top() - 2),
                       QPoint(help.right() + 44, help.bottom() + 2));
    const QColor shadow = SystemColors::Get(COLOR_BTNSHADOW),
                 light = SystemColors::Get(COLOR_BTNHIGHLIGHT);
    GdiPaint::Draw3dRect(p, groove, shadow, light);
    GdiPaint::Draw3dRect(p, groove.adjusted(1, 1, -1, -1), light, shadow);
    // The close box: two overlapping squares.
    const QColor light3d = SystemColors::Get(COLOR_3DLIGHT);
    const QRect a(QPoint(band.right() - h + 2, band.top() + 4),
                  QPoint(band.right() - 4, band.bottom() - 4));
    const QRect b(a.topLeft(), QPoint(a.right(), band.top() + h / 2));
    for (const QRect& sq : {a, b}) {
        p.setPen(light3d);
        p.setBrush(Qt::NoBrush);
        p.drawRect(sq);
        p.setPen(dark);
        p.drawRect(sq.translated(-1, -1));
    }
}

QPolygon CManagerChrome::TabShape(const QFont& font, const QRect& list, int tabCount, int index) {
    const QFontMetrics fm(font);
    const int y0 = list.bottom() + 1;
    const int y1 = y0 + fm.height() + 2;
    const int slant = (y1 - y0) / 2;
    int x = list.left() + 1;
    for (int i = 0; i < tabCount; ++i) {
        const int w = fm.horizontalAdvance(QString::fromLatin1(kTabLabels[i]));
        if (i == index)
            return QPolygon({QPoint(x, y0), QPoint(x + slant, y1), QPoint(x + slant + w, y1),
                             QPoint(x + 2 * slant + w, y0)});
        x += w + slant + (i == 3 ? slant : 0);
    }
    return {};
}

void CManagerChrome::DrawTabs(QPainter& p, const Parts& parts) {
    QFont normal = parts.font;
    normal.setWeight(QFont::Normal);
    p.setFont(normal);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto draw = [&](int i, bool selected) {
        const QPolygon shape = TabShape(parts.font, parts.list, parts.tabCount, i);
        p.setBrush(SystemColors::Get(selected ? COLOR_WINDOW : COLOR_BTNFACE));
        p.setPen(Qt::NoPen);
        p.drawPolygon(shape);
        p.setPen(SystemColors::Get(COLOR_WINDOWTEXT));
        p.drawLine(shape[0], shape[1]);
        p.drawLine(shape[1], shape[2]);
        p.drawLine(shape[2], shape[3]);
        p.setPen(SystemColors::Get(selected ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
        const int slant = shape[1].x() - shape[0].x();
        const QRect box(QPoint(shape[0].x() + slant, shape[0].y()), shape[2]);
        p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(kTabLabels[i]));
    };
    for (int i = 0; i < parts.tabCount; ++i)
        if (i != parts.currentTab) draw(i, false);
    draw(parts.currentTab, true);
}
