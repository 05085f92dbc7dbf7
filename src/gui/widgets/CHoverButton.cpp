#include "gui/widgets/CHoverButton.h"

#include "core/platform/SystemMetrics.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/ResourceImages.h"
#include "gui/platform/SystemColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

CHoverButton::CHoverButton(QWidget* parent)
    : QPushButton(parent), m_backColor(GdiPaint::FromQColor(SystemColors::Get(COLOR_BTNFACE))) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    setFlat(true);
}

void CHoverButton::SetFlags(int flags) {
    m_flags = flags;
    update();
}

void CHoverButton::SetIcons(int count, int width, int height, int id1, int id2, int id3) {
    m_iconCount = count;
    m_iconWidth = width;
    m_iconHeight = height;
    m_icon = ResourceImages::Icon(id1);
    if (count >= 2) m_iconPressed = ResourceImages::Icon(id2);
    if (count >= 3) m_iconThird = ResourceImages::Icon(id3);
    update();
}

void CHoverButton::SetCaption(const QString& text, COLORREF color, int pointSize) {
    m_caption = text;
    m_textColor = color;
    m_pointSize = pointSize;
    setText(text); // for accessibility and shortcuts; painting uses m_caption
    update();
}

void CHoverButton::SetTextColor(COLORREF color) {
    if (color == m_textColor) return;
    m_textColor = color;
    update();
}

void CHoverButton::SetBackColor(COLORREF color) {
    m_backFromPalette = false;
    // Owners set it while painting themselves: only a real change repaints.
    if (color == m_backColor) return;
    m_backColor = color;
    update();
}

int CHoverButton::CaptionPointSize() const {
    return m_pointSize > 0 ? m_pointSize : (height() * 3 / 5) * 10;
}

QFont CHoverButton::CaptionFont() const {
    // Font configuration stands in its metric twin where "Arial" itself is not installed.
    QFont f(QStringLiteral("Arial"));
    // Tenths of a point at 96 dots per inch, like the stored fonts.
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(CaptionPointSize() * 96.0 / 720.0))));
    f.setBold(true);
    return f;
}

void CHoverButton::DrawFrame(QPainter& p, bool sunken) const {
    QRect r = rect();
    if (m_flags & AlwaysFramed) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    QColor light = SystemColors::Get(COLOR_BTNHIGHLIGHT),
           shadow = SystemColors::Get(COLOR_BTNSHADOW);
    QRect inner = r.adjusted(1, 1, -1, -1);
    if (sunken)
        GdiPaint::Draw3dRect(p, inner, shadow, light);
    else
        GdiPaint::Draw3dRect(p, inner, light, shadow);
}

void CHoverButton::DrawIcon(QPainter& p, const QIcon& icon, int x, int y) const {
    if (!icon.isNull()) icon.paint(&p, QRect(x, y, m_iconWidth, m_iconHeight));
}

QPixmap CHoverButton::GreyedIcon() const {
    // Grey, and half-way faded into the face, so a button that cannot be used looks it.
    QImage img = m_icon.pixmap(QSize(m_iconWidth, m_iconHeight), devicePixelRatioF())
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32);
    const QColor back = GdiPaint::ToQColor(m_backColor);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba((g + back.red()) / 2, (g + back.green()) / 2, (g + back.blue()) / 2,
                            qAlpha(line[x]));
        }
    }
    return QPixmap::fromImage(img);
}

void CHoverButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    p.fillRect(rect(), GdiPaint::ToQColor(m_backColor));
    const bool text = m_flags & TextButton;
    QRect box = rect();
    if (text) {
        p.setFont(CaptionFont());
        if (m_flags & TextShadow) box.translate(1, 1);
    }
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (!isEnabled()) { // embossed caption or greyed icon, no frame but the fixed one
        if (text) {
            p.setPen(SystemColors::Get(COLOR_BTNHIGHLIGHT));
            p.drawText(rect().translated(1, 1), flags, m_caption);
            p.setPen(SystemColors::Get(COLOR_BTNSHADOW));
            p.drawText(rect(), flags, m_caption);
        } else if (m_flags & (IconButton | PressedIcon | 8)) {
            p.drawPixmap((w - m_iconWidth) / 2, (h - m_iconHeight) / 2, GreyedIcon());
        }
        if (m_flags & AlwaysFramed) DrawFrame(p, false);
        return;
    }
    if (m_pressed) {
        DrawFrame(p, true);
        if (text) {
            p.setPen(GdiPaint::ToQColor(m_textColor));
            p.drawText(box, flags, m_caption);
        } else if (m_flags & PressedIcon) {
            DrawIcon(p, m_iconPressed, (w - m_iconWidth) / 2 - 2, (h - m_iconHeight) / 2);
        } else if (m_flags & IconButton) {
            DrawIcon(p, m_icon, (w - m_iconWidth) / 2 + 1, (h - m_iconHeight) / 2);
        }
        return;
    }
    if (text) {
        if (m_flags & TextShadow) {
            p.setPen(Qt::black);
            p.drawText(box, flags, m_caption);
            box.translate(-1, -1);
        }
        p.setPen(GdiPaint::ToQColor(m_textColor));
        p.drawText(box, flags, m_caption);
    } else if (m_flags & (IconButton | PressedIcon | 8)) {
        DrawIcon(p, m_icon, (w - m_iconWidth) / 2, (h - m_iconHeight) / 2);
    }
    if ((m_flags & AlwaysFramed) || (m_hover && (text || (m_flags & HoverFrame))))
        DrawFrame(p, false);
    if (hasFocus()) DrawFocus(p);
}

void CHoverButton::DrawFocus(QPainter& p) const {
    // Where the keyboard is, in the caption's colour so it shows on the button's own fill.
    QPen pen(m_flags & TextButton ? GdiPaint::ToQColor(m_textColor)
                                  : SystemColors::Get(COLOR_BTNTEXT));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(3, 3, -4, -4));
}

void CHoverButton::keyPressEvent(QKeyEvent* event) {
    // Return and Enter press a focused button as Space does, in any window.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled() &&
        event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CHoverButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && m_backFromPalette)
        m_backColor = GdiPaint::FromQColor(SystemColors::Get(COLOR_BTNFACE));
    QPushButton::changeEvent(event);
}

bool CHoverButton::event(QEvent* event) {
    // A picture alone says nothing to a screen reader: an icon button is named by its tip.
    if (event->type() == QEvent::ToolTipChange && m_caption.isEmpty()) setAccessibleName(toolTip());
    return QPushButton::event(event);
}

void CHoverButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    if (!m_hover) {
        m_hover = true;
        if (m_flags & (HoverFrame | TextButton)) update();
    }
}

void CHoverButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_hover && rect().contains(event->position().toPoint())) {
        m_hover = true;
        if (m_flags & (HoverFrame | TextButton)) update();
    }
    QPushButton::mouseMoveEvent(event);
}

void CHoverButton::leaveEvent(QEvent* event) {
    m_hover = false;
    m_pressed = false;
    update();
    QPushButton::leaveEvent(event);
}

void CHoverButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        update();
    }
    QPushButton::mousePressEvent(event);
}

void CHoverButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = false;
        m_hover = rect().contains(event->position().toPoint());
        update();
    }
    QPushButton::mouseReleaseEvent(event);
}
