#include "gui/manager/CTypeTreeModel.h"

#include "core/model/CTreeNode.h"
#include "core/platform/SystemMetrics.h"
#include "gui/manager/CManagerIcons.h"
#include "gui/platform/SystemColors.h"

#include <algorithm>

CTypeTreeModel::CTypeTreeModel(CTreeNode::List& categories, QObject* parent)
    : QAbstractItemModel(parent), m_tree(categories), m_icon(CManagerIcons::FolderIcon()) {}

void CTypeTreeModel::Rebuild() {
    beginResetModel();
    m_dropNode = nullptr;
    m_tree.Rebuild();
    endResetModel();
}

CTreeNode* CTypeTreeModel::NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<CTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex CTypeTreeModel::IndexOf(const CTreeNode* node) const {
    if (!node || !m_tree.IsShown(node)) return {};
    return createIndex(m_tree.Row(node), 0, const_cast<CTreeNode*>(node));
}

QModelIndex CTypeTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid())
        return row == 0 && m_tree.Root() ? createIndex(0, 0, m_tree.Root()) : QModelIndex();
    const auto& children = m_tree.Children(NodeOf(parent));
    return row < static_cast<int>(children.size()) ? createIndex(row, 0, children[row])
                                                   : QModelIndex();
}

QModelIndex CTypeTreeModel::parent(const QModelIndex& child) const {
    return IndexOf(m_tree.Parent(NodeOf(child)));
}

int CTypeTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return m_tree.Root() ? 1 : 0;
    return static_cast<int>(m_tree.Children(NodeOf(parent)).size());
}

int CTypeTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CTypeTreeModel::data(const QModelIndex& index, int role) const {
    const CTreeNode* node = NodeOf(index);
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(node->m_name);
    case Qt::DecorationRole:
        return m_icon;
    case Qt::BackgroundRole: // the drop target looks selected
        return node == m_dropNode ? QVariant(SystemColors::Get(COLOR_HIGHLIGHT)) : QVariant();
    case Qt::ForegroundRole:
        return node == m_dropNode ? QVariant(SystemColors::Get(COLOR_HIGHLIGHTTEXT)) : QVariant();
    default:
        return {};
    }
}

bool CTypeTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    CTreeNode* node = NodeOf(index);
    if (!node || role != Qt::EditRole) return false;
    if (!m_tree.Rename(*node, value.toString().toStdString())) return false;
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags CTypeTreeModel::flags(const QModelIndex& index) const {
    const CTreeNode* node = NodeOf(index);
    if (!node) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (node != m_tree.Root()) f |= Qt::ItemIsEditable;
    return f;
}

QModelIndex CTypeTreeModel::New(const QModelIndex& parentIndex, std::span<CNote* const> notes) {
    CTreeNode* parent = NodeOf(parentIndex);
    if (!parent) return {};
    // Hidden categories of a damaged file could surface under a parent that had no children
    // before; then the whole tree is laid out anew instead of one row inserted.
    const auto& cats = m_tree.Categories();
    const bool hiddenUnder =
        parent->m_childCount <= 0 &&
        std::any_of(cats.begin() + 1, cats.end(), [&](const std::unique_ptr<CTreeNode>& c) {
            return c->m_parentId == parent->m_id && c->m_level == parent->m_level + 1;
        });
    CTreeNode* node = nullptr;
    if (hiddenUnder) {
        beginResetModel();
        node = m_tree.New(*parent, notes);
        endResetModel();
    } else {
        const int row = rowCount(parentIndex);
        beginInsertRows(parentIndex, row, row);
        node = m_tree.New(*parent, notes);
        endInsertRows();
    }
    return IndexOf(node);
}

int CTypeTreeModel::Delete(const QModelIndex& index) {
    CTreeNode* node = NodeOf(index);
    if (!node || node == m_tree.Root()) return 0;
    // Several categories may share the id in a damaged file: all of them go, wherever they are.
    const auto& cats = m_tree.Categories();
    const bool shared =
        std::count_if(cats.begin(), cats.end(), [&](const std::unique_ptr<CTreeNode>& c) {
            return c->m_id == node->m_id;
        }) > 1;
    m_dropNode = nullptr;
    int removed = 0;
    if (shared) {
        beginResetModel();
        removed = m_tree.Delete(*node);
        endResetModel();
    } else {
        beginRemoveRows(index.parent(), index.row(), index.row());
        removed = m_tree.Delete(*node);
        endRemoveRows();
    }
    return removed;
}

void CTypeTreeModel::SetDropTarget(const QModelIndex& index) {
    const CTreeNode* node = NodeOf(index);
    if (node == m_dropNode) return;
    const QModelIndex old = IndexOf(m_dropNode);
    m_dropNode = node;
    if (old.isValid()) emit dataChanged(old, old);
    if (index.isValid()) emit dataChanged(index, index);
}
