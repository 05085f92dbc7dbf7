#include "gui/manager/CTypeTree.h"

#include "core/model/CTreeNode.h"
#include "gui/manager/CTypeTreeModel.h"
#include "gui/platform/QtDialogs.h"

#include <QMenu>
#include <QMouseEvent>
#include <span>

CTypeTree::CTypeTree(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setEditTriggers(NoEditTriggers); // renaming starts from the menu only
    setSelectionMode(SingleSelection);
    setToolTip(QStringLiteral("Select, Create, Delete a category"));
}

void CTypeTree::Attach(CTreeNode::List& categories, const std::vector<CNote*>* notes,
                       IDialogs* dialogs) {
    static QtDialogs realDialogs;
    m_notes = notes;
    m_dialogs = dialogs ? dialogs : &realDialogs;
    auto* old = m_model;
    QItemSelectionModel* oldSelection = selectionModel();
    m_model = new CTypeTreeModel(categories, this);
    setModel(m_model);
    delete oldSelection; // the view leaves the old ones to whoever made them
    delete old;
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (const CTreeNode* n = m_model->NodeOf(current)) emit categorySelected(n->m_id);
            });
    BuildTree();
}

void CTypeTree::BuildTree() {
    if (!m_model) return;
    m_model->Rebuild();
    m_dropTarget = kNoTarget;
    const QModelIndex root = m_model->RootIndex();
    expand(root);
    setCurrentIndex(root);
}

int CTypeTree::SelectedId() const {
    const CTreeNode* n = m_model ? m_model->NodeOf(currentIndex()) : nullptr;
    return n ? n->m_id : 0;
}

void CTypeTree::TrackDrop(const QPoint& globalPos) {
    if (!m_model) return;
    const QModelIndex item = indexAt(viewport()->mapFromGlobal(globalPos));
    m_model->SetDropTarget(item);
    const CTreeNode* n = m_model->NodeOf(item);
    m_dropTarget = n ? n->m_id : kNoTarget;
}

void CTypeTree::EndDrop() {
    if (m_model) m_model->SetDropTarget({});
    m_dropTarget = kNoTarget;
}

void CTypeTree::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        const QModelIndex item = indexAt(e->position().toPoint());
        if (item.isValid()) {
            ShowMenu(item);
            return;
        }
    }
    QTreeView::mousePressEvent(e);
}

void CTypeTree::ShowMenu(const QModelIndex& item) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("New"))->setData(CmdNew);
    if (item != m_model->RootIndex()) {
        menu.addAction(QStringLiteral("Rename"))->setData(CmdRename);
        menu.addAction(QStringLiteral("Delete"))->setData(CmdDelete);
    }
    const QRect r = visualRect(item);
    const QAction* chosen = menu.exec(viewport()->mapToGlobal(QPoint(r.center().x(), r.bottom())));
    if (chosen) RunCommand(chosen->data().toInt(), QPersistentModelIndex(item));
}

void CTypeTree::RunCommand(int command, const QModelIndex& item) {
    CTreeNode* node = m_model ? m_model->NodeOf(item) : nullptr;
    if (!node) return;
    switch (command) {
    case CmdNew: {
        std::span<CNote* const> notes;
        if (m_notes) notes = *m_notes;
        const QModelIndex added = m_model->New(item, notes);
        if (added.isValid()) {
            expand(item);
            edit(added); // a new category is named first
        }
        break;
    }
    case CmdRename:
        if (item != m_model->RootIndex()) edit(item);
        break;
    case CmdDelete: {
        if (item == m_model->RootIndex()) break;
        if (m_dialogs->MessageBox("Delete " + node->m_name + " ?", "Confirmation", IDialogs::YesNo,
                                  IDialogs::Question) != IDialogs::AnswerYes)
            break;
        // When the selection goes with the branch, "All notes" is selected instead.
        const void* selected = currentIndex().internalPointer();
        m_model->Delete(item);
        if (currentIndex().internalPointer() != selected || !currentIndex().isValid())
            setCurrentIndex(m_model->RootIndex());
        break;
    }
    default:
        break;
    }
}
