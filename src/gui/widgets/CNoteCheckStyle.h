#pragma once

#include <QProxyStyle>

// Check boxes on a note's own colours: the desktop style draws the box from the window
// colour, which may vanish on a dark or saturated note. This one frames the box and draws
// the mark in the check box's text colour, which the note keeps readable on its background.
class CNoteCheckStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    // A tighter gap after the box, so the long caption keeps its room.
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
