#include "model/CTreeNode.h"

#include <algorithm>

CTreeNode* CTreeNode::MakeRoot() {
    auto* root = new CTreeNode;
    root->m_name = "All notes";
    return root;
}

CTreeNode* CTreeNode::New(std::vector<CTreeNode*>& categories, CTreeNode& parent) {
    int maxId = 0;
    for (const CTreeNode* c : categories)
        maxId = std::max(maxId, c->m_id);
    auto* node = new CTreeNode;
    node->m_name = "New";
    node->m_parentId = parent.m_id;
    node->m_level = parent.m_level + 1;
    node->m_id = maxId + 1; // unique and non-zero
    ++parent.m_childCount;
    categories.push_back(node);
    return node;
}

bool CTreeNode::Rename(CTreeNode& node, const std::string& name) {
    if (name.empty() || node.m_id == 0) return false;
    node.m_name = name;
    return true;
}

int CTreeNode::Delete(std::vector<CTreeNode*>& categories, int id) {
    if (id == 0) return 0;
    // Parents precede children, so one pass marks a whole branch.
    std::vector<int> marked{id};
    for (CTreeNode* c : categories) {
        if (c->m_id == 0) continue;
        if (std::find(marked.begin(), marked.end(), c->m_id) != marked.end() ||
            std::find(marked.begin(), marked.end(), c->m_parentId) != marked.end()) {
            c->m_level = -1;
            marked.push_back(c->m_id);
        }
    }
    int removed = 0;
    std::erase_if(categories, [&](CTreeNode* c) {
        if (c->m_level != -1) return false;
        delete c;
        ++removed;
        return true;
    });
    return removed;
}
