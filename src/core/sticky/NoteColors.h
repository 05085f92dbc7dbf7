#pragma once

#include "core/platform/Win32Types.h"

#include <array>

// Colour arithmetic of the note windows and the manager's frames. Channels are 8-bit; all
// divisions truncate toward zero, so the results are stable across platforms.

// Shifts each channel by a percentage of its own level (dR, dG, dB may be negative). A channel
// that is exactly 0 is lifted to d percent when d is not negative.
COLORREF ShiftColor(COLORREF c, int dR, int dG, int dB);

// Lightens channels at or below half intensity by d percent and darkens the others.
COLORREF ContrastColor(COLORREF c, int d);

// (R + G + B) as a percentage of white.
int ColorBrightness(COLORREF c);

// a + (b - a) * percent / 100 per channel.
COLORREF BlendColor(COLORREF a, COLORREF b, int percent);

// The title bar and close-glyph colours derived from a note's background.
inline COLORREF TitleColorFor(COLORREF back) {
    return ContrastColor(back, 25);
}
inline COLORREF GlyphColorFor(COLORREF back) {
    return ContrastColor(back, 55);
}

// The five one-pixel frames of the "Glow" border, outermost first: index i is drawn on the
// rectangle inset by i pixels. Dark colours glow towards white, light ones towards black.
std::array<COLORREF, 5> GlowFrameColors(COLORREF c);

// The contrast ratio of two colours (relative luminance, 1 to 21), as readability checks use.
double ContrastRatio(COLORREF a, COLORREF b);

// The colour of a note's text against its background: text itself when it contrasts enough,
// else text blended towards black or white (whichever stands out more) just far enough.
constexpr double kReadableContrast = 4.5;
COLORREF ReadableTextColor(COLORREF back, COLORREF text, double minRatio = kReadableContrast);
