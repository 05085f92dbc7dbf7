#include "gui/manager/CNoteList.h"

#include "core/manager/CNoteListEdit.h"
#include "core/platform/SystemMetrics.h"
#include "gui/manager/CManagerIcons.h"
#include "gui/manager/CNoteListDelegate.h"
#include "gui/manager/CNoteListModel.h"
#include "gui/manager/CTypeTree.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

CNoteList::CNoteList(QWidget* parent) : QTableView(parent), m_model(new CNoteListModel(this)) {
    setModel(m_model);
    setItemDelegate(new CNoteListDelegate(this));
    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setToolTip(QStringLiteral("Note List"));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The user may widen a column to read a long text; the note column takes what is left.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(CNoteListModel::NoteColumn, QHeaderView::Stretch);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CNoteList::SortByColumn);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CNoteList::FollowSelection);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CNoteList::FollowSelection);
    ResizeColumns();
}

void CNoteList::ResizeColumns() {
    const QFontMetrics fm(font());
    verticalHeader()->setDefaultSectionSize(
        std::max(CNoteListDelegate::kIconSize + 2, fm.height() + 4));
    // The longest texts of each column, plus the insets the cells draw their texts with.
    const int insets = 4 * fm.horizontalAdvance(QLatin1Char(' '));
    auto* h = horizontalHeader();
    h->resizeSection(CNoteListModel::TimeColumn,
                     fm.horizontalAdvance(QStringLiteral("Wed, May 36,9998 92:36 AM")) + insets +
                         12 * SystemMetrics::SM_CXBORDER);
    h->resizeSection(CNoteListModel::TimeLeftColumn,
                     fm.horizontalAdvance(QStringLiteral("9999 minutes")) + insets);
    int type = 0;
    for (const char* t : {"One Time", "Weekend", "99 minutes"})
        type = std::max(type, fm.horizontalAdvance(QString::fromLatin1(t)));
    h->resizeSection(CNoteListModel::TypeColumn, type + insets);
}

void CNoteList::RefreshList() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->Refill();
    SelectFirstRow();
    QApplication::restoreOverrideCursor();
}

void CNoteList::NarrowList() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model->Narrow();
    SelectFirstRow();
    QApplication::restoreOverrideCursor();
}

void CNoteList::SelectFirstRow() {
    m_currentRow = 0;
    if (m_model->rowCount() > 0)
        selectionModel()->setCurrentIndex(
            m_model->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToTop();
    emit showNote(m_model->rowCount() > 0 ? 0 : -1);
    setFocus();
}

void CNoteList::FollowSelection() {
    const QModelIndex current = selectionModel()->currentIndex();
    if (!current.isValid() || current.row() == m_currentRow) return;
    if (!selectionModel()->isRowSelected(current.row(), QModelIndex())) return;
    m_currentRow = current.row();
    emit showNote(m_currentRow);
}

void CNoteList::SortByColumn(int column) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool ascending = false;
    const CNoteSort::Key key = m_toggles->Take(column, ascending);
    m_model->Sort(key, ascending);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    SelectFirstRow();
    QApplication::restoreOverrideCursor();
}

std::vector<CNote*> CNoteList::SelectedNotes() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<CNote*> notes;
    notes.reserve(rows.size());
    for (const QModelIndex& i : rows)
        if (CNote* n = m_model->NoteAt(i.row())) notes.push_back(n);
    return notes;
}

void CNoteList::ShiftSelectedTimes(bool later) {
    CNoteListEdit::ShiftByHour(SelectedNotes(), later);
    for (const QModelIndex& i : selectionModel()->selectedRows())
        m_model->UpdateRow(i.row());
    emit showNote(m_currentRow);
    emit timesShifted();
}

void CNoteList::keyPressEvent(QKeyEvent* e) {
    const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (mods == (Qt::ControlModifier | Qt::AltModifier) &&
        (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down)) {
        ShiftSelectedTimes(e->key() == Qt::Key_Up);
        return;
    }
    if (mods == Qt::ControlModifier && e->key() == Qt::Key_A) {
        selectAll();
        return;
    }
    QTableView::keyPressEvent(e);
}

void CNoteList::Apply(const CNoteListDrag::Effect& effect, const QPoint& globalPos) {
    using C = CNoteListDrag::Cursor;
    if (effect.cursor == C::Arrow)
        viewport()->unsetCursor();
    else if (effect.cursor != C::Unchanged)
        viewport()->setCursor(CManagerIcons::DragCursor(effect.cursor == C::Many));
    switch (effect.action) {
    case CNoteListDrag::Action::PostNotes:
        emit postNotes(globalPos);
        break;
    case CNoteListDrag::Action::DropOnCategory:
        DropOnCategory();
        break;
    case CNoteListDrag::Action::TrackCategory:
        if (OverTree(globalPos))
            m_tree->TrackDrop(globalPos);
        else if (m_tree)
            m_tree->EndDrop();
        break;
    case CNoteListDrag::Action::None:
        break;
    }
}

bool CNoteList::OverTree(const QPoint& globalPos) const {
    if (!m_tree || !m_tree->isVisible()) return false;
    QWidget* under = QApplication::widgetAt(globalPos);
    return under && (under == m_tree || m_tree->isAncestorOf(under));
}

void CNoteList::DropOnCategory() {
    const int target = m_tree ? m_tree->DropTarget() : CNoteListEdit::kNoCategory;
    if (m_tree) m_tree->EndDrop();
    bool refresh = false;
    if (!CNoteListEdit::FileInCategory(SelectedNotes(), target, m_model->CategoryFilter(), refresh))
        return;
    if (refresh) RefreshList(); // the filed notes leave the category shown
    emit notesFiled(target);
}

void CNoteList::mousePressEvent(QMouseEvent* e) {
    const QPoint global = e->globalPosition().toPoint();
    if (e->button() == Qt::RightButton) {
        // A right click neither selects nor opens anything: it may start a drag to the tree.
        Apply(m_drag.RightDown(m_rightDragEnabled && m_tree), global);
        e->accept();
        return;
    }
    if (e->button() == Qt::LeftButton) {
        m_pressPos = e->position().toPoint();
        m_leftDownOnRow = indexAt(m_pressPos).isValid();
    }
    QTableView::mousePressEvent(e);
}

void CNoteList::mouseMoveEvent(QMouseEvent* e) {
    const QPoint global = e->globalPosition().toPoint();
    const auto state = m_drag.GetState();
    if (state != CNoteListDrag::State::Idle) {
        // The count only picks the cursor, on the first move.
        const bool first = state == CNoteListDrag::State::LeftPending ||
                           state == CNoteListDrag::State::RightPending;
        Apply(m_drag.MouseMoved(first ? static_cast<int>(selectionModel()->selectedRows().size())
                                      : 0),
              global);
        return;
    }
    if ((e->buttons() & Qt::LeftButton) && m_leftDownOnRow) {
        // Pressed on a row the pointer drags the notes, it does not stretch the selection.
        if ((e->position().toPoint() - m_pressPos).manhattanLength() >=
            QApplication::startDragDistance())
            Apply(m_drag.LeftDragDetected(), global);
        return;
    }
    QTableView::mouseMoveEvent(e);
}

void CNoteList::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint global = e->globalPosition().toPoint();
    if (e->button() == Qt::RightButton) {
        Apply(m_drag.RightUp(), global);
        e->accept();
        return;
    }
    if (e->button() == Qt::LeftButton) {
        m_leftDownOnRow = false;
        if (m_drag.GetState() != CNoteListDrag::State::Idle) {
            // The end of a drag is no click: the selection that was dragged stays as it is.
            Apply(m_drag.LeftUp(OverTree(global)), global);
            setState(NoState);
            e->accept();
            return;
        }
        Apply(m_drag.Clicked(), global);
    }
    QTableView::mouseReleaseEvent(e);
}
