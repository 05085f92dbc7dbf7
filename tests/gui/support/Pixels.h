#pragma once
// Reading the pictures the windows paint.
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QImage>
#include <QRect>
#include <cstdlib>

namespace Pixels {

// A system colour as the painters fill with it.
inline QRgb Sys(int id) {
    return SystemColors::Get(id).rgb();
}
// A stored colour as painted.
inline QRgb Rgb(COLORREF c) {
    return GdiPaint::ToQColor(c).rgb();
}
// The pixel at a point in logical coordinates of a grab at density dpr, alpha ignored.
inline QRgb At(const QImage& img, int x, int y, qreal dpr = 1) {
    return img.pixel(int(x * dpr), int(y * dpr)) | 0xFF000000u;
}
// How many points of area (logical coordinates of a grab at density dpr) pass test.
template <class Test> int CountIf(const QImage& img, const QRect& area, Test test, qreal dpr = 1) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(At(img, x, y, dpr)) ? 1 : 0;
    return n;
}
// How many pixels of area have colour c (or, with same false, any other colour).
inline int Count(const QImage& img, const QRect& area, QRgb c, bool same = true) {
    return CountIf(img, area, [&](QRgb p) { return (p == c) == same; });
}
// How many pixels of area are within tolerance of c in every channel.
inline int CountNear(const QImage& img, const QRect& area, QRgb c, int tolerance) {
    return CountIf(img, area, [&](QRgb p) {
        return std::abs(qRed(p) - qRed(c)) < tolerance &&
               std::abs(qGreen(p) - qGreen(c)) < tolerance &&
               std::abs(qBlue(p) - qBlue(c)) < tolerance;
    });
}

} // namespace Pixels
