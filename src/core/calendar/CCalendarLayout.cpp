#include "core/calendar/CCalendarLayout.h"

#include <cstdlib>

CCalendarLayout::CCalendarLayout(int clientWidth, int clientHeight)
    : m_cellHeight((clientHeight + 1) / 8), m_cellWidth((clientWidth + 1) / 7),
      m_width(clientWidth + 1) {}

RECT CCalendarLayout::CellRect(int col, int row) const {
    const int left = m_cellWidth * col, top = m_cellHeight * (row + 1);
    return RECT{left, top, left + m_cellWidth - 1, top + m_cellHeight - 1};
}

CCalendarLayout::Zone CCalendarLayout::HitZone(int x, int y) const {
    const int a = ArrowSize();
    if (y < a) {
        if (x < a) return Zone::PrevYear;
        if (x > m_width - a) return Zone::NextYear;
        if (a < x && x < 2 * a) return Zone::PrevMonth;
        if (m_width - 2 * a < x && x < m_width - a) return Zone::NextMonth;
    }
    if (y < m_cellHeight)
        return (3 * m_cellHeight / 2 < x && x < m_width - 3 * m_cellHeight / 2) ? Zone::Title
                                                                                : Zone::None;
    return Zone::Grid;
}

void CCalendarLayout::GridCell(int x, int y, int& col, int& row) const {
    col = m_cellWidth > 0 ? x / m_cellWidth : 0;
    row = m_cellHeight > 0 ? (y - m_cellHeight) / m_cellHeight : 0;
}

CCalendarLayout::Moon CCalendarLayout::MoonDisc(int p, bool waxing) const {
    Moon m;
    const int d = 5 * m_cellHeight - 10;
    const int left = (m_width - d) / 2, top = 2 * m_cellHeight + m_cellHeight / 2;
    m.circle = RECT{left, top, left + d, top + d};
    if (d <= 0) return m;
    if (p == 100) {
        m.shape = waxing ? MoonShape::Whole : MoonShape::None;
    } else if (p == 50) {
        m.shape = waxing ? MoonShape::RightHalf : MoonShape::LeftHalf;
    } else {
        m.k = std::abs(p - 50) * d / 100;
        if (p > 50)
            m.shape = waxing ? MoonShape::RightGibbous : MoonShape::LeftCrescent;
        else
            m.shape = waxing ? MoonShape::RightCrescent : MoonShape::LeftGibbous;
    }
    return m;
}

std::vector<CCalendarLayout::Edge> CCalendarLayout::ArrowEdges() const {
    const int a = ArrowSize(), t = a / 6, y0 = m_cellHeight / 12 + t, mid = m_cellHeight / 2,
              y1 = m_cellHeight - y0;
    // The two left glyphs as closed outlines; the right ones mirror them in the client area.
    const std::vector<std::vector<Point>> left = {
        {{t, mid}, {a - t, y0}, {a - t, y1}},                                   // previous year
        {{a + t, mid}, {2 * a - t, y0}, {2 * a - 3 * t, mid}, {2 * a - t, y1}}, // previous month
    };
    std::vector<Edge> edges;
    auto add = [&](const std::vector<Point>& poly, bool mirror) {
        for (size_t i = 0; i < poly.size(); ++i) {
            Point p = poly[i], q = poly[(i + 1) % poly.size()];
            if (mirror) {
                p.x = m_width - 2 - p.x;
                q.x = m_width - 2 - q.x;
            }
            // Outward normal of an edge walked in this direction; which way the outline runs
            // flips with the mirror.
            int nx = q.y - p.y, ny = p.x - q.x;
            if (mirror) nx = -nx, ny = -ny;
            edges.push_back({p, q, nx + ny < 0});
        }
    };
    add(left[0], false);
    add(left[1], false);
    add(left[1], true);
    add(left[0], true);
    return edges;
}

namespace {
bool IsDark(COLORREF face) {
    return (GetRValue(face) + GetGValue(face) + GetBValue(face)) * 100 / 765 <= 50;
}
} // namespace

COLORREF CCalendarLayout::SundayColor(COLORREF face) {
    return IsDark(face) ? RGB(255, 110, 110) : RGB(255, 0, 0);
}

COLORREF CCalendarLayout::MoonColor(COLORREF face) {
    const COLORREF pale = RGB(245, 230, 212);
    if (!IsDark(face)) return pale;
    auto mix = [](int f, int m) { return f + (m - f) * 25 / 100; };
    return RGB(mix(GetRValue(face), GetRValue(pale)), mix(GetGValue(face), GetGValue(pale)),
               mix(GetBValue(face), GetBValue(pale)));
}
