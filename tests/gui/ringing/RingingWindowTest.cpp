// The note window while it rings: the real alarm check opens and rings it, real input
// acknowledges it, and its pictures are checked in both flash states.
#include "gui/sticky/StickyNoteFixture.h"

#include "app/Globals.h"
#include "gui/support/ImageCompare.h"
#include "manager/CHoverButton.h"
#include "platform/Clock.h"
#include "platform/GdiPaint.h"
#include "platform/SystemColors.h"
#include "platform/SystemMetrics.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <filesystem>

namespace {

QString OutputDir() {
    QString dir = QStringLiteral(JOTTERLY_BINARY_DIR "/test-output/ringing");
    QDir().mkpath(dir);
    return dir;
}

QRgb Pixel(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xFF000000u;
}

QRgb Colour(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

class RingingWindow : public StickyNoteFixture {
protected:
    void SetUp() override {
        StickyNoteFixture::SetUp();
        g_ringingCount = 0;
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
        tray.m_dialogs = &dialogs;
    }
    void TearDown() override {
        StickyNoteFixture::TearDown();
        g_ringingCount = 0;
    }

    // A One Time note that fell due a second ago; posted notes get their window first.
    CNote* AddDue(bool posted, const std::string& title = "Dentist") {
        CNote* n = new CNote;
        n->m_type = CNote::OneTime;
        n->m_title = title;
        n->m_text = "Bring the X-rays";
        n->m_font = tray.m_schemeFont[1];
        n->m_backColor = tray.m_schemeBack[1];
        n->m_textColor = tray.m_schemeText[1];
        n->m_borderStyle = tray.m_schemeBorder[1];
        n->m_showCountdown = 1;
        n->m_startTime = Clock::Now() - COleDateTimeSpan(0, 0, 0, 1);
        n->Recompute();
        tray.m_notes.push_back(n);
        if (posted) {
            n->m_windowRect = RECT{100, 120, 100 + 220, 120 + 150};
            n->m_rectKnown = 1;
            n->m_topMost = 0;
            n->OpenWindow(-1, -1, false, factory);
            n->SetWindowReadOnly(false);
        }
        return n;
    }
    static QRect HomeRect() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return QRect((screen.width() - 234) / 2, (screen.height() - 208) / 2, 234, 208);
    }
    void Activate(CStickyNoteDlg* w) {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    // Clicks into a child widget through the window, as the pointer would.
    static void ClickChild(CStickyNoteDlg* w, QWidget* child) {
        Click(w, child->geometry().center());
    }
    static void TypeInto(CStickyNoteDlg* w, QLineEdit* edit, const QString& text) {
        ClickChild(w, edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    bool Saved() const { return std::filesystem::exists(tray.DataPath()); }

    TestEnv env;
    FakeDialogs dialogs;
};

TEST_F(RingingWindow, DueNoteRingsCentredWithItsRowThroughTheAlarmCheck) {
    CNote* note = AddDue(false);
    tray.CheckAlarms();
    auto* w = Window(*note);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsRinging());
    EXPECT_FALSE(w->Ringing().WasPosted());
    EXPECT_EQ(tray.m_state, CTrayCore::StateRinging);
    EXPECT_EQ(g_ringingCount, 1);
    EXPECT_EQ(w->geometry(), HomeRect());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->TextEdit()->isReadOnly()); // opened only to ring

    // The row, its texts and tips; the countdown line is hidden while ringing.
    EXPECT_TRUE(w->RemindCheck()->isVisible());
    EXPECT_FALSE(w->RemindCheck()->isChecked());
    EXPECT_EQ(w->RemindCheck()->text(), "Remind me again after");
    EXPECT_EQ(w->RemindCheck()->toolTip(), "Remind me later");
    EXPECT_EQ(w->HoursEdit()->text(), "0");
    EXPECT_EQ(w->HoursEdit()->toolTip(), "Input delay hours");
    EXPECT_EQ(w->MinutesEdit()->text(), "15");
    EXPECT_EQ(w->MinutesEdit()->toolTip(), "Input delay minutes");
    EXPECT_TRUE(w->OkButton()->isVisible());
    EXPECT_TRUE(w->OkButton()->isEnabled());
    EXPECT_EQ(w->OkButton()->toolTip(), "Close dialog");
    QStringList labels;
    for (QLabel* l : w->findChildren<QLabel*>())
        if (l->isVisible()) labels << l->text();
    EXPECT_TRUE(labels.contains("hours") && labels.contains("minutes"))
        << labels.join(",").toStdString();
    EXPECT_FALSE(w->CountdownLine()->isVisible());

    // Timers 0 and 1 run; the speaker beeps every second and the pin box flashes.
    EXPECT_TRUE(w->IsRingTimerActive(0));
    EXPECT_TRUE(w->IsRingTimerActive(1));
    QTRY_COMPARE_WITH_TIMEOUT(sound.beeps, 2, 2600);
    EXPECT_GE(w->PinFlashState(), 0);

    // A second check does not start it again.
    tray.CheckAlarms();
    EXPECT_EQ(g_ringingCount, 1);
}

TEST_F(RingingWindow, TypingADelayTicksTheBoxAndOkRemindsLater) {
    CNote* note = AddDue(true);
    auto* w = Window(*note);
    tray.CheckAlarms();
    ASSERT_TRUE(w->IsRinging());
    EXPECT_TRUE(w->Ringing().WasPosted());
    EXPECT_EQ(w->geometry(), HomeRect());
    Activate(w);

    ClickChild(w, w->MinutesEdit());
    EXPECT_TRUE(w->RemindCheck()->isChecked()); // the focus alone ticks it
    // Cleared again while the focus stays in the field: typing ticks it too.
    w->RemindCheck()->setChecked(false);
    ASSERT_EQ(QApplication::focusWidget(), w->MinutesEdit());
    w->MinutesEdit()->selectAll();
    QTest::keyClicks(w->MinutesEdit(), "30");
    EXPECT_TRUE(w->RemindCheck()->isChecked());
    QTest::keyClicks(w->MinutesEdit(), "x"); // digits only
    EXPECT_EQ(w->MinutesEdit()->text(), "30");
    TypeInto(w, w->HoursEdit(), "1");

    ClickChild(w, w->OkButton());
    EXPECT_FALSE(w->IsRinging());
    EXPECT_EQ(COleDateTime::WholeMinutes(note->m_alarmTime - Clock::Now()), 90);
    EXPECT_EQ(tray.m_earliestAlarm, note->m_alarmTime);
    EXPECT_EQ(tray.m_state, CTrayCore::StateIdle);
    EXPECT_EQ(g_ringingCount, 0);
    EXPECT_TRUE(Saved());

    // Back in its place and z-order, the row gone and the countdown line back.
    EXPECT_EQ(note->m_window, w);
    EXPECT_EQ(w->geometry(), QRect(100, 120, 220, 150));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->RemindCheck()->isVisible());
    EXPECT_FALSE(w->OkButton()->isVisible());
    EXPECT_FALSE(w->HoursEdit()->isVisible());
    EXPECT_TRUE(w->CountdownLine()->isVisible());
    EXPECT_EQ(w->CountdownLine()->text(), " 01:30:00");
    EXPECT_FALSE(w->IsRingTimerActive(0));
    EXPECT_FALSE(w->IsRingTimerActive(1));
}

TEST_F(RingingWindow, RefusedDelayKeepsRingingWithTheFocusOnTheField) {
    CNote* note = AddDue(false);
    tray.CheckAlarms();
    auto* w = Window(*note);
    Activate(w);
    TypeInto(w, w->HoursEdit(), "25");
    ClickChild(w, w->OkButton());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Please enter an integer between 0 and 24.");
    EXPECT_EQ(QApplication::focusWidget(), w->HoursEdit());
    EXPECT_TRUE(w->IsRinging());
    EXPECT_TRUE(w->IsRingTimerActive(0));
    EXPECT_EQ(g_ringingCount, 1);

    TypeInto(w, w->HoursEdit(), "0");
    TypeInto(w, w->MinutesEdit(), "60");
    QTest::keyClick(w->MinutesEdit(), Qt::Key_Return); // Return is the dialog's OK
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, "Please enter an integer between 0 and 59.");
    EXPECT_EQ(QApplication::focusWidget(), w->MinutesEdit());
    EXPECT_TRUE(w->IsRinging());

    TypeInto(w, w->MinutesEdit(), "59");
    QPointer<CStickyNoteDlg> guard(w);
    ClickChild(w, w->OkButton());
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    // Opened only to ring: closed after OK, and no longer posted.
    DrainDeletes();
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(note->m_window, nullptr);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_EQ(COleDateTime::WholeMinutes(note->m_alarmTime - Clock::Now()), 59);
}

TEST_F(RingingWindow, AcknowledgedOneTimeNoteIsRemovedAndSaved) {
    CNote* keep = AddDue(false, "Later");
    keep->m_startTime = Clock::Now() + COleDateTimeSpan(1.0);
    keep->Recompute();
    CNote* note = AddDue(true);
    tray.CheckAlarms();
    auto* w = Window(*note);
    QPointer<CStickyNoteDlg> guard(w);
    ClickChild(w, w->OkButton());
    DrainDeletes();
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(tray.m_notes, std::vector<CNote*>{keep});
    EXPECT_TRUE(Saved());
    EXPECT_EQ(tray.m_state, CTrayCore::StateIdle);
}

TEST_F(RingingWindow, EscapeKeepsItRingingInPlaceUntilOk) {
    CNote* note = AddDue(true);
    auto* w = Window(*note);
    tray.CheckAlarms();
    Activate(w);
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_TRUE(w->IsRinging());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->geometry(), HomeRect());
    EXPECT_TRUE(w->OkButton()->isVisible());

    QPointer<CStickyNoteDlg> guard(w);
    TypeInto(w, w->MinutesEdit(), "5");
    ClickChild(w, w->OkButton());
    DrainDeletes();
    EXPECT_TRUE(guard.isNull()); // un-posted while ringing: it goes once acknowledged
    EXPECT_EQ(note->m_window, nullptr);
    EXPECT_EQ(note->m_windowRect, (RECT{100, 120, 320, 270})); // its place is kept
    ASSERT_EQ(tray.m_notes.size(), 1u);
}

TEST_F(RingingWindow, PinBoxFlashesInBothPictures) {
    CNote* note = AddDue(false, "Dentist at 10");
    tray.CheckAlarms();
    auto* w = Window(*note);
    w->TextEdit()->clearFocus();
    const CNoteGeometry& g = w->Geometry();
    const QRect big = GdiPaint::ToQRect(g.PinBoxBig());

    QImage pictures[2];
    for (int state : {0, 1}) {
        QTRY_COMPARE_WITH_TIMEOUT(w->PinFlashState(), state, 2000);
        pictures[state] = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        pictures[state].save(OutputDir() + QStringLiteral("/ringing-flash%1.png").arg(state));
    }
    // State 0: the big square in front, its sunken frame's dark corner on top of the small
    // one. State 1: the small square in front, filled with the title colour over it.
    const QRgb title = Colour(w->TitleColor());
    EXPECT_EQ(Pixel(pictures[0], big.left(), big.top()), SystemColors::Get(COLOR_3DDKSHADOW).rgb());
    EXPECT_EQ(Pixel(pictures[1], big.left(), big.top()), title);
    // Only the pin box differs between the two.
    const int t = g.m_titleHeight;
    for (int y = 0; y < pictures[0].height(); ++y)
        for (int x = 0; x < pictures[0].width(); ++x)
            if (x >= t || y >= t) {
                ASSERT_EQ(Pixel(pictures[0], x, y), Pixel(pictures[1], x, y)) << x << "," << y;
            }

    // The row: the glyph-coloured rule above the check box, the OK button in place.
    const QRect check = w->RemindCheck()->geometry();
    EXPECT_EQ(Pixel(pictures[0], w->width() / 2, check.top() - 2), Colour(w->GlyphColor()));
    EXPECT_EQ(w->OkButton()->geometry(), QRect(93, 182, 54, 23));

    const QString ref = QStringLiteral(JOTTERLY_TEST_DATA "/ringing/ringing-note.png");
    if (std::getenv("JOTTERLY_UPDATE_REFERENCES")) {
        QDir().mkpath(QStringLiteral(JOTTERLY_TEST_DATA "/ringing"));
        ASSERT_TRUE(pictures[0].save(ref));
    }
    QImage expected(ref);
    ASSERT_FALSE(expected.isNull()) << "missing " << ref.toStdString();
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), pictures[0].size());
    EXPECT_LT(ImageCompare::DifferentShare(expected, pictures[0]), 0.005);
}

TEST_F(RingingWindow, DestroyedWhileRingingGivesUpTheCount) {
    CNote* note = AddDue(false);
    tray.CheckAlarms();
    ASSERT_EQ(g_ringingCount, 1);
    note->CloseWindow();
    EXPECT_EQ(g_ringingCount, 0);
    EXPECT_EQ(tray.m_state, CTrayCore::StateIdle);
    EXPECT_EQ(tray.m_notes.size(), 1u);
}

} // namespace
