// The Note Manager window over 100,000 notes, shown offscreen and painted: opening it, switching
// its filter tabs, sorting by a header click and one keystroke in the find field.
//   build/bench/bench_gui_manager --benchmark_repetitions=5
#include "core/platform/Clock.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteManagerDlg.h"
#include "gui/platform/QtDialogs.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kNotes = 100000;

// A hub holding 100,000 notes spread over the next six months, a third of them memos, with
// titles and texts of the usual length.
struct Hub {
    Hub() {
        Clock::SetForTest(COleDateTime(2026, 12, 6, 12, 0, 0));
        hub.Store().ReserveNotes(kNotes);
        for (int i = 0; i < kNotes; ++i) {
            CNote& n = NoteBuilder(i % 3 == 0 ? CNote::Memo : CNote::OneTime)
                           .Title("Note " + std::to_string(i))
                           .Text("Text of note " + std::to_string(i) + std::string(120, '.'))
                           .At(Clock::Now() + COleDateTimeSpan((i % 4320) / 24.0))
                           .AddTo(hub.Store());
            n.m_category = i % 4;
        }
    }
    FakePlatform platform;
    FakeHub hub{platform};
    QtDialogs dialogs;
};

Hub& TheHub() {
    static Hub hub;
    return hub;
}

// Everything a user waits for: the events handled and the window painted.
void Settle(QWidget& w) {
    QApplication::processEvents();
    QImage img = w.grab().toImage();
    benchmark::DoNotOptimize(img.constBits());
}

std::unique_ptr<CNoteManagerDlg> OpenManager() {
    auto dlg = std::make_unique<CNoteManagerDlg>(TheHub().hub, TheHub().dialogs);
    dlg->show();
    Settle(*dlg);
    return dlg;
}

void BM_Open(benchmark::State& state) {
    TheHub();
    for (auto _ : state) {
        auto dlg = OpenManager();
        state.PauseTiming();
        dlg->CloseManager();
        dlg.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SwitchTab(benchmark::State& state) {
    auto dlg = OpenManager();
    int tab = 0;
    for (auto _ : state) {
        tab = (tab + 1) % 4; // all notes, this month, this week, today
        dlg->SelectTab(tab);
        Settle(*dlg);
    }
}
BENCHMARK(BM_SwitchTab)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SortByHeaderClick(benchmark::State& state) {
    auto dlg = OpenManager();
    QHeaderView* header = dlg->List()->horizontalHeader();
    int column = 0;
    for (auto _ : state) {
        column = (column + 1) % 4;
        emit header->sectionClicked(column);
        Settle(*dlg);
    }
}
BENCHMARK(BM_SortByHeaderClick)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One key typed into the find field: "note 1" narrows step by step to a few hundred notes, then
// Backspace widens it again.
void BM_FindKeystroke(benchmark::State& state) {
    auto dlg = OpenManager();
    dlg->ShowFind();
    QLineEdit* find = dlg->FindField();
    const QString typed = QStringLiteral("note 12");
    int at = 0;
    bool typing = true;
    for (auto _ : state) {
        if (typing) {
            const QString ch = typed.mid(at, 1);
            QKeyEvent press(QEvent::KeyPress, ch.toUpper()[0].unicode(), Qt::NoModifier, ch);
            QApplication::sendEvent(find, &press);
            typing = ++at < typed.size();
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
            QApplication::sendEvent(find, &press);
            typing = --at == 0;
        }
        Settle(*dlg);
    }
    state.counters["rows"] = dlg->List()->model()->rowCount();
}
BENCHMARK(BM_FindKeystroke)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
