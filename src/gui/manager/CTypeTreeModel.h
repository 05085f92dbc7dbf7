#pragma once

#include "core/manager/CCategoryTree.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <span>
#include <vector>

class CNote;
class CTreeNode;

// The categories as a tree model: "All notes" on top, each category under its parent. Items
// carry their CTreeNode; a category's name is edited in place (an empty name is refused, the
// root is not editable). One item can be marked as the target of a note drag.
class CTypeTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CTypeTreeModel(CTreeNode::List& categories, QObject* parent = nullptr);

    // After the category array changed behind the model.
    void Rebuild();

    CTreeNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const CTreeNode* node) const;
    QModelIndex RootIndex() const { return index(0, 0); }

    // A "New" child at the end of parent's children; notes' category ids are not reused.
    QModelIndex New(const QModelIndex& parent, std::span<CNote* const> notes);
    // The item with its whole branch; returns how many categories went.
    int Delete(const QModelIndex& index);

    void SetDropTarget(const QModelIndex& index);
    QModelIndex DropTarget() const { return IndexOf(m_dropNode); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CCategoryTree m_tree;
    QIcon m_icon;
    const CTreeNode* m_dropNode = nullptr;
};
