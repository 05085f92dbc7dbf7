#include "core/model/CTreeNode.h"

#include <algorithm>

std::unique_ptr<CTreeNode> CTreeNode::MakeRoot() {
    auto root = std::make_unique<CTreeNode>();
    root->m_name = "All notes";
    return root;
}

CTreeNode* CTreeNode::New(List& categories, CTreeNode& parent) {
    int maxId = 0;
    for (const auto& c : categories)
        maxId = std::max(maxId, c->m_id);
    auto owned = std::make_unique<CTreeNode>();
    CTreeNode* node = owned.get();
    node->m_name = "New";
    node->m_parentId = parent.m_id;
    node->m_level = parent.m_level + 1;
    node->m_id = maxId + 1; // unique and non-zero
    ++parent.m_childCount;
    categories.push_back(std::move(owned));
    return node;
}

bool CTreeNode::Rename(CTreeNode& node, const std::string& name) {
    if (name.empty() || node.m_id == 0) return false;
    node.m_name = name;
    return true;
}

int CTreeNode::Delete(List& categories, int id) {
    if (id == 0) return 0;
    // Parents precede children, so one pass marks a whole branch.
    std::vector<int> marked{id};
    for (const auto& c : categories) {
        if (c->m_id == 0) continue;
        if (std::find(marked.begin(), marked.end(), c->m_id) != marked.end() ||
            std::find(marked.begin(), marked.end(), c->m_parentId) != marked.end()) {
            c->m_level = -1;
            marked.push_back(c->m_id);
        }
    }
    int removed = 0;
    std::erase_if(categories, [&](const std::unique_ptr<CTreeNode>& c) {
        if (c->m_level != -1) return false;
        ++removed;
        return true;
    });
    return removed;
}
