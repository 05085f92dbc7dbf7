// Deleting a selection from the Note Manager: every note but the earliest of a store of
// 10,000 and 100,000, the windows and the earliest alarm kept right. One pass over the store;
// removing the notes one at a time would move the rest of the array for each.
#include "core/manager/CNoteManagerModel.h"
#include "core/platform/Clock.h"
#include "support/FakeHub.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void BM_DeleteAllButOne(benchmark::State& state) {
    TestEnv env;
    const COleDateTime now(2003, 11, 6, 10, 0, 0);
    Clock::SetForTest(now);
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto platform = std::make_unique<FakePlatform>();
        auto hub = std::make_unique<FakeHub>(*platform);
        hub->Store().ReserveNotes(count);
        std::vector<CNote*> chosen;
        for (int i = 0; i < count; ++i) {
            CNote& n = NoteBuilder()
                           .Title("n")
                           .At(now + COleDateTimeSpan(0, 0, 10 + i, 0))
                           .DueSoonNow()
                           .AddTo(hub->Store());
            if (i != 0) chosen.push_back(&n);
        }
        CNoteManagerModel model(*hub);
        state.ResumeTiming();
        benchmark::DoNotOptimize(model.Delete(chosen));
        state.PauseTiming();
        hub.reset(); // the hub closes its windows before the platform goes
        platform.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_DeleteAllButOne)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
