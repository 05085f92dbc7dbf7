#include "core/platform/Clock.h"
#include "gui/manager/CDateTimeEdit.h"
#include "gui/manager/CFieldChoiceDlg.h"
#include "gui/manager/CIndexDayEdit.h"
#include "gui/manager/CNoteEditForm.h"
#include "gui/manager/CTimeSettingDlg.h"
#include "gui/support/GuiInput.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "gui/widgets/CUpDownButtons.h"
#include "support/Fakes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
using GuiInput::Click;
const COleDateTime kNow(2003, 5, 13, 9, 30, 0);

QImage Save(const QImage& img, const QString& name) {
    return ImageCompare::Keep(img, "manager", name);
}
void CompareWithReference(const QImage& img, const QString& name) {
    ImageCompare::ExpectReference(img, 1.0, "manager", name);
}

// The program's clock and a plain look, for the form and the dialog around it.
class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::SetForTest(kNow);
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    void TearDown() override { Clock::ResetForTest(); }
    FakeDialogs dialogs;
};

// A host window that records the keys the form leaves to it.
class Host : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

class NoteEditForm : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form = new CNoteEditForm(&host, false, dialogs);
        form->PlaceIn(QPoint(4, 4));
        host.resize(form->width() + 8, form->height() + 8);
        host.move(60, 60);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        host.activateWindow();
    }

    template <class W = QWidget> W* Get(const char* name) {
        W* w = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::string Focused() {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName().toStdString() : std::string("none");
    }
    // The controls shown, as their object names.
    std::vector<std::string> Shown() {
        std::vector<std::string> names;
        for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisible()) names.push_back(w->objectName().toStdString());
        return names;
    }

    Host host;
    CNoteEditForm* form = nullptr;
};

TEST_F(NoteEditForm, TheKeyboardReachesEveryFieldAndEveryControlIsNamed) {
    auto* type = Get<QComboBox>("typeCombo");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down); // One Time -> Every
    EXPECT_EQ(type->currentText(), "Every");
    std::vector<std::string> order{Focused()};
    for (int i = 0; i < 8; ++i) {
        QWidget* f = QApplication::focusWidget();
        if (order.back() == "unitCombo") { // Day -> Week -> Month
            QTest::keyClick(f, Qt::Key_Down);
            QTest::keyClick(f, Qt::Key_Down);
        }
        if (order.back() == "indexCheck") QTest::keyClick(f, Qt::Key_Space);
        QTest::keyClick(f, Qt::Key_Tab);
        order.push_back(Focused());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"typeCombo", "countEdit", "unitCombo", "priorEdit",
                                               "startEdit", "indexCheck", "indexEdit",
                                               "subjectEdit", "itemEdit"}));
    EXPECT_EQ(Get<QComboBox>("unitCombo")->currentText(), "Month");
    EXPECT_EQ(form->IndexEdit()->text(), " 1st Sun");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // the text lets the focus go
    EXPECT_NE(Focused(), "itemEdit");

    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->parentWidget() != form && !qobject_cast<QToolButton*>(w)) continue;
        EXPECT_FALSE(w->accessibleName().isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    EXPECT_EQ(Get<CUpDownButtons>("startArrows")->UpButton()->accessibleName(), "Start arrows up");
}

TEST_F(NoteEditForm, EnterGoesToTheHostExceptInTheText) {
    for (const char* name : {"typeCombo", "countEdit", "startEdit", "subjectEdit"}) {
        QWidget* w = Get(name);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        EXPECT_EQ(host.keys, std::vector<int>{Qt::Key_Return}) << name;
        host.keys.clear();
    }
    auto* item = Get<QPlainTextEdit>("itemEdit");
    item->setFocus();
    QTest::keyClicks(item, "a");
    QTest::keyClick(item, Qt::Key_Return);
    QTest::keyClicks(item, "b");
    EXPECT_TRUE(host.keys.empty());
    CNote n;
    ASSERT_TRUE(form->SaveToNote(n));
    EXPECT_EQ(n.m_text, "a\r\nb"); // stored with CR LF
}

TEST_F(NoteEditForm, ArrowsAndKeysStepTheCountStartAndIndexDay) {
    auto* type = Get<QComboBox>("typeCombo");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down);
    auto* count = Get<QLineEdit>("countEdit");
    auto* arrows = Get<CUpDownButtons>("countArrows");
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    EXPECT_EQ(count->text(), "3");
    count->setFocus();
    QTest::keyClick(count, Qt::Key_Down);
    EXPECT_EQ(count->text(), "2");
    // The start's arrows step the field selected in it.
    EXPECT_EQ(form->StartEdit()->text(), "Tue, May 13, 2003 10:30 AM");
    form->StartEdit()->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(Get<CUpDownButtons>("startArrows")->DownButton(), Qt::LeftButton);
    EXPECT_EQ(form->StartEdit()->text(), "Mon, May 12, 2003 10:30 AM");
    EXPECT_EQ(form->StartEdit()->selectedText(), "12");
}

// Each type and unit shows its own set of controls; the pictures are looked at by hand.
TEST_F(NoteEditForm, EachTypeAndUnitShowsItsControls) {
    struct State {
        const char* name;
        int type, recurrence, indexDay;
        std::vector<std::string> shown;
    };
    const std::vector<std::string> always{"typeLabel",   "typeCombo",   "startLabel",
                                          "startEdit",   "startArrows", "subjectLabel",
                                          "subjectEdit", "itemLabel",   "itemEdit"};
    const std::vector<std::string> count{"countEdit", "countArrows"};
    const std::vector<std::string> prior{"priorLabel", "priorEdit", "daysLabel"};
    const std::vector<std::string> check{"indexLabel", "indexCheck"};
    const std::vector<std::string> index{"indexEdit", "indexArrows"};
    auto with = [&](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> all = always;
        for (const auto& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        all.push_back("unitCombo");
        return all;
    };
    const State states[] = {
        {"memo", CNote::Memo, 20000, 0, always},
        {"onetime", CNote::OneTime, 0, 0,
         [&] {
             auto s = always;
             s.insert(s.end(), prior.begin(), prior.end());
             return s;
         }()},
        {"every-month", CNote::Every, 4001, 0, with({count, prior, check})},
        {"every-year-index", CNote::Every, 5001, 11275, with({count, prior, check, index})},
        {"every-workday", CNote::Every, 6000, 0, with({})},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        CNote n;
        n.m_type = s.type;
        n.m_recurrence = s.recurrence;
        n.m_indexDay = s.indexDay;
        n.m_priorDays = s.type == CNote::Memo ? 0 : 2;
        n.m_startTime = COleDateTime(2003, 12, 27, 18, 0, 0);
        n.m_title = "Rent";
        n.m_text = "Pay the rent\r\nto Mr Brown";
        form->LoadFromNote(&n);
        host.setFocus();
        std::vector<std::string> shown = Shown(), expected = s.shown;
        std::sort(shown.begin(), shown.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(shown, expected);
        const QImage img = Save(form->grab().toImage(), QStringLiteral("form-") + s.name);
        // What is hidden leaves the plain background; what is shown draws something.
        const QRgb back = img.pixel(1, img.height() - 1) | 0xFF000000u;
        for (QWidget* w : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool drawn =
                Pixels::Count(img, w->geometry().adjusted(1, 1, -1, -1), back, false);
            EXPECT_EQ(drawn, w->isVisible()) << w->objectName().toStdString();
        }
        if (std::string(s.name) == "every-year-index")
            CompareWithReference(img, QStringLiteral("form-every-year-index"));
    }
}

TEST_F(NoteEditForm, TheDayListOpensBelowTheDay) {
    CNote n;
    n.m_type = CNote::OneTime;
    n.m_startTime = COleDateTime(2004, 2, 10, 8, 5, 0);
    form->LoadFromNote(&n);
    CDateTimeEdit* start = form->StartEdit();
    start->setFocus(Qt::TabFocusReason); // the day is selected
    const QPoint at = start->mapTo(&host, QPoint(start->width() / 2, start->height() / 2));
    QTest::mouseClick(host.windowHandle(), Qt::RightButton, {}, at);
    QTest::qWait(10);
    CFieldChoiceDlg* p = start->Chooser();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->List()->count(), 29);
    EXPECT_EQ(p->List()->currentItem()->text(), "10");
    const QImage img = Save(p->grab().toImage(), QStringLiteral("popup-days"));
    CompareWithReference(img, QStringLiteral("popup-days"));
    p->close();
}

// The Time Setting dialog around a one-time reminder.
class TimeSetting : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        note.m_type = CNote::OneTime;
        note.m_startTime = COleDateTime(2003, 6, 1, 10, 0, 0);
        note.Recompute();
        note.m_title = "Dentist";
        note.m_text = "Bring the card";
        dlg = std::make_unique<CTimeSettingDlg>(nullptr, note, dialogs,
                                                [this](CNote& n) { saved.push_back(&n); });
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        dlg->activateWindow();
    }

    template <class W = QWidget> W* Get(const char* name) {
        return dlg->Form()->findChild<W*>(QString::fromLatin1(name));
    }
    std::string Times(const CNote& n) {
        return std::to_string(n.m_type) + " " + std::to_string(n.m_recurrence) + " " +
               n.m_startTime.Format("%c") + " " + n.m_alarmTime.Format("%c") + " " +
               n.m_nextTime.Format("%c") + " " + n.m_title + " " + n.m_text;
    }

    CNote note;
    std::vector<CNote*> saved;
    std::unique_ptr<CTimeSettingDlg> dlg;
};

TEST_F(TimeSetting, ARefusedCountKeepsItOpenAndCancelChangesNothing) {
    const std::string before = Times(note);
    EXPECT_EQ(dlg->windowTitle(), "Time Setting");
    EXPECT_FALSE(Get("subjectEdit")->isVisible());
    EXPECT_FALSE(Get("itemEdit")->isVisible());
    EXPECT_EQ(dlg->Form()->StartEdit()->text(), "Sun, Jun 01, 2003 10:00 AM");
    Save(dlg->grab().toImage(), QStringLiteral("time-setting"));

    auto* type = Get<QComboBox>("typeCombo");
    type->setFocus();
    QTest::keyClick(type, Qt::Key_Down); // Every
    auto* count = Get<QLineEdit>("countEdit");
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, "1000");
    Click(dlg->OkButton());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Please enter an integer between 1 and 999.");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_TRUE(count->hasFocus());
    EXPECT_EQ(count->selectedText(), "1000");
    EXPECT_EQ(Times(note), before);
    EXPECT_TRUE(saved.empty());

    Click(dlg->CancelButton());
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(Times(note), before);
    EXPECT_TRUE(saved.empty());
}

TEST_F(TimeSetting, EnterActsAsOkAndWritesOnlyTheTimes) {
    auto* start = dlg->Form()->StartEdit();
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start, Qt::Key_Up); // the day
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], &note);
    EXPECT_EQ(note.m_startTime, COleDateTime(2003, 6, 2, 10, 0, 0));
    EXPECT_EQ(note.m_alarmTime, note.m_startTime);
    EXPECT_EQ(note.m_title, "Dentist");
    EXPECT_EQ(note.m_text, "Bring the card");
}

} // namespace
