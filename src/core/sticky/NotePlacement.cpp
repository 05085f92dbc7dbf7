#include "core/sticky/NotePlacement.h"

#include "core/model/CNote.h"
#include "core/platform/SystemMetrics.h"

#include <algorithm>

namespace {
bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

RECT BringOnto(const RECT& r, const RECT& desktop) {
    int w = r.Width(), h = r.Height();
    int left =
        std::clamp<int>(r.left, desktop.left, std::max<int>(desktop.left, desktop.right - w));
    int top = std::clamp<int>(r.top, desktop.top, std::max<int>(desktop.top, desktop.bottom - h));
    return RECT{left, top, left + w, top + h};
}
} // namespace

RECT PlaceNoteWindow(const CNote& note, int placeX, int placeY, int border, int screenWidth,
                     int screenHeight, const RECT& desktop) {
    int w = screenWidth / 5, h = screenHeight / 5;
    if (placeX == -1) {
        if (!note.m_rectKnown) return RECT{2 * w, 2 * h, 3 * w, 3 * h};
        const RECT& r = note.m_windowRect;
        if (desktop.Width() > 0 && desktop.Height() > 0 && !Intersects(r, desktop))
            return BringOnto(r, desktop);
        return r;
    }
    int top = std::max(0, placeY - 3 - border);
    if (note.m_rectKnown) {
        w = note.m_windowRect.Width();
        h = note.m_windowRect.Height();
    }
    int left = placeX - w / 2;
    return RECT{left, top, left + w, top + h};
}

RECT OffsetFromTaken(const RECT& wanted, const std::vector<RECT>& taken, int step,
                     const RECT& workArea) {
    auto isTaken = [&](const RECT& r) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const RECT& t) { return t.left == r.left && t.top == r.top; });
    };
    RECT r = wanted;
    if (step <= 0) return r;
    // Each try moves to a new corner; one more try than there are windows always finds one
    // free, unless the wrapping comes back round, where the last try is as good as any.
    for (size_t tries = 0; tries <= taken.size() && isTaken(r); ++tries) {
        int left = r.left + step, top = r.top + step;
        if (left + r.Width() > workArea.right) left = workArea.left;
        if (top + r.Height() > workArea.bottom) top = workArea.top;
        r = RECT{left, top, left + r.Width(), top + r.Height()};
    }
    return r;
}

std::vector<PixelPoint> ArrangeNotes(const RECT& clicked, int titleHeight, int otherWindows,
                                     int screenWidth, int screenHeight, bool shift, bool alt,
                                     bool ctrl) {
    int x = clicked.left, y = clicked.top;
    int x0 = x, y0 = y;
    const int maxX = screenWidth - 18, maxY = screenHeight - 18;
    int dx, dy;
    if (ctrl) {
        int k = otherWindows + 1;
        dy = (screenHeight - y) / k;
        dx = (screenWidth - x) / k;
    } else {
        dy = SystemMetrics::SM_CXFRAME + titleHeight;
        dx = 3 * dy;
    }
    std::vector<PixelPoint> places;
    for (int i = 0; i < otherWindows; ++i) {
        if (shift) y += dy;
        if (alt) x += dx;
        if (y > maxY) {
            y = 0;
            x = x0 + 32;
            if (x > maxX) x = 0;
            x0 = x;
        }
        if (x > maxX) {
            x = 0;
            y = y0 + 32;
            if (y > maxY) y = 0;
            y0 = y;
        }
        places.push_back({x, y});
    }
    return places;
}
