#include "StickyNoteFixture.h"

#include "gui/support/ImageCompare.h"
#include "platform/SystemColors.h"
#include "platform/SystemMetrics.h"
#include "sticky/NoteColors.h"

#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QPlainTextEdit>
#include <cstdlib>

// Pictures of the note windows: every default scheme (between them the three border styles),
// both pin box states. Each render is saved under the build folder for looking at; the four
// schemes are also compared with reference pictures kept under tests/data/sticky/ (set
// JOTTERLY_UPDATE_REFERENCES=1 to rewrite them after an intended change of look).
namespace {
constexpr int kWidth = 240, kHeight = 160;

// Colours compared as 8-bit RGB (palette colours carry 16-bit channels).
QRgb Colour(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}
QRgb Rgb(int r, int g, int b) {
    return qRgb(r, g, b);
}
QRgb System(int id) {
    return SystemColors::Get(id).rgb();
}
QRgb Pixel(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}

QString OutputDir() {
    QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output/sticky");
    QDir().mkpath(dir);
    return dir;
}

class StickyNotePicture : public StickyNoteFixture {
protected:
    QImage Render(int scheme, bool onTop, const QString& name) {
        CStickyNoteDlg* w = Open(scheme, "Scheme " + std::to_string(scheme + 1),
                                 "Milk\r\nBread & butter\r\nCall Anna at 5");
        w->Note()->m_topMost = onTop ? 1 : 0;
        w->setGeometry(40, 40, kWidth, kHeight);
        w->TextEdit()->clearFocus(); // no text cursor in the picture
        w->TextEdit()->setReadOnly(true);
        m_window = w;
        QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        img.save(OutputDir() + "/" + name + ".png");
        return img;
    }
    CStickyNoteDlg* m_window = nullptr;
};

TEST_F(StickyNotePicture, TheNoteFontIsArialOrItsMetricTwin) {
    CStickyNoteDlg* w = Open();
    QString family = QFontInfo(w->NoteFont()).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
}

TEST_F(StickyNotePicture, GlowSchemeHasItsFiveFramesAndArrowGlyph) {
    QImage img = Render(0, true, "scheme1");
    const CNoteGeometry& g = m_window->Geometry();
    ASSERT_EQ(g.m_border, 5);
    auto glow = GlowFrameColors(RGB(102, 0, 102));
    // Down the left edge and along the top edge, over the title bar too.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Pixel(img, i, 80), Colour(glow[i])) << i;
        EXPECT_EQ(Pixel(img, 120, i), Colour(glow[i])) << i;
        EXPECT_EQ(Pixel(img, kWidth - 1 - i, 80), Colour(glow[i])) << i;
    }
    EXPECT_EQ(Pixel(img, 0, 80), Rgb(209, 178, 209));
    // Title bar colour beyond the title text, and the note colour below it.
    EXPECT_EQ(Pixel(img, kWidth - g.m_titleHeight - g.m_border - 3, g.m_titleHeight / 2),
              Rgb(127, 63, 127));
    EXPECT_EQ(Pixel(img, 6, kHeight - 7), Rgb(102, 0, 102));
    // The arrowhead, filled in the glyph colour.
    auto p = g.CloseGlyph(kWidth);
    EXPECT_EQ(Pixel(img, p[1].x, (p[1].y + p[3].y) / 2), Rgb(158, 140, 158));
    EXPECT_EQ(Pixel(img, p[3].x, p[3].y), Rgb(158, 140, 158));
    // Outside the arrowhead beside its tip: title bar.
    EXPECT_EQ(Pixel(img, p[0].x, p[3].y), Rgb(127, 63, 127));
}

TEST_F(StickyNotePicture, PinBoxStatesPutADifferentSquareInFront) {
    QImage on = Render(0, true, "scheme1-pinned");
    QImage off = Render(0, false, "scheme1-unpinned");
    const CNoteGeometry& g = m_window->Geometry();
    const QRect big(g.PinBoxBig().left, g.PinBoxBig().top, g.PinBoxBig().Width(),
                    g.PinBoxBig().Height());
    const QRect small(g.PinBoxSmall().left, g.PinBoxSmall().top, g.PinBoxSmall().Width(),
                      g.PinBoxSmall().Height());
    const QRgb dark = System(COLOR_3DDKSHADOW);
    const QRgb light = System(COLOR_3DLIGHT);
    const QRgb title = Rgb(127, 63, 127);
    // Both: the outer frame of each square is sunken (dark top-left, light bottom-right)...
    for (const QImage& img : {on, off}) {
        EXPECT_EQ(Pixel(img, big.right(), big.bottom()), light);
        EXPECT_EQ(Pixel(img, small.left(), small.top()), dark);
    }
    // ... and its inner frame raised.
    EXPECT_EQ(Pixel(on, small.left() + 1, small.top() + 1), light);
    // On top: the small square's right side crosses the big one.
    EXPECT_EQ(Pixel(on, small.right(), big.top() + 4), light);
    EXPECT_EQ(Pixel(on, small.left() + 3, small.top() + 3), title);
    // Not on top: the big square covers that part of the small one.
    EXPECT_EQ(Pixel(off, small.right(), big.top() + 4), title);
    EXPECT_EQ(Pixel(off, big.left(), big.top() + 4), dark);
}

TEST_F(StickyNotePicture, EmbossSchemesHaveDashGlyphAndSunkenInnerFrame) {
    for (int scheme : {1, 2}) {
        SCOPED_TRACE(scheme);
        QImage img = Render(scheme, true, QStringLiteral("scheme%1").arg(scheme + 1));
        const CNoteGeometry& g = m_window->Geometry();
        ASSERT_EQ(g.m_border, 4);
        const QRgb dark = System(COLOR_3DDKSHADOW);
        const QRgb light3d = System(COLOR_3DLIGHT);
        const QRgb hilight = System(COLOR_BTNHIGHLIGHT);
        auto dashes = g.EmbossDashes(kWidth);
        ASSERT_EQ(dashes.size(), 9u);
        for (auto d : dashes) {
            EXPECT_EQ(Pixel(img, d.x, d.y), dark);
            EXPECT_EQ(Pixel(img, d.x, d.y + 1), dark);
            EXPECT_EQ(Pixel(img, d.x - 1, d.y), hilight);
        }
        const QRgb titleColour = Colour(TitleColorFor(m_window->Note()->m_backColor));
        EXPECT_EQ(Pixel(img, dashes[0].x + 2, dashes[0].y), titleColour); // between dashes
        // Raised outer frame, sunken inner frame starting at the title bar's bottom.
        EXPECT_EQ(Pixel(img, 0, 80), light3d);
        EXPECT_EQ(Pixel(img, kWidth - 1, 80), dark);
        EXPECT_EQ(Pixel(img, 3, 80), dark);
        EXPECT_EQ(Pixel(img, 60, g.m_titleHeight), dark);
        EXPECT_EQ(Pixel(img, kWidth - 4, 80), light3d);
        EXPECT_EQ(Pixel(img, 60, kHeight - 4), light3d);
    }
}

TEST_F(StickyNotePicture, DefaultSchemeHasOneRaisedFrame) {
    QImage img = Render(3, true, "scheme4");
    const CNoteGeometry& g = m_window->Geometry();
    ASSERT_EQ(g.m_border, 2);
    const QRgb dark = System(COLOR_3DDKSHADOW);
    const QRgb light = System(COLOR_3DLIGHT);
    EXPECT_EQ(Pixel(img, 0, 80), light);
    EXPECT_EQ(Pixel(img, 120, 0), light);
    EXPECT_EQ(Pixel(img, kWidth - 1, 80), dark);
    EXPECT_EQ(Pixel(img, 120, kHeight - 1), dark);
    EXPECT_EQ(Pixel(img, 1, 80), Rgb(255, 0, 128)); // no second frame
    EXPECT_EQ(Pixel(img, kWidth - g.m_titleHeight - g.m_border - 3, g.m_titleHeight / 2),
              Rgb(191, 63, 158));
    auto p = g.CloseGlyph(kWidth);
    EXPECT_EQ(Pixel(img, p[1].x, (p[1].y + p[3].y) / 2), Rgb(114, 140, 196));
}

TEST_F(StickyNotePicture, TitleHasABlackShadowUnderTheTextColour) {
    QImage img = Render(3, true, "scheme4-title");
    const CNoteGeometry& g = m_window->Geometry();
    RECT t = g.TitleTextRect(kWidth);
    // Text-coloured pixels, and dark ones from the shadow one pixel right and down (the
    // back colour and the title bar have no dark channel-wise minimum like that).
    int text = 0, shadow = 0;
    for (int y = t.top; y <= t.bottom; ++y)
        for (int x = t.left; x < t.left + 60; ++x) {
            QRgb c = Pixel(img, x, y);
            if (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 170) ++text;
            if (qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80) ++shadow;
        }
    EXPECT_GT(text, 20);
    EXPECT_GT(shadow, 20);
}

TEST_F(StickyNotePicture, DefaultSchemesMatchTheirReferencePictures) {
    const bool update = std::getenv("JOTTERLY_UPDATE_REFERENCES") != nullptr;
    for (int scheme = 0; scheme < 4; ++scheme) {
        SCOPED_TRACE(scheme);
        QImage img = Render(scheme, true, QStringLiteral("scheme%1").arg(scheme + 1));
        QString ref = QStringLiteral(JOTTERLY_TEST_DATA "/sticky/scheme%1.png").arg(scheme + 1);
        if (update) {
            QDir().mkpath(QStringLiteral(JOTTERLY_TEST_DATA "/sticky"));
            ASSERT_TRUE(img.save(ref));
            continue;
        }
        QImage expected(ref);
        ASSERT_FALSE(expected.isNull()) << "missing " << ref.toStdString();
        expected = expected.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(expected.size(), img.size());
        EXPECT_LT(ImageCompare::DifferentShare(expected, img), 0.005);
    }
}

TEST_F(StickyNotePicture, RolledUpNoteShowsOnlyItsTitleBar) {
    CStickyNoteDlg* w = Open(0, "Rolled", "hidden text");
    w->setGeometry(40, 40, kWidth, kHeight);
    QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, QPoint(100, 12));
    ASSERT_TRUE(w->IsRolledUp());
    QImage img = w->grab().toImage();
    img.save(OutputDir() + "/scheme1-rolled.png");
    EXPECT_EQ(img.size(), QSize(kWidth, w->Geometry().RolledHeight()));
    auto glow = GlowFrameColors(RGB(102, 0, 102));
    EXPECT_EQ(Pixel(img, 120, img.height() - 1), Colour(glow[0]));
}
} // namespace
