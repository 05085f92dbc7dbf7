#include "core/sticky/CNoteGeometry.h"
#include "core/sticky/NoteTemplate.h"

#include <gtest/gtest.h>

namespace {
// Border 2 (style Default) and an "fg" height of 15 pixels: title bar 20 pixels high.
CNoteGeometry Geometry(int style = CNoteGeometry::StyleDefault) {
    CNoteGeometry g;
    g.m_border = CNoteGeometry::BorderFor(style);
    g.SetTitleTextHeight(15);
    g.m_countdownHeight = 16;
    return g;
}

TEST(CNoteGeometry, HeightsFollowTheStyleAndTheCountdownLine) {
    const int cases[][3] = {{0, 2, 20}, {1, 4, 24}, {2, 5, 26}, {7, 2, 20}}; // 7: unknown
    for (auto [style, border, title] : cases) {
        EXPECT_EQ(CNoteGeometry::BorderFor(style), border) << style;
        EXPECT_EQ(Geometry(style).m_titleHeight, title) << style;
    }
    CNoteGeometry g = Geometry();
    EXPECT_EQ(g.RolledHeight(), 22);
    EXPECT_EQ(g.UnrollMinHeight(), 46);
    g.m_countdownShown = true;
    EXPECT_EQ(g.RolledHeight(), 40);
    EXPECT_EQ(g.MinWidth(), 120);
}

TEST(CNoteGeometry, BoxesAndCaptionStripHaveExactEdges) {
    const CNoteGeometry g = Geometry();
    // A client 200 wide: pin box 0 < x, y < 20; close box 180 < x < 198, 2 < y < 20; caption
    // strip 21 < x < 182, y < 21 (its last column overlaps the close box).
    const struct {
        int x, y;
        bool pin, close, caption;
    } cases[] = {{0, 5, 0, 0, 0},    {1, 5, 1, 0, 0},   {19, 19, 1, 0, 0},  {20, 5, 0, 0, 0},
                 {5, 20, 0, 0, 0},   {181, 3, 0, 1, 1}, {197, 19, 0, 1, 0}, {180, 10, 0, 0, 1},
                 {198, 10, 0, 0, 0}, {190, 2, 0, 0, 0}, {190, 20, 0, 0, 0}, {22, 0, 0, 0, 1},
                 {181, 20, 0, 0, 1}, {21, 5, 0, 0, 0},  {182, 5, 0, 1, 0},  {100, 21, 0, 0, 0}};
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(g.InPinBox(c.x, c.y), c.pin);
        EXPECT_EQ(g.InCloseBox(c.x, c.y, 200), c.close);
        EXPECT_EQ(g.InCaptionStrip(c.x, c.y, 200), c.caption);
    }
    EXPECT_EQ(g.TitleTextRect(200), (RECT{23, 2, 178, 19}));
}

TEST(CNoteGeometry, HitTestPutsSizingBordersBeforeTheCaptionUnlessRinging) {
    const CNoteGeometry g = Geometry();
    using H = NoteHit;
    const struct {
        int x, y;
        bool ringing;
        NoteHit hit;
    } cases[] = {
        {0, 0, 0, H::TopLeft},      {4, 4, 0, H::TopLeft},         {5, 4, 0, H::Top},
        {199, 0, 0, H::TopRight},   {195, 75, 0, H::Right},        {194, 75, 0, H::Client},
        {0, 149, 0, H::BottomLeft}, {199, 145, 0, H::BottomRight}, {100, 145, 0, H::Bottom},
        {100, 144, 0, H::Client},   {100, 10, 0, H::Caption},      {10, 10, 0, H::Client},
        {100, 2, 0, H::Top},        {100, 2, 1, H::Caption},       {0, 0, 1, H::Client},
        {100, 149, 1, H::Client}};
    for (auto c : cases)
        EXPECT_EQ(g.HitTest(c.x, c.y, 200, 150, c.ringing, 5, 5), c.hit) << c.x << "," << c.y;
}

TEST(CNoteGeometry, LayoutPlacesTextAndCountdown) {
    CNoteGeometry g = Geometry();
    NoteLayout plain = g.Layout(200, 150, false, 234, 159);
    EXPECT_TRUE(plain.textVisible);
    EXPECT_FALSE(plain.countdownVisible);
    EXPECT_EQ(plain.textRect, (RECT{3, 23, 197, 147}));
    NoteLayout tiny = g.Layout(4, 23, false, 234, 159); // empty, never negative
    EXPECT_GE(tiny.textRect.Width(), 0);
    EXPECT_GE(tiny.textRect.Height(), 0);

    g.m_countdownShown = true;
    NoteLayout line = g.Layout(200, 150, false, 234, 159);
    EXPECT_EQ(line.countdownRect, (RECT{3, 132, 197, 148}));
    EXPECT_EQ(line.textRect, (RECT{3, 23, 197, 131}));
    NoteLayout rolled = g.Layout(200, g.RolledHeight(), false, 234, 159);
    EXPECT_FALSE(rolled.textVisible);
    EXPECT_EQ(rolled.countdownRect, (RECT{3, 21, 197, 37})); // right under the title bar
    // Ringing: the text fills the space down to the remind row, whatever the client size.
    NoteLayout ringing = g.Layout(50, 30, true, 234, 159);
    EXPECT_FALSE(ringing.countdownVisible);
    EXPECT_EQ(ringing.textRect, (RECT{2, 22, 232, 157}));
}

TEST(CNoteGeometry, SizingSnapsWidthRollsUpAtTheTitleAndUnrollsToTheMinimum) {
    const CNoteGeometry g = Geometry();
    const RECT home{0, 0, 234, 208};
    NoteSizing narrow = g.Sizing(RECT{100, 100, 150, 300}, false, home);
    EXPECT_EQ(narrow.rect, (RECT{100, 100, 166, 300})); // 3 x RolledHeight
    EXPECT_TRUE(narrow.storeFirstRect && narrow.textEnabled);
    NoteSizing flat = g.Sizing(RECT{100, 100, 300, 110}, false, home);
    EXPECT_EQ(flat.rect, (RECT{100, 100, 300, 122}));
    EXPECT_FALSE(flat.textEnabled || flat.storeFirstRect);
    EXPECT_FALSE(g.Sizing(RECT{0, 0, 100, 22}, false, home).textEnabled);
    EXPECT_TRUE(g.Sizing(RECT{0, 0, 100, 23}, false, home).storeFirstRect);
    NoteSizing ringing = g.Sizing(RECT{10, 20, 50, 60}, true, home);
    EXPECT_EQ(ringing.rect, (RECT{10, 20, 244, 228}));
    EXPECT_FALSE(ringing.storeFirstRect);
    // After a size change made elsewhere (the window manager).
    EXPECT_EQ(g.WidthAfterSize(63), 66);
    EXPECT_EQ(g.WidthAfterSize(64), 0);
    EXPECT_TRUE(g.RollsUpAfterSize(19));
    EXPECT_FALSE(g.RollsUpAfterSize(20));

    EXPECT_EQ(g.RollUpRect(RECT{10, 10, 50, 200}), (RECT{10, 10, 76, 32}));
    EXPECT_EQ(g.RollUpRect(RECT{10, 10, 300, 200}), (RECT{10, 10, 300, 32}));
    EXPECT_EQ(g.UnrollRect(RECT{10, 10, 300, 32}, RECT{0, 0, 100, 150}), (RECT{10, 10, 300, 160}));
    EXPECT_EQ(g.UnrollRect(RECT{10, 10, 300, 32}, RECT{0, 0, 100, 30}), (RECT{10, 10, 300, 56}));
}

TEST(CNoteGeometry, GlyphsPinBoxesAndEmbossFrame) {
    const CNoteGeometry d = Geometry(), emboss = Geometry(CNoteGeometry::StyleEmboss);
    const auto arrow = d.CloseGlyph(200);
    EXPECT_EQ(arrow, (std::array<PixelPoint, 4>{{{182, 5}, {188, 9}, {194, 5}, {188, 16}}}));
    for (auto pt : arrow) // a click on the glyph closes
        EXPECT_TRUE(d.InCloseBox(pt.x, pt.y, 200)) << pt.x << "," << pt.y;
    const auto dashes = emboss.EmbossDashes(200); // columns 179, 185, 191; rows 7, 12, 17
    ASSERT_EQ(dashes.size(), 9u);
    EXPECT_EQ(dashes.front(), (PixelPoint{179, 7}));
    EXPECT_EQ(dashes.back(), (PixelPoint{191, 17}));
    EXPECT_EQ(emboss.EmbossInnerFrame(200, 150, false), (RECT{3, 24, 197, 147}));
    EXPECT_EQ(emboss.EmbossInnerFrame(200, 150, true), (RECT{3, 3, 197, 147}));

    EXPECT_EQ(d.PinBoxBig(), (RECT{5, 5, 17, 17}));
    EXPECT_EQ(d.PinBoxSmall(), (RECT{3, 3, 11, 12}));
    EXPECT_EQ(Geometry(CNoteGeometry::StyleGlow).PinBoxSmall(), (RECT{6, 6, 15, 17}));
    CNoteGeometry big; // a big title font makes a wider margin
    big.SetTitleTextHeight(43);
    EXPECT_EQ(big.PinBoxBig(), (RECT{8, 8, 42, 42}));
}

TEST(CNoteGeometry, CloseAnimationShrinksTowardsTheTopRight) {
    const RECT start{200, 100, 360, 220};
    EXPECT_EQ(CNoteGeometry::CloseStep(start, 1), (RECT{240, 100, 360, 190}));
    EXPECT_EQ(CNoteGeometry::CloseStep(start, 2), (RECT{280, 100, 360, 160}));
    EXPECT_EQ(CNoteGeometry::CloseStep(start, 3), (RECT{320, 100, 360, 130}));
}

TEST(NoteTemplate, DialogUnitsBecomePixels) {
    EXPECT_EQ(NoteTemplate::kWindow.ToPixels(), (RECT{0, 0, 234, 208}));
    EXPECT_EQ(NoteTemplate::kRemindCheck.ToPixels().top, 159);
    EXPECT_EQ(NoteTemplate::kOkButton.ToPixels(), (RECT{93, 182, 147, 205}));
}
} // namespace
