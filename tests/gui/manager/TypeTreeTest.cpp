#include "ManagerViewsFixture.h"

#include "gui/manager/CTypeTreeModel.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

namespace {
class TypeTree : public ManagerViews {
protected:
    QPoint ItemPoint(const CTreeNode* node) {
        return tree->visualRect(tree->Model()->IndexOf(node)).center();
    }
    // Right-clicks a point of the tree; when its menu opens, notes its entries and clicks the
    // one named pick (Escape when there is none such).
    QStringList RightClick(QPoint at, const QString& pick) {
        QStringList entries;
        auto* poll = new QTimer(&window);
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, [&, poll] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            poll->stop();
            QAction* chosen = nullptr;
            for (QAction* a : menu->actions()) {
                entries << a->text();
                if (a->text() == pick) chosen = a;
            }
            if (chosen)
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
            else
                QTest::keyClick(menu, Qt::Key_Escape);
        });
        poll->start();
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
        QTest::qWait(30); // a menu that did not open must not be waited for
        delete poll;
        return entries;
    }
    QLineEdit* Editor() { return tree->viewport()->findChild<QLineEdit*>(); }
    std::string Shown(const QModelIndex& parent = {}) {
        std::string s;
        for (int r = 0; r < tree->Model()->rowCount(parent); ++r) {
            const QModelIndex i = tree->Model()->index(r, 0, parent);
            s += (r ? " " : "") + i.data().toString().toStdString();
            if (tree->Model()->rowCount(i))
                s += "(" + Shown(i) + ")" + (tree->isExpanded(i) ? "" : "+");
        }
        return s;
    }
};

TEST_F(TypeTree, ShowsTheCategoriesAndReportsTheSelectedOne) {
    EXPECT_EQ(Shown(), "All notes(Work(Calls)+ Home)");
    EXPECT_EQ(tree->SelectedId(), 0);
    QSignalSpy selected(tree, &CTypeTree::categorySelected);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, ItemPoint(categories[2].get()));
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected[0].at(0).toInt(), 2);
    // Nothing under the pointer: no menu.
    EXPECT_TRUE(RightClick(QPoint(100, 200), "New").isEmpty());
    EXPECT_EQ(RightClick(ItemPoint(categories[0].get()), ""), QStringList{"New"});
}

TEST_F(TypeTree, NewRenameAndDeleteFromTheMenu) {
    notes[0]->m_category = 7; // filed in a category deleted earlier
    EXPECT_EQ(RightClick(ItemPoint(categories[2].get()), "New"),
              (QStringList{"New", "Rename", "Delete"}));
    ASSERT_EQ(categories.size(), 5u);
    CTreeNode* fresh = categories.back().get();
    EXPECT_EQ(fresh->m_parentId, 2);
    EXPECT_EQ(fresh->m_id, 8); // past every id, the notes' 7 included
    EXPECT_EQ(Shown(), "All notes(Work(Calls)+ Home(New))");

    // A new category's name is open for typing at once; Rename edits in place too, and an
    // emptied name is refused.
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "Garden");
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor commits after the key has been handled.
    EXPECT_TRUE(QTest::qWaitFor([&] { return fresh->m_name != "New"; }, 1000));
    EXPECT_EQ(fresh->m_name, "Garden");
    RightClick(ItemPoint(fresh), "Rename");
    ASSERT_NE(Editor(), nullptr);
    Editor()->selectAll();
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    QTest::keyClick(Editor(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Editor() == nullptr; }, 1000));
    EXPECT_EQ(fresh->m_name, "Garden");
    EXPECT_EQ(Shown(), "All notes(Work(Calls)+ Home(Garden))");

    // Delete asks first, then takes the whole branch; the selection falls back to the root.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, ItemPoint(categories[1].get()));
    QtDialogs::s_nextAnswers = {IDialogs::AnswerNo, IDialogs::AnswerYes};
    RightClick(ItemPoint(categories[1].get()), "Delete");
    EXPECT_EQ(categories.size(), 5u);
    QSignalSpy selected(tree, &CTypeTree::categorySelected);
    RightClick(ItemPoint(categories[1].get()), "Delete");
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 2u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[1].first, "Delete Work ?");
    EXPECT_EQ(QtDialogs::s_shownBoxes[1].second, "Confirmation");
    EXPECT_EQ(categories.size(), 3u); // Work and Calls are gone
    EXPECT_EQ(Shown(), "All notes(Home(Garden))");
    EXPECT_EQ(tree->SelectedId(), 0);
    ASSERT_GE(selected.count(), 1);
    EXPECT_EQ(selected.last().at(0).toInt(), 0);
}

TEST_F(TypeTree, Picture) {
    tree->expandAll();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, ItemPoint(categories[3].get()));
    const QImage img = Grab(tree, QStringLiteral("tree"));
    ExpectReference(img, tree, QStringLiteral("tree"));
}
} // namespace
