#include "sticky/NoteColors.h"
#include "app/CTrayCore.h"

#include <gtest/gtest.h>

namespace {
struct SchemeColours {
    COLORREF back, title, glyph;
};

// The four default schemes and the title bar and close glyph colours derived from them.
TEST(NoteColors, DefaultSchemesDeriveTheirTitleAndGlyphColours) {
    CTrayCore tray;
    const SchemeColours expected[4] = {
        {RGB(102, 0, 102), RGB(127, 63, 127), RGB(158, 140, 158)},
        {RGB(253, 82, 0), RGB(191, 102, 63), RGB(114, 124, 140)},
        {RGB(216, 216, 216), RGB(160, 160, 160), RGB(96, 96, 96)},
        {RGB(255, 0, 128), RGB(191, 63, 158), RGB(114, 140, 196)},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tray.m_schemeBack[i], expected[i].back);
        EXPECT_EQ(TitleColorFor(tray.m_schemeBack[i]), expected[i].title);
        EXPECT_EQ(GlyphColorFor(tray.m_schemeBack[i]), expected[i].glyph);
    }
}

TEST(NoteColors, ShiftColorLiftsZeroChannelsAndClampsTheRest) {
    // A zero channel becomes d percent when d >= 0 and stays 0 when d < 0.
    EXPECT_EQ(ShiftColor(RGB(0, 0, 0), 20, 0, -20), RGB(51, 0, 0));
    // Full channels cannot go above 100 percent.
    EXPECT_EQ(ShiftColor(RGB(255, 255, 255), 25, 0, -50), RGB(255, 255, 127));
    // Negative shifts truncate toward zero: 99 - 24.75 -> 75, not 74.
    EXPECT_EQ(ShiftColor(RGB(253, 0, 0), -25, 0, 0), RGB(191, 0, 0));
    // A shift below -100 percent ends at black, never wraps.
    EXPECT_EQ(ShiftColor(RGB(200, 100, 50), -150, -150, -150), RGB(0, 0, 0));
    // A lift of a zero channel past 100 percent stays within the channel.
    EXPECT_EQ(ShiftColor(RGB(0, 0, 0), 150, 0, 0), RGB(255, 0, 0));
}

TEST(NoteColors, ContrastColorPivotsAtHalfIntensity) {
    // 128 is 50 percent (lightened), 129 is 50 too, 130 is 50; 131 is 51 (darkened).
    EXPECT_EQ(GetRValue(ContrastColor(RGB(130, 0, 0), 20)), 153);
    EXPECT_EQ(GetRValue(ContrastColor(RGB(131, 0, 0), 20)), 104);
}

TEST(NoteColors, GlowOfDarkPurpleFadesToWhite) {
    auto frames = GlowFrameColors(RGB(102, 0, 102));
    EXPECT_EQ(ColorBrightness(RGB(102, 0, 102)), 26);
    // Outermost first.
    EXPECT_EQ(frames[0], RGB(209, 178, 209));
    EXPECT_EQ(frames[1], RGB(178, 127, 178));
    EXPECT_EQ(frames[2], RGB(163, 102, 163));
    EXPECT_EQ(frames[3], RGB(147, 76, 147));
    EXPECT_EQ(frames[4], RGB(102, 0, 102));
}

TEST(NoteColors, GlowDirectionFollowsBrightness) {
    EXPECT_EQ(ColorBrightness(RGB(216, 216, 216)), 84);
    EXPECT_EQ(GlowFrameColors(RGB(216, 216, 216))[0], RGB(64, 64, 64)); // towards black
    EXPECT_EQ(ColorBrightness(RGB(253, 82, 0)), 43);
    EXPECT_EQ(GlowFrameColors(RGB(253, 82, 0))[0], RGB(254, 203, 178)); // towards white
    // The threshold: brightness 80 still glows towards white, 81 towards black.
    EXPECT_EQ(ColorBrightness(RGB(206, 206, 206)), 80);
    EXPECT_GT(GetRValue(GlowFrameColors(RGB(206, 206, 206))[0]), 206);
    EXPECT_EQ(ColorBrightness(RGB(207, 207, 207)), 81);
    EXPECT_LT(GetRValue(GlowFrameColors(RGB(207, 207, 207))[0]), 207);
}

TEST(NoteColors, BlendColorTruncatesTowardZeroBothWays) {
    EXPECT_EQ(BlendColor(RGB(255, 255, 255), RGB(0, 0, 0), 40), RGB(153, 153, 153));
    EXPECT_EQ(BlendColor(RGB(0, 0, 0), RGB(255, 255, 255), 33), RGB(84, 84, 84));
    // 255 - 84.15: truncation toward zero gives 171 (flooring would give 170).
    EXPECT_EQ(BlendColor(RGB(255, 10, 0), RGB(0, 10, 255), 33), RGB(171, 10, 84));
    EXPECT_EQ(BlendColor(RGB(1, 2, 3), RGB(200, 100, 50), 0), RGB(1, 2, 3));
    EXPECT_EQ(BlendColor(RGB(1, 2, 3), RGB(200, 100, 50), 100), RGB(200, 100, 50));
}
} // namespace
