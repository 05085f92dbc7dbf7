#include "core/manager/CCategoryTree.h"
#include "core/manager/CNoteListEdit.h"
#include "core/model/CNote.h"
#include "core/model/CTreeNode.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {
struct Data {
    CTreeNode::List categories;
    std::vector<std::unique_ptr<CNote>> owned;
    std::vector<CNote*> notes;
    Data() { categories.push_back(CTreeNode::MakeRoot()); }
    CTreeNode* Add(const char* name, int id, int parentId, int level, int childCount = 0) {
        auto owned = std::make_unique<CTreeNode>();
        CTreeNode* n = owned.get();
        n->m_name = name;
        n->m_id = id;
        n->m_parentId = parentId;
        n->m_level = level;
        n->m_childCount = childCount;
        categories.push_back(std::move(owned));
        return n;
    }
    CNote* NoteIn(int category) {
        owned.push_back(std::make_unique<CNote>());
        owned.back()->m_category = category;
        notes.push_back(owned.back().get());
        return notes.back();
    }
};

std::string Shape(const CCategoryTree& t, const CTreeNode* n) {
    std::string s = n->m_name;
    if (!t.Children(n).empty()) {
        s += "(";
        for (const CTreeNode* c : t.Children(n))
            s += Shape(t, c) + (c == t.Children(n).back() ? "" : " ");
        s += ")";
    }
    return s;
}
} // namespace

TEST(CategoryTree, ShapeFromTheArray) {
    Data d;
    d.Add("Work", 1, 0, 1, 1);
    d.Add("Home", 2, 0, 1, 1);
    d.Add("Calls", 3, 1, 2);
    d.Add("Orphan", 4, 99, 1); // its parent is gone: kept, not shown
    d.Add("Garden", 5, 2, 2);
    d.Add("Work2", 1, 0, 1, 1); // a duplicate id from a damaged file: each node shows once
    d.Add("Deep", 6, 5, 3);     // under a node whose child count says it has none: not shown
    CCategoryTree t(d.categories);
    EXPECT_EQ(Shape(t, t.Root()), "All notes(Work(Calls) Home(Garden) Work2)");
    EXPECT_FALSE(t.IsShown(d.categories[4].get()));
    EXPECT_EQ(t.Parent(d.categories[5].get()), d.categories[2].get());
    EXPECT_EQ(t.Row(d.categories[2].get()), 1);
    EXPECT_EQ(t.Parent(t.Root()), nullptr);
}

TEST(CategoryTree, NewRenameDeleteAndNeverAnIdThatNotesStillCarry) {
    Data d;
    CCategoryTree t(d.categories);
    CTreeNode* work = t.New(*t.Root(), d.notes);
    CTreeNode* calls = t.New(*work, d.notes);
    EXPECT_EQ(calls->m_name, "New");
    EXPECT_EQ(calls->m_level, 2);
    EXPECT_NE(calls->m_id, work->m_id);
    EXPECT_EQ(Shape(t, t.Root()), "All notes(New(New))");
    EXPECT_EQ(t.Parent(calls), work);
    ASSERT_TRUE(t.Rename(*work, "Work"));
    EXPECT_FALSE(t.Rename(*work, ""));
    EXPECT_FALSE(t.Rename(*t.Root(), "Everything"));
    EXPECT_EQ(Shape(t, t.Root()), "All notes(Work(New))");

    // Notes filed in a deleted branch keep their ids; a new category must not take them over.
    const int workId = work->m_id, callsId = calls->m_id;
    d.NoteIn(workId);
    d.NoteIn(callsId);
    EXPECT_EQ(t.Delete(*work), 2);
    EXPECT_EQ(t.Delete(*t.Root()), 0);
    EXPECT_EQ(d.categories.size(), 1u);
    CTreeNode* fresh = t.New(*t.Root(), d.notes);
    EXPECT_NE(fresh->m_id, workId);
    EXPECT_NE(fresh->m_id, callsId);
    EXPECT_NE(fresh->m_id, 0);
    EXPECT_EQ(t.Root()->m_childCount, 2) << "the child count never drops";
    EXPECT_EQ(Shape(t, t.Root()), "All notes(New)");

    // 141 means "no drop target"; ids run past it, and past INT_MAX into free low ids.
    Data e;
    e.Add("A", 140, 0, 1);
    EXPECT_EQ(CCategoryTree::NewId(e.categories, e.notes), 142);
    e.NoteIn(INT_MAX);
    e.Add("B", 1, 0, 1);
    EXPECT_EQ(CCategoryTree::NewId(e.categories, e.notes), 2);
}
