#pragma once

#include "core/platform/Win32Types.h"

#include <vector>

// The pixel plan of the month calendar: eight bands (header, weekday initials, six weeks) of
// seven cells, the arrow buttons in the header, the moon disc behind the days, and which zone
// a click falls into.
class CCalendarLayout {
public:
    enum class Zone { None, PrevYear, NextYear, PrevMonth, NextMonth, Title, Grid };

    // What of the moon disc is lit. Halves are the circle cut at its middle; E is the ellipse
    // as high as the circle and 2k wide, centred on it.
    enum class MoonShape {
        None,          // new moon
        Whole,         // full moon
        RightHalf,     // first quarter
        LeftHalf,      // last quarter
        RightGibbous,  // right half and E
        LeftGibbous,   // left half and E
        RightCrescent, // right half without E
        LeftCrescent,  // left half without E
    };
    struct Moon {
        RECT circle; // bounding square of the disc
        MoonShape shape = MoonShape::None;
        int k = 0;
    };

    struct Point {
        int x, y;
    };
    // One straight edge of an arrow glyph; lit edges face up or left.
    struct Edge {
        Point from, to;
        bool lit;
    };

    // From the client size (the control is eight bands high).
    CCalendarLayout(int clientWidth, int clientHeight);

    int CellHeight() const { return m_cellHeight; }
    int CellWidth() const { return m_cellWidth; }
    int Width() const { return m_width; }
    // The arrow size a: arrow zones are a wide and a high.
    int ArrowSize() const { return 3 * m_cellHeight / 4; }

    // Cell of (col, row); row 0 is the weekday band, rows 1..6 the weeks. Right and bottom are
    // the last pixel inside.
    RECT CellRect(int col, int row) const;
    Zone HitZone(int x, int y) const;
    // The grid cell under a point of the Grid zone (row 0 is the weekday band).
    void GridCell(int x, int y, int& col, int& row) const;

    Moon MoonDisc(int percent, bool waxing) const;
    // The disc's colour: pale on a light face; on a dark one only a warm tint of the face, so
    // the day numbers over it stay readable.
    static COLORREF MoonColor(COLORREF face);
    // Sundays are red; on a dark face a lighter red, which reads there as well as pure red
    // does on a light one.
    static COLORREF SundayColor(COLORREF face);
    // The four glyphs, previous year, previous month, next month, next year.
    std::vector<Edge> ArrowEdges() const;

private:
    int m_cellHeight;
    int m_cellWidth;
    int m_width;
};
