#include "gui/calendar/CCalendarCtrl.h"

#include "core/calendar/CCalendarLayout.h"
#include "core/platform/Clock.h"
#include "core/platform/SystemMetrics.h"
#include "gui/platform/FontConverter.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
// The window's font at a height (96 dpi pixels, leading included) and weight, never below the
// smallest readable size.
QFont CalendarFont(const QFont& base, int height, int weight) {
    LOGFONT lf = FontConverter::FromQFont(base);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return FontConverter::Readable(FontConverter::ToQFont(lf));
}
// The day numbers and the header at 12 pixels (digits 8 pixels tall), the initials at the
// smallest readable size: the grid's first sizes drew digits 5 pixels tall.
constexpr int kDayHeight = 14, kInitialsHeight = 12;

QPainterPath MoonPath(const CCalendarLayout::Moon& m) {
    using S = CCalendarLayout::MoonShape;
    const QRectF c(m.circle.left, m.circle.top, m.circle.Width(), m.circle.Height());
    const double r = c.width() / 2, mid = c.left() + r;
    QPainterPath circle, right, left, e;
    circle.addEllipse(c);
    right.addRect(QRectF(mid, c.top(), c.right() - mid, c.height()));
    left.addRect(QRectF(c.left(), c.top(), c.right() - r - c.left(), c.height()));
    right = circle.intersected(right);
    left = circle.intersected(left);
    e.addEllipse(QRectF(mid - m.k, c.top(), 2.0 * m.k, c.height()));
    switch (m.shape) {
    case S::Whole:
        return circle;
    case S::RightHalf:
        return right;
    case S::LeftHalf:
        return left;
    case S::RightGibbous:
        return right.united(e);
    case S::LeftGibbous:
        return left.united(e);
    case S::RightCrescent:
        return right.subtracted(e);
    case S::LeftCrescent:
        return left.subtracted(e);
    case S::None:
    default:
        return {};
    }
}
} // namespace

CCalendarCtrl::CCalendarCtrl(QWidget* parent) : QWidget(parent) {
    setToolTip(QStringLiteral("Calendar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCalendarCtrl::AttachHolidays(CHolidayTable* holidays) {
    m_model.AttachHolidays(holidays);
    update();
}

void CCalendarCtrl::GoToToday() {
    m_model.GoToToday();
    PostInfoChanged();
    repaint();
}

void CCalendarCtrl::MoveBy(int years, int months) {
    if (m_model.MoveBy(years, months)) update();
}

void CCalendarCtrl::PostInfoChanged() {
    QMetaObject::invokeMethod(this, &CCalendarCtrl::infoChanged, Qt::QueuedConnection);
}

void CCalendarCtrl::Handle(const CCalendarModel::Outcome& outcome) {
    if (outcome.infoChanged) PostInfoChanged();
    if (outcome.picked)
        QMetaObject::invokeMethod(this, &CCalendarCtrl::dayPicked, Qt::QueuedConnection);
    if (outcome.redraw) repaint();
}

void CCalendarCtrl::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    const QPoint at = e->position().toPoint();
    Handle(m_model.LeftDown(CCalendarLayout(width(), height()), at.x(), at.y()));
}

void CCalendarCtrl::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(e);
    const QPoint at = e->position().toPoint();
    Handle(m_model.DoubleClick(CCalendarLayout(width(), height()), at.x(), at.y()));
}

void CCalendarCtrl::paintEvent(QPaintEvent*) {
    const CCalendarLayout layout(width(), height());
    const int ch = layout.CellHeight(), w = layout.Width();
    const QColor face = SystemColors::Get(COLOR_BTNFACE),
                 shadow = SystemColors::Get(COLOR_BTNSHADOW),
                 light = SystemColors::Get(COLOR_BTNHIGHLIGHT),
                 text = SystemColors::Get(COLOR_BTNTEXT);
    const QColor red = GdiPaint::ToQColor(CCalendarLayout::SundayColor(GdiPaint::FromQColor(face)));
    // The moon of the day shown, not of the day shown before the last move.
    m_model.ComposeInfo(true);

    QPainter p(this);
    p.fillRect(rect(), face);
    GdiPaint::Draw3dRect(p, rect(), shadow, light);
    p.fillRect(QRect(1, ch, w - 2, 1), light);

    const COleDateTime& selected = m_model.Selected();
    p.setFont(CalendarFont(font(), kDayHeight, 700));
    p.setPen(text);
    p.drawText(QRect(0, 0, w - 1, ch), Qt::AlignCenter | Qt::TextSingleLine,
               QString::fromStdString(selected.Format("%Y %b")));

    p.setFont(CalendarFont(font(), kInitialsHeight, 300));
    static const char* const initials[7] = {"S", "M", "T", "W", "T", "F", "S"};
    auto cellRect = [&](int col, int row) {
        const RECT r = layout.CellRect(col, row);
        return QRect(r.left, r.top, r.Width() + 1, r.Height() + 1);
    };
    for (int col = 0; col < 7; ++col) {
        p.setPen(col == 0 ? red : text);
        p.drawText(cellRect(col, 0), Qt::AlignCenter | Qt::TextSingleLine, initials[col]);
    }
    const int lineY = layout.CellRect(0, 0).bottom;
    p.fillRect(QRect(0, lineY, w - 1, 1), shadow);

    const QPainterPath moon = MoonPath(layout.MoonDisc(m_model.MoonPercent(), m_model.Waxing()));
    if (!moon.isEmpty()) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(GdiPaint::ToQColor(CCalendarLayout::MoonColor(GdiPaint::FromQColor(face))));
        p.drawPath(moon);
        p.restore();
    }

    const COleDateTime now = Clock::Now();
    const bool thisMonth =
        now.GetYear() == selected.GetYear() && now.GetMonth() == selected.GetMonth();
    p.setFont(CalendarFont(font(), kDayHeight, 300));
    for (int d = 1; d <= m_model.DaysInMonth(); ++d) {
        int col = 0, row = 0;
        m_model.CellOfDay(d, col, row);
        const QRect cell = cellRect(col, row);
        p.setPen(col == 0 ? red : text);
        p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, QString::number(d));
        // Frames on the cell as a rectangle without its last row and column.
        const QRect frame = cell.adjusted(0, 0, -1, -1);
        if (thisMonth && d == now.GetDay())
            GdiPaint::Draw3dRect(p, frame.adjusted(1, 1, -1, -1), light, shadow);
        if (d == selected.GetDay())
            GdiPaint::Draw3dRect(p, frame.adjusted(2, 2, -2, -2), shadow, light);
    }

    for (const CCalendarLayout::Edge& e : layout.ArrowEdges()) {
        p.setPen(QPen(e.lit ? light : shadow, 1));
        p.drawLine(e.from.x, e.from.y, e.to.x, e.to.y);
    }
    p.end();
    PostInfoChanged();
}
