// Posted note windows: repainting 50 of them, and one alarm-timer tick that moves the countdown
// lines of 100 (new texts and the painting they cause).
#include "core/app/CTrayCore.h"
#include "core/platform/Clock.h"
#include "gui/sticky/CStickyNoteDlg.h"
#include "gui/sticky/CStickyNoteFactory.h"
#include "support/FakeHub.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

struct PostedNotes {
    explicit PostedNotes(int count) {
        Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
        for (int i = 0; i < count; ++i) {
            tray.settings().m_defaultScheme = i % 4;
            tray.NewNote();
            CNote& n = *tray.Store().notes().back();
            n.m_title = "Note " + std::to_string(i);
            n.m_text = "a\r\nb";
            n.m_type = CNote::OneTime;
            n.m_showCountdown = 1;
            n.m_startTime = n.m_baseTime = Clock::Now() + COleDateTimeSpan(0, 1 + i, 0, 0);
            n.Recompute();
            Window(n)->ReloadTexts();
            Window(n)->Layout();
        }
        QApplication::processEvents();
    }
    ~PostedNotes() { tray.DeleteAllData(); }
    static CStickyNoteDlg* Window(const CNote& n) {
        return dynamic_cast<CStickyNoteDlg*>(n.Window());
    }
    FakePlatform platform;
    FakeHub tray{platform, &factory};
    CStickyNoteFactory factory{tray};
};

void BM_RepaintFiftyNotes(benchmark::State& state) {
    PostedNotes notes(50);
    QImage target(PostedNotes::Window(*notes.tray.Store().notes()[0])->size(),
                  QImage::Format_RGB32);
    for (auto _ : state)
        for (const auto& n : notes.tray.Store().notes())
            PostedNotes::Window(*n)->render(&target);
}
BENCHMARK(BM_RepaintFiftyNotes)->Unit(benchmark::kMillisecond);

void BM_CountdownTickHundredNotes(benchmark::State& state) {
    PostedNotes notes(100);
    for (auto _ : state) {
        Clock::AdvanceForTest(1);
        notes.tray.OnTimer(CTrayCore::TimerCheck);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CountdownTickHundredNotes)->Unit(benchmark::kMillisecond);

} // namespace
