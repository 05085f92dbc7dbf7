#include "gui/manager/CManagerIcons.h"

#include "core/manager/CNoteListFormat.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>

namespace {
const QColor kOutline(60, 50, 30);

void PaintBell(QPainter& p, const QRectF& r, const QColor& color) {
    const double s = r.width() / 16.0;
    auto at = [&](double x, double y) { return QPointF(r.left() + x * s, r.top() + y * s); };
    QPainterPath bell;
    bell.moveTo(at(8, 1.5));
    bell.cubicTo(at(11.5, 1.5), at(12, 5), at(12, 8));
    bell.cubicTo(at(12, 10.5), at(13, 11.5), at(14.5, 12.5));
    bell.lineTo(at(1.5, 12.5));
    bell.cubicTo(at(3, 11.5), at(4, 10.5), at(4, 8));
    bell.cubicTo(at(4, 5), at(4.5, 1.5), at(8, 1.5));
    bell.closeSubpath();
    p.setPen(QPen(kOutline, 1.0 * s));
    p.setBrush(color);
    p.drawPath(bell);
    p.drawEllipse(QRectF(at(6.5, 12), at(9.5, 15)));
    p.setPen(QPen(color.lighter(150), 1.2 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(6, 4.5), at(5.5, 9)); // a glint
}

void PaintPage(QPainter& p, const QRectF& r, const QColor& color) {
    const double s = r.width() / 16.0;
    auto at = [&](double x, double y) { return QPointF(r.left() + x * s, r.top() + y * s); };
    QPainterPath page;
    page.moveTo(at(2.5, 1.5));
    page.lineTo(at(10, 1.5));
    page.lineTo(at(13.5, 5));
    page.lineTo(at(13.5, 14.5));
    page.lineTo(at(2.5, 14.5));
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1.0 * s));
    p.setBrush(color);
    p.drawPath(page);
    p.setBrush(color.darker(130));
    p.drawPolygon(QPolygonF({at(10, 1.5), at(10, 5), at(13.5, 5)}));
    p.setPen(QPen(color.darker(200), 1.0 * s));
    for (double y : {7.5, 9.5, 11.5})
        p.drawLine(at(4.5, y), at(11.5, y));
}

// A pixmap at the screen's pixel density, painted in logical coordinates.
QPixmap Canvas(int logical, qreal dpr) {
    QPixmap pm(QSize(logical, logical) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    return pm;
}

void PaintFolder(QPainter& p, const QRectF& r, bool open) {
    const double s = r.width() / 16.0;
    auto at = [&](double x, double y) { return QPointF(r.left() + x * s, r.top() + y * s); };
    const QColor back(214, 170, 60), front(246, 206, 100);
    p.setPen(QPen(kOutline, 1.0 * s));
    p.setBrush(back);
    p.drawPolygon(QPolygonF(
        {at(1.5, 3.5), at(6, 3.5), at(7.5, 5), at(14.5, 5), at(14.5, 13.5), at(1.5, 13.5)}));
    p.setBrush(front);
    if (open)
        p.drawPolygon(QPolygonF({at(3.5, 7.5), at(15.5, 7.5), at(13.5, 13.5), at(1.5, 13.5)}));
    else
        p.drawRect(QRectF(at(1.5, 6.5), at(14.5, 13.5)));
}
} // namespace

void CManagerIcons::PaintNoteIcon(QPainter& p, const QRectF& r, int icon) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case CNoteListFormat::GreenBell:
        PaintBell(p, r, QColor(70, 190, 70));
        break;
    case CNoteListFormat::YellowBell:
        PaintBell(p, r, QColor(250, 210, 40));
        break;
    case CNoteListFormat::RedBell:
        PaintBell(p, r, QColor(230, 40, 40));
        break;
    case CNoteListFormat::YellowPage:
        PaintPage(p, r, QColor(252, 230, 110));
        break;
    default:
        PaintPage(p, r, QColor(150, 215, 120));
        break;
    }
    p.restore();
}

QCursor CManagerIcons::DragCursor(bool many) {
    const qreal dpr = qApp->primaryScreen() ? qApp->primaryScreen()->devicePixelRatio() : 1.0;
    QPixmap pm = Canvas(32, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (many) PaintNoteIcon(p, QRectF(16, 12, 14, 14), CNoteListFormat::YellowPage);
    PaintNoteIcon(p, QRectF(12, 16, 14, 14), CNoteListFormat::YellowPage);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({{1, 1}, {1, 16}, {5, 12}, {8, 18}, {10, 17}, {7, 11}, {12, 11}}));
    p.end();
    return QCursor(pm, 1, 1);
}

QIcon CManagerIcons::FolderIcon() {
    QIcon icon;
    for (int size : {16, 24, 32})
        for (bool open : {false, true}) {
            QPixmap pm = Canvas(size, 1.0);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            PaintFolder(p, QRectF(0, 0, size, size), open);
            p.end();
            icon.addPixmap(pm, open ? QIcon::Selected : QIcon::Normal);
        }
    return icon;
}
