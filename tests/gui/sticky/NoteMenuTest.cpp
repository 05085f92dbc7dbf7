// The note menu as the user meets it: opened by real right clicks and keys on a real note
// window, items chosen by real clicks, its picture checked pixel by pixel.
#include "core/app/Globals.h"
#include "core/model/CNote.h"
#include "core/platform/Clock.h"
#include "core/platform/SystemMetrics.h"
#include "core/sticky/CNoteMenuModel.h"
#include "core/sticky/NoteColors.h"
#include "gui/notemenu/CNoteMenu.h"
#include "gui/platform/GdiPaint.h"
#include "gui/platform/SystemColors.h"
#include "gui/sticky/StickyNoteFixture.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

namespace {
using M = CNoteMenuModel;
const QPoint kPin(8, 8);

class NoteMenu : public StickyNoteFixture {
protected:
    // Runs act on the first widget find returns, polling while the caller's event loop runs
    // (a menu or a dialog shows inside the call that opens it).
    template <class W>
    static void WhenShown(std::function<W*()> find, std::function<void(W*)> act) {
        auto* poll = new QTimer;
        auto tries = std::make_shared<int>(0);
        QObject::connect(poll, &QTimer::timeout, [poll, tries, find, act] {
            W* w = find();
            if (!w && ++*tries < 500) return;
            poll->stop();
            poll->deleteLater();
            ASSERT_NE(w, nullptr) << "nothing showed";
            act(w);
        });
        poll->start(10);
    }
    // Right-clicks the pin box (or runs open) and hands the menu to act while it is shown.
    void WithMenu(CStickyNoteDlg* win, const std::function<void(CNoteMenu*)>& act,
                  const std::function<void()>& open = {}) {
        bool seen = false;
        WhenShown<CNoteMenu>(
            [] { return qobject_cast<CNoteMenu*>(QApplication::activePopupWidget()); },
            [&](CNoteMenu* menu) {
                seen = true;
                EXPECT_TRUE(win->IsBusy()); // while the menu is open
                act(menu);
                if (menu->isVisible()) menu->close();
            });
        if (open)
            open();
        else
            Click(win, kPin, Qt::RightButton);
        EXPECT_TRUE(seen) << "no menu opened";
    }
    // Chooses an item with a real click; a submenu item is reached through its submenu.
    void Choose(CStickyNoteDlg* win, int id, int submenu = 0) {
        WithMenu(win, [&](CNoteMenu* menu) {
            if (submenu) {
                QTest::mouseClick(menu, Qt::LeftButton, {},
                                  menu->actionGeometry(menu->ActionOf(submenu)).center());
                CNoteMenu* sub = menu->SubmenuOf(submenu);
                ASSERT_TRUE(QTest::qWaitFor([&] { return sub->isVisible(); }));
                menu = sub;
            }
            QAction* a = menu->ActionOf(id);
            ASSERT_NE(a, nullptr) << id;
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        });
    }
    // Answers the modal dialog of the given class as soon as it shows.
    template <class Dialog> static void Answer(std::function<void(Dialog*)> act) {
        WhenShown<Dialog>([] { return qobject_cast<Dialog*>(QApplication::activeModalWidget()); },
                          act);
    }
    static QImage Save(QWidget* w, const QString& name) {
        return ImageCompare::Grab(w, "notemenu", name);
    }
    // The colour just inside an item, left of its label.
    static QColor FillOf(const QImage& img, const QRect& r, qreal dpr) {
        return img.pixelColor(int((r.left() + 6) * dpr), int(r.center().y() * dpr));
    }
    static CStickyNoteDlg* Reminder(CStickyNoteDlg* win) {
        win->Note()->m_type = CNote::OneTime;
        win->Note()->m_startTime = Clock::Now() + COleDateTimeSpan(2, 3, 30, 0);
        win->Note()->Recompute();
        return win;
    }

    TestEnv env;
    FakeDialogs& dialogs = platform.dialogs;
};
} // namespace

TEST_F(NoteMenu, ItemsPaintTheirColoursAndFollowTheNoteAndTheManager) {
    auto* win = Reminder(Open(1, "Plan"));
    const CSettings& s = tray.settings();
    std::vector<std::string> labels;
    WithMenu(win, [&](CNoteMenu* menu) {
        for (QAction* a : menu->actions())
            labels.push_back(a->isSeparator() ? "-" : a->text().toStdString());
        const qreal dpr = menu->devicePixelRatio();
        QImage img = Save(menu, "menu");
        // The schemes and the note's own colours preview themselves.
        for (int i = 0; i < 4; ++i) {
            const int ids[] = {M::Scheme1, M::Scheme2, M::Scheme3, M::Scheme4};
            EXPECT_EQ(FillOf(img, menu->actionGeometry(menu->ActionOf(ids[i])), dpr),
                      GdiPaint::ToQColor(s.m_schemeBack[i]));
        }
        EXPECT_EQ(FillOf(img, menu->actionGeometry(menu->ActionOf(M::MyTextColor)), dpr),
                  GdiPaint::ToQColor(win->Note()->m_backColor));
        const QRect del = menu->actionGeometry(menu->ActionOf(M::Delete));
        EXPECT_EQ(FillOf(img, del, dpr), SystemColors::Get(COLOR_MENU));
        EXPECT_EQ(menu->actionGeometry(menu->ActionOf(M::MyFont)).height(),
                  QFontMetrics(menu->font()).height() + 7);
        // Under the pointer: the selection colour inside a sunken frame.
        QTest::mouseMove(menu, del.center());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return menu->activeAction() == menu->ActionOf(M::Delete); }));
        img = Save(menu, "menu-selected");
        EXPECT_EQ(FillOf(img, del, dpr), QColor(75, 75, 192));
        EXPECT_EQ(img.pixel(int(del.left() * dpr), int(del.center().y() * dpr)),
                  SystemColors::Get(COLOR_3DDKSHADOW).rgb());
        // The format submenu: narrower items with a check box per unit.
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->ActionOf(M::CountdownFormat)).center());
        CNoteMenu* sub = menu->SubmenuOf(M::CountdownFormat);
        ASSERT_TRUE(QTest::qWaitFor([&] { return sub->isVisible(); }));
        const QImage subImg = Save(sub, "menu-format");
        const QRect day = sub->actionGeometry(sub->ActionOf(M::FormatDay));
        EXPECT_EQ(subImg.pixelColor(int((day.left() + 5) * dpr), int(day.center().y() * dpr)),
                  QColor(23, 255, 191)); // all four units are on
        EXPECT_LT(day.width(), del.width());
    });
    EXPECT_EQ(labels, (std::vector<std::string>{"Scheme 1", "Scheme 2", "Scheme 3", "Scheme 4",
                                                "My Back Color", "My Text Color", "My Font",
                                                "My Border Style", "-", "Show Countdown",
                                                "Countdown Format", "-", "Delete", "Save To File",
                                                "Print", "Time Setting"}));
    EXPECT_FALSE(win->IsBusy()); // closed without a choice: the window is free again

    // The menu key in the text opens it too; the manager's being open reaches the menu.
    tray.SetState(CTrayCore::StateManagerOpen);
    WithMenu(
        win,
        [&](CNoteMenu* menu) {
            EXPECT_NE(menu->ActionOf(M::ShowCountdown), nullptr);
            EXPECT_EQ(menu->ActionOf(M::Delete), nullptr);
            EXPECT_EQ(menu->ActionOf(M::TimeSetting), nullptr);
        },
        [&] { QTest::keyClick(win->TextEdit(), Qt::Key_F10, Qt::ShiftModifier); });
    tray.SetState(CTrayCore::StateIdle);
}

TEST_F(NoteMenu, SchemesColoursBorderAndCountdownUnits) {
    auto* win = Reminder(Open(1, "Look"));
    const CSettings& s = tray.settings();
    CNote* note = win->Note();
    Choose(win, M::Scheme1);
    EXPECT_EQ(note->m_backColor, s.m_schemeBack[0]);
    EXPECT_EQ(note->m_borderStyle, s.m_schemeBorder[0]);
    EXPECT_EQ(win->Geometry().m_border, 5); // Glow
    EXPECT_EQ(win->SchemeIndex(), 0);
    const QImage title = win->grab().toImage();
    const qreal dpr = win->devicePixelRatio();
    EXPECT_EQ(
        title.pixel(int(win->width() / 2 * dpr), int(win->Geometry().m_titleHeight / 2 * dpr)),
        Pixels::Rgb(TitleColorFor(s.m_schemeBack[0])));

    // A colour of one's own; the scheme then applies again.
    Answer<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(QColor(10, 120, 30));
        d->accept();
    });
    Choose(win, M::MyBackColor);
    EXPECT_EQ(note->m_backColor, RGB(10, 120, 30));
    EXPECT_EQ(win->SchemeIndex(), -1);
    Choose(win, M::Scheme1);
    EXPECT_EQ(note->m_backColor, s.m_schemeBack[0]);
    // Cancelled, the colour stays, but the scheme is forgotten all the same.
    Answer<QColorDialog>([](QColorDialog* d) { d->reject(); });
    Choose(win, M::MyTextColor);
    EXPECT_EQ(note->m_textColor, s.m_schemeText[0]);
    EXPECT_EQ(win->SchemeIndex(), -1);

    Choose(win, M::BorderEmboss, M::BorderStyle);
    EXPECT_EQ(note->m_borderStyle, 1);
    EXPECT_EQ(win->Geometry().m_border, 4);

    note->m_countdownFormat = 4;
    Choose(win, M::FormatDay, M::CountdownFormat);
    EXPECT_EQ(note->m_countdownFormat, 12);
    Choose(win, M::ShowCountdown);
    EXPECT_EQ(note->m_showCountdown, 1);
    EXPECT_TRUE(win->CountdownLine()->isVisible());
    EXPECT_EQ(win->CountdownLine()->text().toStdString(), " 2 days  3 Hours");
}

TEST_F(NoteMenu, FontsFromHeight70AreRefused) {
    auto* win = Open(1, "Font");
    CNote* note = win->Note();
    const LOGFONT before = note->m_font;
    auto pick = [&](int points) {
        Answer<QFontDialog>([points](QFontDialog* d) {
            d->setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), points));
            QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        Choose(win, M::MyFont);
    };
    pick(53); // 71 pixels
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Font is too big !");
    EXPECT_EQ(dialogs.boxes[0].caption, "Sorry");
    EXPECT_EQ(note->m_font, before);
    pick(52); // 69 pixels
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(note->m_font.lfHeight, -69);
    EXPECT_EQ(win->TextEdit()->font().pixelSize(), 69);
    EXPECT_GT(win->Geometry().m_titleHeight, 69);
    EXPECT_FALSE(win->IsBusy());
    EXPECT_TRUE(M::IsFontTooBig(-70) && M::IsFontTooBig(70) && !M::IsFontTooBig(-69));
}

TEST_F(NoteMenu, SaveToFileProposesTheTitleAndAsksBeforeReplacing) {
    auto* win = Open(1, "", "first line\r\nsecond line");
    const std::string path = env.Dir() + "/note.txt";
    dialogs.files = {path};
    Choose(win, M::SaveToFile);
    EXPECT_EQ(dialogs.proposedNames.back(), "Untitled.txt");
    EXPECT_EQ(ReadFile(path), "\n\nfirst line\nsecond line");
    EXPECT_TRUE(dialogs.boxes.empty());

    win->Note()->m_title = "Renamed";
    dialogs.files = {path};
    dialogs.answers = {IDialogs::AnswerNo};
    Choose(win, M::SaveToFile);
    EXPECT_EQ(dialogs.proposedNames.back(), "Renamed.txt");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Confirmation");
    EXPECT_EQ(ReadFile(path), "\n\nfirst line\nsecond line"); // refused: the old file stays
}

TEST_F(NoteMenu, TimeSettingKeepsTheWindowBusyUntilItCloses) {
    auto* win = Reminder(Open(1, "Time"));
    int countInside = -1;
    bool busyInside = false;
    Answer<QDialog>([&](QDialog* d) {
        countInside = g_timeDialogCount;
        busyInside = win->IsBusy();
        EXPECT_EQ(d->windowTitle().toStdString(), "Time Setting");
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("cancelButton")),
                          Qt::LeftButton);
    });
    Choose(win, M::TimeSetting);
    EXPECT_EQ(countInside, 1);
    EXPECT_TRUE(busyInside);
    EXPECT_EQ(g_timeDialogCount, 0);
    EXPECT_FALSE(win->IsBusy());
}

TEST_F(NoteMenu, DeleteRemovesAtOnceSavesAndLeavesAnotherRingingNoteAlone) {
    tray.settings().m_alarmSound = CSettings::SoundWave;
    sound.device = true;
    auto* doomed = Open(1, "Doomed", "gone soon");
    CNote& due = NoteBuilder()
                     .Title("Due")
                     .At(Clock::Now() + COleDateTimeSpan(0, 0, 0, -1))
                     .AddTo(tray.Store());
    due.m_type = CNote::OneTime;
    due.m_dueSoon = 1;
    tray.Alarms().CheckAlarms();
    CStickyNoteDlg* ringing = Window(due);
    ASSERT_TRUE(ringing && ringing->IsRinging());
    const QRect before = doomed->geometry();
    QRect firstStep;
    WhenShown<CNoteMenu>([] { return qobject_cast<CNoteMenu*>(QApplication::activePopupWidget()); },
                         [&](CNoteMenu* menu) {
                             QTest::mouseClick(
                                 menu, Qt::LeftButton, {},
                                 menu->actionGeometry(menu->ActionOf(M::Delete)).center());
                         });
    Click(doomed, kPin, Qt::RightButton);
    // No question; the window shrinks towards its centre, then the note is gone and saved.
    EXPECT_TRUE(dialogs.boxes.empty());
    firstStep = doomed->geometry();
    EXPECT_NEAR(firstStep.center().x(), before.center().x(), 1);
    EXPECT_LT(firstStep.width(), before.width());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.Store().notes().size() == 1; }, 2000));
    EXPECT_EQ(tray.Store().notes()[0].get(), &due);
    DrainDeletes();
    EXPECT_EQ(sound.resources.back(), 241);
    const std::string saved = ReadFile(tray.DataPath());
    EXPECT_NE(saved.find("Due"), std::string::npos);
    EXPECT_EQ(saved.find("Doomed"), std::string::npos);
    // The other note rings on, its sound untouched.
    EXPECT_TRUE(ringing->IsRinging());
    EXPECT_TRUE(sound.looping);
    EXPECT_EQ(g_ringingCount, 1);
}
