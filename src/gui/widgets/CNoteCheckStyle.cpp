#include "gui/widgets/CNoteCheckStyle.h"

#include <QPainter>
#include <QStyleOption>

void CNoteCheckStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (element != PE_IndicatorCheckBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QColor ink = option->palette.color(QPalette::WindowText);
    const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(option->palette.color(QPalette::Base));
    painter->setPen(QPen(ink, 1.0));
    painter->drawRect(box);
    if (option->state & (State_On | State_NoChange)) {
        // A tick through the box's middle, thick enough to read at a glance.
        const qreal w = box.width(), h = box.height();
        QPen pen(ink, std::max<qreal>(1.5, w / 7.0));
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter->setPen(pen);
        const QPointF tick[] = {box.topLeft() + QPointF(w * 0.22, h * 0.52),
                                box.topLeft() + QPointF(w * 0.42, h * 0.72),
                                box.topLeft() + QPointF(w * 0.78, h * 0.28)};
        painter->drawPolyline(tick, 3);
    }
    painter->restore();
}

int CNoteCheckStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const {
    if (metric == PM_CheckBoxLabelSpacing) return 3;
    return QProxyStyle::pixelMetric(metric, option, widget);
}
