#pragma once

#include "core/model/CTreeNode.h"

#include <QTreeView>

#include <vector>

class CNote;
class CTypeTreeModel;
class IDialogs;

// The category tree of the manager. A right click on an item offers New (a child named "New"),
// and on any item but "All notes" Rename (edited in place) and Delete (the whole branch, after
// a confirmation). During a right drag from the note list it marks the item under the pointer
// as the drop target.
class CTypeTree : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kNoTarget = 141;
    enum Command { CmdNew = 139, CmdDelete = 140, CmdRename = 200 };

    explicit CTypeTree(QWidget* parent = nullptr);

    // The caller's categories (element 0 is the root) and notes; neither is owned. The notes
    // keep new category ids clear of the ids they carry. Without dialogs, real boxes ask.
    void Attach(CTreeNode::List& categories, const std::vector<CNote*>* notes,
                IDialogs* dialogs = nullptr);
    // Shows the categories afresh, root expanded and selected.
    void BuildTree();

    CTypeTreeModel* Model() const { return m_model; }
    // The id of the selected category; 0 (all notes) when none is.
    int SelectedId() const;

    // Marks the item under a screen point as the drop target (none: kNoTarget).
    void TrackDrop(const QPoint& globalPos);
    void EndDrop();
    int DropTarget() const { return m_dropTarget; }

    // The context menu's commands on an item.
    void RunCommand(int command, const QModelIndex& item);

signals:
    // The selected category changed (its id; 0 is "All notes").
    void categorySelected(int id);

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    void ShowMenu(const QModelIndex& item);

    CTypeTreeModel* m_model = nullptr;
    const std::vector<CNote*>* m_notes = nullptr;
    IDialogs* m_dialogs = nullptr;
    int m_dropTarget = kNoTarget;
};
