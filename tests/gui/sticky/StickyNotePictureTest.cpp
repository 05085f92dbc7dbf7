#include "StickyNoteFixture.h"

#include "core/platform/SystemMetrics.h"
#include "core/sticky/NoteColors.h"
#include "gui/platform/GdiPaint.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"

#include <QPlainTextEdit>

// Pictures of the four default schemes (between them the three border styles), saved under the
// build folder for looking at and compared with the references in tests/data/sticky/ (set
// JOTTERLY_UPDATE_REFERENCES=1 to rewrite them after an intended change of look).
namespace {
constexpr int kW = 240, kH = 160;

using Pixels::Rgb;
using Pixels::Sys;

class StickyNotePicture : public StickyNoteFixture {
protected:
    QImage Render(int scheme, bool onTop, const QString& name) {
        w = Open(scheme, "Scheme " + std::to_string(scheme + 1),
                 "Milk\r\nBread & butter\r\nCall Anna at 5");
        w->Note()->m_topMost = onTop ? 1 : 0;
        w->setGeometry(40, 40, kW, kH);
        w->TextEdit()->clearFocus(); // no text cursor in the picture
        w->TextEdit()->setReadOnly(true);
        return ImageCompare::Grab(w, "sticky", name);
    }
    CStickyNoteDlg* w = nullptr;
};

// The frames, the title bar and the back cover enough of a picture for the reference compare
// to see any change of them; the glyphs do not, and are checked here pixel by pixel.
TEST_F(StickyNotePicture, DefaultSchemesMatchTheirReferencesAndTheirLook) {
    const QRgb dark = Sys(COLOR_3DDKSHADOW);
    const int border[4] = {5, 4, 4, 2}; // Glow, Emboss, Emboss, Default
    for (int s = 0; s < 4; ++s) {
        SCOPED_TRACE(s);
        const QString name = QStringLiteral("scheme%1").arg(s + 1);
        const QImage img = Render(s, true, name);
        const CNoteGeometry& g = w->Geometry();
        const COLORREF back = w->Note()->m_backColor;
        const QRgb title = Rgb(TitleColorFor(back)), glyph = Rgb(GlyphColorFor(back));
        ASSERT_EQ(g.m_border, border[s]);
        if (g.m_border == 4) { // dash-grid close glyph
            for (auto d : g.EmbossDashes(kW)) {
                EXPECT_EQ(img.pixel(d.x, d.y), dark);
                EXPECT_EQ(img.pixel(d.x, d.y + 1), dark);
                EXPECT_EQ(img.pixel(d.x - 1, d.y), Sys(COLOR_BTNHIGHLIGHT));
            }
            EXPECT_EQ(img.pixel(g.EmbossDashes(kW)[0].x + 2, g.EmbossDashes(kW)[0].y), title);
        } else { // the filled arrowhead, with title bar beside its tip
            auto p = g.CloseGlyph(kW);
            EXPECT_EQ(img.pixel(p[1].x, (p[1].y + p[3].y) / 2), glyph);
            EXPECT_EQ(img.pixel(p[3].x, p[3].y), glyph);
            EXPECT_EQ(img.pixel(p[0].x, p[3].y), title);
        }
        if (g.m_border == 2) {
            // The title in the text colour over a black shadow (the bar is nowhere near as
            // dark).
            const RECT t = g.TitleTextRect(kW);
            const QRect band(t.left, t.top, 60, t.bottom - t.top + 1);
            EXPECT_GT(Pixels::CountNear(img, band, Rgb(w->Note()->m_textColor), 30), 20);
            EXPECT_GT(Pixels::CountNear(img, band, qRgb(0, 0, 0), 80), 20);
        }

        // Readable text: the strokes of the text carry the text colour, and it stands out from
        // the note's back at 4.5:1 or more.
        EXPECT_GT(
            Pixels::CountNear(img, w->TextEdit()->geometry(), Rgb(w->Note()->m_textColor), 40), 30);
        EXPECT_GE(ContrastRatio(GdiPaint::FromQColor(QColor(img.pixel(6, kH - 7))),
                                w->Note()->m_textColor),
                  kReadableContrast);
        ImageCompare::ExpectReference(img, w, "sticky", name);
    }
}

TEST_F(StickyNotePicture, PinBoxStatesPutADifferentSquareInFront) {
    const QImage on = Render(0, true, "scheme1-pinned"), off = Render(0, false, "scheme1-unpinned");
    const RECT big = w->Geometry().PinBoxBig(), small = w->Geometry().PinBoxSmall();
    const QRgb dark = Sys(COLOR_3DDKSHADOW), light = Sys(COLOR_3DLIGHT);
    const QRgb title = Rgb(TitleColorFor(w->Note()->m_backColor));
    for (const QImage& img : {on, off}) { // each square's outer frame is sunken
        EXPECT_EQ(img.pixel(big.right - 1, big.bottom - 1), light);
        EXPECT_EQ(img.pixel(small.left, small.top), dark);
    }
    EXPECT_EQ(on.pixel(small.left + 1, small.top + 1), light); // ... and its inner frame raised
    // On top the small square crosses the big one; otherwise the big one covers it.
    EXPECT_EQ(on.pixel(small.right - 1, big.top + 4), light);
    EXPECT_EQ(on.pixel(small.left + 3, small.top + 3), title);
    EXPECT_EQ(off.pixel(small.right - 1, big.top + 4), title);
    EXPECT_EQ(off.pixel(big.left, big.top + 4), dark);
}

} // namespace
