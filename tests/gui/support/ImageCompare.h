#pragma once

#include <QImage>
#include <QString>

class QWidget;

// Picture comparison for the reference-image tests: text edges may shift a little between font
// renderer versions, colours and shapes must not.
class ImageCompare {
public:
    // Share of pixels (0..1) with a channel differing by more than threshold; 1 when the sizes
    // differ.
    static double DifferentShare(const QImage& a, const QImage& b, int threshold = 40);
    // Checks a grab of w against tests/data/<folder>/<name>.png (<name>@2x.png on a 2x screen);
    // with JOTTERLY_UPDATE_REFERENCES=1 set, rewrites the reference instead.
    static void ExpectReference(const QImage& img, const QWidget* w, const QString& folder,
                                const QString& name);
    // The same for a picture made at density dpr.
    static void ExpectReference(const QImage& img, qreal dpr, const QString& folder,
                                const QString& name);
    // Saves img as test-output/<folder>/<name>.png (<name>@2x.png at density 2) in the build
    // folder, for looking at.
    static QImage Keep(const QImage& img, const QString& folder, const QString& name);
    // What w paints, as 32-bit RGB, kept as Keep does.
    static QImage Grab(QWidget* w, const QString& folder, const QString& name);
    // How many pixel rows the ink in r spans: rows from the first to the last with a pixel
    // differing from background by more than threshold in some channel (0 when none does).
    static int InkHeight(const QImage& img, const QRect& r, QRgb background, int threshold = 90);
};
