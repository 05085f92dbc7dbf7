// The tray menu, a note and a ringing note on a dark desktop palette, compared with their
// references in tests/data/look/. CTest runs this file again on a 2x screen
// (QT_SCALE_FACTOR=2), where every picture must be drawn at the screen's density: icons and
// captions sharp, not a 1x picture blown up.
#include "gui/sticky/StickyNoteFixture.h"

#include "core/alarms/RingingCount.h"
#include "core/app/TrayIds.h"
#include "core/platform/Clock.h"
#include "core/platform/SystemMetrics.h"
#include "gui/app/CTrayMenuWnd.h"
#include "gui/platform/ResourceImages.h"
#include "gui/platform/SystemColors.h"
#include "gui/sticky/CRingingRow.h"
#include "gui/support/DarkPalette.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyleOptionButton>

namespace {

class DesktopLook : public StickyNoteFixture {
protected:
    void SetUp() override {
        StickyNoteFixture::SetUp();
        QApplication::setPalette(DarkPalette());
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
    }
    void TearDown() override {
        if (menu) menu->hide();
        StickyNoteFixture::TearDown();
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    static QImage Grab(QWidget* w, const QString& name) {
        return ImageCompare::Grab(w, "look", name);
    }

    TestEnv env;
    std::unique_ptr<CTrayMenuWnd> menu;
};

TEST_F(DesktopLook, TrayMenuPictureFollowsTheDarkPaletteWithSharpIcons) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    CTrayMenu model;
    CTrayMenuWnd::ApplyFontMetrics(model, font);
    model.Build(tray);
    menu = std::make_unique<CTrayMenuWnd>(std::move(model), font);
    menu->Popup(QPoint(40, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.get()));
    const int options = menu->IndexOfData(TrayId::CmdOptions);
    QTest::mouseMove(menu.get(), menu->ItemRect(menu->IndexOfData(TrayId::CmdNewNote)).center());
    const QImage img = Grab(menu.get(), "tray-menu-dark");
    const qreal dpr = menu->devicePixelRatioF();
    ASSERT_EQ(img.width(), qRound(menu->width() * dpr));

    // The menu's own colour and its text come from the palette: light text on the dark fill.
    const QRect r = menu->ItemRect(options);
    EXPECT_EQ(Pixels::At(img, r.right() - 4, r.center().y(), dpr), Pixels::Sys(COLOR_MENU));
    int light = 0;
    for (int y = qRound(r.top() * dpr); y < qRound(r.bottom() * dpr); ++y)
        for (int x = qRound((r.left() + CTrayMenu::kTextLeft) * dpr);
             x < qRound(r.center().x() * dpr); ++x)
            light += qGray(img.pixel(x, y)) > 170;
    EXPECT_GT(light, 15 * dpr * dpr) << "the item text does not stand out";

    // The icon is the SVG drawn at the screen's pixels, exactly.
    QImage icon =
        ResourceImages::Pixmap(QStringLiteral(":/icons/%1.svg").arg(227), QSize(16, 16), dpr)
            .toImage();
    icon.setDevicePixelRatio(1); // compared pixel for pixel
    QImage drawn(icon.size(), QImage::Format_ARGB32);
    drawn.fill(SystemColors::Get(COLOR_MENU));
    {
        QPainter p(&drawn);
        p.drawImage(0, 0, icon.convertToFormat(QImage::Format_ARGB32));
    }
    const QRect iconRect(qRound((r.left() + CTrayMenu::kIconLeft) * dpr),
                         qRound((r.top() + (r.height() - CTrayMenu::kIconSize) / 2) * dpr),
                         icon.width(), icon.height());
    EXPECT_LT(ImageCompare::DifferentShare(img.copy(iconRect), drawn, 24), 0.02);
    ImageCompare::ExpectReference(img, menu.get(), QStringLiteral("look"),
                                  QStringLiteral("tray-menu-dark"));

    // Any icon at any density comes from its source, not from a smaller picture blown up
    // (the logo of the about box is 48 pixels: 96 on a 200 % screen, 72 at 150 %).
    for (qreal scale : {1.5, 2.0}) {
        const QPixmap big = ResourceImages::Icon(213).pixmap(QSize(48, 48), scale);
        EXPECT_EQ(big.size(), QSize(48, 48) * scale);
        QImage direct =
            ResourceImages::Pixmap(QStringLiteral(":/icons/213.svg"), QSize(48, 48), scale)
                .toImage();
        EXPECT_LT(ImageCompare::DifferentShare(big.toImage(), direct, 8), 0.001) << scale;
    }
}

TEST_F(DesktopLook, NotePictureKeepsItsColoursAndFramesFromThePalette) {
    CStickyNoteDlg* w = Open(2, "Shopping", "Milk\r\nBread & butter");
    w->setGeometry(40, 40, 240, 160);
    w->TextEdit()->clearFocus();
    w->TextEdit()->setReadOnly(true);
    const QImage img = Grab(w, "note-dark");
    const qreal dpr = w->devicePixelRatioF();
    // The note's own back colour inside; the raised outer frame in the palette's 3-D colours.
    EXPECT_EQ(img.pixel(qRound(6 * dpr), qRound(150 * dpr)), qRgb(216, 216, 216));
    EXPECT_EQ(Pixels::At(img, 0, 80, dpr), Pixels::Sys(COLOR_3DLIGHT));
    ImageCompare::ExpectReference(img, w, QStringLiteral("look"), QStringLiteral("note-dark"));
}

TEST_F(DesktopLook, RingingRowPicture) {
    CNote& n = NoteBuilder().Title("Dentist").Text("Bring the X-rays").AddTo(tray.Store());
    tray.settings().ApplyScheme(n, 0);
    n.m_startTime = Clock::Now() - COleDateTimeSpan(0, 0, 0, 1);
    n.Recompute();
    tray.Alarms().CheckAlarms();
    CStickyNoteDlg* w = Window(n);
    ASSERT_TRUE(w && w->IsRinging());
    w->TextEdit()->clearFocus();
    const QImage img = Grab(w, "ringing-dark");
    ImageCompare::ExpectReference(img, w, QStringLiteral("look"), QStringLiteral("ringing-dark"));
}

} // namespace
