#include "gui/manager/CNoteListDelegate.h"

#include "core/manager/CNoteListFormat.h"
#include "core/platform/SystemMetrics.h"
#include "gui/manager/CManagerIcons.h"
#include "gui/manager/CNoteListModel.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"

#include <QAbstractItemView>
#include <QPainter>

void CNoteListDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    p->save();
    const QRect cell = option.rect;
    const int column = index.column();
    // The list always shows its selection, with or without the focus.
    const bool highlighted = option.state & QStyle::State_Selected;
    const QColor window = SystemColors::Get(COLOR_WINDOW);
    const QColor highlight = SystemColors::Get(COLOR_HIGHLIGHT);
    QColor text = SystemColors::Get(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (!highlighted && index.data(CNoteListModel::DueSoonRole).toBool())
        text = GdiPaint::ToQColor(CNoteListFormat::DueSoonTextColor(GdiPaint::FromQColor(text)));
    // A note without a title shows its first line of text, greyed as a stand-in.
    if (!highlighted && column == CNoteListModel::NoteColumn &&
        index.data(CNoteListModel::UntitledRole).toBool())
        text = SystemColors::Get(COLOR_GRAYTEXT);
    const QFontMetrics fm(option.font);
    const int offset = 2 * fm.horizontalAdvance(QLatin1Char(' '));
    const QString label = index.data(Qt::DisplayRole).toString();
    p->setFont(option.font);

    QRect textRect;
    int align = Qt::AlignVCenter | Qt::TextSingleLine;
    if (column == CNoteListModel::NoteColumn) {
        p->fillRect(cell, window);
        const int labelLeft = LabelLeft(cell);
        if (highlighted)
            p->fillRect(QRect(labelLeft, cell.top(), cell.right() - labelLeft + 1, cell.height()),
                        highlight);
        const QRectF icon(cell.left() + 2, cell.top() + (cell.height() - kIconSize) / 2, kIconSize,
                          kIconSize);
        CManagerIcons::PaintNoteIcon(*p, icon, index.data(CNoteListModel::IconRole).toInt());
        textRect = QRect(labelLeft, cell.top(), cell.right() + 1 - labelLeft, cell.height())
                       .adjusted(offset / 2, 0, -offset, 0);
        align |= Qt::AlignLeft;
    } else {
        const QColor back = highlighted ? highlight
                            : column % 2 == 1
                                ? GdiPaint::ToQColor(CNoteListFormat::TintedColumnColor(
                                      GdiPaint::FromQColor(window)))
                                : window;
        p->fillRect(cell, back);
        textRect = cell.adjusted(offset, 0, -offset, 0);
        align |= Qt::AlignHCenter;
    }
    if (!label.isEmpty()) {
        p->setPen(text);
        p->drawText(textRect, align, fm.elidedText(label, Qt::ElideRight, textRect.width()));
    }

    // The focus frame around the current row's highlight, one cell's share at a time.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view && view->hasFocus() && view->currentIndex().row() == index.row()) {
        QRect r = cell.adjusted(0, 0, -1, -1);
        if (column == CNoteListModel::NoteColumn) r.setLeft(LabelLeft(cell));
        p->setPen(QPen(highlighted ? SystemColors::Get(COLOR_HIGHLIGHTTEXT)
                                   : SystemColors::Get(COLOR_WINDOWTEXT),
                       1, Qt::DotLine));
        p->drawLine(r.topLeft(), r.topRight());
        p->drawLine(r.bottomLeft(), r.bottomRight());
        if (column == CNoteListModel::NoteColumn) p->drawLine(r.topLeft(), r.bottomLeft());
        if (column == CNoteListModel::ColumnCount - 1) p->drawLine(r.topRight(), r.bottomRight());
    }
    p->restore();
}

QSize CNoteListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QFontMetrics fm(option.font);
    const int w = fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()) +
                  4 * fm.horizontalAdvance(QLatin1Char(' ')) +
                  (index.column() == 0 ? kIconSize + 4 : 0);
    return QSize(w, std::max(kIconSize + 2, fm.height() + 4));
}
