// Filling the note list with 100,000 notes: the model alone, and the shown list (its rows
// laid out and the visible ones painted offscreen).
#include "core/model/CNote.h"
#include "core/platform/Clock.h"
#include "gui/manager/CNoteList.h"
#include "gui/manager/CNoteListModel.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kNotes = 100000;

struct Notes {
    Notes() {
        Clock::SetForTest(COleDateTime(2026, 12, 6, 12, 0, 0));
        for (int i = 0; i < kNotes; ++i) {
            auto n = std::make_unique<CNote>();
            n->m_title = "Note " + std::to_string(i);
            n->m_type = i % 3 == 0 ? CNote::Memo : CNote::OneTime;
            n->m_startTime = n->m_baseTime = Clock::Now() + COleDateTimeSpan((i % 5000) / 24.0);
            n->m_category = i % 4;
            n->Recompute();
            ptrs.push_back(n.get());
            owned.push_back(std::move(n));
        }
    }
    std::vector<std::unique_ptr<CNote>> owned;
    std::vector<CNote*> ptrs;
};

Notes& Store() {
    static Notes notes;
    return notes;
}

void BM_FillModel(benchmark::State& state) {
    CNoteListModel model;
    model.SetNotes(&Store().ptrs);
    model.SetFilter(static_cast<int>(state.range(0)), 142);
    for (auto _ : state) {
        model.Refill();
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.counters["rows"] = model.rowCount();
}
BENCHMARK(BM_FillModel)->ArgName("category")->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_FillShownList(benchmark::State& state) {
    CNoteList list;
    list.resize(600, 400);
    list.Model()->SetNotes(&Store().ptrs);
    list.show();
    QApplication::processEvents();
    for (auto _ : state) {
        list.RefreshList();
        QImage img = list.grab().toImage(); // lays out and paints the visible rows
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_FillShownList)->Unit(benchmark::kMillisecond);

} // namespace
