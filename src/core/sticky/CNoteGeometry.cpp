#include "core/sticky/CNoteGeometry.h"

#include <algorithm>

namespace {
RECT MakeRect(int x, int y, int w, int h) {
    return RECT{x, y, x + std::max(0, w), y + std::max(0, h)};
}
} // namespace

int CNoteGeometry::BorderFor(int borderStyle) {
    switch (borderStyle) {
    case StyleEmboss:
        return 4;
    case StyleGlow:
        return 5;
    default:
        return 2;
    }
}

int CNoteGeometry::RolledHeight() const {
    int h = m_border + m_titleHeight;
    if (m_countdownShown) h += m_countdownHeight + 2;
    return h;
}

bool CNoteGeometry::InPinBox(int x, int y) const {
    return x >= 1 && x < m_titleHeight && y >= 0 && y < m_titleHeight;
}

bool CNoteGeometry::InCloseBox(int x, int y, int clientRight) const {
    return x > clientRight - m_titleHeight && x < clientRight - m_border && y > m_border &&
           y < m_titleHeight;
}

bool CNoteGeometry::InCaptionStrip(int x, int y, int windowWidth) const {
    return x > m_titleHeight + 1 && x < windowWidth - m_titleHeight + 2 && y >= 0 &&
           y < m_titleHeight + 1;
}

RECT CNoteGeometry::TitleTextRect(int clientRight) const {
    return RECT{m_titleHeight + m_border + 1, m_border, clientRight - (m_titleHeight + m_border),
                m_titleHeight - m_border / 2};
}

NoteHit CNoteGeometry::HitTest(int x, int y, int width, int height, bool ringing, int sizingX,
                               int sizingY) const {
    if (!ringing) {
        bool top = y < sizingY, bottom = y >= height - sizingY;
        if (x < sizingX)
            return top ? NoteHit::TopLeft : bottom ? NoteHit::BottomLeft : NoteHit::Left;
        if (x >= width - sizingX)
            return top ? NoteHit::TopRight : bottom ? NoteHit::BottomRight : NoteHit::Right;
        if (top) return NoteHit::Top;
        if (bottom) return NoteHit::Bottom;
    }
    return InCaptionStrip(x, y, width) ? NoteHit::Caption : NoteHit::Client;
}

NoteLayout CNoteGeometry::Layout(int clientWidth, int clientHeight, bool ringing, int homeWidth,
                                 int remindTop) const {
    NoteLayout out;
    if (ringing) {
        out.textVisible = true;
        out.textRect = MakeRect(m_border, m_border + m_titleHeight, homeWidth - 2 * m_border,
                                remindTop - 2 * m_border - m_titleHeight);
        return out;
    }
    int b = m_border + 1;
    int s = m_countdownHeight;
    out.countdownVisible = m_countdownShown;
    if (!IsRolledUp(clientHeight)) {
        out.textVisible = true;
        if (m_countdownShown) {
            out.countdownRect = MakeRect(b, clientHeight - m_border - s, clientWidth - 2 * b, s);
            out.textRect = MakeRect(b, m_titleHeight + b, clientWidth - 2 * b,
                                    out.countdownRect.top - 2 - m_titleHeight - m_border);
        } else {
            out.textRect = MakeRect(b, m_titleHeight + b, clientWidth - 2 * b,
                                    clientHeight - m_titleHeight - 2 * b);
        }
    } else if (m_countdownShown) {
        out.countdownRect = MakeRect(b, m_titleHeight + 1, clientWidth - 2 * b, s);
    }
    return out;
}

NoteSizing CNoteGeometry::Sizing(const RECT& proposed, bool ringing, const RECT& homeRect) const {
    NoteSizing out;
    out.rect = proposed;
    if (ringing) {
        out.rect.right = proposed.left + homeRect.Width();
        out.rect.bottom = proposed.top + homeRect.Height();
        return out;
    }
    if (out.rect.Width() < MinWidth()) out.rect.right = out.rect.left + MinWidth();
    if (out.rect.Height() <= RolledHeight()) {
        out.rect.bottom = out.rect.top + RolledHeight();
        out.textEnabled = false;
    } else {
        out.storeFirstRect = true;
    }
    return out;
}

int CNoteGeometry::WidthAfterSize(int clientWidth) const {
    return clientWidth < MinWidth() - 2 ? MinWidth() : 0;
}

RECT CNoteGeometry::RollUpRect(const RECT& window) const {
    return MakeRect(window.left, window.top, std::max(window.Width(), MinWidth()), RolledHeight());
}

RECT CNoteGeometry::UnrollRect(const RECT& window, const RECT& firstRect) const {
    return MakeRect(window.left, window.top, window.Width(),
                    std::max(firstRect.Height(), UnrollMinHeight()));
}

std::array<PixelPoint, 4> CNoteGeometry::CloseGlyph(int clientRight) const {
    int t = m_titleHeight - m_border;
    int s = 3 * t / 4;
    int q = t / 6;
    int x0 = clientRight - m_titleHeight + (t - s) / 2;
    return {PixelPoint{x0, m_border + q}, PixelPoint{x0 + s / 2, m_border + q * 5 / 2},
            PixelPoint{x0 + 2 * (s / 2), m_border + q},
            PixelPoint{x0 + s / 2, m_titleHeight - 1 - q}};
}

std::vector<PixelPoint> CNoteGeometry::EmbossDashes(int clientRight) const {
    auto p = CloseGlyph(clientRight);
    std::vector<PixelPoint> dashes;
    for (int x = p[0].x + 1; x < p[2].x; x += 6)
        for (int y = p[0].y; y < p[3].y; y += 5)
            dashes.push_back({x, y});
    return dashes;
}

RECT CNoteGeometry::PinBoxBig() const {
    int m = std::max(m_titleHeight / 8, 3);
    return RECT{m_border + m, m_border + m, m_titleHeight - m, m_titleHeight - m};
}

RECT CNoteGeometry::PinBoxSmall() const {
    int t = m_titleHeight - m_border;
    return RECT{m_border + 1, m_border + 1, t / 2 + m_border, 3 * t / 5 + m_border};
}

RECT CNoteGeometry::EmbossInnerFrame(int clientWidth, int clientHeight, bool rolledUp) const {
    return RECT{3, rolledUp ? 3 : m_titleHeight, clientWidth - 3, clientHeight - 3};
}

RECT CNoteGeometry::DeleteStep(const RECT& start, int k) {
    const int w = start.Width(), h = start.Height();
    const int a = k * w / 4, b = k * h / 4;
    return MakeRect(start.left + a / 2, start.top + b / 2, w - a, h - b);
}

RECT CNoteGeometry::CloseStep(const RECT& start, int k) {
    int w = start.Width(), h = start.Height();
    return MakeRect(start.left + k * w / 4, start.top, (4 - k) * w / 4, (4 - k) * h / 4);
}
