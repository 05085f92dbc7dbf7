#pragma once

#include <cstdint>
#include <string>

// Plain records the data file and the windows share. Colours are 0x00BBGGRR.
using COLORREF = uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return c & 0xFF;
}
constexpr int GetGValue(COLORREF c) {
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(COLORREF c) {
    return (c >> 16) & 0xFF;
}

struct RECT {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const RECT&) const = default;
};

// A font as stored: height in pixels (negative = character height), weight 400 normal, 700 bold.
struct LOGFONT {
    int32_t lfHeight = 0, lfWidth = 0, lfEscapement = 0, lfOrientation = 0, lfWeight = 0;
    uint8_t lfItalic = 0, lfUnderline = 0, lfStrikeOut = 0, lfCharSet = 0, lfOutPrecision = 0,
            lfClipPrecision = 0, lfQuality = 0, lfPitchAndFamily = 0;
    std::string lfFaceName; // at most 31 characters
    bool operator==(const LOGFONT&) const = default;
};

// "Arial" 10 point on a 96 dpi screen.
LOGFONT DefaultSchemeFont();
