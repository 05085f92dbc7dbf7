#include "sticky/CNoteGeometry.h"
#include "sticky/NoteTemplate.h"

#include <gtest/gtest.h>

namespace {
// Border 2 (style Default) and an "fg" height of 15 pixels: title bar 20 pixels high.
CNoteGeometry Geometry(int style = CNoteGeometry::StyleDefault, bool countdown = false) {
    CNoteGeometry g;
    g.m_border = CNoteGeometry::BorderFor(style);
    g.SetTitleTextHeight(15);
    g.m_countdownHeight = 16;
    g.m_countdownShown = countdown;
    return g;
}

TEST(CNoteGeometry, BorderAndTitleHeightFollowTheStyle) {
    EXPECT_EQ(CNoteGeometry::BorderFor(0), 2);
    EXPECT_EQ(CNoteGeometry::BorderFor(1), 4);
    EXPECT_EQ(CNoteGeometry::BorderFor(2), 5);
    EXPECT_EQ(CNoteGeometry::BorderFor(7), 2); // unknown styles draw like Default
    EXPECT_EQ(Geometry(0).m_titleHeight, 20);
    EXPECT_EQ(Geometry(1).m_titleHeight, 24);
    EXPECT_EQ(Geometry(2).m_titleHeight, 26);
}

TEST(CNoteGeometry, RolledHeightCountsTheCountdownLine) {
    CNoteGeometry g = Geometry();
    EXPECT_EQ(g.RolledHeight(), 22);
    EXPECT_EQ(g.MinWidth(), 66);
    EXPECT_EQ(g.UnrollMinHeight(), 46);
    EXPECT_TRUE(g.IsRolledUp(22));
    EXPECT_FALSE(g.IsRolledUp(23));
    g.m_countdownShown = true;
    EXPECT_EQ(g.RolledHeight(), 40);
    EXPECT_EQ(g.MinWidth(), 120);
}

TEST(CNoteGeometry, BoxesAndStripHaveExactEdges) {
    CNoteGeometry g = Geometry();
    EXPECT_FALSE(g.InPinBox(0, 5));
    EXPECT_TRUE(g.InPinBox(1, 5));
    EXPECT_TRUE(g.InPinBox(19, 19));
    EXPECT_FALSE(g.InPinBox(20, 5));
    EXPECT_FALSE(g.InPinBox(5, 20));

    // Close box: 180 < x < 198, 2 < y < 20 for a client 200 wide.
    EXPECT_TRUE(g.InCloseBox(181, 3, 200));
    EXPECT_TRUE(g.InCloseBox(197, 19, 200));
    EXPECT_FALSE(g.InCloseBox(180, 10, 200));
    EXPECT_FALSE(g.InCloseBox(198, 10, 200));
    EXPECT_FALSE(g.InCloseBox(190, 2, 200));
    EXPECT_FALSE(g.InCloseBox(190, 20, 200));

    // Caption strip: 21 < x < 182, y < 21; its last pixel column overlaps the close box.
    EXPECT_TRUE(g.InCaptionStrip(22, 0, 200));
    EXPECT_TRUE(g.InCaptionStrip(181, 20, 200));
    EXPECT_FALSE(g.InCaptionStrip(21, 5, 200));
    EXPECT_FALSE(g.InCaptionStrip(182, 5, 200));
    EXPECT_FALSE(g.InCaptionStrip(100, 21, 200));

    EXPECT_EQ(g.TitleTextRect(200), (RECT{23, 2, 178, 19}));
}

TEST(CNoteGeometry, HitTestPutsSizingBordersBeforeTheCaption) {
    CNoteGeometry g = Geometry();
    auto hit = [&](int x, int y, bool ringing = false) {
        return g.HitTest(x, y, 200, 150, ringing, 5, 5);
    };
    EXPECT_EQ(hit(0, 0), NoteHit::TopLeft);
    EXPECT_EQ(hit(4, 4), NoteHit::TopLeft);
    EXPECT_EQ(hit(5, 4), NoteHit::Top);
    EXPECT_EQ(hit(199, 0), NoteHit::TopRight);
    EXPECT_EQ(hit(195, 75), NoteHit::Right);
    EXPECT_EQ(hit(194, 75), NoteHit::Client);
    EXPECT_EQ(hit(0, 149), NoteHit::BottomLeft);
    EXPECT_EQ(hit(199, 145), NoteHit::BottomRight);
    EXPECT_EQ(hit(100, 145), NoteHit::Bottom);
    EXPECT_EQ(hit(100, 144), NoteHit::Client);
    EXPECT_EQ(hit(100, 10), NoteHit::Caption);
    EXPECT_EQ(hit(10, 10), NoteHit::Client); // the pin box
    // A ringing window has no sizing borders: its top band drags.
    EXPECT_EQ(hit(100, 2), NoteHit::Top);
    EXPECT_EQ(hit(100, 2, true), NoteHit::Caption);
    EXPECT_EQ(hit(0, 0, true), NoteHit::Client);
    EXPECT_EQ(hit(100, 149, true), NoteHit::Client);
}

TEST(CNoteGeometry, LayoutPlacesTextAndCountdown) {
    CNoteGeometry g = Geometry();
    NoteLayout plain = g.Layout(200, 150, false, 234, 159);
    EXPECT_TRUE(plain.textVisible);
    EXPECT_FALSE(plain.countdownVisible);
    EXPECT_EQ(plain.textRect, (RECT{3, 23, 197, 147}));

    g.m_countdownShown = true;
    NoteLayout withLine = g.Layout(200, 150, false, 234, 159);
    EXPECT_TRUE(withLine.countdownVisible);
    EXPECT_EQ(withLine.countdownRect, (RECT{3, 132, 197, 148}));
    EXPECT_EQ(withLine.textRect, (RECT{3, 23, 197, 131}));

    // Rolled up: the line sits right under the title bar and the text is hidden.
    NoteLayout rolled = g.Layout(200, g.RolledHeight(), false, 234, 159);
    EXPECT_FALSE(rolled.textVisible);
    EXPECT_TRUE(rolled.countdownVisible);
    EXPECT_EQ(rolled.countdownRect, (RECT{3, 21, 197, 37}));

    // Ringing: the text fills the space down to the remind row, whatever the client size.
    NoteLayout ringing = g.Layout(50, 30, true, 234, 159);
    EXPECT_TRUE(ringing.textVisible);
    EXPECT_FALSE(ringing.countdownVisible);
    EXPECT_EQ(ringing.textRect, (RECT{2, 22, 232, 157}));

    // Degenerate sizes give empty rectangles, never negative ones.
    g.m_countdownShown = false;
    NoteLayout tiny = g.Layout(4, 23, false, 234, 159);
    EXPECT_GE(tiny.textRect.Width(), 0);
    EXPECT_GE(tiny.textRect.Height(), 0);
}

TEST(CNoteGeometry, SizingSnapsWidthAndRollsUpAtTheTitle) {
    CNoteGeometry g = Geometry();
    RECT home{0, 0, 234, 208};

    NoteSizing narrow = g.Sizing(RECT{100, 100, 150, 300}, false, home);
    EXPECT_EQ(narrow.rect, (RECT{100, 100, 166, 300})); // 3 x RolledHeight, right edge moved
    EXPECT_TRUE(narrow.storeFirstRect);
    EXPECT_TRUE(narrow.textEnabled);

    NoteSizing flat = g.Sizing(RECT{100, 100, 300, 110}, false, home);
    EXPECT_EQ(flat.rect, (RECT{100, 100, 300, 122}));
    EXPECT_FALSE(flat.textEnabled);
    EXPECT_FALSE(flat.storeFirstRect);

    EXPECT_FALSE(g.Sizing(RECT{0, 0, 100, 22}, false, home).textEnabled);
    EXPECT_TRUE(g.Sizing(RECT{0, 0, 100, 23}, false, home).storeFirstRect);

    NoteSizing ringing = g.Sizing(RECT{10, 20, 50, 60}, true, home);
    EXPECT_EQ(ringing.rect, (RECT{10, 20, 244, 228}));
    EXPECT_FALSE(ringing.storeFirstRect);

    EXPECT_EQ(g.WidthAfterSize(63), 66);
    EXPECT_EQ(g.WidthAfterSize(64), 0);
    EXPECT_TRUE(g.RollsUpAfterSize(19));
    EXPECT_FALSE(g.RollsUpAfterSize(20));
}

TEST(CNoteGeometry, RollUpAndUnrollKeepPositionAndMinimums) {
    CNoteGeometry g = Geometry();
    EXPECT_EQ(g.RollUpRect(RECT{10, 10, 50, 200}), (RECT{10, 10, 76, 32}));
    EXPECT_EQ(g.RollUpRect(RECT{10, 10, 300, 200}), (RECT{10, 10, 300, 32}));
    // Unroll goes back to the last unrolled height, but never below the minimum.
    EXPECT_EQ(g.UnrollRect(RECT{10, 10, 300, 32}, RECT{0, 0, 100, 150}), (RECT{10, 10, 300, 160}));
    EXPECT_EQ(g.UnrollRect(RECT{10, 10, 300, 32}, RECT{0, 0, 100, 30}), (RECT{10, 10, 300, 56}));
}

TEST(CNoteGeometry, CloseGlyphIsANotchedArrowhead) {
    CNoteGeometry g = Geometry();
    auto p = g.CloseGlyph(200);
    EXPECT_EQ(p[0], (PixelPoint{182, 5}));
    EXPECT_EQ(p[1], (PixelPoint{188, 9}));
    EXPECT_EQ(p[2], (PixelPoint{194, 5}));
    EXPECT_EQ(p[3], (PixelPoint{188, 16}));
    // Inside the close box, so a click on the glyph closes.
    for (auto pt : p)
        EXPECT_TRUE(g.InCloseBox(pt.x, pt.y, 200)) << pt.x << "," << pt.y;
}

TEST(CNoteGeometry, EmbossGlyphIsAGridOfDashes) {
    CNoteGeometry g = Geometry(CNoteGeometry::StyleEmboss);
    auto p = g.CloseGlyph(200);
    EXPECT_EQ(p[0], (PixelPoint{178, 7}));
    EXPECT_EQ(p[2], (PixelPoint{192, 7}));
    EXPECT_EQ(p[3], (PixelPoint{185, 20}));
    auto dashes = g.EmbossDashes(200);
    ASSERT_EQ(dashes.size(), 9u); // columns 179, 185, 191; rows 7, 12, 17
    EXPECT_EQ(dashes.front(), (PixelPoint{179, 7}));
    EXPECT_EQ(dashes.back(), (PixelPoint{191, 17}));
    EXPECT_EQ(g.EmbossInnerFrame(200, 150, false), (RECT{3, 24, 197, 147}));
    EXPECT_EQ(g.EmbossInnerFrame(200, 150, true), (RECT{3, 3, 197, 147}));
}

TEST(CNoteGeometry, PinBoxSquares) {
    CNoteGeometry d = Geometry();
    EXPECT_EQ(d.PinBoxBig(), (RECT{5, 5, 17, 17}));
    EXPECT_EQ(d.PinBoxSmall(), (RECT{3, 3, 11, 12}));
    CNoteGeometry glow = Geometry(CNoteGeometry::StyleGlow);
    EXPECT_EQ(glow.PinBoxBig(), (RECT{8, 8, 23, 23}));
    EXPECT_EQ(glow.PinBoxSmall(), (RECT{6, 6, 15, 17}));
    // A big title font makes a wider margin.
    CNoteGeometry big;
    big.m_border = 2;
    big.SetTitleTextHeight(43); // title 48
    EXPECT_EQ(big.PinBoxBig(), (RECT{8, 8, 42, 42}));
}

TEST(CNoteGeometry, CloseAnimationShrinksTowardsTheTopRight) {
    RECT start{100, 50, 300, 200};
    EXPECT_EQ(CNoteGeometry::CloseStep(start, 1), (RECT{150, 50, 300, 162}));
    EXPECT_EQ(CNoteGeometry::CloseStep(start, 2), (RECT{200, 50, 300, 125}));
    EXPECT_EQ(CNoteGeometry::CloseStep(start, 3), (RECT{250, 50, 300, 87}));
}

TEST(NoteTemplate, DialogUnitsBecomePixels) {
    EXPECT_EQ(NoteTemplate::kWindow.ToPixels(), (RECT{0, 0, 234, 208}));
    EXPECT_EQ(NoteTemplate::kRemindCheck.ToPixels().top, 159);
    EXPECT_EQ(NoteTemplate::kCountdown.ToPixels().Height(), 16);
    EXPECT_EQ(NoteTemplate::kOkButton.ToPixels(), (RECT{93, 182, 147, 205}));
}
} // namespace
