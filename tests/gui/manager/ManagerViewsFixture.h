#pragma once

#include "ManagerTest.h"

#include "core/model/CNote.h"
#include "core/model/CTreeNode.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteListModel.h"
#include "gui/manager/CTypeTree.h"
#include "gui/manager/CTypeTreeModel.h"

#include "gui/support/ImageCompare.h"
#include "gui/support/ModelChecks.h"
#include "gui/support/Pixels.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The note list beside the category tree in one shown window, over six notes (every icon
// kind among them) and the categories Work (with Calls below it) and Home.
class ManagerViews : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(palette ? *palette : QApplication::style()->standardPalette());
        categories.push_back(CTreeNode::MakeRoot());
        AddCategory("Work", 1, 0, 1, 1);
        AddCategory("Home", 2, 0, 1, 0);
        AddCategory("Calls", 3, 1, 2, 0);
        AddNote("Dentist", CNote::OneTime, 3);          // red bell
        AddNote("Call Anna", CNote::OneTime, 45);       // yellow bell
        AddNote("Budget review", CNote::OneTime, 2880); // yellow page
        AddNote("Groceries", CNote::Memo, 0);           // green page
        AddNote("Zoo trip", CNote::OneTime, 300);       // green bell
        AddNote("anniversary", CNote::Every, 48 * 1440, 5001);

        window.setGeometry(30, 30, 660, 240);
        tree = new CTypeTree(&window);
        tree->setGeometry(4, 4, 150, 232);
        tree->Attach(categories, &notes);
        list = new CNoteList(&window);
        list->setGeometry(160, 4, 496, 232);
        list->Model()->SetNotes(&notes);
        list->SetCategoryTree(tree);
        list->SetToggles(&toggles);
        CheckModel(list->Model());
        CheckModel(tree->Model());
        list->ResizeColumns();
        list->RefreshList();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override {
        ManagerTest::TearDown();
        QApplication::setPalette(QApplication::style()->standardPalette());
        categories.clear();
    }

    void AddCategory(const char* name, int id, int parentId, int level, int childCount) {
        auto c = std::make_unique<CTreeNode>();
        c->m_name = name;
        c->m_id = id;
        c->m_parentId = parentId;
        c->m_level = level;
        c->m_childCount = childCount;
        categories.push_back(std::move(c));
    }
    void AddNote(const char* title, int type, int minutesAhead, int recurrence = 0) {
        auto n = std::make_unique<CNote>();
        n->m_title = title;
        n->m_type = type;
        n->m_recurrence = type == CNote::Memo ? 20000 : recurrence;
        n->m_startTime = n->m_baseTime = Now() + COleDateTimeSpan(0, 0, minutesAhead, 0);
        n->Recompute();
        notes.push_back(n.get());
        owned.push_back(std::move(n));
    }

    QWindow* Win() { return window.windowHandle(); }
    // A point of the window (for events that travel between the two views).
    QPoint InWindow(QWidget* w, QPoint p) { return w->mapTo(&window, p); }
    QPoint RowPoint(int row, int column = 0) {
        const QRect r = list->visualRect(list->Model()->index(row, column));
        return r.center();
    }
    std::string Titles() const {
        std::string s;
        for (const CNote* n : notes)
            s += n->m_title + ",";
        return s;
    }
    std::string Cell(int row, int column) const {
        return list->Model()->index(row, column).data().toString().toStdString();
    }
    // A pixel at a point in logical coordinates, on a screen of any density.
    QRgb Px(const QImage& img, int x, int y) const {
        return Pixels::At(img, x, y, window.devicePixelRatioF());
    }
    static void ExpectReference(const QImage& img, const QWidget* w, const QString& name) {
        ImageCompare::ExpectReference(img, w, QStringLiteral("manager"), name);
    }

    const QPalette* palette = nullptr;
    QWidget window;
    CTypeTree* tree = nullptr;
    CNoteList* list = nullptr;
    CNoteSort::Toggles toggles;
    CTreeNode::List categories;
    std::vector<std::unique_ptr<CNote>> owned;
    std::vector<CNote*> notes;
};
