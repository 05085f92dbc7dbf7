#pragma once

#include "core/platform/Win32Types.h"

// The note window's dialog layout in dialog units, and their conversion to pixels for the
// dialog font (8 point, base units 6 x 13 pixels at 96 dpi).
namespace NoteTemplate {
constexpr int kBaseX = 6;
constexpr int kBaseY = 13;

// Rounded like the dialog manager does.
constexpr int DluToPixelsX(int dlu) {
    return (dlu * kBaseX + (dlu >= 0 ? 2 : -2)) / 4;
}
constexpr int DluToPixelsY(int dlu) {
    return (dlu * kBaseY + (dlu >= 0 ? 4 : -4)) / 8;
}

struct DluRect {
    int x, y, w, h;
    RECT ToPixels() const {
        int l = DluToPixelsX(x), t = DluToPixelsY(y);
        return RECT{l, t, l + DluToPixelsX(w), t + DluToPixelsY(h)};
    }
};

// The whole window, and the controls by id.
constexpr DluRect kWindow{0, 0, 156, 128};
constexpr DluRect kOkButton{62, 112, 36, 14};    // 1
constexpr DluRect kTitleEdit{27, 3, 112, 12};    // 1018
constexpr DluRect kTextEdit{0, 15, 150, 60};     // 1130
constexpr DluRect kRemindCheck{6, 98, 83, 10};   // 1142
constexpr DluRect kHoursEdit{91, 99, 9, 12};     // 1001
constexpr DluRect kMinutesEdit{121, 99, 9, 12};  // 1065
constexpr DluRect kHoursLabel{102, 99, 18, 10};  // 1033
constexpr DluRect kMinutesLabel{131, 99, 25, 9}; // 1066
constexpr DluRect kCountdown{0, 78, 148, 10};    // 1133
} // namespace NoteTemplate
