// The note window while it rings: the real alarm check opens and rings it, real input
// acknowledges it, and its pictures are checked in both flash states. The countdown lines of
// posted notes follow the clock on every tick and repaint only themselves.
#include "gui/sticky/StickyNoteFixture.h"

#include "core/app/Globals.h"
#include "core/platform/Clock.h"
#include "core/platform/SystemMetrics.h"
#include "core/sticky/NoteColors.h"
#include "gui/platform/GdiPaint.h"
#include "gui/support/ImageCompare.h"
#include "gui/support/Pixels.h"
#include "gui/widgets/CHoverButton.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

// Counts paint events per object.
class PaintCounter : public QObject {
public:
    std::map<QObject*, int> paints;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints[o];
        return false;
    }
};

class RingingWindow : public StickyNoteFixture {
protected:
    void SetUp() override {
        StickyNoteFixture::SetUp();
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
    }

    // A One Time note of scheme 1 due in the given span, its countdown line on, at its place.
    CNote* Add(COleDateTimeSpan in, int left = 100, int top = 120) {
        CNote* n = &NoteBuilder().Title("Dentist").Text("Bring the X-rays").AddTo(tray.Store());
        tray.settings().ApplyScheme(*n, 1);
        n->m_showCountdown = 1;
        n->m_startTime = Clock::Now() + in;
        n->Recompute();
        n->m_windowRect = RECT{left, top, left + 220, top + 150};
        n->m_rectKnown = 1;
        n->m_topMost = 0;
        return n;
    }
    // A note that fell due a second ago, rung by the alarm check; a posted one has its window
    // first.
    CStickyNoteDlg* Ring(bool posted, const std::string& title = "Dentist") {
        CNote* n = Add(COleDateTimeSpan(0, 0, 0, -1));
        n->m_title = title;
        if (posted) n->OpenWindow(-1, -1, false, factory);
        tray.Alarms().CheckAlarms();
        CStickyNoteDlg* w = Window(*n);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        return w;
    }
    static QRect HomeRect() { // the template size, centred
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return QRect((screen.width() - 234) / 2, (screen.height() - 208) / 2, 234, 208);
    }
    static void TypeInto(QLineEdit* edit, const QString& text) {
        Click(edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    TestEnv env;
    FakeDialogs& dialogs = platform.dialogs;
};

TEST_F(RingingWindow, PostedNoteRingsCentredAndTypingADelayRemindsLater) {
    CStickyNoteDlg* w = Ring(true);
    CNote* note = w->Note();
    ASSERT_TRUE(w->IsRinging());
    EXPECT_EQ(w->geometry(), HomeRect());
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->CountdownLine()->isVisible());
    EXPECT_FALSE(w->RemindCheck()->isChecked());
    // Whole, or cut short at the smallest readable size with the whole text in its tip.
    EXPECT_TRUE(w->RemindCheck()->text().startsWith("Remind me"));
    EXPECT_TRUE(w->RemindCheck()->toolTip().contains("Remind me later"));
    EXPECT_EQ(w->HoursEdit()->text() + ":" + w->MinutesEdit()->text(), "0:15");
    EXPECT_TRUE(w->RemindCheck()->isVisible() && w->HoursEdit()->isVisible() &&
                w->MinutesEdit()->isVisible() && w->OkButton()->isVisible() &&
                w->OkButton()->isEnabled());
    EXPECT_EQ(w->HoursEdit()->toolTip() + "|" + w->MinutesEdit()->toolTip() + "|" +
                  w->OkButton()->toolTip(),
              "Input delay hours|Input delay minutes|Close dialog");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sound.beeps >= 2; }, 2600));
    EXPECT_EQ(sound.beeps, 2); // timer 0 beeps every second

    // The focus alone ticks the box; typing into the field ticks it again; digits only.
    Click(w->MinutesEdit());
    EXPECT_TRUE(w->RemindCheck()->isChecked());
    w->RemindCheck()->setChecked(false);
    w->MinutesEdit()->selectAll();
    QTest::keyClicks(w->MinutesEdit(), "30x");
    EXPECT_TRUE(w->RemindCheck()->isChecked());
    EXPECT_EQ(w->MinutesEdit()->text(), "30");
    TypeInto(w->HoursEdit(), "1");

    Click(w->OkButton());
    EXPECT_FALSE(w->IsRinging());
    EXPECT_EQ(COleDateTime::WholeMinutes(note->m_alarmTime - Clock::Now()), 90);
    // Back in its place and z-order, the row gone and the countdown line back.
    EXPECT_EQ(w->geometry(), QRect(100, 120, 220, 150));
    EXPECT_FALSE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->RemindCheck()->isVisible() || w->OkButton()->isVisible());
    EXPECT_EQ(w->CountdownLine()->text(), " 01:30:00");
    EXPECT_FALSE(w->IsRingTimerActive(0) || w->IsRingTimerActive(1));
}

TEST_F(RingingWindow, EscapedNoteRingsInPlaceRefusesBadDelaysAndGoesAfterOk) {
    CStickyNoteDlg* w = Ring(true);
    CNote* note = w->Note();
    QTest::keyClick(w->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(note->m_posted, 0);
    EXPECT_TRUE(w->IsRinging() && w->isVisible() && w->OkButton()->isVisible());
    EXPECT_EQ(w->geometry(), HomeRect());

    TypeInto(w->HoursEdit(), "25");
    Click(w->OkButton());
    EXPECT_EQ(QApplication::focusWidget(), w->HoursEdit());
    TypeInto(w->HoursEdit(), "0");
    TypeInto(w->MinutesEdit(), "60");
    QTest::keyClick(w->MinutesEdit(), Qt::Key_Return); // Return is the dialog's OK
    EXPECT_EQ(QApplication::focusWidget(), w->MinutesEdit());
    EXPECT_EQ(dialogs.boxes.size(), 2u); // the wording is the alarm check's
    EXPECT_TRUE(w->IsRinging() && w->IsRingTimerActive(0));

    TypeInto(w->MinutesEdit(), "59");
    QPointer<CStickyNoteDlg> guard(w);
    Click(w->OkButton());
    DrainDeletes();
    EXPECT_TRUE(guard.isNull()); // un-posted while ringing: it goes once acknowledged
    EXPECT_EQ(COleDateTime::WholeMinutes(note->m_alarmTime - Clock::Now()), 59);
    EXPECT_EQ(note->m_windowRect, (RECT{100, 120, 320, 270})); // its place is kept
}

TEST_F(RingingWindow, PinBoxFlashesInBothPictures) {
    platform.sound.device = true; // heard: only the pin box flashes
    CStickyNoteDlg* w = Ring(false, "Dentist at 10");
    EXPECT_EQ(w->geometry(), HomeRect());
    EXPECT_TRUE(w->TextEdit()->isReadOnly()); // opened only to ring
    w->TextEdit()->clearFocus();
    const CNoteGeometry& g = w->Geometry();
    const QRect big = GdiPaint::ToQRect(g.PinBoxBig());
    QImage pictures[2];
    for (int state : {0, 1}) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->PinFlashState() == state; }, 2000));
        pictures[state] =
            ImageCompare::Grab(w, "ringing", QStringLiteral("ringing-flash%1").arg(state));
    }
    // State 0: the big square in front, its sunken frame's dark corner on top. State 1: the
    // small square in front, filled with the title colour over it. Nothing else differs.
    const auto px = [&](int state, int x, int y) { return Pixels::At(pictures[state], x, y); };
    const COLORREF title = w->TitleColor();
    EXPECT_EQ(px(0, big.left(), big.top()), Pixels::Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(px(1, big.left(), big.top()), Pixels::Rgb(title));
    for (int y = 0; y < pictures[0].height(); ++y)
        for (int x = 0; x < pictures[0].width(); ++x)
            if (x >= g.m_titleHeight || y >= g.m_titleHeight) {
                ASSERT_EQ(px(0, x, y), px(1, x, y)) << x << "," << y;
            }
    EXPECT_EQ(QRect(w->OkButton()->mapTo(w, QPoint(0, 0)), w->OkButton()->size()),
              QRect(93, 182, 54, 23));

    ImageCompare::ExpectReference(pictures[0], w, "ringing", "ringing-note");
}

// Without a sound device the ring must be seen: the whole title band flashes with the pin box.
TEST_F(RingingWindow, ANoteNobodyCanHearFlashesItsTitleBand) {
    platform.sound.device = false;
    CStickyNoteDlg* w = Ring(false, "Dentist at 10");
    const qreal dpr = w->devicePixelRatio();
    const QPoint at(int(w->width() * 2 / 3 * dpr), int(w->Geometry().m_titleHeight / 2 * dpr));
    QRgb band[2] = {};
    for (int state : {0, 1}) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return w->PinFlashState() == state; }, 2000));
        band[state] = w->grab().toImage().pixel(at) | 0xFF000000u;
    }
    const COLORREF back = w->Note()->m_backColor;
    EXPECT_EQ(band[0], Pixels::Rgb(TitleColorFor(back)));
    EXPECT_EQ(band[1], Pixels::Rgb(GlyphColorFor(back)));
    w->OnOK();
}

TEST_F(RingingWindow, HundredCountdownLinesFollowTheClockRepaintingOnlyThemselves) {
    std::vector<CStickyNoteDlg*> windows;
    for (int i = 0; i < 100; ++i) {
        CNote* n = Add(COleDateTimeSpan(0, 1 + i, 0, 0), 20 + (i % 10) * 60, 20 + (i / 10) * 50);
        n->OpenWindow(-1, -1, false, factory);
        windows.push_back(Window(*n));
    }
    for (CStickyNoteDlg* w : windows)
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents(); // first paints done

    PaintCounter counter;
    for (CStickyNoteDlg* w : windows) {
        w->installEventFilter(&counter);
        w->CountdownLine()->installEventFilter(&counter);
    }
    const COleDateTime start = Clock::Now();
    for (int tick = 1; tick <= 30; ++tick) {
        Clock::SetForTest(start + COleDateTimeSpan(0, 0, 0, tick));
        tray.OnTimer(CTrayCore::TimerCheck);
        QCoreApplication::processEvents();
    }
    int linePaints = 0;
    for (CStickyNoteDlg* w : windows) {
        EXPECT_EQ(counter.paints[w], 0) << "a note window repainted for its countdown";
        linePaints += counter.paints[w->CountdownLine()];
    }
    EXPECT_GE(linePaints, 100 * 30);
    EXPECT_EQ(windows[0]->CountdownLine()->text(), " 00:59:30");
    EXPECT_EQ(windows[99]->CountdownLine()->text(), " 4 days  03:59:30");

    // Switched off, the line goes.
    windows[99]->Note()->m_showCountdown = 0;
    windows[99]->Layout();
    EXPECT_FALSE(windows[99]->CountdownLine()->isVisible());
}

} // namespace

TEST_F(RingingWindow, DestroyingTheHubWhileRingingGivesBackTheCountAndTheSound) {
    sound.device = true;
    {
        // A second hub with its own note windows, gone while its note rings.
        struct Hub {
            explicit Hub(FakePlatform& p) : hub(p, &windows) {}
            FakeHub hub;
            CStickyNoteFactory windows{hub};
        } owner(platform);
        FakeHub& other = owner.hub;
        other.settings().m_alarmSound = CSettings::SoundWave;
        CNote& n = NoteBuilder().Title("Late").AddTo(other.Store());
        n.m_alarmTime = Clock::Now() - COleDateTimeSpan(0, 0, 0, 1);
        n.m_dueSoon = 1;
        other.Alarms().CheckAlarms();
        ASSERT_NE(n.Window(), nullptr);
        ASSERT_TRUE(n.Window()->IsRinging());
        EXPECT_EQ(g_ringingCount, 1);
    }
    DrainDeletes();
    EXPECT_EQ(g_ringingCount, 0);
    EXPECT_FALSE(sound.looping);
    EXPECT_EQ(sound.loopStops, 1);
}

// The ringing row of every default scheme, in the dialog font and in a wider one standing in
// for it: every control inside the frame, no text cut short, the box visible on the note's
// colour. The pictures are saved under test-output/ringing for looking at.
TEST_F(RingingWindow, RowFitsItsWindowWithAVisibleBoxInEverySchemeAndFont) {
    for (const char* face : {"", "DejaVu Sans"}) {
        if (*face) QFont::insertSubstitution(QStringLiteral("Arial"), QString::fromLatin1(face));
        for (int scheme = 0; scheme < 4; ++scheme) {
            SCOPED_TRACE(std::string(face) + " scheme " + std::to_string(scheme + 1));
            CNote* n = Add(COleDateTimeSpan(0, 0, 0, -1));
            tray.settings().ApplyScheme(*n, scheme);
            tray.Alarms().CheckAlarms();
            CStickyNoteDlg* w = Window(*n);
            ASSERT_TRUE(w && w->IsRinging());
            w->RemindCheck()->setChecked(scheme % 2 == 1);
            const int border = w->Geometry().m_border;
            QStringList texts;
            for (QWidget* c : w->RemindCheck()->parentWidget()->findChildren<QWidget*>()) {
                const QRect r(c->mapTo(w, QPoint(0, 0)), c->size());
                EXPECT_TRUE(r.left() >= border && r.right() < w->width() - border)
                    << c->metaObject()->className() << " at " << r.left() << ".." << r.right();
                if (auto* label = qobject_cast<QLabel*>(c)) {
                    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                        << label->text().toStdString();
                    texts << label->text();
                }
            }
            EXPECT_LE(w->RemindCheck()->sizeHint().width(), w->RemindCheck()->width());
            EXPECT_EQ(texts.size(), 2);

            // The box's frame (and tick) in the note's text colour, far from its back colour.
            w->TextEdit()->clearFocus();
            const QImage img = ImageCompare::Grab(
                w, "ringing",
                QStringLiteral("row-%1scheme%2").arg(*face ? "wide-" : "").arg(scheme + 1));
            QStyleOptionButton option;
            option.initFrom(w->RemindCheck());
            const QRect box =
                w->RemindCheck()
                    ->style()
                    ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, w->RemindCheck())
                    .translated(w->RemindCheck()->mapTo(w, QPoint(0, 0)));
            const QRgb back = img.pixel(box.right() + 30, w->height() - 8);
            const int far = Pixels::CountIf(
                img, box, [&](QRgb p) { return std::abs(qGray(p) - qGray(back)) > 60; });
            EXPECT_GE(Pixels::CountNear(img, box, Pixels::Rgb(n->m_textColor), 40), 3 * box.width())
                << "box outline not in the text colour";
            EXPECT_GE(far, 3 * box.width()) << "box does not stand out from the note";
            // Readable: the caption and both labels at least 8 pixels tall ("h", "R" and "d"
            // reach from the baseline to the top of the capitals).
            const QRect caption(box.right() + 2, box.top() - 3,
                                w->RemindCheck()->width() - box.width() - 2, box.height() + 6);
            const QRgb noteBack = Pixels::Rgb(n->m_backColor);
            EXPECT_GE(ImageCompare::InkHeight(img, caption, noteBack), 8);
            for (QLabel* label : w->RemindCheck()->parentWidget()->findChildren<QLabel*>())
                EXPECT_GE(ImageCompare::InkHeight(
                              img, QRect(label->mapTo(w, QPoint(0, 0)), label->size()), noteBack),
                          8)
                    << label->text().toStdString();
            if (w->RemindCheck()->text() != QStringLiteral("Remind me again after")) {
                EXPECT_TRUE(w->RemindCheck()->toolTip().contains("Remind me again after"));
            }
            w->OnOK();
            DrainDeletes();
        }
        if (*face) QFont::removeSubstitutions(QStringLiteral("Arial"));
    }
}

TEST_F(RingingWindow, NotesThatWouldOpenOnTopOfEachOtherAreOffsetByTheCaption) {
    // Two new notes one after the other: the second a caption height down and right.
    CStickyNoteDlg* first = Open(1, "First");
    CStickyNoteDlg* second = Open(1, "Second");
    const int step = first->Geometry().m_titleHeight;
    EXPECT_EQ(second->pos(), first->pos() + QPoint(step, step));
    // Two notes ringing together: the second is not hidden under the first.
    CStickyNoteDlg* a = Ring(false, "A");
    CStickyNoteDlg* b = Ring(false, "B");
    EXPECT_EQ(a->geometry(), HomeRect());
    EXPECT_EQ(b->geometry(), HomeRect().translated(step, step));
    // A note reopened at its stored place stays there even if another sits on it.
    CNote* stored = Add(COleDateTimeSpan(1, 0, 0, 0), second->x(), second->y());
    stored->OpenWindow(-1, -1, false, factory);
    EXPECT_EQ(Window(*stored)->pos(), second->pos());
}
