#include "StickyNoteFixture.h"

#include "manager/CHoverButton.h"
#include "platform/SystemMetrics.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QSpontaneKeyEvent>
#include <cstdio>

namespace {
// The default scheme (Emboss, border 4) with "Arial" 10 point: title bar 24 pixels high.
constexpr int kTitle = 24;

QRect Rect(const RECT& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

class StickyNote : public StickyNoteFixture {};

TEST_F(StickyNote, NewNoteOpensPostedInTheMiddleFifth) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int w = screen.width() / 5, h = screen.height() / 5;
    auto* win = Open();
    CNote& n = *win->Note();
    EXPECT_EQ(win->geometry(), QRect(2 * w, 2 * h, w, h));
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(n.m_posted, 1);
    EXPECT_EQ(n.m_rectKnown, 1);
    EXPECT_EQ(Rect(n.m_windowRect), win->geometry());
    EXPECT_EQ(n.m_firstRect, n.m_windowRect);
    EXPECT_EQ(win->Geometry().m_titleHeight, kTitle);
    EXPECT_EQ(win->SchemeIndex(), 1);
    EXPECT_FALSE(win->TextEdit()->isReadOnly()); // made writable by its creator
    EXPECT_TRUE(win->windowFlags() & Qt::Tool);
    EXPECT_TRUE(win->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(StickyNote, DragByTitleMovesTheNoteAndStoresItsRectangle) {
    auto* win = Open();
    const QRect before = win->geometry();
    Drag(win, QPoint(80, 12), QPoint(50, 30));
    EXPECT_EQ(win->geometry(), before.translated(50, 30));
    EXPECT_EQ(Rect(win->Note()->m_windowRect), before.translated(50, 30));
    EXPECT_EQ(win->Note()->m_firstRect.Height(), before.height()); // moving is not sizing
}

TEST_F(StickyNote, BottomEdgeDraggedToTheTitleRollsUpAndBackDownStoresTheHeight) {
    auto* win = Open();
    const QRect before = win->geometry();
    const int rolled = win->Geometry().RolledHeight();
    ASSERT_EQ(rolled, 4 + kTitle);

    Drag(win, QPoint(80, before.height() - 2), QPoint(0, 10 - before.height()));
    EXPECT_EQ(win->height(), rolled);
    EXPECT_TRUE(win->IsRolledUp());
    EXPECT_FALSE(win->TextEdit()->isEnabled());
    EXPECT_FALSE(win->TextEdit()->isVisible());
    // The last rectangle taller than the title bar on the way up is the one to unroll to.
    const RECT first = win->Note()->m_firstRect;
    EXPECT_GT(first.Height(), rolled);
    EXPECT_LT(first.Height(), before.height());
    EXPECT_EQ(first.top, before.top());
    EXPECT_EQ(win->Note()->m_windowRect.Height(), rolled);

    Drag(win, QPoint(80, rolled - 1), QPoint(0, 100));
    EXPECT_EQ(win->height(), rolled + 100);
    EXPECT_TRUE(win->TextEdit()->isVisible());
    EXPECT_TRUE(win->TextEdit()->isEnabled());
    EXPECT_EQ(win->Note()->m_firstRect.Height(), rolled + 100);
}

TEST_F(StickyNote, NarrowWidthSnapsBackToThreeRolledHeights) {
    auto* win = Open();
    Drag(win, QPoint(win->width() - 2, 80), QPoint(-win->width(), 0));
    EXPECT_EQ(win->width(), 3 * win->Geometry().RolledHeight());
    EXPECT_EQ(win->Note()->m_windowRect.Width(), win->width());
}

TEST_F(StickyNote, CaptionDoubleClickRollsAndUnrolls) {
    auto* win = Open();
    const QRect before = win->geometry();
    QTest::mouseDClick(win->windowHandle(), Qt::LeftButton, {}, QPoint(80, 12));
    EXPECT_TRUE(win->IsRolledUp());
    EXPECT_EQ(win->geometry(), QRect(before.topLeft(), QSize(before.width(), 4 + kTitle)));
    QTest::mouseDClick(win->windowHandle(), Qt::LeftButton, {}, QPoint(80, 12));
    EXPECT_EQ(win->geometry(), before);
    EXPECT_TRUE(win->TextEdit()->isVisible());

    // A short last height unrolls to the minimum instead.
    QTest::mouseDClick(win->windowHandle(), Qt::LeftButton, {}, QPoint(80, 12));
    win->Note()->m_firstRect = RECT{0, 0, 100, 30};
    QTest::mouseDClick(win->windowHandle(), Qt::LeftButton, {}, QPoint(80, 12));
    EXPECT_EQ(win->height(), win->Geometry().UnrollMinHeight());
}

TEST_F(StickyNote, PinBoxTogglesAlwaysOnTopAndRedraws) {
    auto* win = Open();
    ASSERT_EQ(win->Note()->m_topMost, 1);
    EXPECT_TRUE(win->windowFlags() & Qt::WindowStaysOnTopHint);
    const QImage on = win->grab().toImage();

    Click(win, QPoint(12, 12));
    EXPECT_EQ(win->Note()->m_topMost, 0);
    EXPECT_FALSE(win->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(win->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(win->isVisible()); // the flag change does not re-create the window
    const QImage off = win->grab().toImage();
    EXPECT_NE(on.copy(0, 0, kTitle, kTitle), off.copy(0, 0, kTitle, kTitle));
    EXPECT_EQ(on.copy(kTitle, 0, 100, kTitle), off.copy(kTitle, 0, 100, kTitle));

    Click(win, QPoint(12, 12));
    EXPECT_EQ(win->Note()->m_topMost, 1);
    EXPECT_TRUE(win->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(win->grab().toImage().copy(0, 0, win->width(), kTitle),
              on.copy(0, 0, win->width(), kTitle));
}

TEST_F(StickyNote, RightClickOutsideThePinBoxOpensNothingAndBlocksNothing) {
    auto* win = Open();
    QSignalSpy menu(win, &CStickyNoteDlg::noteMenuRequested);
    Click(win, QPoint(win->width() - 14, 12), Qt::RightButton); // over the close glyph
    EXPECT_EQ(menu.count(), 0);
    EXPECT_FALSE(win->IsBusy());
    EXPECT_TRUE(win->isVisible());
    EXPECT_FALSE(win->TitleEdit()->isVisible());

    Click(win, QPoint(12, 12)); // later clicks still work
    EXPECT_EQ(win->Note()->m_topMost, 0);

    Click(win, QPoint(12, 12), Qt::RightButton);
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), win->mapToGlobal(QPoint(12, 12)));
    EXPECT_EQ(win->Note()->m_topMost, 0); // a right click does not toggle
}

TEST_F(StickyNote, EscapeClosesQuietlyAndUnposts) {
    auto* win = Open(1, "Note", "typed");
    QPointer<CStickyNoteDlg> guard(win);
    CNote* note = win->Note();
    win->move(100, 120);
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win));
    win->TextEdit()->setFocus();
    QTest::keyClick(win->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->m_window, nullptr);
    EXPECT_EQ(note->m_windowRect.left, 100);
    EXPECT_EQ(note->m_windowRect.top, 120);
    EXPECT_EQ(note->m_text, "typed");
    DrainDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(StickyNote, CloseBoxShrinksInThreeStepsWithItsSoundAndUnposts) {
    auto* win = Open();
    win->setGeometry(200, 100, 160, 120);
    CNote* note = win->Note();
    QPointer<CStickyNoteDlg> guard(win);
    std::vector<QRect> steps;
    struct Recorder : QObject {
        std::vector<QRect>* out;
        QWidget* w;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Resize) out->push_back(w->geometry());
            return false;
        }
    } recorder;
    recorder.out = &steps;
    recorder.w = win;
    win->installEventFilter(&recorder);

    Click(win, QPoint(160 - 14, 12));
    EXPECT_TRUE(win->IsClosing());
    EXPECT_TRUE(win->IsBusy()); // no alarm starts in a closing window
    EXPECT_EQ(win->GetWindowRect(), (RECT{200, 100, 360, 220}));
    QTRY_VERIFY(guard.isNull() || !guard->isVisible());
    EXPECT_EQ(steps, (std::vector<QRect>{QRect(240, 100, 120, 90), QRect(280, 100, 80, 60),
                                         QRect(320, 100, 40, 30)}));
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->m_window, nullptr);
    EXPECT_EQ(note->m_windowRect, (RECT{200, 100, 360, 220})); // stored before shrinking
    EXPECT_EQ(sound.resources, std::vector<int>{242});
    EXPECT_EQ(sound.stops, 1);
    DrainDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(StickyNote, CloseBoxWithoutSoundDeviceStillCloses) {
    tray.m_sound = nullptr;
    auto* win = Open();
    CNote* note = win->Note();
    Click(win, QPoint(win->width() - 14, 12));
    QTRY_VERIFY(note->m_window == nullptr);
    EXPECT_EQ(note->m_posted, 0);
}

TEST_F(StickyNote, MemoNeverShowsACountdownButAReminderDoes) {
    tray.m_showCountdownDefault = 1;
    auto* memo = Open();
    EXPECT_FALSE(memo->CountdownLine()->isVisible());
    EXPECT_EQ(memo->Note()->m_showCountdown, 0);
    EXPECT_EQ(memo->Geometry().RolledHeight(), 4 + kTitle);

    CNote* reminder = new CNote;
    reminder->m_type = CNote::OneTime;
    reminder->m_showCountdown = 1;
    reminder->m_font = tray.m_schemeFont[1];
    reminder->m_borderStyle = 1;
    tray.m_notes.push_back(reminder);
    reminder->OpenWindow(-1, -1, false, factory);
    auto* win = Window(*reminder);
    ASSERT_NE(win, nullptr);
    QLabel* line = win->CountdownLine();
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry(), QRect(5, win->height() - 4 - 16, win->width() - 10, 16));
    EXPECT_EQ(win->Geometry().RolledHeight(), 4 + kTitle + 16 + 2);
    EXPECT_LE(win->TextEdit()->geometry().bottom(), line->geometry().top() - 2);

    // Rolled up, the line sits right under the title bar.
    QTest::mouseDClick(win->windowHandle(), Qt::LeftButton, {}, QPoint(80, 12));
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->geometry().top(), kTitle + 1);
    EXPECT_FALSE(win->TextEdit()->isVisible());
}

TEST_F(StickyNote, RightClickOnTheCaptionRenamesInPlace) {
    auto* win = Open(1, "Old");
    Press(win, QPoint(80, 12), Qt::RightButton);
    Release(win, QPoint(80, 12), Qt::RightButton);
    QLineEdit* edit = win->TitleEdit();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->geometry(), Rect(win->Geometry().TitleTextRect(win->width())));
    EXPECT_EQ(edit->text(), "Old");
    edit->selectAll();
    QTest::keyClicks(edit, "Shopping");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(win->Note()->m_title, "Shopping");
    EXPECT_EQ(win->windowTitle(), "Shopping");

    // Escape in the editor gives the old title back and leaves the note open.
    Click(win, QPoint(80, 12), Qt::RightButton);
    ASSERT_TRUE(edit->isVisible());
    QTest::keyClicks(edit, "X");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(win->Note()->m_title, "Shopping");
    EXPECT_EQ(win->Note()->m_posted, 1);
    EXPECT_EQ(win->Note()->m_window, win);

    // Losing the focus keeps what was typed.
    Click(win, QPoint(80, 12), Qt::RightButton);
    edit->selectAll();
    QTest::keyClicks(edit, "List");
    win->TextEdit()->setFocus();
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(win->Note()->m_title, "List");

    // Not while the Note Manager is open.
    tray.m_state = CTrayCore::StateManagerOpen;
    Click(win, QPoint(80, 12), Qt::RightButton);
    EXPECT_FALSE(edit->isVisible());
}

TEST_F(StickyNote, TextKeepsCrLfInTheNoteAndPlainBreaksOnScreen) {
    auto* win = Open(1, "Note", "a\r\nb");
    EXPECT_EQ(win->TextEdit()->toPlainText(), "a\nb");
    win->TextEdit()->moveCursor(QTextCursor::End);
    QTest::keyClick(win->TextEdit(), Qt::Key_Return);
    QTest::keyClicks(win->TextEdit(), "c");
    EXPECT_EQ(win->Note()->m_text, "a\r\nb\r\nc"); // kept up to date while typing
    EXPECT_EQ(win->GetBodyText(), "a\r\nb\r\nc");
    win->SetReadOnly(true);
    EXPECT_TRUE(win->TextEdit()->isReadOnly());
}

TEST_F(StickyNote, ShiftClickOnThePinBoxStacksTheOthersBelow) {
    auto* first = Open();
    first->setGeometry(100, 50, 200, 150);
    std::vector<CStickyNoteDlg*> others;
    for (int i = 0; i < 3; ++i) {
        others.push_back(Open());
        others.back()->setGeometry(400 + 10 * i, 300, 120, 90);
    }
    Click(first, QPoint(12, 12), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(first->Note()->m_topMost, 1); // arranging does not toggle
    const int step = SystemMetrics::SM_CXFRAME + kTitle;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(others[i]->geometry(), QRect(100, 50 + (i + 1) * step, 200, 150)) << i;
        EXPECT_EQ(Rect(others[i]->Note()->m_windowRect), others[i]->geometry());
    }
    // Ctrl spreads them over the rest of the screen instead.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    Click(first, QPoint(12, 12), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(others[2]->y(), 50 + 3 * ((screen.height() - 50) / 4));
}

TEST_F(StickyNote, PostedNotesReopenWhereTheyWere) {
    auto* win = Open(0, "Glow", "x");
    win->setGeometry(123, 45, 210, 130);
    CNote* note = win->Note();
    tray.CloseNoteWindows(true);
    DrainDeletes();
    ASSERT_EQ(note->m_window, nullptr);
    EXPECT_EQ(note->m_posted, 1);
    note->OpenWindow(-1, -1, false, factory);
    auto* again = Window(*note);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->geometry(), QRect(123, 45, 210, 130));
    EXPECT_EQ(again->TextEdit()->toPlainText(), "x");
    EXPECT_EQ(again->SchemeIndex(), 0);
}

TEST_F(StickyNote, ManagerPostAtAPointPlacesBelowIt) {
    CNote* note = new CNote;
    note->m_font = tray.m_schemeFont[3];
    tray.m_notes.push_back(note);
    note->OpenWindow(500, 2, false, factory);
    auto* win = Window(*note);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(win->geometry(),
              QRect(500 - screen.width() / 10, 0, screen.width() / 5, screen.height() / 5));
}

TEST_F(StickyNote, RingingWindowIsCentredFixedAndShowsItsRow) {
    tray.m_showCountdownDefault = 1;
    CNote* note = new CNote;
    note->m_type = CNote::OneTime;
    note->m_showCountdown = 1;
    note->m_font = tray.m_schemeFont[1];
    note->m_borderStyle = 1;
    tray.m_notes.push_back(note);
    note->OpenWindow(-1, -1, true, factory);
    auto* win = Window(*note);
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(win->TextEdit()->isReadOnly()); // opened only to ring
    win->StartAlarm(0, false);
    EXPECT_TRUE(win->IsRinging());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(win->geometry(),
              QRect((screen.width() - 234) / 2, (screen.height() - 208) / 2, 234, 208));
    EXPECT_TRUE(win->RemindCheck()->isVisible());
    EXPECT_TRUE(win->OkButton()->isVisible());
    EXPECT_EQ(win->OkButton()->Flags(), 0x51);
    EXPECT_FALSE(win->CountdownLine()->isVisible());
    EXPECT_EQ(win->TextEdit()->geometry(), QRect(4, 4 + kTitle, 234 - 8, 159 - 8 - kTitle));
    EXPECT_TRUE(win->windowFlags() & Qt::WindowStaysOnTopHint);

    // No sizing borders: the bottom edge does nothing, the top band drags like the title
    // bar, and neither is stored in the note.
    const QRect home = win->geometry();
    const RECT stored = note->m_windowRect;
    Drag(win, QPoint(80, 206), QPoint(0, -100));
    EXPECT_EQ(win->geometry(), home);
    Drag(win, QPoint(80, 2), QPoint(10, 10));
    EXPECT_EQ(win->geometry(), home.translated(10, 10));
    EXPECT_EQ(note->m_windowRect, stored);

    // Focus in the minutes edit ticks the box.
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win));
    win->MinutesEdit()->setFocus();
    EXPECT_TRUE(win->RemindCheck()->isChecked());

    // Escape unposts but the ringing window stays until acknowledged.
    QTest::keyClick(win->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->m_window, win);
    EXPECT_TRUE(win->isVisible());
    // Neither the close box nor the quiet close work while ringing.
    tray.CloseNoteWindows(false);
    EXPECT_EQ(note->m_window, win);
}
} // namespace

namespace {
TEST_F(StickyNote, WindowManagerCloseIsTheDialogsCancel) {
    auto* win = Open();
    CNote* note = win->Note();
    QCloseEvent close; // as the platform delivers the window manager's request
    QSpontaneKeyEvent::setSpontaneous(&close);
    QCoreApplication::sendEvent(win->windowHandle(), &close);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(note->m_window, nullptr);
}

TEST_F(StickyNote, EndingTheProgramMayCloseTheWindowsAndTheyStayPosted) {
    // Quitting closes every window first and is cancelled when one refuses.
    auto* win = Open();
    win->setGeometry(60, 70, 200, 150);
    CNote* note = win->Note();
    EXPECT_TRUE(win->windowHandle()->close());
    EXPECT_EQ(note->m_posted, 1);
    EXPECT_EQ(note->m_window, win);
    // The shutdown save that follows stores the rectangle and keeps the note posted.
    tray.CloseNoteWindows(true);
    EXPECT_EQ(note->m_windowRect, (RECT{60, 70, 260, 220}));
    EXPECT_EQ(note->m_posted, 1);
    EXPECT_EQ(note->m_window, nullptr);
}

TEST_F(StickyNote, SizesFromOutsideFollowTheSizingRules) {
    // A window manager sizing the note interactively only tells the window its new size.
    auto* win = Open();
    const int rolled = win->Geometry().RolledHeight();
    win->resize(200, rolled + 12);
    EXPECT_EQ(win->Note()->m_firstRect.Height(), rolled + 12);
    EXPECT_EQ(win->Note()->m_windowRect.Height(), rolled + 12);
    EXPECT_TRUE(win->TextEdit()->isEnabled());
    win->resize(200, rolled);
    EXPECT_TRUE(win->IsRolledUp());
    EXPECT_FALSE(win->TextEdit()->isEnabled());
    EXPECT_EQ(win->Note()->m_firstRect.Height(), rolled + 12); // kept for unrolling
    // The window manager is told the limits, so it never goes below them.
    EXPECT_EQ(win->minimumSize(), QSize(3 * rolled, rolled));
    win->resize(10, 10);
    EXPECT_EQ(win->size(), QSize(3 * rolled, rolled));
}

TEST_F(StickyNote, FiftyNotesRepaintQuickly) {
    std::vector<CStickyNoteDlg*> wins;
    QElapsedTimer open;
    open.start();
    for (int i = 0; i < 50; ++i)
        wins.push_back(Open(i % 4, "Note " + std::to_string(i), "a\r\nb"));
    const qint64 openMs = open.elapsed();
    QImage target(wins[0]->size(), QImage::Format_RGB32);
    QElapsedTimer paint;
    paint.start();
    for (int round = 0; round < 10; ++round)
        for (CStickyNoteDlg* w : wins)
            w->render(&target); // the window and its children
    const double perRoundMs = paint.nsecsElapsed() / 1e6 / 10;
    std::printf("opening 50 notes: %lld ms; repainting all 50: %.2f ms\n",
                static_cast<long long>(openMs), perRoundMs);
    // A frame at 60 Hz is 16.7 ms: repainting every note at once fits into a few of them.
    EXPECT_LT(perRoundMs, 50.0);
}
} // namespace
