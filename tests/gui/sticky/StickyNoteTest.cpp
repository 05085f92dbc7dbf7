#include "StickyNoteFixture.h"

#include "core/platform/SystemMetrics.h"
#include "support/NoteBuilder.h"

#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <QTimer>
#include <QToolTip>

namespace {
// The default scheme (Emboss, border 4) with "Arial" 10 point: title bar 24 pixels high.
constexpr int kTitle = 24;
const QPoint kCaption(80, 12), kPin(12, 12);

QRect Rect(const RECT& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
QRect Screen() {
    return QGuiApplication::primaryScreen()->geometry();
}
void DoubleClick(QWidget* w, QPoint at) {
    QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, at);
}

using StickyNote = StickyNoteFixture;

// Dragging by the title is driven on the real program.
TEST_F(StickyNote, NewNoteOpensInTheMiddleFifthAndKeepsCrLf) {
    auto* win = Open(1, "Note", "a\r\nb");
    EXPECT_EQ(win->geometry(), QRect(2 * Screen().width() / 5, 2 * Screen().height() / 5,
                                     Screen().width() / 5, Screen().height() / 5));
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(win->Note()->m_posted, 1);

    // Plain breaks on screen, CR LF in the note, kept up to date while typing.
    EXPECT_EQ(win->TextEdit()->toPlainText(), "a\nb");
    win->TextEdit()->moveCursor(QTextCursor::End);
    QTest::keyClick(win->TextEdit(), Qt::Key_Return);
    QTest::keyClicks(win->TextEdit(), "c");
    EXPECT_EQ(win->Note()->m_text, "a\r\nb\r\nc");

    // A title longer than a line edit's usual limit survives the window whole.
    const std::string longTitle(40000, 't');
    auto* titled = Open(2, longTitle, "");
    EXPECT_EQ(titled->Note()->m_title, longTitle);
    EXPECT_EQ(titled->TitleEdit()->text().toStdString(), longTitle);
}

TEST_F(StickyNote, EdgeDragsRollUpUnrollAndSnapTheWidth) {
    auto* win = Open();
    const int h = win->height(), rolled = win->Geometry().RolledHeight();
    ASSERT_EQ(rolled, 4 + kTitle);
    Drag(win, QPoint(80, h - 2), QPoint(0, 10 - h));
    EXPECT_EQ(win->height(), rolled);
    EXPECT_FALSE(win->TextEdit()->isEnabled());
    EXPECT_FALSE(win->TextEdit()->isVisible());
    EXPECT_EQ(win->Note()->m_windowRect.Height(), rolled);
    // The last height above the title bar on the way up is the one to unroll to.
    EXPECT_GT(win->Note()->m_firstRect.Height(), rolled);
    EXPECT_LT(win->Note()->m_firstRect.Height(), h);

    Drag(win, QPoint(80, rolled - 1), QPoint(0, 100));
    EXPECT_EQ(win->height(), rolled + 100);
    EXPECT_TRUE(win->TextEdit()->isEnabled() && win->TextEdit()->isVisible());
    EXPECT_EQ(win->Note()->m_firstRect.Height(), rolled + 100);

    Drag(win, QPoint(win->width() - 2, 80), QPoint(-win->width(), 0));
    EXPECT_EQ(win->width(), 3 * rolled);
    EXPECT_EQ(win->Note()->m_windowRect.Width(), 3 * rolled);
}

TEST_F(StickyNote, CaptionDoubleClickRollsAndUnrolls) {
    auto* win = Open();
    const QRect before = win->geometry();
    DoubleClick(win, kCaption);
    EXPECT_EQ(win->geometry(), QRect(before.topLeft(), QSize(before.width(), 4 + kTitle)));
    DoubleClick(win, kCaption);
    EXPECT_EQ(win->geometry(), before);
    EXPECT_TRUE(win->TextEdit()->isVisible());
    DoubleClick(win, kCaption); // a short last height unrolls to the minimum instead
    win->Note()->m_firstRect = RECT{0, 0, 100, 30};
    DoubleClick(win, kCaption);
    EXPECT_EQ(win->height(), win->Geometry().UnrollMinHeight());
}

TEST_F(StickyNote, PinBoxTogglesAlwaysOnTopAndRedraws) {
    auto* win = Open();
    ASSERT_TRUE(win->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    const QImage on = win->grab().toImage().copy(0, 0, win->width(), kTitle);
    Click(win, kPin);
    EXPECT_EQ(win->Note()->m_topMost, 0);
    EXPECT_FALSE(win->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(win->isVisible()); // the flag change does not re-create the window
    const QImage off = win->grab().toImage().copy(0, 0, win->width(), kTitle);
    EXPECT_NE(on.copy(0, 0, kTitle, kTitle), off.copy(0, 0, kTitle, kTitle));
    EXPECT_EQ(on.copy(kTitle, 0, 100, kTitle), off.copy(kTitle, 0, 100, kTitle));
    Click(win, kPin);
    EXPECT_TRUE(win->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(win->grab().toImage().copy(0, 0, win->width(), kTitle), on);
}

TEST_F(StickyNote, RightClickOpensNothingOutsideThePinBoxAndRenamesOnTheCaption) {
    auto* win = Open(1, "Old");
    QSignalSpy menu(win, &CStickyNoteDlg::noteMenuRequested);
    Click(win, QPoint(win->width() - 14, 12), Qt::RightButton); // over the close glyph
    EXPECT_EQ(menu.count(), 0);
    EXPECT_FALSE(win->IsBusy());
    Click(win, kPin); // later clicks still work
    EXPECT_EQ(win->Note()->m_topMost, 0);
    // The menu it opens is closed again at once (the note menu's own tests choose from it).
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    Click(win, kPin, Qt::RightButton);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), win->mapToGlobal(kPin));
    EXPECT_EQ(win->Note()->m_topMost, 0); // a right click does not toggle

    // On the caption: Return keeps the new title, Escape the old one, losing focus keeps it.
    // While the title is typed the note keeps the old one, so a save meanwhile stores that.
    QLineEdit* edit = win->TitleEdit();
    for (auto [typed, key, want] : {std::tuple{"Shopping", Qt::Key_Return, "Shopping"},
                                    std::tuple{"X", Qt::Key_Escape, "Shopping"},
                                    std::tuple{"List", Qt::Key_unknown, "List"}}) {
        Click(win, kCaption, Qt::RightButton);
        ASSERT_TRUE(edit->isVisible());
        const std::string before = win->Note()->m_title;
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        EXPECT_EQ(win->Note()->m_title, before);
        if (key == Qt::Key_unknown)
            win->TextEdit()->setFocus();
        else
            QTest::keyClick(edit, key);
        EXPECT_FALSE(edit->isVisible());
        EXPECT_EQ(win->Note()->m_title, want);
        EXPECT_EQ(win->Note()->Window(), win); // Escape there does not close the note
    }
    tray.SetState(CTrayCore::StateManagerOpen); // not while the Note Manager is open
    Click(win, kCaption, Qt::RightButton);
    EXPECT_FALSE(edit->isVisible());
}

TEST_F(StickyNote, EscapeClosesQuietlyAndTheCloseBoxShrinksWithItsSound) {
    auto* win = Open(1, "Note", "typed");
    QPointer<CStickyNoteDlg> guard(win);
    CNote* note = win->Note();
    win->move(100, 120);
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win));
    win->TextEdit()->setFocus();
    QTest::keyClick(win->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->Window(), nullptr);
    EXPECT_EQ(Rect(note->m_windowRect).topLeft(), QPoint(100, 120));
    EXPECT_EQ(note->m_text, "typed");
    EXPECT_TRUE(sound.resources.empty());

    win = Open();
    win->setGeometry(200, 100, 160, 120);
    note = win->Note();
    guard = win;
    std::vector<QRect> steps;
    QObject::connect(win->windowHandle(), &QWindow::widthChanged,
                     [&] { steps.push_back(win->windowHandle()->geometry()); });
    Click(win, QPoint(160 - 14, 12));
    EXPECT_TRUE(win->IsBusy()); // no alarm starts in a closing window
    EXPECT_TRUE(QTest::qWaitFor([&] { return guard.isNull() || !guard->isVisible(); }));
    // The platform reports sizes asynchronously, so only the shrinking and the last step are
    // certain here; the exact steps are checked in the core.
    ASSERT_FALSE(steps.empty());
    EXPECT_LT(steps.front().width(), 160);
    EXPECT_EQ(steps.back(), QRect(320, 100, 40, 30));
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->Window(), nullptr);
    EXPECT_EQ(note->m_windowRect, (RECT{200, 100, 360, 220})); // stored before shrinking
    EXPECT_EQ(sound.resources, std::vector<int>{242});
    DrainDeletes();
    EXPECT_TRUE(guard.isNull());
    // The first memo closed says where it went, once (Escape above closed it quietly).
    ASSERT_EQ(platform.dialogs.boxes.size(), 1u);
    EXPECT_EQ(platform.dialogs.boxes[0].text, CStickyHub::kClosedNoteHint);

    PlatformServices quiet = tray.Platform();
    quiet.sound = nullptr; // no sound device: it still closes
    tray.SetPlatform(quiet);
    note = Open()->Note();
    Click(Window(*note), QPoint(Window(*note)->width() - 14, 12));
    EXPECT_TRUE(QTest::qWaitFor([&] { return note->Window() == nullptr; }));
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(platform.dialogs.boxes.size(), 1u) << "the hint came twice";
}

TEST_F(StickyNote, TitleBandPinAndCloseBoxesExplainThemselves) {
    auto* win = Open();
    win->setGeometry(200, 100, 160, 120);
    const int t = win->Geometry().m_titleHeight;
    const struct {
        QPoint at;
        const char* says; // empty: no tip
    } cases[] = {{{t / 2, t / 2}, "keep on top"},
                 {{160 - 14, 12}, "stays in the Note Manager"},
                 {{80, t / 2}, "edit the title"},
                 {{80, 80}, ""}};
    for (const auto& c : cases) {
        QToolTip::hideText();
        ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        QHelpEvent help(QEvent::ToolTip, c.at, win->mapToGlobal(c.at));
        QApplication::sendEvent(win, &help);
        if (!*c.says) {
            EXPECT_FALSE(QToolTip::isVisible());
            continue;
        }
        EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000)) << c.says;
        EXPECT_TRUE(QToolTip::text().contains(QString::fromLatin1(c.says))) << c.says;
    }
}

TEST_F(StickyNote, MemoNeverShowsACountdownButAReminderDoes) {
    tray.settings().m_showCountdownDefault = 1;
    auto* memo = Open();
    EXPECT_FALSE(memo->CountdownLine()->isVisible());
    EXPECT_EQ(memo->Geometry().RolledHeight(), 4 + kTitle);

    // A one-time reminder of the same scheme.
    CNote* reminder = &NoteBuilder().ShowCountdown().AddTo(tray.Store());
    reminder->m_font = tray.settings().m_schemeFont[1];
    reminder->m_borderStyle = 1;
    reminder->OpenWindow(-1, -1, false, factory);
    auto* win = Window(*reminder);
    ASSERT_NE(win, nullptr);
    QLabel* line = win->CountdownLine();
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry(), QRect(5, win->height() - 4 - 16, win->width() - 10, 16));
    EXPECT_LE(win->TextEdit()->geometry().bottom(), line->geometry().top() - 2);
    DoubleClick(win, kCaption);
    EXPECT_TRUE(line->isVisible()); // rolled up, right under the title bar
    EXPECT_EQ(line->geometry().top(), kTitle + 1);
}

TEST_F(StickyNote, ShiftClickOnThePinBoxStacksTheOthersBelow) {
    auto* first = Open();
    first->setGeometry(100, 50, 200, 150);
    std::vector<CStickyNoteDlg*> others;
    for (int i = 0; i < 3; ++i) {
        others.push_back(Open());
        others.back()->setGeometry(400 + 10 * i, 300, 120, 90);
    }
    Click(first, kPin, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(first->Note()->m_topMost, 1); // arranging does not toggle
    for (int i = 0; i < 3; ++i) {
        const QRect want(100, 50 + (i + 1) * (SystemMetrics::SM_CXFRAME + kTitle), 200, 150);
        EXPECT_EQ(others[i]->geometry(), want) << i;
        EXPECT_EQ(Rect(others[i]->Note()->m_windowRect), want) << i;
    }
}

TEST_F(StickyNote, WindowManagerCloseCancelsButEndingTheProgramKeepsNotesPosted) {
    CNote* note = Open()->Note();
    QCloseEvent close; // as the platform delivers the window manager's request
    QSpontaneKeyEvent::setSpontaneous(&close);
    QCoreApplication::sendEvent(Window(*note)->windowHandle(), &close);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->Window(), nullptr);

    // Quitting closes every window first (cancelled if one refuses), then saves them posted.
    auto* win = Open();
    win->setGeometry(60, 70, 200, 150);
    note = win->Note();
    EXPECT_TRUE(win->windowHandle()->close());
    EXPECT_EQ(note->Window(), win);
    tray.CloseNoteWindows(true);
    EXPECT_EQ(note->m_windowRect, (RECT{60, 70, 260, 220}));
    EXPECT_EQ(note->m_posted, 1);
    EXPECT_EQ(note->Window(), nullptr);
}

TEST_F(StickyNote, SizesFromTheWindowManagerFollowTheSizingRules) {
    auto* win = Open();
    const int rolled = win->Geometry().RolledHeight();
    win->resize(200, rolled + 12);
    EXPECT_EQ(win->Note()->m_windowRect.Height(), rolled + 12);
    win->resize(200, rolled);
    EXPECT_FALSE(win->TextEdit()->isEnabled());
    EXPECT_EQ(win->Note()->m_firstRect.Height(), rolled + 12); // kept for unrolling
    win->resize(10, 10); // the window manager is told the limits
    EXPECT_EQ(win->size(), QSize(3 * rolled, rolled));
}
} // namespace
