#include "gui/manager/CManagerStatusLine.h"

#include "gui/calendar/CCalendarCtrl.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

CManagerStatusLine::CManagerStatusLine(QWidget& window, const CCalendarCtrl& calendar)
    : QObject(&window), m_calendar(calendar), m_status(new QLabel(&window)),
      m_find(new QLineEdit(&window)) {
    m_find->setPlaceholderText(QStringLiteral("Find"));
    m_find->setClearButtonEnabled(true);
    m_find->hide();
    m_find->installEventFilter(this);
    connect(m_find, &QLineEdit::textChanged, this, &CManagerStatusLine::findChanged);
}

void CManagerStatusLine::Place(int left, int top, int width, int height) {
    m_status->setGeometry(left, top, width, height);
    m_find->setGeometry(left + width / 2, top - 2, width / 2, height + 4);
}

void CManagerStatusLine::WatchDue(IDesktopNotices* notices, const std::vector<CNote*>& notes,
                                  const COleDateTime& now) {
    const std::string status = m_due.Tell(notices, notes, now, "the Note Manager");
    if (status != m_dueText) {
        m_dueText = status;
        ShowText();
    }
}

void CManagerStatusLine::WithdrawDue(IDesktopNotices* notices) {
    m_due.WithdrawAll(notices);
}

void CManagerStatusLine::ShowText() {
    m_status->setText(m_dueText.empty() ? m_calendar.InfoText()
                                        : QString::fromStdString(m_dueText));
}

void CManagerStatusLine::ShowFind() {
    m_find->show();
    m_find->raise();
    m_find->setFocus();
    m_find->selectAll();
}

bool CManagerStatusLine::ClearFind() {
    if (m_find->isHidden() && m_find->text().isEmpty()) return false;
    m_find->hide();
    m_find->clear();
    emit findLeft();
    return true;
}

bool CManagerStatusLine::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_find && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Escape) {
            ClearFind();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit findLeft();
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}
