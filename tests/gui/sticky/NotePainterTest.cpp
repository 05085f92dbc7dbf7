// The note's own drawing on a plain image, without a window.
#include "StickyNoteFixture.h"

#include "core/platform/SystemMetrics.h"
#include "core/sticky/NoteColors.h"
#include "gui/platform/FontConverter.h"
#include "gui/platform/SystemColors.h"
#include "gui/sticky/CNotePainter.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"

#include <QPainter>
#include <QPlainTextEdit>

namespace {
using Pixels::Rgb;

CNotePainter::Look LookOf(const CNote& n) {
    CNotePainter::Look look;
    look.back = n.m_backColor;
    look.text = n.m_textColor;
    look.borderStyle = n.m_borderStyle;
    look.title = QString::fromStdString(n.m_title);
    look.font = FontConverter::ToQFont(n.m_font);
    look.pinState = n.m_topMost ? 1 : 0;
    look.system = CNotePainter::Colors3d::FromPalette();
    return look;
}

QImage Paint(const CNoteGeometry& g, QSize size, const CNotePainter::Look& look) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::magenta); // anything left unpainted shows
    QPainter p(&img);
    CNotePainter::Paint(p, g, size, look);
    return img;
}

using NotePainter = StickyNoteFixture;

TEST_F(NotePainter, AnImageGetsThePictureTheWindowShows) {
    for (int scheme = 0; scheme < 4; ++scheme) {
        SCOPED_TRACE(scheme);
        CStickyNoteDlg* w = Open(scheme, "Scheme picture");
        w->setGeometry(40, 40, 240, 160);
        const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage painted = Paint(w->Geometry(), w->size(), LookOf(*w->Note()));
        const QRect text = w->TextEdit()->geometry();
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (!text.contains(x, y)) differing += shown.pixel(x, y) != painted.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(NotePainter, RingingLookHasTheRuleAndFlashesOnlyThePinBox) {
    CStickyNoteDlg* w = Open(0, "Ringing");
    const CNoteGeometry& g = w->Geometry();
    const QSize size(234, 208);
    CNotePainter::Look look = LookOf(*w->Note());
    look.ruleY = 140;
    const COLORREF back = w->Note()->m_backColor;
    QImage pictures[3];
    for (int state : {-1, 0, 1}) {
        look.pinState = state;
        pictures[state + 1] = Paint(g, size, look);
    }
    ImageCompare::Keep(pictures[0], "sticky", "painter-ringing-before-flash");

    // The rule: one pixel high in the glyph colour, inside the frame only.
    const QImage& img = pictures[0];
    const int b = g.m_border;
    EXPECT_EQ(img.pixel(b + 1, 140), Rgb(GlyphColorFor(back)));
    EXPECT_EQ(img.pixel(size.width() - b - 2, 140), Rgb(GlyphColorFor(back)));
    EXPECT_EQ(img.pixel(b, 140), img.pixel(b, 150)); // the frame, not the rule
    EXPECT_EQ(img.pixel(60, 139), Rgb(back));
    EXPECT_EQ(img.pixel(60, 141), Rgb(back));

    // Before the first flash the pin box is plain title bar; the flashes differ only there.
    const QRect pin(0, 0, g.m_titleHeight, g.m_titleHeight);
    const QRgb title = Rgb(TitleColorFor(back));
    const RECT big = g.PinBoxBig();
    EXPECT_EQ(pictures[0].pixel(big.left, big.top), title);
    EXPECT_EQ(pictures[1].pixel(big.left, big.top), SystemColors::Get(COLOR_3DDKSHADOW).rgb());
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j) {
            EXPECT_NE(pictures[i].copy(pin), pictures[j].copy(pin)) << i << j;
            QImage a = pictures[i], c = pictures[j];
            QPainter(&a).fillRect(pin, Qt::black);
            QPainter(&c).fillRect(pin, Qt::black);
            EXPECT_EQ(a, c) << i << j;
        }
}
} // namespace
