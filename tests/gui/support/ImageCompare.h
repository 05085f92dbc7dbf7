#pragma once

#include <QImage>

// Picture comparison for the reference-image tests: text edges may shift a little between font
// renderer versions, colours and shapes must not.
class ImageCompare {
public:
    // Share of pixels (0..1) with a channel differing by more than threshold; 1 when the sizes
    // differ.
    static double DifferentShare(const QImage& a, const QImage& b, int threshold = 40);
};
