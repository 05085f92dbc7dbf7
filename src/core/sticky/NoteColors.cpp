#include "core/sticky/NoteColors.h"

#include <algorithm>
#include <cmath>

namespace {
int ShiftChannel(int v, int d) {
    int p = v * 100 / 255;
    int q;
    if (v == 0 && d >= 0) {
        q = d;
    } else {
        q = std::clamp(p + (p * d) / 100, 0, 100);
    }
    // d above 100 on a zero channel must not wrap into the next channel.
    return std::clamp(q * 255 / 100, 0, 255);
}

int ContrastDelta(int v, int d) {
    return v * 100 / 255 <= 50 ? d : -d;
}
} // namespace

COLORREF ShiftColor(COLORREF c, int dR, int dG, int dB) {
    return RGB(ShiftChannel(GetRValue(c), dR), ShiftChannel(GetGValue(c), dG),
               ShiftChannel(GetBValue(c), dB));
}

COLORREF ContrastColor(COLORREF c, int d) {
    return ShiftColor(c, ContrastDelta(GetRValue(c), d), ContrastDelta(GetGValue(c), d),
                      ContrastDelta(GetBValue(c), d));
}

int ColorBrightness(COLORREF c) {
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) * 100 / 765;
}

COLORREF BlendColor(COLORREF a, COLORREF b, int percent) {
    auto mix = [percent](int x, int y) { return (x + (y - x) * percent / 100) & 0xFF; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

std::array<COLORREF, 5> GlowFrameColors(COLORREF c) {
    bool towardsWhite = ColorBrightness(c) <= 80;
    auto channel = [towardsWhite](int v, double f) {
        double d = towardsWhite ? 255 - v : -v;
        return static_cast<int>(v + d * f);
    };
    auto mix = [&](double f) {
        return RGB(channel(GetRValue(c), f), channel(GetGValue(c), f), channel(GetBValue(c), f));
    };
    // Outermost first: 0.7, 0.5, 0.4, 0.3, then the colour itself four pixels in.
    return {mix(0.7), mix(0.5), mix(0.4), mix(0.3), c};
}

static double Luminance(COLORREF c) {
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) +
           0.0722 * linear(GetBValue(c));
}

double ContrastRatio(COLORREF a, COLORREF b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

COLORREF ReadableTextColor(COLORREF back, COLORREF text, double minRatio) {
    if (ContrastRatio(back, text) >= minRatio) return text;
    const COLORREF target =
        ContrastRatio(back, RGB(0, 0, 0)) >= ContrastRatio(back, RGB(255, 255, 255))
            ? RGB(0, 0, 0)
            : RGB(255, 255, 255);
    for (int percent = 1; percent < 100; ++percent) {
        const COLORREF c = BlendColor(text, target, percent);
        if (ContrastRatio(back, c) >= minRatio) return c;
    }
    return target;
}
