#pragma once

#include <memory>
#include <string>
#include <vector>

// A user category; element 0 of the category array is the built-in "All notes" root.
class CTreeNode {
public:
    int m_childCount = 0;
    int m_level = 0; // -1 while being deleted
    std::string m_name;
    int m_id = 0;
    int m_parentId = 0;
    void* m_treeItem = nullptr; // the manager's tree item while shown; not stored

    using List = std::vector<std::unique_ptr<CTreeNode>>;

    static std::unique_ptr<CTreeNode> MakeRoot();

    // Appends a child named "New" under parent with a fresh id; returns it.
    static CTreeNode* New(List& categories, CTreeNode& parent);
    // An empty name changes nothing; the root is never renamed.
    static bool Rename(CTreeNode& node, const std::string& name);
    // Removes node and all its descendants (deleting them); the root is never removed.
    // Returns how many were removed.
    static int Delete(List& categories, int id);
};
