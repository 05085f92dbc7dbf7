#include "core/manager/CDateTimeFields.h"
#include "core/manager/CIndexDayFields.h"
#include "gui/manager/CDateTimeEdit.h"
#include "gui/manager/CFieldChoiceDlg.h"
#include "gui/manager/CIndexDayEdit.h"
#include "gui/widgets/DialogUnits.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QStyle>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

// The date-time and index-day edits on a shown window, worked with real key and mouse events
// delivered through the window as the system would.
class FieldEdits : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setStyle(QStringLiteral("Fusion"));
        host.setFont(DialogUnits::DialogFont());
        host.setGeometry(100, 100, 420, 160);
        other = new QLineEdit(&host);
        other->setGeometry(10, 10, 100, 20);
        start = new CDateTimeEdit(startFields, &host);
        start->setGeometry(10, 40, 180, 20);
        index = new CIndexDayEdit(indexFields, &host);
        index->setGeometry(200, 40, 120, 20);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        host.activateWindow();
        other->setFocus();
    }
    void TearDown() override {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }

    QWindow* Win() { return host.windowHandle(); }
    // The point in the window over character position pos of an edit's text.
    QPoint At(QLineEdit* e, int pos) {
        for (int x = 0; x < e->width(); ++x)
            if (e->cursorPositionAt(QPoint(x, e->height() / 2)) > pos)
                return e->mapTo(&host, QPoint(x - 2, e->height() / 2));
        return e->mapTo(&host, QPoint(e->width() - 4, e->height() / 2));
    }
    void Click(QLineEdit* e, int pos, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(Win(), b, {}, At(e, pos));
    }
    void Key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }
    CFieldChoiceDlg* Popup(CFieldEdit* e) {
        QTest::qWait(10);
        return e->Chooser();
    }
    // Clicks the entry of the open list through the popup's own window.
    void ClickEntry(CFieldChoiceDlg* p, int row) {
        QListWidget* list = p->List();
        const QPoint in =
            list->viewport()->mapTo(p, list->visualItemRect(list->item(row)).center());
        QTest::mouseClick(p->windowHandle(), Qt::LeftButton, {}, in);
        QTest::qWait(10);
    }

    CDateTimeFields startFields{COleDateTime(2003, 5, 13, 9, 30, 0)};
    CIndexDayFields indexFields;
    QWidget host;
    QLineEdit* other = nullptr;
    CDateTimeEdit* start = nullptr;
    CIndexDayEdit* index = nullptr;
};

TEST_F(FieldEdits, FocusClicksAndKeysSelectAndStepFields) {
    EXPECT_EQ(start->text(), "Tue, May 13, 2003 09:30 AM");
    Key(other, Qt::Key_Tab); // the keyboard's way in selects the day
    ASSERT_TRUE(start->hasFocus());
    EXPECT_EQ(start->selectedText(), "13");
    Key(start, Qt::Key_Up);
    EXPECT_EQ(start->text(), "Wed, May 14, 2003 09:30 AM");
    Key(start, Qt::Key_Right);
    EXPECT_EQ(start->selectedText(), "2003");
    Key(start, Qt::Key_A); // typing changes nothing
    Key(start, Qt::Key_Delete);
    EXPECT_EQ(start->text(), "Wed, May 14, 2003 09:30 AM");

    Click(start, 6);
    EXPECT_EQ(start->selectedText(), "May");
    Key(start, Qt::Key_Down);
    EXPECT_EQ(start->text(), "Mon, Apr 14, 2003 09:30 AM");
    EXPECT_EQ(start->selectedText(), "Apr");
    Click(start, 22);
    Key(start, Qt::Key_Space);
    EXPECT_EQ(start->text(), "Mon, Apr 14, 2003 09:45 AM");
    // A drag selects no more than the field it started in.
    QTest::mousePress(Win(), Qt::LeftButton, {}, At(start, 1));
    QTest::mouseMove(Win(), At(start, 20));
    QTest::mouseRelease(Win(), Qt::LeftButton, {}, At(start, 20));
    EXPECT_EQ(start->selectedText(), "Mon");

    Key(start, Qt::Key_Tab);
    ASSERT_TRUE(index->hasFocus());
    EXPECT_EQ(index->text(), " 1st Sun of Jan");
    EXPECT_EQ(index->selectedText(), " 1st");
}

TEST_F(FieldEdits, RightClickOpensTheFieldsListBelowItAndAPickApplies) {
    Click(start, 6); // the month
    Click(start, 10, Qt::RightButton);
    CFieldChoiceDlg* p = Popup(start);
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->isVisible());
    EXPECT_EQ(p->Choices().kind, CFieldChoices::Month);
    EXPECT_EQ(p->List()->currentRow(), 4);
    EXPECT_EQ(start->selectedText(), "May");
    // Its left edge stands over the start of the field's text, just below the edit.
    const QPoint corner = start->mapFromGlobal(p->geometry().topLeft());
    EXPECT_EQ(start->cursorPositionAt(QPoint(corner.x(), start->height() / 2)),
              CDateTimeFields::FieldStart(CDateTimeFields::Month));
    EXPECT_EQ(corner.y(), start->height() - 2);
    EXPECT_GE(p->List()->visualItemRect(p->List()->item(11)).bottom(), 0);
    EXPECT_LE(p->List()->visualItemRect(p->List()->item(11)).bottom(),
              p->List()->viewport()->height()); // all twelve months show

    ClickEntry(p, 9);
    EXPECT_FALSE(p->isVisible());
    EXPECT_EQ(start->Chooser(), nullptr);
    EXPECT_EQ(start->text(), "Mon, Oct 13, 2003 09:30 AM");
    EXPECT_EQ(start->selectedText(), "Oct");
    EXPECT_TRUE(start->hasFocus());

    // Clicking the entry already marked applies it too; the list is of the day this time.
    Click(start, 10);
    Click(start, 10, Qt::RightButton);
    p = Popup(start);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->List()->count(), 31);
    ClickEntry(p, 12);
    EXPECT_EQ(start->text(), "Mon, Oct 13, 2003 09:30 AM");
    EXPECT_EQ(start->Chooser(), nullptr);

    Click(start, 25);
    Click(start, 25, Qt::RightButton); // AM/PM: switched, no list
    EXPECT_EQ(Popup(start), nullptr);
    EXPECT_EQ(start->text(), "Mon, Oct 13, 2003 09:30 PM");

    Click(index, 13);
    Click(index, 13, Qt::RightButton);
    p = Popup(index);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Choices().kind, CFieldChoices::Month);
    Key(p->List(), Qt::Key_Down);
    Key(p->List(), Qt::Key_Down); // the keys move, Enter picks
    EXPECT_TRUE(p->isVisible());
    Key(p->List(), Qt::Key_Return);
    QTest::qWait(10);
    EXPECT_EQ(index->text(), " 1st Sun of Mar");
}

TEST_F(FieldEdits, EscapeOrAClickOutsideCancelsTheList) {
    Click(start, 15); // the year
    Click(start, 15, Qt::RightButton);
    CFieldChoiceDlg* p = Popup(start);
    ASSERT_NE(p, nullptr);
    Key(p->List(), Qt::Key_Down);
    Key(p->List(), Qt::Key_Escape);
    QTest::qWait(10);
    EXPECT_FALSE(p->isVisible());
    EXPECT_EQ(start->Chooser(), nullptr);
    EXPECT_EQ(start->text(), "Tue, May 13, 2003 09:30 AM");
    EXPECT_EQ(start->selectedText(), "2003");

    Click(start, 15, Qt::RightButton);
    p = Popup(start);
    ASSERT_NE(p, nullptr);
    Key(p->List(), Qt::Key_Up);
    QTest::mouseClick(Win(), Qt::LeftButton, {}, QPoint(400, 140));
    QTest::qWait(10);
    EXPECT_FALSE(p->isVisible());
    EXPECT_EQ(start->Chooser(), nullptr);
    EXPECT_EQ(start->text(), "Tue, May 13, 2003 09:30 AM");
    // The keyboard opens a new list: the menu key, or Shift+F10.
    ASSERT_TRUE(start->hasFocus());
    QTest::keyClick(start, Qt::Key_F10, Qt::ShiftModifier);
    p = Popup(start);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->List()->count(), 6);
    EXPECT_EQ(p->List()->item(0)->text(), "2002");
}

} // namespace
