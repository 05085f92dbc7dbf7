#include "core/manager/CCategoryTree.h"

#include "core/manager/CNoteListEdit.h"
#include "core/model/CNote.h"
#include "core/model/CTreeNode.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

CCategoryTree::CCategoryTree(CTreeNode::List& categories) : m_categories(categories) {
    Rebuild();
}

void CCategoryTree::Rebuild() {
    m_places.clear();
    if (m_categories.empty()) return;
    // Candidates by (parent id, level), in array order; then breadth first from the root, so
    // deep or cyclic data cannot exhaust the stack.
    std::unordered_map<long long, std::vector<CTreeNode*>> byParent;
    auto keyOf = [](int parentId, int level) {
        return (static_cast<long long>(parentId) << 32) ^ static_cast<unsigned>(level);
    };
    for (size_t k = 1; k < m_categories.size(); ++k)
        byParent[keyOf(m_categories[k]->m_parentId, m_categories[k]->m_level)].push_back(
            m_categories[k].get());
    CTreeNode* root = m_categories[0].get();
    m_places[root];
    std::vector<std::pair<CTreeNode*, int>> queue{{root, 1}};
    for (size_t q = 0; q < queue.size(); ++q) {
        auto [node, level] = queue[q];
        if (node != root && node->m_childCount <= 0) continue;
        auto it = byParent.find(keyOf(node->m_id, level));
        if (it == byParent.end()) continue;
        for (CTreeNode* child : it->second) {
            if (m_places.count(child)) continue;
            Place& p = m_places[child];
            p.parent = node;
            Place& parentPlace = m_places[node];
            p.row = static_cast<int>(parentPlace.children.size());
            parentPlace.children.push_back(child);
            queue.emplace_back(child, level + 1);
        }
    }
}

const std::vector<CTreeNode*>& CCategoryTree::Children(const CTreeNode* node) const {
    static const std::vector<CTreeNode*> none;
    auto it = m_places.find(node);
    return it == m_places.end() ? none : it->second.children;
}

CTreeNode* CCategoryTree::Parent(const CTreeNode* node) const {
    auto it = m_places.find(node);
    return it == m_places.end() ? nullptr : it->second.parent;
}

int CCategoryTree::Row(const CTreeNode* node) const {
    auto it = m_places.find(node);
    return it == m_places.end() ? 0 : it->second.row;
}

CTreeNode* CCategoryTree::FindById(int id) const {
    for (const auto& c : m_categories)
        if (c->m_id == id) return c.get();
    return nullptr;
}

int CCategoryTree::NewId(const CTreeNode::List& categories, std::span<CNote* const> notes) {
    std::unordered_set<int> used{0, CNoteListEdit::kNoCategory};
    int maxId = 0;
    for (const auto& c : categories) {
        used.insert(c->m_id);
        maxId = std::max(maxId, c->m_id);
    }
    for (const CNote* n : notes) {
        used.insert(n->m_category);
        maxId = std::max(maxId, n->m_category);
    }
    // Past every id in use (the drop marker 141 is never handed out); only when that runs out
    // of ints, the smallest free one.
    if (maxId < INT_MAX - 1) return maxId + 1 == CNoteListEdit::kNoCategory ? maxId + 2 : maxId + 1;
    int id = 1;
    while (used.count(id))
        ++id;
    return id;
}

CTreeNode* CCategoryTree::New(CTreeNode& parent, std::span<CNote* const> notes) {
    const int id = NewId(m_categories, notes);
    CTreeNode* node = CTreeNode::New(m_categories, parent);
    node->m_id = id;
    Rebuild();
    return node;
}

int CCategoryTree::Delete(CTreeNode& node) {
    const int removed = CTreeNode::Delete(m_categories, node.m_id);
    Rebuild();
    return removed;
}

bool CCategoryTree::Rename(CTreeNode& node, const std::string& name) {
    return CTreeNode::Rename(node, name);
}
