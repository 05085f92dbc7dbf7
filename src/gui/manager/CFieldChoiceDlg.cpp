#include "gui/manager/CFieldChoiceDlg.h"

#include "gui/widgets/DialogUnits.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const char* const kListNames[] = {"Years", "Months",  "Weekdays",          "Days",
                                  "Hours", "Minutes", "Weeks of the month"};
}

CFieldChoiceDlg::CFieldChoiceDlg(const CFieldChoices& choices, QPoint topLeft, QWidget* owner)
    : QFrame(owner, Qt::Popup | Qt::FramelessWindowHint), m_choices(choices) {
    setFrameStyle(QFrame::NoFrame);
    setFont(DialogUnits::DialogFont());
    const QString name =
        QString::fromLatin1(kListNames[choices.kind >= 0 && choices.kind <= 6 ? choices.kind : 0]);
    setAccessibleName(name);

    m_list = new QListWidget(this);
    m_list->setAccessibleName(name);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(choices.scrollBar ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
    for (const std::string& e : choices.entries)
        m_list->addItem(QString::fromStdString(e));
    if (choices.preselect >= 0 && choices.preselect < m_list->count())
        m_list->setCurrentRow(choices.preselect);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);

    // As wide as the sample text (plus the scroll bar), as high as the rows it shows.
    const QFontMetrics fm(m_list->font());
    const int frame = m_list->frameWidth();
    int width = fm.horizontalAdvance(QString::fromStdString(choices.widthSample)) + 2 * frame + 8;
    if (choices.scrollBar) width += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int row = m_list->count() ? m_list->sizeHintForRow(0) : fm.height();
    const QSize size(width, row * choices.visibleRows + 2 * frame);
    resize(size);

    QPoint at = topLeft;
    if (const QScreen* screen = QGuiApplication::screenAt(topLeft)) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - size.width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - size.height())));
    }
    move(at);

    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Finish(true, m_list->row(item)); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Finish(true, m_list->row(item)); });
}

void CFieldChoiceDlg::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    m_list->setFocus(Qt::PopupFocusReason);
    if (m_list->currentItem()) m_list->scrollToItem(m_list->currentItem());
}

void CFieldChoiceDlg::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    Finish(false, -1); // closed without a pick
}

void CFieldChoiceDlg::Finish(bool picked, int index) {
    if (m_done) return;
    m_done = true;
    hide();
    emit closed(picked, index);
}
