#pragma once

#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/model/CTreeNode.h"

class CNote;

// The category tree as the manager shows it, over the caller's category array (element 0 is
// the "All notes" root). Under each shown node come, in array order, the categories one level
// deeper whose parent id is the node's; a category whose parent is missing is kept in the data
// but not shown, and a corrupt file cannot show a node twice.
class CCategoryTree {
public:
    explicit CCategoryTree(CTreeNode::List& categories);

    // Recomputes the shape after the array changed behind the tree's back.
    void Rebuild();

    CTreeNode* Root() const { return m_categories.empty() ? nullptr : m_categories[0].get(); }
    bool IsShown(const CTreeNode* node) const { return m_places.count(node) != 0; }
    // Children of a shown node, in order; empty for others.
    const std::vector<CTreeNode*>& Children(const CTreeNode* node) const;
    // The parent of a shown node (null for the root) and the node's index among its siblings.
    CTreeNode* Parent(const CTreeNode* node) const;
    int Row(const CTreeNode* node) const;
    CTreeNode* FindById(int id) const;

    // A child named "New" appended under parent. Its id is non-zero, unused by any category
    // and by any note, so notes of a deleted category never turn up under a new one.
    CTreeNode* New(CTreeNode& parent, std::span<CNote* const> notes);
    static int NewId(const CTreeNode::List& categories, std::span<CNote* const> notes);
    // Removes the node with its whole branch; the root stays. Returns how many were removed.
    int Delete(CTreeNode& node);
    // An empty name changes nothing; the root keeps its name.
    bool Rename(CTreeNode& node, const std::string& name);

    CTreeNode::List& Categories() { return m_categories; }

private:
    struct Place {
        CTreeNode* parent = nullptr;
        int row = 0;
        std::vector<CTreeNode*> children;
    };
    CTreeNode::List& m_categories;
    std::unordered_map<const CTreeNode*, Place> m_places;
};
