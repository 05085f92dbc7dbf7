#include "gui/support/ImageCompare.h"

#include <QDir>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

double ImageCompare::DifferentShare(const QImage& a, const QImage& b, int threshold) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    long differing = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (std::abs(qRed(p) - qRed(q)) > threshold ||
                std::abs(qGreen(p) - qGreen(q)) > threshold ||
                std::abs(qBlue(p) - qBlue(q)) > threshold)
                ++differing;
        }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

void ImageCompare::ExpectReference(const QImage& img, const QWidget* w, const QString& folder,
                                   const QString& name) {
    EXPECT_EQ(img.width(), qRound(w->width() * w->devicePixelRatioF())); // the screen's density
    ExpectReference(img, w->devicePixelRatioF(), folder, name);
}

void ImageCompare::ExpectReference(const QImage& img, qreal dpr, const QString& folder,
                                   const QString& name) {
    const QString ref = QStringLiteral(JOTTERLY_TEST_DATA "/") + folder + "/" + name +
                        (dpr > 1.5 ? "@2x.png" : ".png");
    if (std::getenv("JOTTERLY_UPDATE_REFERENCES")) {
        EXPECT_TRUE(img.save(ref));
        return;
    }
    const QImage expected(ref);
    ASSERT_FALSE(expected.isNull()) << "missing " << ref.toStdString();
    EXPECT_LT(DifferentShare(expected, img), 0.005) << name.toStdString();
}

QImage ImageCompare::Keep(const QImage& img, const QString& folder, const QString& name) {
    const QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output/") + folder;
    QDir().mkpath(dir);
    img.save(dir + "/" + name + (img.devicePixelRatio() > 1.5 ? "@2x.png" : ".png"));
    return img;
}

QImage ImageCompare::Grab(QWidget* w, const QString& folder, const QString& name) {
    return Keep(w->grab().toImage().convertToFormat(QImage::Format_RGB32), folder, name);
}

int ImageCompare::InkHeight(const QImage& img, const QRect& r, QRgb background, int threshold) {
    int first = -1, last = -1;
    const QRect area = r.intersected(img.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (std::abs(qRed(p) - qRed(background)) > threshold ||
                std::abs(qGreen(p) - qGreen(background)) > threshold ||
                std::abs(qBlue(p) - qBlue(background)) > threshold) {
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
    return first < 0 ? 0 : last - first + 1;
}
