#pragma once

#include <QStyledItemDelegate>

// Draws the note list's cells: the row icon and title in the first column, centred texts in
// the others with the odd ones tinted, the whole row highlighted when selected, due-soon
// notes in their shifted text colour, and the focus frame around the current row.
class CNoteListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kIconSize = 16;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the title starts in a first-column cell (the highlight starts there too).
    static int LabelLeft(const QRect& cell) { return cell.left() + kIconSize + 4; }
};
