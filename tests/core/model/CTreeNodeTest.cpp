#include "core/model/CTreeNode.h"

#include <gtest/gtest.h>

#include <set>

namespace {
struct Tree {
    Tree() { nodes.push_back(CTreeNode::MakeRoot()); }
    CTreeNode::List nodes;
};
} // namespace

TEST(CTreeNode, NewAndDelete) {
    Tree t;
    CTreeNode* a = CTreeNode::New(t.nodes, *t.nodes[0]);
    CTreeNode* b = CTreeNode::New(t.nodes, *a);
    CTreeNode* c = CTreeNode::New(t.nodes, *b);
    CTreeNode* d = CTreeNode::New(t.nodes, *t.nodes[0]);
    EXPECT_EQ(a->m_name, "New");
    EXPECT_EQ(b->m_parentId, a->m_id);
    EXPECT_EQ(c->m_level, 3);
    EXPECT_EQ(t.nodes[0]->m_childCount, 2);
    std::set<int> ids; // unique, and none is the root's 0
    for (const auto& n : t.nodes)
        ids.insert(n->m_id);
    EXPECT_EQ(ids.size(), t.nodes.size());

    // Deleting a branch removes its descendants; the root and other branches stay.
    int dId = d->m_id;
    EXPECT_EQ(CTreeNode::Delete(t.nodes, a->m_id), 3);
    ASSERT_EQ(t.nodes.size(), 2u);
    EXPECT_EQ(t.nodes[1]->m_id, dId);
    EXPECT_EQ(CTreeNode::Delete(t.nodes, 0), 0);
    // A new node after deletions still gets an unused id, and the child count never drops.
    CTreeNode* e = CTreeNode::New(t.nodes, *t.nodes[0]);
    EXPECT_NE(e->m_id, dId);
    EXPECT_EQ(t.nodes[0]->m_childCount, 3);
}
