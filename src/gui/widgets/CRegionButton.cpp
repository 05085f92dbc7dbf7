#include "gui/widgets/CRegionButton.h"

#include "core/platform/SystemMetrics.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTransform>

CRegionButton::CRegionButton(QWidget* parent) : QPushButton(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

bool CRegionButton::Create(const QString& text, int style, int x, int y, const QRegion& region,
                           QWidget* parent, int id, int bevel, COLORREF normalColor,
                           COLORREF pressedColor, COLORREF hoverColor, COLORREF disabledColor) {
    if (region.isEmpty()) return false;
    QRect box = region.boundingRect();
    m_region = region.translated(-box.topLeft());
    m_textX = box.width() / 2;
    m_textY = box.height() / 2;
    m_id = id;
    m_bevel = bevel;
    m_normalColor = normalColor;
    m_pressedColor = pressedColor;
    m_hoverColor = hoverColor;
    m_disabledColor = disabledColor;
    setParent(parent);
    setText(text);
    setGeometry(x, y, box.width(), box.height());
    setMask(m_region);
    setEnabled(!(style & kDisabled));
    setVisible(style & kVisible);
    m_rebuild = true;
    return true;
}

bool CRegionButton::hitButton(const QPoint& pos) const {
    return m_region.contains(pos);
}

const QImage& CRegionButton::StateImage(State state) {
    // Built anew for a new size or screen density (moved to a 200 % screen, say).
    if (m_rebuild || m_normalBitmap.deviceIndependentSize() != QSizeF(size()) ||
        m_normalBitmap.devicePixelRatio() != devicePixelRatioF())
        RebuildImages();
    switch (state) {
    case Pressed:
        return m_pressedBitmap;
    case Hover:
        return m_hoverBitmap;
    case Disabled:
        return m_disabledBitmap;
    default:
        return m_normalBitmap;
    }
}

void CRegionButton::RebuildImages() {
    m_normalBitmap = BuildImage(m_normalColor, Normal);
    m_pressedBitmap = BuildImage(m_pressedColor, Pressed);
    m_hoverBitmap = BuildImage(m_hoverColor, Hover);
    m_disabledBitmap = BuildImage(m_disabledColor, Disabled);
    m_rebuild = false;
}

QImage CRegionButton::BuildImage(COLORREF fill, State state) const {
    // Drawn in the screen's pixels, so the caption and the bevel stay sharp at any density.
    const qreal scale = devicePixelRatioF();
    QImage image(size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        p.setClipRegion(m_region);
        p.fillRect(image.rect(), GdiPaint::ToQColor(fill));
        p.setFont(parentWidget() ? parentWidget()->font() : font());
        QRect box(m_textX - width(), m_textY - height(), 2 * width(), 2 * height());
        const int flags = Qt::AlignCenter | Qt::TextSingleLine;
        if (state == Disabled) {
            p.setPen(SystemColors::Get(COLOR_BTNHIGHLIGHT));
            p.drawText(box.translated(1, 1), flags, text());
            p.setPen(SystemColors::Get(COLOR_BTNSHADOW));
        } else {
            p.setPen(SystemColors::Get(COLOR_BTNTEXT));
            if (state == Pressed) box.translate(m_bevel, m_bevel);
        }
        p.drawText(box, flags, text());
    }
    // The bevel follows the region's outline pixel by pixel: pixels within m_bevel of an
    // outside pixel above or to the left are lit, below or to the right shaded. In screen
    // pixels the bevel is as much wider as the pixels are smaller.
    const QRegion region = QTransform::fromScale(scale, scale).map(m_region);
    const int bevel = m_bevel > 0 ? std::max(1, qRound(m_bevel * scale)) : 0;
    QRgb light = SystemColors::Get(COLOR_BTNHIGHLIGHT).rgb();
    QRgb dark = SystemColors::Get(COLOR_BTNSHADOW).rgb();
    if (state == Pressed) std::swap(light, dark);
    const int w = image.width(), h = image.height();
    std::vector<uint8_t> inside(static_cast<size_t>(w) * h);
    for (const QRect& r : region)
        for (int y = std::max(0, r.top()); y <= std::min(h - 1, r.bottom()); ++y)
            for (int x = std::max(0, r.left()); x <= std::min(w - 1, r.right()); ++x)
                inside[static_cast<size_t>(y) * w + x] = 1;
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && inside[static_cast<size_t>(y) * w + x];
    };
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (!in(x, y)) continue;
            bool lit = false, shaded = false;
            for (int d = 1; d <= bevel; ++d) {
                lit = lit || !in(x - d, y) || !in(x, y - d);
                shaded = shaded || !in(x + d, y) || !in(x, y + d);
            }
            if (shaded)
                line[x] = dark;
            else if (lit)
                line[x] = light;
        }
    }
    return image;
}

void CRegionButton::paintEvent(QPaintEvent*) {
    State state = !isEnabled() ? Disabled : isDown() ? Pressed : m_hover ? Hover : Normal;
    const QImage& image = StateImage(state);
    QPainter p(this);
    p.setClipRegion(m_region);
    p.drawImage(0, 0, image);
    if (hasFocus()) {
        // Where the keyboard is: a dotted box round the caption, inside the shape.
        QFontMetrics fm(parentWidget() ? parentWidget()->font() : font());
        QRect box(0, 0, fm.horizontalAdvance(text()) + 6, fm.height() + 2);
        box.moveCenter(QPoint(m_textX, m_textY));
        QPen pen(SystemColors::Get(COLOR_BTNTEXT));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(box);
    }
}

void CRegionButton::keyPressEvent(QKeyEvent* event) {
    // Return and Enter press a focused button as Space does, in any window.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled() &&
        event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CRegionButton::UpdateHover(const QPoint& pos) {
    bool inside = m_region.contains(pos);
    if (inside != m_hover) {
        m_hover = inside;
        update();
    }
}

void CRegionButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed) UpdateHover(event->position().toPoint());
    // While pressed, the base class clears the pushed look outside the region (hitButton).
    QPushButton::mouseMoveEvent(event);
}

void CRegionButton::leaveEvent(QEvent* event) {
    if (!m_pressed && m_hover) {
        m_hover = false;
        update();
    }
    QPushButton::leaveEvent(event);
}

void CRegionButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_pressed = true;
    QPushButton::mousePressEvent(event);
}

void CRegionButton::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<CRegionButton> self(this);
    QPoint pos = event->position().toPoint();
    bool left = event->button() == Qt::LeftButton;
    QPushButton::mouseReleaseEvent(event); // the click; its handler may delete the button
    if (!self || !left) return;
    m_pressed = false;
    UpdateHover(pos);
}

void CRegionButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::ParentChange)
        m_rebuild = true;
    QPushButton::changeEvent(event);
}
