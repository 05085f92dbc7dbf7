#include "gui/widgets/CUpDownButtons.h"

#include <QToolButton>

CUpDownButtons::CUpDownButtons(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setIconSize(QSize(6, 6));
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    SetName(tr("Arrows"));
}

void CUpDownButtons::SetName(const QString& name) {
    setAccessibleName(name);
    m_up->setAccessibleName(name + tr(" up"));
    m_down->setAccessibleName(name + tr(" down"));
}

void CUpDownButtons::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
