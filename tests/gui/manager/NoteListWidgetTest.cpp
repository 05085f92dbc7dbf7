#include "ManagerViewsFixture.h"

#include "core/manager/CNoteListFormat.h"
#include "core/platform/SystemMetrics.h"
#include "gui/support/DarkPalette.h"
#include "gui/support/Pixels.h"

#include <QSignalSpy>

namespace {
using Pixels::Sys;

class NoteListWidget : public ManagerViews {
protected:
    void ClickHeader(int section) {
        QHeaderView* h = list->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(section) + h->sectionSize(section) / 2,
                        h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }
    QPoint ListPoint(int row) { return InWindow(list->viewport(), RowPoint(row)); }
    QPoint TreePoint(const CTreeNode* node) {
        const QModelIndex i = tree->Model()->IndexOf(node);
        return InWindow(tree->viewport(), tree->visualRect(i).center());
    }
    void SelectRows(std::initializer_list<int> rows) {
        bool first = true;
        for (int r : rows) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton,
                              first ? Qt::KeyboardModifiers() : Qt::ControlModifier, RowPoint(r));
            first = false;
        }
    }
    // Right drag from a list row to a point of the window, with real events on the window.
    void RightDrag(int row, QPoint to) {
        QTest::mousePress(Win(), Qt::RightButton, {}, ListPoint(row));
        QTest::mouseMove(Win(), ListPoint(row) + QPoint(0, 3));
        QTest::mouseMove(Win(), to);
    }
};

// Which key and direction each click takes is the core's; here: the clicks reach it.
TEST_F(NoteListWidget, HeaderClicksSortTheNotesThemselvesAndSelectTheFirstRow) {
    QSignalSpy shown(list, &CNoteList::showNote);
    ClickHeader(0); // first click: descending
    EXPECT_EQ(Titles(), "anniversary,Zoo trip,Groceries,Dentist,Call Anna,Budget review,");
    ClickHeader(0);
    EXPECT_EQ(Titles(), "Budget review,Call Anna,Dentist,Groceries,Zoo trip,anniversary,");
    EXPECT_EQ(Cell(0, 0), "Budget review"); // the rows follow the notes
    ClickHeader(3);                         // "Type": descending, the memo first
    EXPECT_EQ(notes[0]->m_title, "Groceries");
    // The sorted column shows its direction.
    EXPECT_TRUE(list->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(list->horizontalHeader()->sortIndicatorSection(), 3);
    EXPECT_EQ(list->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    // After every sort the first row is selected and shown.
    ASSERT_EQ(shown.count(), 3);
    EXPECT_EQ(shown.last().at(0).toInt(), 0);
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(list->selectionModel()->isRowSelected(0, {}));
}

TEST_F(NoteListWidget, TheUserWidensAColumnByItsHeaderEdge) {
    QHeaderView* h = list->horizontalHeader();
    const int before = h->sectionSize(CNoteListModel::TimeLeftColumn);
    // The edge between "Time Left" and "Type", dragged 30 pixels to the right.
    const QPoint edge(h->sectionViewportPosition(CNoteListModel::TypeColumn) - 1, h->height() / 2);
    QTest::mousePress(h->viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(h->viewport(), edge + QPoint(30, 0));
    QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(h->sectionSize(CNoteListModel::TimeLeftColumn), before + 30);
    // The first heading reads from the left like its column.
    EXPECT_EQ(list->Model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt() &
                  Qt::AlignHorizontal_Mask,
              int(Qt::AlignLeft));
}

TEST_F(NoteListWidget, CtrlASelectsAllAndCtrlAltUpMovesTheSelectedNotesAnHour) {
    QSignalSpy shown(list, &CNoteList::showNote);
    SelectRows({2});
    EXPECT_EQ(shown.count(), 1); // a newly selected row goes to the editor
    EXPECT_EQ(list->CurrentRow(), 2);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 6);
    const COleDateTime before = notes[0]->m_nextTime;
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_NEAR((notes[0]->m_nextTime - before).GetTotalMinutes(), 60.0, 1e-6);
    EXPECT_EQ(notes[0]->m_baseTime, notes[0]->m_startTime);
    EXPECT_EQ(Cell(0, 1), "Thu, Nov 06,2003 11:03 AM");
    EXPECT_EQ(Cell(0, 2), "1 hour");
    EXPECT_EQ(shown.last().at(0).toInt(), 2); // the editor reloads its note
    // Ctrl+Up alone only moves the cursor.
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, 1), "Thu, Nov 06,2003 11:03 AM");
}

TEST_F(NoteListWidget, RightDragOntoATreeItemFilesTheSelectedNotes) {
    SelectRows({0, 2, 4});
    QSignalSpy filed(list, &CNoteList::notesFiled);
    RightDrag(0, TreePoint(categories[2].get())); // "Home"
    EXPECT_EQ(list->Drag().GetState(), CNoteListDrag::State::RightDragging);
    EXPECT_EQ(tree->DropTarget(), 2);
    // The target item looks selected while the pointer is over it.
    const QImage marked = Grab(tree, "tree-drop-target");
    const QRect item = tree->visualRect(tree->Model()->IndexOf(categories[2].get()))
                           .translated(tree->viewport()->pos());
    EXPECT_EQ(Px(marked, item.right() - 3, item.center().y()), Sys(COLOR_HIGHLIGHT));
    QTest::mouseRelease(Win(), Qt::RightButton, {}, TreePoint(categories[2].get()));
    EXPECT_EQ(tree->DropTarget(), CTypeTree::kNoTarget);
    ASSERT_EQ(filed.count(), 1);
    for (int i : {0, 2, 4})
        EXPECT_EQ(notes[i]->m_category, 2) << i;
    EXPECT_EQ(notes[1]->m_category, 0);
    EXPECT_EQ(list->Model()->rowCount(), 6); // all notes shown: the rows stay

    // Released away from the tree, or with the tree hidden, nothing is filed.
    RightDrag(1, ListPoint(3));
    QTest::mouseRelease(Win(), Qt::RightButton, {}, ListPoint(3));
    EXPECT_EQ(notes[1]->m_category, 0);
    list->SetRightDragEnabled(false);
    RightDrag(1, TreePoint(categories[2].get()));
    EXPECT_EQ(list->Drag().GetState(), CNoteListDrag::State::Idle);
    QTest::mouseRelease(Win(), Qt::RightButton, {}, TreePoint(categories[2].get()));
    EXPECT_EQ(notes[1]->m_category, 0);
}

TEST_F(NoteListWidget, LeftDragPostsTheNotesWhereItEndsAndAClickNeverDoes) {
    QSignalSpy posted(list, &CNoteList::postNotes);
    QTest::mouseClick(Win(), Qt::LeftButton, {}, ListPoint(1));
    EXPECT_EQ(posted.count(), 0);
    QTest::mousePress(Win(), Qt::LeftButton, {}, ListPoint(1));
    QTest::mouseMove(Win(), ListPoint(1) + QPoint(20, 0));
    EXPECT_EQ(list->Drag().GetState(), CNoteListDrag::State::LeftPending);
    const QPoint drop(400, 225); // below the rows: off the tree, where a drop posts
    QTest::mouseMove(Win(), drop);
    EXPECT_EQ(list->Drag().GetState(), CNoteListDrag::State::LeftDragging);
    QTest::mouseRelease(Win(), Qt::LeftButton, {}, drop);
    ASSERT_EQ(posted.count(), 1);
    EXPECT_EQ(posted[0].at(0).toPoint(), window.mapToGlobal(drop));
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1); // the drag selected nothing new
}

TEST_F(NoteListWidget, PictureWithIconsTintsAndHighlight) {
    SelectRows({1, 2});
    const QImage img = Grab(list, QStringLiteral("list"));
    // Cells in the list's own coordinates, as grabbed.
    auto cell = [&](int row, int column) {
        return list->visualRect(list->Model()->index(row, column))
            .translated(list->viewport()->pos());
    };
    // Whole-row highlight, from the title to the last column.
    EXPECT_EQ(Px(img, cell(1, 0).left() + 80, cell(1, 0).top() + 2), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(Px(img, cell(1, 3).right() - 2, cell(1, 3).top() + 2), Sys(COLOR_HIGHLIGHT));
    // Odd columns tinted, the even one plain, in an unselected row.
    EXPECT_EQ(Px(img, cell(3, 1).left() + 3, cell(3, 1).top() + 2), qRgb(242, 242, 242));
    EXPECT_EQ(Px(img, cell(3, 2).left() + 3, cell(3, 2).top() + 2), Sys(COLOR_WINDOW));
    // A due-soon row's text is blue, a memo's is not.
    const qreal dpr = window.devicePixelRatioF();
    auto blueText = [&](int row) {
        return Pixels::CountIf(
            img, cell(row, 0).adjusted(20, 0, -1, 0),
            [](QRgb c) { return qBlue(c) > 150 && qRed(c) < 90 && qGreen(c) < 90; }, dpr);
    };
    EXPECT_GT(blueText(0), 10);
    EXPECT_EQ(blueText(3), 0);
    // The bells in their colours: red, (selected) yellow, green.
    auto iconHas = [&](int row, auto pred) {
        const QRect r = cell(row, 0);
        return Pixels::CountIf(
                   img, QRect(r.left(), r.top(), 18, r.height()),
                   [&](QRgb c) { return pred(QColor(c)); }, dpr) > 0;
    };
    EXPECT_TRUE(iconHas(0, [](QColor c) { return c.red() > 200 && c.green() < 80; }));
    EXPECT_TRUE(
        iconHas(1, [](QColor c) { return c.red() > 220 && c.green() > 180 && c.blue() < 90; }));
    EXPECT_TRUE(iconHas(4, [](QColor c) { return c.green() > 160 && c.red() < 100; }));

    ExpectReference(img, list, QStringLiteral("list"));
}

// The same views on a dark desktop palette: every colour follows it.
class DarkNoteListWidget : public NoteListWidget {
protected:
    void SetUp() override {
        palette = &dark;
        NoteListWidget::SetUp();
    }
    const QPalette dark = DarkPalette();
};

TEST_F(DarkNoteListWidget, PictureStaysReadable) {
    SelectRows({1});
    const QImage img = Grab(&window, QStringLiteral("views-dark"));
    // Plain and due-soon titles both stand out from the dark background.
    auto lightText = [&](int row) {
        const QRect r = list->visualRect(list->Model()->index(row, 0))
                            .translated(list->viewport()->pos() + list->pos());
        return Pixels::CountIf(
            img, r.adjusted(20, 0, -1, 0), [](QRgb c) { return QColor(c).value() > 170; },
            window.devicePixelRatioF());
    };
    EXPECT_GT(lightText(0), 20); // due soon
    EXPECT_GT(lightText(3), 20); // memo
    EXPECT_EQ(Px(img, list->pos().x() + 40, list->pos().y() + 210), QColor(30, 30, 32).rgb());
    ExpectReference(img, &window, QStringLiteral("views-dark"));
}
} // namespace
