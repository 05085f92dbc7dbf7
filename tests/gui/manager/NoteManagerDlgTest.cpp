#include "ManagerTest.h"

#include "core/app/TrayIds.h"
#include "core/platform/IDesktopNotices.h"
#include "core/platform/PlatformServices.h"
#include "core/platform/SystemMetrics.h"
#include "gui/calendar/CCalendarCtrl.h"
#include "gui/manager/CDateTimeEdit.h"
#include "gui/manager/CNoteEditForm.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteListModel.h"
#include "gui/manager/CNoteManagerDlg.h"
#include "gui/manager/CTypeTree.h"
#include "gui/manager/CTypeTreeModel.h"
#include "gui/platform/SystemColors.h"
#include "gui/print/CSaveOptionsDlg.h"
#include "gui/support/GuiInput.h"
#include "gui/support/ModelChecks.h"
#include "gui/support/Pixels.h"
#include "gui/widgets/CHoverButton.h"
#include "gui/widgets/CRegionButton.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>

namespace {
using GuiInput::Click;

using Dlg = CNoteManagerDlg;

// The manager over a hub with fake note windows.
class NoteManagerDlg : public ManagerTest {
protected:
    void TearDown() override {
        dlg.reset();
        ManagerTest::TearDown();
    }
    CNote& Add(const char* title, const COleDateTime& at, int category = 0) {
        CNote& n = NoteBuilder().Title(title).At(at).DueSoonNow().AddTo(hub.Store());
        n.m_category = category;
        return n;
    }
    // The root and one category under it, "Work" with id 1.
    void AddWorkCategory() {
        auto work = std::make_unique<CTreeNode>();
        work->m_name = "Work";
        work->m_id = 1;
        work->m_level = 1;
        hub.Store().AddCategory(CTreeNode::MakeRoot());
        hub.Store().AddCategory(std::move(work));
    }
    void Open() {
        dlg = std::make_unique<Dlg>(hub, dialogs);
        CheckModel(dlg->List()->Model());
        CheckModel(dlg->Tree()->Model());
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    void ClickTab(int i) { Click(dlg.get(), dlg->TabShape(i).boundingRect().center()); }
    int Rows() const { return dlg->List()->Model()->rowCount(); }
    std::string Count() const { return dlg->CountLine()->text().toStdString(); }
    std::string Titles() const {
        std::string s;
        for (int r = 0; r < Rows(); ++r)
            s += dlg->List()->Model()->NoteAt(r)->m_title + ",";
        return s;
    }
    QLineEdit* Subject() const {
        return dlg->Editor()->findChild<QLineEdit*>(QStringLiteral("subjectEdit"));
    }
    void SelectRow(int row) {
        QTest::mouseClick(dlg->List()->viewport(), Qt::LeftButton, {},
                          dlg->List()->visualRect(dlg->List()->Model()->index(row, 0)).center());
    }
    // A drag with real events on the window, from a row of the list to a category of the tree.
    void DragToCategory(Qt::MouseButton button, int row, int category) {
        CNoteList* list = dlg->List();
        const QPoint from = list->viewport()->mapTo(
            dlg.get(), list->visualRect(list->Model()->index(row, 0)).center());
        const CTreeNode* node = hub.Store().categories()[category].get();
        const QPoint to = dlg->Tree()->viewport()->mapTo(
            dlg.get(), dlg->Tree()->visualRect(dlg->Tree()->Model()->IndexOf(node)).center());
        QWindow* win = dlg->windowHandle();
        QTest::mousePress(win, button, {}, from);
        QTest::mouseMove(win, from + QPoint(0, 3));
        QTest::mouseMove(win, from + QPoint(20, 3));
        QTest::mouseMove(win, to);
        QTest::mouseRelease(win, button, {}, to);
    }

    FakePlatform platform;
    FakeHub hub{platform};
    QtDialogs dialogs;
    std::unique_ptr<Dlg> dlg;
};

// Adding by keys alone, from the list's focus at opening, is driven on the real program.
TEST_F(NoteManagerDlg, EmptyListGreysTheNoteButtonsAndOptionsAsksTheTray) {
    Open();
    EXPECT_EQ(Count(), " 0 notes");
    for (int id : {Dlg::IdUpdate, Dlg::IdDelete, Dlg::IdPost})
        EXPECT_FALSE(dlg->Button(id)->isEnabled());
    std::vector<int> sent;
    dlg->SetCommandSink([&](int id) { sent.push_back(id); });
    Click(dlg->Tool(Dlg::ToolOptions));
    EXPECT_EQ(sent, std::vector<int>{TrayId::CmdOptions});
}

TEST_F(NoteManagerDlg, TabsFilterAndAddOutsideTheTabGetsNoRow) {
    hub.settings().m_useTrash = 1;
    Add("today", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Add("sunday", COleDateTime(2003, 11, 9, 9, 0, 0));
    Add("month", COleDateTime(2003, 11, 20, 9, 0, 0));
    Add("next year", COleDateTime(2004, 1, 5, 9, 0, 0));
    Open();
    EXPECT_EQ(dlg->TabCount(), 5);
    EXPECT_EQ(Rows(), 4);
    ClickTab(1);
    EXPECT_EQ(Titles(), "today,sunday,month,");
    ClickTab(2);
    EXPECT_EQ(Titles(), "today,");
    ClickTab(4); // the trash tab becomes the tab, the list stays
    EXPECT_EQ(dlg->TabIndex(), 4);
    EXPECT_EQ(Titles(), "today,");
    ClickTab(3);
    EXPECT_EQ(Titles(), "today,");
    EXPECT_EQ(Count(), " 1 notes");
    // Tomorrow is stored but gets no row in "Today"; the count stays.
    dlg->Editor()->StartEdit()->SetTime(Now() + COleDateTimeSpan(1, 0, 0, 0));
    Click(dlg->Button(Dlg::IdAdd));
    EXPECT_EQ(hub.Store().notes().size(), 5u);
    EXPECT_EQ(Titles(), "today,");
    EXPECT_EQ(Count(), " 1 notes");
    ClickTab(0);
    EXPECT_EQ(Rows(), 5);
}

TEST_F(NoteManagerDlg, EnterUpdatesAndANoteLeavingTheTabLosesItsRow) {
    Add("a", Now() + COleDateTimeSpan(0, 1, 0, 0));
    Add("b", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Add("c", Now() + COleDateTimeSpan(0, 3, 0, 0));
    Open();
    ClickTab(3);
    SelectRow(1);
    QLineEdit* subject = Subject();
    ASSERT_TRUE(subject);
    subject->setFocus();
    subject->selectAll();
    QTest::keyClicks(subject, "renamed");
    QTest::keyClick(subject, Qt::Key_Return);
    EXPECT_EQ(Titles(), "a,renamed,c,");
    // Moved to tomorrow it leaves "Today"; the row after it becomes current.
    dlg->Editor()->StartEdit()->SetTime(Now() + COleDateTimeSpan(1, 0, 0, 0));
    subject->setFocus();
    QTest::keyClick(subject, Qt::Key_Enter);
    EXPECT_EQ(Titles(), "a,c,");
    EXPECT_EQ(dlg->List()->CurrentRow(), 1);
    EXPECT_EQ(Subject()->text().toStdString(), "c");
}

TEST_F(NoteManagerDlg, DeleteAsksThenSelectsTheNextRowAndEmptiesCleanly) {
    Add("a", Now() + COleDateTimeSpan(0, 1, 0, 0));
    Add("b", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Add("c", Now() + COleDateTimeSpan(0, 3, 0, 0));
    Open();
    SelectRow(2);
    QtDialogs::s_nextAnswers = {IDialogs::AnswerNo};
    Click(dlg->Button(Dlg::IdDelete));
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].first, "Really delete 1 item(s) ?");
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].second, "Warning !");
    EXPECT_EQ(Titles(), "a,b,c,");
    QtDialogs::s_nextAnswers = {IDialogs::AnswerYes};
    Click(dlg->Button(Dlg::IdDelete)); // the last row: the new last row is selected
    EXPECT_EQ(Titles(), "a,b,");
    EXPECT_EQ(dlg->List()->CurrentRow(), 1);
    EXPECT_EQ(dlg->List()->SelectedNotes().size(), 1u);
    EXPECT_EQ(hub.Store().notes().size(), 2u);
    QTest::keyClick(dlg->List(), Qt::Key_A, Qt::ControlModifier);
    QtDialogs::s_nextAnswers = {IDialogs::AnswerYes};
    Click(dlg->Button(Dlg::IdDelete));
    EXPECT_EQ(QtDialogs::s_shownBoxes.back().first, "Really delete 2 item(s) ?");
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(hub.Store().notes().empty());
    EXPECT_FALSE(dlg->Button(Dlg::IdUpdate)->isEnabled());
    EXPECT_EQ(Count(), " 0 notes");
}

// Where each note goes is the core's; here: from where, and a posted note is not opened twice.
TEST_F(NoteManagerDlg, PostStartsAtThreeQuartersOfTheScreen) {
    Add("a", Now() + COleDateTimeSpan(0, 1, 0, 0));
    CNote& b = Add("b", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Add("c", Now() + COleDateTimeSpan(0, 3, 0, 0));
    b.OpenWindow(0, 0, false, platform.windows);
    Open();
    QTest::keyClick(dlg->List(), Qt::Key_A, Qt::ControlModifier);
    Click(dlg->Button(Dlg::IdPost));
    const int x = dlg->screen()->geometry().width() * 3 / 4;
    ASSERT_EQ(platform.windows.windows.size(), 3u);
    auto& w = platform.windows.windows;
    EXPECT_EQ(w[1]->openedX, x);
    EXPECT_EQ(w[1]->openedY, 10);
}

TEST_F(NoteManagerDlg, ViewsCategoryFilterAndPictures) {
    AddWorkCategory();
    Add("filed", Now() + COleDateTimeSpan(0, 1, 0, 0), 1);
    Add("loose", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Open();
    const int fullWidth = dlg->width();
    dlg->Tree()->setCurrentIndex(
        dlg->Tree()->model()->index(0, 0, dlg->Tree()->model()->index(0, 0)));
    EXPECT_EQ(Titles(), "filed,");
    const QImage full = Grab(dlg.get(), "manager_full");
    // The title band in the caption colour, the tree beside the list.
    const QRect band = dlg->CaptionBand();
    const qreal dpr = dlg->devicePixelRatio();
    EXPECT_EQ(QColor(full.pixel(int((band.left() + 3) * dpr), int((band.bottom() - 2) * dpr))),
              SystemColors::Get(COLOR_ACTIVECAPTION));
    EXPECT_TRUE(dlg->Tree()->isVisible());
    // The toolbar sits in a groove: shadow outside above, light inside.
    const QRect help = dlg->Tool(Dlg::ToolHelp)->geometry();
    EXPECT_EQ(Pixels::At(full, help.right() + 20, help.top() - 2, dpr),
              Pixels::Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixels::At(full, help.right() + 20, help.top() - 1, dpr),
              Pixels::Sys(COLOR_BTNHIGHLIGHT));

    Click(dlg->Tool(Dlg::ToolCompact));
    EXPECT_LT(dlg->width(), fullWidth);
    EXPECT_FALSE(dlg->Tree()->isVisible());
    EXPECT_FALSE(dlg->Calendar()->isVisible());
    EXPECT_EQ(Titles(), "filed,loose,"); // no category filter in the compact view
    EXPECT_EQ(hub.settings().m_managerFull, 0);
    EXPECT_FALSE(dlg->Tool(Dlg::ToolCategory)->isEnabled());
    const QImage compact = Grab(dlg.get(), "manager_compact");
    EXPECT_EQ(compact.width(), dlg->width() * dlg->devicePixelRatio());

    Click(dlg->Tool(Dlg::ToolFull));
    EXPECT_EQ(dlg->width(), fullWidth);
    EXPECT_EQ(Titles(), "filed,"); // the selected category filters again
    // Hiding the tree lists every note of the tab.
    Click(dlg->Tool(Dlg::ToolCategory));
    EXPECT_FALSE(dlg->Tree()->isVisible());
    EXPECT_EQ(Titles(), "filed,loose,");
    EXPECT_EQ(hub.settings().m_showCategory, 0);
}

TEST_F(NoteManagerDlg, HeightIsLimitedRememberedAndEscapeClosesSorted) {
    Add("late", Now() + COleDateTimeSpan(0, 5, 0, 0));
    Add("early", Now() + COleDateTimeSpan(0, 1, 0, 0));
    Open();
    const int h = dlg->height(), w = dlg->width();
    dlg->resize(w, 10);
    EXPECT_EQ(dlg->height(), dlg->MinHeight());
    dlg->resize(w + 80, h + 60);
    EXPECT_EQ(dlg->width(), w); // the width is the view's
    EXPECT_EQ(dlg->height(), h + 60);
    EXPECT_EQ(dlg->List()->height(), dlg->Tree()->height());
    // The list was sorted by header click the other way; closing leaves time order.
    dlg->List()->SortByColumn(CNoteListModel::TimeColumn);
    dlg->List()->SortByColumn(CNoteListModel::TimeColumn);
    QTest::keyClick(dlg->List(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(hub.settings().m_managerExtraHeight, 60);
    EXPECT_EQ(hub.Store().notes()[0]->m_title, "early");
    Open();
    EXPECT_EQ(dlg->height(), h + 60);
}

TEST_F(NoteManagerDlg, TitleClockShowsTheProgramsTime) {
    Open();
    const QRect band = dlg->CaptionBand();
    auto clock = [&] { return dlg->grab(band).toImage(); };
    const QImage first = clock();
    QTest::qWait(1100); // a tick of the window's clock; the program's time stands still
    EXPECT_EQ(clock(), first);
    Clock::AdvanceForTest(3600);
    QTest::qWait(1100);
    EXPECT_NE(clock(), first);
}

// Which notes a search finds is the core's; here: the field filters the tab as it is typed,
// and Escape ends the search (in the field or in the list) before it closes the manager.
TEST_F(NoteManagerDlg, CtrlFFiltersTheTabAndEscapeEndsTheFindFirst) {
    Add("Dentist", Now() + COleDateTimeSpan(0, 1, 0, 0));
    CNote& call = Add("Call Émile", Now() + COleDateTimeSpan(0, 2, 0, 0));
    call.m_text = "about the DENTIST bill";
    Add("Groceries", Now() + COleDateTimeSpan(0, 3, 0, 0));
    Open();
    for (bool fromList : {false, true}) {
        QTest::keyClick(dlg->List(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(dlg->FindField()->isVisible());
        QTest::keyClicks(dlg->FindField(), "dent");
        EXPECT_EQ(Titles(), "Dentist,Call Émile,");
        EXPECT_TRUE(dlg->FindField()->hasFocus());                       // typing goes on
        if (fromList) QTest::keyClick(dlg->FindField(), Qt::Key_Return); // on to the list
        QTest::keyClick(fromList ? static_cast<QWidget*>(dlg->List()) : dlg->FindField(),
                        Qt::Key_Escape);
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_FALSE(dlg->FindField()->isVisible());
        EXPECT_EQ(Rows(), 3);
    }
    QTest::keyClick(dlg->List(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
}

// Answers the scope dialog the manager opens after the file name: a click on the scope's
// button and one on OK (or Cancel), as the user would.
void AnswerScope(CSaveOptionsDlg::Scope scope, bool ok = true) {
    QTimer::singleShot(0, [scope, ok] {
        auto* options = qobject_cast<CSaveOptionsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(options->windowTitle().toStdString(), "Save Options");
        EXPECT_EQ(options->ChosenScope(), CSaveOptionsDlg::AllNotes);
        QRadioButton* b = options->Button(scope);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        QTest::mouseClick(options->findChild<QPushButton*>(ok ? "okButton" : "cancelButton"),
                          Qt::LeftButton);
    });
}

TEST_F(NoteManagerDlg, SaveToFileWritesTheChosenScopeInListOrder) {
    AddWorkCategory();
    Add("later", Now() + COleDateTimeSpan(3, 0, 0, 0), 1).m_text = "next\r\nweek";
    Add("today b", Now() + COleDateTimeSpan(0, 2, 0, 0), 1).m_text = "two";
    Add("loose", Now() + COleDateTimeSpan(0, 1, 0, 0)).m_text = "x";
    Add("today a", Now() + COleDateTimeSpan(0, 1, 0, 0), 1).m_text = "one";
    hub.settings().m_managerFull = 1;
    hub.settings().m_showCategory = 1;
    Open();
    EXPECT_TRUE(dlg->Tool(Dlg::ToolSave)->isEnabled());
    dlg->Tree()->setCurrentIndex(
        dlg->Tree()->model()->index(0, 0, dlg->Tree()->model()->index(0, 0)));
    ClickTab(3); // " Today "
    ASSERT_EQ(Titles(), "today a,today b,");

    const std::string path = QDir::tempPath().toStdString() + "/jotterly-scope-" +
                             std::to_string(QCoreApplication::applicationPid()) + ".txt";
    std::remove(path.c_str());
    const std::string sep = "\n" + std::string(52, '-') + "\n";
    QtDialogs::s_nextFiles = {path};
    AnswerScope(CSaveOptionsDlg::CurrentCategory);
    Click(dlg->Tool(Dlg::ToolSave));
    EXPECT_EQ(ReadFile(path), "today a\n\none" + sep + "today b\n\ntwo" + sep);

    // Selected Notes with no selection empties the file, after Yes to the overwrite question.
    dlg->List()->clearSelection();
    QtDialogs::s_nextFiles = {path};
    QtDialogs::s_nextAnswers = {IDialogs::AnswerYes};
    AnswerScope(CSaveOptionsDlg::SelectedNotes);
    Click(dlg->Tool(Dlg::ToolSave));
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].second, "File exists");
    EXPECT_EQ(ReadFile(path), "");

    // All notes, in the store's order, whatever the view; Cancel in the scope dialog keeps the
    // file and asks nothing.
    QtDialogs::s_nextFiles = {path};
    AnswerScope(CSaveOptionsDlg::AllNotes, false);
    Click(dlg->Tool(Dlg::ToolSave));
    EXPECT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    QtDialogs::s_nextFiles = {path};
    QtDialogs::s_nextAnswers = {IDialogs::AnswerYes};
    AnswerScope(CSaveOptionsDlg::AllNotes);
    Click(dlg->Tool(Dlg::ToolSave));
    std::string all;
    for (const auto& n : hub.Store().notes())
        all += n->m_title + "\n\n" + (n->m_title == "later" ? "next\nweek" : n->m_text) + sep;
    EXPECT_EQ(ReadFile(path), all);
    std::remove(path.c_str());
}

// Picks the calendar tool's menu item by keys, as the user would; answer: the scope to choose
// when "Save Options" comes up after the item ran (none for an import).
void ChooseCalendarItem(Dlg& dlg, int item, std::optional<CSaveOptionsDlg::Scope> scope) {
    QtDialogs::s_nextAnswers = {IDialogs::AnswerOk}; // the box that tells how it went
    QTimer::singleShot(0, [item, scope] {
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        if (scope) AnswerScope(*scope);
        for (int i = 0; i <= item; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(dlg.Tool(Dlg::ToolCalendar), Qt::LeftButton);
}

TEST_F(NoteManagerDlg, CalendarFileToolExportsTheChosenNotesAndTakesAFileBackIn) {
    AddWorkCategory();
    Add("dentist", Now() + COleDateTimeSpan(1, 0, 0, 0), 1).m_text = "bring; the card, \\ too";
    Add("loose", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Open();
    const QImage shown = Grab(dlg.get(), "manager_calendar_tool");
    const QRect tool = dlg->Tool(Dlg::ToolCalendar)->geometry();
    const qreal dpr = dlg->devicePixelRatio();
    // The page's red header band is drawn.
    EXPECT_EQ(QColor(shown.pixel(int((tool.center().x()) * dpr), int((tool.top() + 8) * dpr))),
              QColor(0xc0, 0x4a, 0x4a));
    const int row = Titles() == "dentist,loose," ? 0 : 1;
    dlg->List()->selectRow(row);

    const std::string path = QDir::tempPath().toStdString() + "/jotterly-cal-" +
                             std::to_string(QCoreApplication::applicationPid()) + ".ics";
    QtDialogs::s_nextFiles = {path};
    ChooseCalendarItem(*dlg, 0, CSaveOptionsDlg::SelectedNotes);
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[0],
              std::make_pair("1 note written to " + path, std::string("Jotterly")));
    const std::string ics = ReadFile(path);
    EXPECT_NE(ics.find("SUMMARY:dentist"), std::string::npos);
    EXPECT_NE(ics.find("CATEGORIES:Work"), std::string::npos);
    EXPECT_EQ(ics.find("loose"), std::string::npos);

    // Taken back in: a second "dentist" in the list, filed under Work, with its text whole.
    QtDialogs::s_nextFiles = {path};
    ChooseCalendarItem(*dlg, 1, std::nullopt);
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 2u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[1].first, "1 reminder and 0 memos imported");
    EXPECT_EQ(Rows(), 3);
    ASSERT_EQ(hub.Store().notes().size(), 3u);
    const CNote& back = *hub.Store().notes().back();
    EXPECT_EQ(back.m_title, "dentist");
    EXPECT_EQ(back.m_category, 1);
    EXPECT_EQ(back.m_text, "bring; the card, \\ too");

    // A file that is no calendar adds nothing and says why.
    std::ofstream(path, std::ios::trunc) << "not a calendar";
    QtDialogs::s_nextFiles = {path};
    ChooseCalendarItem(*dlg, 1, std::nullopt);
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 3u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[2].second, "Sorry");
    EXPECT_EQ(Rows(), 3);
    std::remove(path.c_str());
}

TEST_F(NoteManagerDlg, DragsOntoTheTreeFileWithEitherButtonAndTheStatusFollows) {
    AddWorkCategory();
    Add("a", Now() + COleDateTimeSpan(0, 1, 0, 0));
    Add("b", Now() + COleDateTimeSpan(0, 2, 0, 0));
    Open();
    QTest::keyClick(dlg->List(), Qt::Key_A, Qt::ControlModifier);
    // A left drag that ends on "Work" files there; nothing is posted behind the manager.
    DragToCategory(Qt::LeftButton, 0, 1);
    EXPECT_EQ(platform.windows.OpenCount(), 0);
    for (const auto& n : hub.Store().notes())
        EXPECT_EQ(n->m_category, 1) << n->m_title;
    // Shown in "Work", both dragged out again with the right button: no rows, no greyed-in
    // buttons left enabled, the count says so.
    dlg->Tree()->setCurrentIndex(dlg->Tree()->Model()->IndexOf(hub.Store().categories()[1].get()));
    ASSERT_EQ(Rows(), 2);
    QTest::keyClick(dlg->List(), Qt::Key_A, Qt::ControlModifier);
    DragToCategory(Qt::RightButton, 0, 0);
    EXPECT_EQ(hub.Store().notes()[0]->m_category, 0);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Count(), " 0 notes");
    for (int id : {Dlg::IdUpdate, Dlg::IdDelete, Dlg::IdPost})
        EXPECT_FALSE(dlg->Button(id)->isEnabled()) << id;
}

TEST_F(NoteManagerDlg, NewStartsAnEmptyNoteAndAPastStartAsksBeforeAdding) {
    CNote& old = Add("old", Now() + COleDateTimeSpan(0, 3, 0, 0));
    old.m_text = "kept";
    Open();
    ASSERT_EQ(Subject()->text().toStdString(), "old");
    QTest::keyClick(dlg->List(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Subject()->text().toStdString(), "");
    EXPECT_EQ(dlg->Editor()->StartEdit()->Value(), COleDateTime(2003, 11, 6, 11, 0, 0));
    EXPECT_FALSE(dlg->Button(Dlg::IdUpdate)->isEnabled()); // it would overwrite "old"
    QTest::keyClicks(Subject(), "fresh");
    QTest::keyClick(Subject(), Qt::Key_Return); // Enter adds a new entry
    ASSERT_EQ(hub.Store().notes().size(), 2u);
    EXPECT_EQ(old.m_title, "old");
    EXPECT_EQ(old.m_text, "kept");
    EXPECT_EQ(Titles(), "old,fresh,");
    EXPECT_TRUE(dlg->Button(Dlg::IdUpdate)->isEnabled()); // the new row is the editor's

    // A start already past would ring at once: asked first, No adds nothing.
    QTest::keyClick(dlg->List(), Qt::Key_N, Qt::ControlModifier);
    dlg->Editor()->StartEdit()->SetTime(Now() - COleDateTimeSpan(0, 1, 0, 0));
    QtDialogs::s_nextAnswers = {IDialogs::AnswerNo, IDialogs::AnswerYes};
    Click(dlg->Button(Dlg::IdAdd));
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].second, "Confirmation");
    EXPECT_EQ(hub.Store().notes().size(), 2u);
    Click(dlg->Button(Dlg::IdAdd));
    EXPECT_EQ(hub.Store().notes().size(), 3u);
    // Update hands the focus to the list, as Add does.
    SelectRow(0);
    Subject()->setFocus();
    Click(dlg->Button(Dlg::IdUpdate));
    EXPECT_EQ(dlg->focusWidget(), dlg->List());
}

TEST_F(NoteManagerDlg, ARemindersDueWhileOpenIsToldAndRingsAsItCloses) {
    RecordingNotices notices;
    PlatformServices services = platform.Services();
    services.notices = &notices;
    hub.SetPlatform(services);
    CNote& dentist = Add("Dentist", Now() + COleDateTimeSpan(0, 0, 1, 0));
    Open();
    Clock::AdvanceForTest(90);
    QTest::qWait(1300); // a tick of the window's clock
    EXPECT_EQ(dlg->StatusLine()->text().toStdString(), "1 reminder due: Dentist");
    EXPECT_EQ(notices.shown, std::vector<std::string>{"Reminder due: Dentist"});
    EXPECT_FALSE(notices.withButtons);
    EXPECT_EQ(dentist.Window(), nullptr); // nothing rings inside the manager
    // Moved an hour on, it waits no more.
    SelectRow(0);
    QTest::keyClick(dlg->List(), Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier);
    QTest::qWait(1300);
    EXPECT_FALSE(dlg->StatusLine()->text().contains(QStringLiteral("due:")));
    dlg->CloseManager();
    EXPECT_EQ(notices.withdrawn, std::vector<unsigned>{1});
}

TEST_F(NoteManagerDlg, FitsTheScreenEvenWhenTheListMustShrink) {
    hub.settings().m_managerExtraHeight = 300; // remembered on a taller screen
    Add("a", Now() + COleDateTimeSpan(0, 1, 0, 0));
    Open();
    const QRect screen = dlg->screen()->availableGeometry();
    EXPECT_LE(dlg->height(), screen.height());
    EXPECT_TRUE(screen.contains(dlg->geometry())) << screen.height();
    // Everything below the list stays inside the window.
    EXPECT_LE(dlg->StatusLine()->geometry().bottom(), dlg->height() - Dlg::kFrame);
    EXPECT_GT(dlg->List()->height(), 0);
    dlg->CloseManager();
    EXPECT_EQ(hub.settings().m_managerExtraHeight, 300); // kept for a larger screen
}

// Offscreen, as on a bare X server, nobody moves or sizes the window for the program. Moves
// by the band and the bottom edge are driven on a real X server; here the cursors and the
// top edge's stop.
TEST_F(NoteManagerDlg, FrameZonesShowTheirCursorsAndTheTopEdgeStopsAtTheSmallestHeight) {
    hub.settings().m_managerExtraHeight = 80;
    Open();
    QTest::mouseMove(dlg.get(), dlg->CaptionBand().center());
    EXPECT_EQ(dlg->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(dlg.get(), QPoint(dlg->width() / 2, dlg->height() - 4));
    EXPECT_EQ(dlg->cursor().shape(), Qt::SizeVerCursor);
    const int bottom = dlg->geometry().bottom();
    ASSERT_GT(dlg->height(), dlg->MinHeight());
    QTest::mousePress(dlg.get(), Qt::LeftButton, {}, QPoint(dlg->width() / 2, 3));
    QTest::mouseMove(dlg.get(), QPoint(dlg->width() / 2, 2000));
    QTest::mouseRelease(dlg.get(), Qt::LeftButton, {}, QPoint(dlg->width() / 2, 2000));
    EXPECT_EQ(dlg->height(), dlg->MinHeight());
    EXPECT_EQ(dlg->geometry().bottom(), bottom);
    // Inside, the parts keep their own cursors.
    EXPECT_EQ(dlg->List()->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
