#include "core/platform/SystemMetrics.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "gui/widgets/CHoverButton.h"
#include "gui/widgets/CRegionButton.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
const QRgb kParent = qRgb(10, 200, 10), kFill = qRgb(160, 160, 220);

using Pixels::Sys;
// Saved under the build folder for looking at.
QImage Grab(QWidget* w, const QString& name) {
    return ImageCompare::Keep(w->grab().toImage(), "manager", name);
}

// Buttons on a shown green parent window that real pointer events go through.
class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
        parent.setGeometry(50, 50, 200, 100);
        parent.setAutoFillBackground(true);
        parent.setPalette(QPalette(QColor(kParent)));
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }
    QWindow* Win() { return parent.windowHandle(); }
    void Move(QPoint at) { QTest::mouseMove(Win(), at); }
    CHoverButton* Hover(int flags, QRect at) {
        auto* b = new CHoverButton(&parent);
        b->setGeometry(at);
        b->SetFlags(flags);
        b->show();
        return b;
    }
    // The left end of the manager's rounded button row (a rectangle joined to a circle), its
    // bounding box at (10, 10).
    CRegionButton* Region(int style = CRegionButton::kVisible) {
        auto* b = new CRegionButton;
        const QRegion end = QRegion(11, 0, 61, 24) | QRegion(0, 0, 24, 24, QRegion::Ellipse);
        EXPECT_TRUE(b->Create("Update", style, 10, 10, end.translated(5, 7), &parent, 1021, 1,
                              RGB(160, 160, 220), RGB(120, 120, 200), RGB(190, 190, 240),
                              RGB(180, 180, 180)));
        return b;
    }
    QWidget parent;
};

TEST_F(Buttons, HoverFrameFollowsThePointerAndPressesSunken) {
    auto* b = Hover(CHoverButton::TextButton | CHoverButton::HoverFrame, QRect(20, 20, 40, 24));
    b->SetBackColor(RGB(200, 200, 200));
    QSignalSpy clicks(b, &QAbstractButton::clicked);
    const QRgb back = qRgb(200, 200, 200), light = Sys(COLOR_BTNHIGHLIGHT);
    Move(QPoint(150, 80));
    EXPECT_EQ(Pixels::At(Grab(b, "hover-off"), 1, 1), back);
    Move(QPoint(40, 30));
    EXPECT_TRUE(b->IsHover());
    const QImage hover = Grab(b, "hover-on");
    EXPECT_EQ(Pixels::At(hover, 1, 1), light);
    EXPECT_EQ(Pixels::At(hover, 38, 22), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixels::At(hover, 0, 0), back); // no black outline without the always-framed flag
    QTest::mousePress(Win(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(Pixels::At(Grab(b, "hover-pressed"), 1, 1), Sys(COLOR_BTNSHADOW));
    QTest::mouseRelease(Win(), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(clicks.count(), 1);
    Move(QPoint(150, 80));
    EXPECT_FALSE(b->IsHover());
    EXPECT_EQ(Pixels::At(Grab(b, "hover-left"), 1, 1), back);
}

TEST_F(Buttons, AlwaysFramedTextButtonHasItsTextShadowAndItsSizeFromTheHeight) {
    auto* b = Hover(0x51, QRect(20, 20, 54, 23)); // the ringing note's OK
    b->SetCaption("OK", RGB(255, 255, 128), 0);
    b->SetBackColor(RGB(253, 82, 0));
    Move(QPoint(150, 80));
    const QImage img = Grab(b, "ok-button");
    EXPECT_EQ(Pixels::At(img, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(Pixels::At(img, 53, 22), qRgb(0, 0, 0));
    EXPECT_EQ(Pixels::At(img, 1, 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixels::At(img, 52, 21), Sys(COLOR_BTNSHADOW));
    const QRect inside(3, 3, 48, 17);
    EXPECT_GT(
        Pixels::CountIf(img, inside,
                        [](QRgb c) { return qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) < 170; }),
        10);
    EXPECT_GT(Pixels::CountNear(img, inside, qRgb(0, 0, 0), 70), 10); // its shadow

    b->resize(60, 20); // point size 0: three fifths of the height
    EXPECT_EQ(b->CaptionPointSize(), 120);
    b->resize(60, 14);
    EXPECT_EQ(b->CaptionPointSize(), 80);
    b->SetCaption("OK", 0, 90);
    EXPECT_EQ(b->CaptionPointSize(), 90);
}

TEST_F(Buttons, DisabledButtonsLookGreyedAndIgnoreThePointer) {
    auto* icon = Hover(CHoverButton::IconButton | CHoverButton::HoverFrame, QRect(20, 20, 28, 26));
    icon->SetIcons(1, 20, 20, 233);
    auto* text = Hover(CHoverButton::TextButton, QRect(100, 20, 60, 24));
    text->SetCaption("OK", RGB(255, 0, 0), 0);
    auto colourful = [](const QImage& img) {
        return Pixels::CountIf(img, img.rect(),
                               [](QRgb c) { return QColor(c).hsvSaturation() > 80; });
    };
    Move(QPoint(190, 90));
    const QImage enabledIcon = Grab(icon, "icon-enabled");
    ASSERT_GT(colourful(enabledIcon), 5);
    ASSERT_GT(colourful(Grab(text, "text-enabled")), 5);
    icon->setEnabled(false);
    text->setEnabled(false);
    Move(QPoint(34, 33)); // over the greyed icon: no hover frame
    const QImage greyIcon = Grab(icon, "icon-disabled");
    EXPECT_NE(greyIcon, enabledIcon);
    EXPECT_EQ(colourful(greyIcon), 0);
    EXPECT_EQ(Pixels::At(greyIcon, 1, 1), Pixels::At(enabledIcon, 1, 1));
    const QImage greyText = Grab(text, "text-disabled");
    EXPECT_EQ(colourful(greyText), 0);
    EXPECT_GT(Pixels::Count(greyText, greyText.rect(), Sys(COLOR_BTNSHADOW)), 10); // embossed
}

TEST_F(Buttons, RegionButtonReactsOnlyInsideItsRegionAndCountsBothClicksOfADoubleClick) {
    CRegionButton* b = Region();
    EXPECT_EQ(b->geometry(), QRect(10, 10, 72, 24));
    EXPECT_FALSE(b->Create("x", 0, 0, 0, QRegion(), &parent, 1, 1, 0, 0, 0, 0));
    // The top-left and bottom-left corners of the box lie outside the rounded end.
    ASSERT_FALSE(b->Region().contains(QPoint(1, 1)));
    for (auto [at, inside] :
         {std::pair{QPoint(11, 11), false}, {QPoint(50, 22), true}, {QPoint(11, 32), false}}) {
        Move(at);
        EXPECT_EQ(b->IsHover(), inside) << at.x() << "," << at.y();
    }
    const QImage img = Grab(&parent, "region-button");
    EXPECT_EQ(Pixels::At(img, 11, 11), kParent);
    EXPECT_EQ(Pixels::At(img, 18, 15), kFill);

    QSignalSpy clicks(b, &QAbstractButton::clicked);
    QTest::mouseDClick(Win(), Qt::LeftButton, {}, QPoint(50, 22));
    EXPECT_EQ(clicks.count(), 2);
    QTest::mousePress(Win(), Qt::LeftButton, {}, QPoint(50, 22)); // released outside: no click
    QTest::mouseMove(Win(), QPoint(11, 11));
    EXPECT_FALSE(b->isDown());
    QTest::mouseRelease(Win(), Qt::LeftButton, {}, QPoint(11, 11));
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(Buttons, RegionButtonStateImagesAndBevel) {
    CRegionButton* b = Region();
    const QImage normal = b->StateImage(CRegionButton::Normal);
    const QImage pressed = b->StateImage(CRegionButton::Pressed);
    EXPECT_EQ(normal.size(), QSize(72, 24));
    EXPECT_EQ(Pixels::At(normal, 0, 0), qRgb(0, 0, 0)); // outside the region
    EXPECT_EQ(Pixels::At(normal, 60, 5), kFill);
    EXPECT_EQ(Pixels::At(b->StateImage(CRegionButton::Hover), 60, 5), qRgb(190, 190, 240));
    EXPECT_EQ(Pixels::At(pressed, 60, 5), qRgb(120, 120, 200));
    // Light along the top and the round end, dark along the bottom and right; pressed inverts.
    const QRgb light = Sys(COLOR_BTNHIGHLIGHT), dark = Sys(COLOR_BTNSHADOW);
    EXPECT_EQ(Pixels::At(normal, 40, 0), light);
    EXPECT_EQ(Pixels::At(normal, 40, 23), dark);
    EXPECT_EQ(Pixels::At(pressed, 40, 0), dark);
    EXPECT_EQ(Pixels::At(pressed, 40, 23), light);

    // Disabled: its own fill, the text embossed (shadow with a light copy beside), no clicks.
    b->hide();
    CRegionButton* off = Region(CRegionButton::kVisible | CRegionButton::kDisabled);
    const QImage shown = Grab(off, "region-disabled");
    EXPECT_EQ(Pixels::At(shown, 60, 5), qRgb(180, 180, 180));
    const QRect caption(10, 4, 52, 16);
    EXPECT_GT(Pixels::Count(normal, caption, Sys(COLOR_BTNTEXT)), 10);
    EXPECT_GT(Pixels::Count(shown, caption, dark), 5);
    EXPECT_GT(Pixels::CountNear(shown, caption, qRgb(255, 255, 255), 40), 5);
    QSignalSpy clicks(off, &QAbstractButton::clicked);
    QTest::mouseClick(Win(), Qt::LeftButton, {}, QPoint(50, 22));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(Buttons, BothKindsAreNamedButtonsThatTheKeyboardPressesVisibly) {
    CHoverButton* icon =
        Hover(CHoverButton::IconButton | CHoverButton::HoverFrame, QRect(10, 50, 30, 30));
    icon->SetIcons(1, 16, 16, 214);
    icon->setToolTip(QStringLiteral("Help"));
    CRegionButton* region = Region();
    parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&parent));
    int clicks = 0;
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{icon, region}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::Button);
        // A picture-only button is named by its tip.
        EXPECT_EQ(a->text(QAccessible::Name), b == icon ? "Help" : "Update");
        QObject::connect(b, &QAbstractButton::clicked, [&] { ++clicks; });

        // Reached by Tab and shown as having the keyboard; Return and Space press it.
        b->clearFocus();
        const QImage before = b->grab().toImage();
        b->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(b->hasFocus());
        EXPECT_GT(ImageCompare::DifferentShare(before, b->grab().toImage(), 20), 0.0)
            << "no focus mark";
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(b, Qt::Key_Space);
    }
    EXPECT_EQ(clicks, 4);
}
} // namespace
