#pragma once

#include <vector>

// The manager window's arithmetic that needs no pixels drawn: where posted notes go and how
// the remembered extra height is applied and limited.
class CManagerGeometry {
public:
    struct Point {
        int x;
        int y;
    };
    // Gap between notes posted in one go, and the sideways step when a column is full.
    static constexpr int kPostStep = 18;
    static constexpr int kColumnStep = 24;

    // The points at which count notes are posted, starting at (x, y): each 18 pixels below the
    // last; past the screen's bottom (less 18) the next column starts at the top, 24 pixels to
    // the right while left of six sevenths of the screen, else to the left.
    static std::vector<Point> PostPositions(int count, int x, int y, int screenWidth,
                                            int screenHeight);
    // The first post point: three quarters of the screen's width, 10 pixels down.
    static Point PostOrigin(int screenWidth) { return {screenWidth * 3 / 4, 10}; }

    // The smallest height the window may be dragged to: the designed height less half the
    // list's height.
    static int MinHeight(int windowHeight, int listHeight) { return windowHeight - listHeight / 2; }
    // A height dragged to, never below the minimum.
    static int ClampHeight(int height, int minHeight) {
        return height < minHeight ? minHeight : height;
    }

    struct Span {
        int top;
        int height;
    };
    // The window grown (or shrunk) by the remembered extra height, centred on where it was; a
    // remembered value that would go below the minimum height (fonts changed since) is cut.
    static Span ApplyExtraHeight(int top, int height, int extra, int minHeight);
};
