#include "manager/CHoverButton.h"
#include "manager/CRegionButton.h"
#include "platform/SystemColors.h"
#include "platform/SystemMetrics.h"

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

namespace {
QRgb Rgb(int r, int g, int b) {
    return qRgb(r, g, b);
}
QRgb System(int id) {
    return SystemColors::Get(id).rgb();
}
QRgb Pixel(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}

void Save(const QImage& img, const QString& name) {
    QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output/manager");
    QDir().mkpath(dir);
    img.save(dir + "/" + name + ".png");
}

// A shown parent window that mouse events are sent through.
class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
        parent = std::make_unique<QWidget>();
        parent->setGeometry(50, 50, 200, 100);
        parent->setAutoFillBackground(true);
        QPalette pal = parent->palette();
        pal.setColor(QPalette::Window, QColor(10, 200, 10));
        parent->setPalette(pal);
        parent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
    }
    void Move(QPoint at) { QTest::mouseMove(parent->windowHandle(), at); }
    QImage Grab(QWidget* w) { return w->grab().toImage(); }

    std::unique_ptr<QWidget> parent;
};

TEST_F(Buttons, HoverFrameFollowsThePointer) {
    auto* b = new CHoverButton(parent.get());
    b->setGeometry(20, 20, 40, 24);
    b->SetFlags(CHoverButton::IconButton | CHoverButton::HoverFrame);
    b->SetBackColor(RGB(200, 200, 200));
    b->show();
    Move(QPoint(150, 80));
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Pixel(Grab(b), 1, 1), Rgb(200, 200, 200));

    Move(QPoint(40, 30));
    EXPECT_TRUE(b->IsHover());
    QImage hover = Grab(b);
    Save(hover, "hover-icon");
    EXPECT_EQ(Pixel(hover, 1, 1), System(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(hover, 38, 22), System(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(hover, 0, 0), Rgb(200, 200, 200)); // no black outline without flag 16

    Move(QPoint(150, 80));
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Pixel(Grab(b), 1, 1), Rgb(200, 200, 200));
}

TEST_F(Buttons, AlwaysFramedTextButtonWithShadow) {
    auto* b = new CHoverButton(parent.get());
    b->setGeometry(20, 20, 54, 23);
    b->SetFlags(0x51); // text, always framed, text with shadow: the ringing note's OK
    b->SetCaption("OK", RGB(255, 255, 128), 0);
    b->SetBackColor(RGB(253, 82, 0));
    b->show();
    Move(QPoint(150, 80));
    QImage img = Grab(b);
    Save(img, "ok-button");
    EXPECT_EQ(Pixel(img, 0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(Pixel(img, 53, 22), Rgb(0, 0, 0));
    EXPECT_EQ(Pixel(img, 1, 1), System(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(img, 52, 21), System(COLOR_BTNSHADOW));
    int text = 0, shadow = 0;
    for (int y = 3; y < 20; ++y)
        for (int x = 3; x < 51; ++x) {
            QRgb c = Pixel(img, x, y);
            if (qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) < 170) ++text;
            if (qRed(c) < 70 && qGreen(c) < 70 && qBlue(c) < 70) ++shadow;
        }
    EXPECT_GT(text, 10);
    EXPECT_GT(shadow, 10);
}

TEST_F(Buttons, CaptionSizeComesFromTheHeightWhenNotGiven) {
    auto* b = new CHoverButton(parent.get());
    b->setGeometry(0, 0, 60, 20);
    b->SetFlags(CHoverButton::TextButton);
    b->SetCaption("OK", 0, 0);
    EXPECT_EQ(b->CaptionPointSize(), 120); // 20 x 3 / 5 = 12 points
    EXPECT_EQ(b->CaptionFont().pixelSize(), 16);
    EXPECT_TRUE(b->CaptionFont().bold());
    b->resize(60, 14);
    EXPECT_EQ(b->CaptionPointSize(), 80);
    b->SetCaption("OK", 0, 90);
    EXPECT_EQ(b->CaptionPointSize(), 90);
    EXPECT_EQ(b->CaptionFont().pixelSize(), 12);
}

TEST_F(Buttons, HoverButtonPressesSunkenAndClicksOnRelease) {
    auto* b = new CHoverButton(parent.get());
    b->setGeometry(20, 20, 40, 24);
    b->SetFlags(CHoverButton::TextButton | CHoverButton::HoverFrame);
    b->SetCaption("Go", 0, 0);
    b->show();
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    QTest::mousePress(parent->windowHandle(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_TRUE(b->IsPressed());
    EXPECT_EQ(Pixel(Grab(b), 1, 1), System(COLOR_BTNSHADOW));
    QTest::mouseRelease(parent->windowHandle(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_FALSE(b->IsPressed());
    EXPECT_TRUE(b->IsHover());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(Pixel(Grab(b), 1, 1), System(COLOR_BTNHIGHLIGHT));
}

// The left end of the manager's rounded button row: a rectangle joined to a circle.
QRegion RoundedEnd(int h = 24) {
    return QRegion(QRect(h / 2 - 1, 0, 72 - (h / 2 - 1), h)) |
           QRegion(0, 0, h, h, QRegion::Ellipse);
}

CRegionButton* MakeRegionButton(QWidget* parent, int style = CRegionButton::kVisible) {
    auto* b = new CRegionButton;
    EXPECT_TRUE(b->Create("Update", style, 10, 10, RoundedEnd().translated(5, 7), parent, 1021, 1,
                          RGB(160, 160, 220), RGB(120, 120, 200), RGB(190, 190, 240),
                          RGB(180, 180, 180)));
    return b;
}

TEST_F(Buttons, RegionButtonTakesItsRegionsBoundingBox) {
    CRegionButton* b = MakeRegionButton(parent.get());
    EXPECT_EQ(b->geometry(), QRect(10, 10, 72, 24));
    EXPECT_EQ(b->Region().boundingRect(), QRect(0, 0, 72, 24));
    EXPECT_EQ(b->Id(), 1021);
    EXPECT_FALSE(b->Create("x", 0, 0, 0, QRegion(), parent.get(), 1, 1, 0, 0, 0, 0));
}

TEST_F(Buttons, RegionButtonHighlightsOnlyInsideItsRegion) {
    CRegionButton* b = MakeRegionButton(parent.get());
    // The top-left corner of the box lies outside the rounded end.
    ASSERT_FALSE(b->Region().contains(QPoint(1, 1)));
    Move(QPoint(10 + 1, 10 + 1));
    EXPECT_FALSE(b->IsHover());
    Move(QPoint(10 + 40, 10 + 12));
    EXPECT_TRUE(b->IsHover());
    Move(QPoint(10 + 1, 10 + 22)); // the bottom-left corner: outside again
    EXPECT_FALSE(b->IsHover());

    // On screen the corner shows the parent, the inside the button's colour.
    QImage img = parent->grab().toImage();
    Save(img, "region-button");
    EXPECT_EQ(Pixel(img, 10 + 1, 10 + 1), Rgb(10, 200, 10));
    EXPECT_EQ(Pixel(img, 10 + 8, 10 + 5), Rgb(160, 160, 220));
}

TEST_F(Buttons, RegionButtonCountsBothClicksOfADoubleClick) {
    CRegionButton* b = MakeRegionButton(parent.get());
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    QTest::mouseDClick(parent->windowHandle(), Qt::LeftButton, {}, QPoint(10 + 40, 10 + 12));
    EXPECT_EQ(clicks.count(), 2);
    // A press released outside the region is no click.
    QTest::mousePress(parent->windowHandle(), Qt::LeftButton, {}, QPoint(10 + 40, 10 + 12));
    EXPECT_TRUE(b->isDown());
    QTest::mouseMove(parent->windowHandle(), QPoint(10 + 1, 10 + 1));
    EXPECT_FALSE(b->isDown());
    QTest::mouseRelease(parent->windowHandle(), Qt::LeftButton, {}, QPoint(10 + 1, 10 + 1));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(Buttons, RegionButtonStateImagesAndBevel) {
    CRegionButton* b = MakeRegionButton(parent.get());
    const QImage normal = b->StateImage(CRegionButton::Normal);
    const QImage pressed = b->StateImage(CRegionButton::Pressed);
    const QImage hover = b->StateImage(CRegionButton::Hover);
    Save(normal, "region-normal");
    Save(pressed, "region-pressed");
    EXPECT_EQ(normal.size(), QSize(72, 24));
    EXPECT_EQ(Pixel(normal, 0, 0), Rgb(0, 0, 0)); // outside the region
    EXPECT_EQ(Pixel(normal, 60, 5), Rgb(160, 160, 220));
    EXPECT_EQ(Pixel(hover, 60, 5), Rgb(190, 190, 240));
    EXPECT_EQ(Pixel(pressed, 60, 5), Rgb(120, 120, 200));
    // Light along the top, dark along the bottom and right; the other way round when pressed.
    const QRgb light = System(COLOR_BTNHIGHLIGHT), dark = System(COLOR_BTNSHADOW);
    EXPECT_EQ(Pixel(normal, 40, 0), light);
    EXPECT_EQ(Pixel(normal, 40, 23), dark);
    EXPECT_EQ(Pixel(normal, 71, 12), dark);
    EXPECT_EQ(Pixel(normal, 0, 12), light); // the leftmost point of the rounded end
    EXPECT_EQ(Pixel(pressed, 40, 0), dark);
    EXPECT_EQ(Pixel(pressed, 40, 23), light);
    // The text sits in the middle in the button text colour.
    int text = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 10; x < 62; ++x)
            text += Pixel(normal, x, y) == System(COLOR_BTNTEXT);
    EXPECT_GT(text, 10);
}

TEST_F(Buttons, DisabledRegionButtonShowsItsEmbossedImage) {
    CRegionButton* b =
        MakeRegionButton(parent.get(), CRegionButton::kVisible | CRegionButton::kDisabled);
    EXPECT_FALSE(b->isEnabled());
    QImage shown = b->grab().toImage();
    Save(shown, "region-disabled");
    EXPECT_EQ(Pixel(shown, 60, 5), Rgb(180, 180, 180));
    int shadow = 0, hilight = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 10; x < 62; ++x) {
            shadow += Pixel(shown, x, y) == System(COLOR_BTNSHADOW);
            QRgb c = Pixel(shown, x, y); // the light copy peeks out right and below
            hilight += qRed(c) > 215 && qGreen(c) > 215 && qBlue(c) > 215;
        }
    EXPECT_GT(shadow, 5);
    EXPECT_GT(hilight, 5);
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    QTest::mouseClick(parent->windowHandle(), Qt::LeftButton, {}, QPoint(10 + 40, 10 + 12));
    EXPECT_EQ(clicks.count(), 0);
}
} // namespace
