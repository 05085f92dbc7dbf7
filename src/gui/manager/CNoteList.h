#pragma once

#include "core/manager/CNoteListDrag.h"
#include "core/manager/CNoteSort.h"

#include <QTableView>

#include <vector>

class CNote;
class CNoteListModel;
class CTypeTree;

// The note list: one row per note that passes the filter, drawn by its delegate. Header clicks
// sort the notes themselves (by title, time or type, each column's direction flipping on every
// click), Ctrl+A selects every row, Ctrl+Alt+Up/Down move the selected notes by an hour. A drag
// onto the category tree files the selected notes in the category it ends on; a left drag that
// ends elsewhere posts them there.
class CNoteList : public QTableView {
    Q_OBJECT
public:
    explicit CNoteList(QWidget* parent = nullptr);

    CNoteListModel* Model() const { return m_model; }
    // The tree that right drags end on (not owned).
    void SetCategoryTree(CTypeTree* tree) { m_tree = tree; }
    // Right drags start only while the category tree is shown (full view).
    void SetRightDragEnabled(bool on) { m_rightDragEnabled = on; }
    // The direction flags of the header clicks; the process-wide ones unless set.
    void SetToggles(CNoteSort::Toggles* toggles) { m_toggles = toggles; }

    // Rows anew from the notes and the filter, then the first row selected and shown.
    void RefreshList();
    // After a find that narrows the last one: the rows that still match, the first selected.
    void NarrowList();
    // Column widths for the list's font; the note column takes what is left.
    void ResizeColumns();
    // Moves the selected notes one hour later or earlier and rewrites their rows.
    void ShiftSelectedTimes(bool later);
    void SortByColumn(int column);

    // The notes of the selected rows, in row order.
    std::vector<CNote*> SelectedNotes() const;
    int CurrentRow() const { return m_currentRow; }
    const CNoteListDrag& Drag() const { return m_drag; }

signals:
    // The editor should show the note of this row (none when the list is empty).
    void showNote(int row);
    // The selected notes should be posted on the desktop at this screen point.
    void postNotes(const QPoint& globalPos);
    // The selected notes were filed in this category.
    void notesFiled(int category);
    // The selected notes were moved by an hour.
    void timesShifted();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void SelectFirstRow();
    void FollowSelection();
    void Apply(const CNoteListDrag::Effect& effect, const QPoint& globalPos);
    void DropOnCategory();
    bool OverTree(const QPoint& globalPos) const;

    CNoteListModel* m_model;
    CTypeTree* m_tree = nullptr;
    CNoteSort::Toggles* m_toggles = &CNoteSort::SharedToggles();
    CNoteListDrag m_drag;
    bool m_rightDragEnabled = true;
    bool m_leftDownOnRow = false;
    QPoint m_pressPos;
    int m_currentRow = 0;
};
