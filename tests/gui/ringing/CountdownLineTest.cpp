// The countdown line of posted notes: its text follows the clock on every tick of the alarm
// timer, and a tick repaints only the lines, never the note windows under them.
#include "gui/sticky/StickyNoteFixture.h"

#include "platform/Clock.h"
#include "support/TestEnv.h"

#include <QElapsedTimer>
#include <QLabel>
#include <algorithm>
#include <cstdio>

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

class CountdownLine : public StickyNoteFixture {
protected:
    void SetUp() override {
        StickyNoteFixture::SetUp();
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
        tray.m_mailInterval = 0;
    }
    // A posted One Time note due in the given span, its line on.
    CStickyNoteDlg* Posted(COleDateTimeSpan in, int format = 15, int left = 40, int top = 40) {
        CNote* n = new CNote;
        n->m_type = CNote::OneTime;
        n->m_font = tray.m_schemeFont[1];
        n->m_backColor = tray.m_schemeBack[1];
        n->m_textColor = tray.m_schemeText[1];
        n->m_showCountdown = 1;
        n->m_countdownFormat = format;
        n->m_startTime = Clock::Now() + in;
        n->Recompute();
        n->m_windowRect = RECT{left, top, left + 204, top + 153};
        n->m_rectKnown = 1;
        tray.m_notes.push_back(n);
        n->OpenWindow(-1, -1, false, factory);
        return Window(*n);
    }
    TestEnv env;
};

TEST_F(CountdownLine, FollowsTheClockOnEveryTick) {
    CStickyNoteDlg* w = Posted(COleDateTimeSpan(2, 3, 15, 20));
    EXPECT_EQ(w->CountdownLine()->text(), " 2 days  03:15:20");
    Clock::AdvanceForTest(5);
    tray.OnTimer(CTrayCore::TimerCheck);
    EXPECT_EQ(w->CountdownLine()->text(), " 2 days  03:15:15");

    // A change of format shows at once through the layout.
    w->Note()->m_countdownFormat = 14;
    w->Layout();
    EXPECT_EQ(w->CountdownLine()->text(), " 2 days  3 Hours 15 Mins");

    // Past the event the line reads " Expired".
    Clock::AdvanceForTest(3 * 86400);
    tray.UpdateCountdowns();
    EXPECT_EQ(w->CountdownLine()->text(), " Expired");

    // Switched off: hidden and left alone.
    w->Note()->m_showCountdown = 0;
    w->Layout();
    EXPECT_FALSE(w->CountdownLine()->isVisible());
}

TEST_F(CountdownLine, HundredLinesRepaintAloneAndFast) {
    std::vector<CStickyNoteDlg*> windows;
    for (int i = 0; i < 100; ++i)
        windows.push_back(
            Posted(COleDateTimeSpan(0, 1 + i, 0, 0), 15, 20 + (i % 10) * 60, 20 + (i / 10) * 50));
    for (CStickyNoteDlg* w : windows)
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    QCoreApplication::processEvents(); // first paints done

    PaintCounter counter;
    for (CStickyNoteDlg* w : windows) {
        w->installEventFilter(&counter);
        w->CountdownLine()->installEventFilter(&counter);
    }

    // One tick = new texts for all lines plus the painting they cause.
    std::vector<double> ms;
    const COleDateTime start = Clock::Now();
    for (int tick = 0; tick < 30; ++tick) {
        Clock::SetForTest(start + COleDateTimeSpan(0, 0, 0, tick + 1));
        QElapsedTimer t;
        t.start();
        tray.UpdateCountdowns();
        QCoreApplication::processEvents();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("countdown tick for 100 posted notes: median %.3f ms, max %.3f ms\n", median,
                ms.back());
    EXPECT_LT(median, 5.0);

    int linePaints = 0;
    for (CStickyNoteDlg* w : windows) {
        EXPECT_EQ(counter.paints[w], 0) << "a note window repainted for its countdown";
        linePaints += counter.paints[w->CountdownLine()];
    }
    EXPECT_GE(linePaints, 100 * 30);
    EXPECT_EQ(windows[0]->CountdownLine()->text(), " 00:59:30");
    EXPECT_EQ(windows[99]->CountdownLine()->text(), " 4 days  03:59:30");

    // The same second again changes no text and paints nothing.
    counter.paints.clear();
    tray.UpdateCountdowns();
    QCoreApplication::processEvents();
    int any = 0;
    for (auto& [o, n] : counter.paints)
        any += n;
    EXPECT_EQ(any, 0);
}

} // namespace
