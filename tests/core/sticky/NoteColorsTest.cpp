#include "core/sticky/NoteColors.h"
#include "core/model/CSettings.h"

#include <gtest/gtest.h>

namespace {
TEST(NoteColors, DefaultSchemesDeriveTheirTitleAndGlyphColours) {
    const CSettings settings;
    const COLORREF expected[4][3] = {
        {RGB(102, 0, 102), RGB(127, 63, 127), RGB(158, 140, 158)},
        {RGB(253, 82, 0), RGB(191, 102, 63), RGB(114, 124, 140)},
        {RGB(216, 216, 216), RGB(160, 160, 160), RGB(96, 96, 96)},
        {RGB(255, 0, 128), RGB(191, 63, 158), RGB(114, 140, 196)},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(settings.m_schemeBack[i], expected[i][0]) << i;
        EXPECT_EQ(TitleColorFor(settings.m_schemeBack[i]), expected[i][1]) << i;
        EXPECT_EQ(GlyphColorFor(settings.m_schemeBack[i]), expected[i][2]) << i;
    }
}

// Every default scheme is readable; a text colour too close to its background is moved
// towards whichever of black and white stands out more.
TEST(NoteColors, TextKeepsReadableContrastAgainstItsBackground) {
    EXPECT_NEAR(ContrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(RGB(253, 82, 0), RGB(255, 255, 128)), 3.11, 0.01);
    const CSettings settings;
    for (int i = 0; i < 4; ++i)
        EXPECT_GE(ContrastRatio(settings.m_schemeBack[i], settings.m_schemeText[i]),
                  kReadableContrast)
            << "scheme " << i + 1;
    const struct {
        COLORREF back, text;
        bool kept;
    } cases[] = {
        {RGB(102, 0, 102), RGB(255, 255, 128), true},
        {RGB(253, 82, 0), RGB(255, 255, 128), false},    // darkened
        {RGB(30, 30, 60), RGB(60, 60, 120), false},      // lightened
        {RGB(128, 128, 128), RGB(128, 128, 128), false}, // no contrast at all
    };
    for (const auto& c : cases) {
        const COLORREF out = ReadableTextColor(c.back, c.text);
        EXPECT_GE(ContrastRatio(c.back, out), kReadableContrast) << std::hex << c.back;
        // Moved, it keeps something of its own colour rather than turning black or white.
        if (c.kept)
            EXPECT_EQ(out, c.text);
        else
            EXPECT_TRUE(out != RGB(0, 0, 0) && out != RGB(255, 255, 255)) << std::hex << out;
    }
}

// All of them truncate toward zero and stay within the channel.
TEST(NoteColors, ShiftContrastAndBlendRoundAndClampAlike) {
    const struct {
        COLORREF in;
        int dR, dG, dB;
        COLORREF out;
    } shifts[] = {
        {RGB(0, 0, 0), 20, 0, -20, RGB(51, 0, 0)}, // a zero channel is lifted only when d >= 0
        {RGB(255, 255, 255), 25, 0, -50, RGB(255, 255, 127)},
        {RGB(253, 0, 0), -25, 0, 0, RGB(191, 0, 0)}, // 99 - 24.75 -> 75, not 74
        {RGB(200, 100, 50), -150, -150, -150, RGB(0, 0, 0)},
        {RGB(0, 0, 0), 150, 0, 0, RGB(255, 0, 0)},
    };
    for (auto s : shifts)
        EXPECT_EQ(ShiftColor(s.in, s.dR, s.dG, s.dB), s.out) << s.dR;
    // Half intensity is 130 (50 percent, lightened); 131 is 51 percent (darkened).
    EXPECT_EQ(GetRValue(ContrastColor(RGB(130, 0, 0), 20)), 153);
    EXPECT_EQ(GetRValue(ContrastColor(RGB(131, 0, 0), 20)), 104);
    EXPECT_EQ(BlendColor(RGB(255, 255, 255), RGB(0, 0, 0), 40), RGB(153, 153, 153));
    EXPECT_EQ(BlendColor(RGB(0, 0, 0), RGB(255, 255, 255), 33), RGB(84, 84, 84));
    EXPECT_EQ(BlendColor(RGB(255, 10, 0), RGB(0, 10, 255), 33), RGB(171, 10, 84)); // not 170
    EXPECT_EQ(BlendColor(RGB(1, 2, 3), RGB(200, 100, 50), 100), RGB(200, 100, 50));
}

TEST(NoteColors, GlowFadesTowardsWhiteOrBlackByBrightness) {
    EXPECT_EQ(GlowFrameColors(RGB(102, 0, 102)),
              (std::array<COLORREF, 5>{RGB(209, 178, 209), RGB(178, 127, 178), RGB(163, 102, 163),
                                       RGB(147, 76, 147), RGB(102, 0, 102)}));
    EXPECT_EQ(ColorBrightness(RGB(102, 0, 102)), 26);
    EXPECT_EQ(ColorBrightness(RGB(253, 82, 0)), 43);
    EXPECT_EQ(GlowFrameColors(RGB(253, 82, 0))[0], RGB(254, 203, 178)); // towards white
    EXPECT_EQ(ColorBrightness(RGB(216, 216, 216)), 84);
    EXPECT_EQ(GlowFrameColors(RGB(216, 216, 216))[0], RGB(64, 64, 64)); // towards black
    // The threshold: brightness 80 still glows towards white, 81 towards black.
    EXPECT_EQ(ColorBrightness(RGB(206, 206, 206)), 80);
    EXPECT_GT(GetRValue(GlowFrameColors(RGB(206, 206, 206))[0]), 206);
    EXPECT_EQ(ColorBrightness(RGB(207, 207, 207)), 81);
    EXPECT_LT(GetRValue(GlowFrameColors(RGB(207, 207, 207))[0]), 207);
}
} // namespace
