#pragma once

#include "core/platform/Win32Types.h"

#include <array>
#include <vector>

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Where a point of a note window lies, in the terms of the system's non-client hit test.
enum class NoteHit {
    Client,
    Caption,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// Places of the child controls for one layout pass.
struct NoteLayout {
    bool textVisible = false;
    RECT textRect;
    bool countdownVisible = false;
    RECT countdownRect;
};

// Result of the rules applied while the user drags a sizing border.
struct NoteSizing {
    RECT rect;               // the rectangle to use instead of the proposed one
    bool textEnabled = true; // false once the note is rolled up to its title bar
    bool storeFirstRect = false;
};

// The pixel geometry of one note window, derived from its border width, its title font and
// its countdown line. Client coordinates unless a name says otherwise; the window has no
// frame of its own, so the client area is the whole window.
class CNoteGeometry {
public:
    enum BorderStyle { StyleDefault = 0, StyleEmboss = 1, StyleGlow = 2 };

    static int BorderFor(int borderStyle);

    int m_border = 2;
    int m_titleHeight = 0;
    int m_countdownHeight = 0; // height of the countdown line
    bool m_countdownShown = false;

    // textHeight: the height of "fg" in the note's font.
    void SetTitleTextHeight(int textHeight) { m_titleHeight = textHeight + 2 * m_border + 1; }

    int RolledHeight() const;
    int MinWidth() const { return 3 * RolledHeight(); }
    // The smallest height a rolled-up note unrolls to.
    int UnrollMinHeight() const { return RolledHeight() + 2 * m_border + m_titleHeight; }
    bool IsRolledUp(int windowHeight) const { return windowHeight <= RolledHeight(); }

    bool InPinBox(int x, int y) const;
    bool InCloseBox(int x, int y, int clientRight) const;
    // Window coordinates.
    bool InCaptionStrip(int x, int y, int windowWidth) const;
    RECT TitleTextRect(int clientRight) const;

    // sizingX / sizingY: width of the sizing border; ringing windows have none.
    NoteHit HitTest(int x, int y, int width, int height, bool ringing, int sizingX,
                    int sizingY) const;

    // homeWidth and remindTop (top of the "remind" check box) are used while ringing.
    NoteLayout Layout(int clientWidth, int clientHeight, bool ringing, int homeWidth,
                      int remindTop) const;

    // While the user sizes the window (screen rectangles).
    NoteSizing Sizing(const RECT& proposed, bool ringing, const RECT& homeRect) const;
    // After a size change: the window width to enforce, or 0 when the width is fine.
    int WidthAfterSize(int clientWidth) const;
    // After a plain size change: whether the window must roll up.
    bool RollsUpAfterSize(int clientHeight) const { return clientHeight + 2 < RolledHeight(); }

    RECT RollUpRect(const RECT& window) const;
    RECT UnrollRect(const RECT& window, const RECT& firstRect) const;

    // The close glyph: P0..P3 of the notched arrowhead.
    std::array<PixelPoint, 4> CloseGlyph(int clientRight) const;
    // The dark dashes of the embossed close glyph (each two pixels high: (x, y), (x, y + 1));
    // the light ones are the same dashes one pixel to the left.
    std::vector<PixelPoint> EmbossDashes(int clientRight) const;

    // The pin box: the big square B and the small rectangle A.
    RECT PinBoxBig() const;
    RECT PinBoxSmall() const;

    // The sunken inner frame of the Emboss style.
    RECT EmbossInnerFrame(int clientWidth, int clientHeight, bool rolledUp) const;

    // The close animation: step k (1..3) of the window shrinking from start.
    static RECT CloseStep(const RECT& start, int k);
    // Step k (1..3) of the menu's Delete: the window shrinks towards its centre.
    static RECT DeleteStep(const RECT& start, int k);
};
