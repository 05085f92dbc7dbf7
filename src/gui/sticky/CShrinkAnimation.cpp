#include "gui/sticky/CShrinkAnimation.h"

#include "core/sticky/CNoteGeometry.h"
#include "gui/platform/GdiPaint.h"

#include <QPainter>
#include <QWidget>

namespace {
constexpr int kCloseStepMs = 15;
constexpr int kDeleteStepMs = 30;
constexpr int kSteps = 3;
} // namespace

CShrinkAnimation::CShrinkAnimation(QWidget& window, std::function<void()> finished, Kind kind)
    : m_window(window), m_kind(kind), m_finished(std::move(finished)) {
    m_timer.setInterval(kind == Delete ? kDeleteStepMs : kCloseStepMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Step(); });
}

void CShrinkAnimation::Start(const QPixmap& picture) {
    m_start = GdiPaint::FromQRect(m_window.geometry());
    m_picture = picture;
    for (QWidget* w : m_window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        w->hide();
    m_window.setMinimumSize(0, 0);
    m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_step = 0;
    Step();
    m_timer.start();
}

void CShrinkAnimation::Step() {
    if (++m_step <= kSteps) {
        const RECT r = m_kind == Delete ? CNoteGeometry::DeleteStep(m_start, m_step)
                                        : CNoteGeometry::CloseStep(m_start, m_step);
        m_window.setGeometry(GdiPaint::ToQRect(r));
        return;
    }
    m_timer.stop();
    m_finished(); // may destroy the window
}

void CShrinkAnimation::Paint(QPainter& p) const {
    if (!m_picture.isNull()) p.drawPixmap(0, 0, m_picture);
}
