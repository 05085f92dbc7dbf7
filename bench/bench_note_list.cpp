// The note list's three sorts at 100,000 notes, beside the quadratic selection sort whose
// order they keep (at 10,000 notes, one run) and std::sort (at 100,000, one run).
#include "core/manager/CNoteSort.h"
#include "core/model/CNote.h"
#include "core/platform/Clock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

// Notes as a store holds them: titles of a few words, times over two years, every type.
struct Notes {
    explicit Notes(int count) {
        Clock::SetForTest(COleDateTime(2026, 12, 6, 12, 0, 0));
        std::mt19937 rng(7);
        static const char* const words[] = {"Call",      "dentist", "Budget", "review", "Anna",
                                            "groceries", "Pay",     "rent",   "Zoo",    "trip"};
        const int recurrences[] = {0, 1015, 2001, 3001, 4001, 5001, 6000, 7000};
        const COleDateTime start(2026, 1, 1, 0, 0, 0);
        for (int i = 0; i < count; ++i) {
            auto n = std::make_unique<CNote>();
            n->m_title = std::string(words[rng() % 10]) + " " + words[rng() % 10] + " " +
                         std::to_string(rng() % 1000);
            n->m_type = CNote::Memo + static_cast<int>(rng() % 3);
            n->m_recurrence = n->m_type == CNote::Memo    ? 20000
                              : n->m_type == CNote::Every ? recurrences[1 + rng() % 7]
                                                          : 0;
            n->m_alarmTime = start + COleDateTimeSpan((rng() % 1051200) / 1440.0);
            ptrs.push_back(n.get());
            owned.push_back(std::move(n));
        }
    }
    std::vector<std::unique_ptr<CNote>> owned;
    std::vector<CNote*> ptrs;
};

const Notes& Store(int count) {
    static Notes big(100000), small(10000);
    return count == 100000 ? big : small;
}

CNoteSort::Key KeyOf(const benchmark::State& state) {
    return static_cast<CNoteSort::Key>(state.range(0));
}

bool Before(const CNote* a, const CNote* b, CNoteSort::Key key) {
    switch (key) {
    case CNoteSort::ByText:
        return CNoteSort::CompareText(*a, *b) < 0;
    case CNoteSort::ByTime:
        return CNoteSort::TimeKey(*a) < CNoteSort::TimeKey(*b);
    default:
        return CNoteSort::TypeKey(*a) < CNoteSort::TypeKey(*b);
    }
}

void BM_FastSort(benchmark::State& state) {
    const Notes& store = Store(100000);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<CNote*> v = store.ptrs;
        state.ResumeTiming();
        CNoteSort::Sort(v, KeyOf(state), state.range(1) != 0);
        benchmark::DoNotOptimize(v.data());
    }
}

void BM_SelectionSort(benchmark::State& state) {
    const Notes& store = Store(10000);
    const CNoteSort::Key key = KeyOf(state);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<CNote*> v = store.ptrs;
        state.ResumeTiming();
        for (size_t i = 0; i < v.size(); ++i) {
            size_t best = i;
            for (size_t j = i + 1; j < v.size(); ++j)
                if (Before(v[j], v[best], key)) best = j;
            std::swap(v[i], v[best]);
        }
        benchmark::DoNotOptimize(v.data());
    }
}

void BM_StdSort(benchmark::State& state) {
    const Notes& store = Store(100000);
    const CNoteSort::Key key = KeyOf(state);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<CNote*> v = store.ptrs;
        state.ResumeTiming();
        std::sort(v.begin(), v.end(), [key](CNote* a, CNote* b) { return Before(a, b, key); });
        benchmark::DoNotOptimize(v.data());
    }
}

void Keys(benchmark::internal::Benchmark* b) {
    b->ArgNames({"key", "ascending"});
    for (int key : {CNoteSort::ByText, CNoteSort::ByTime, CNoteSort::ByType})
        for (int ascending : {1, 0})
            b->Args({key, ascending});
}

} // namespace

BENCHMARK(BM_FastSort)->Apply(Keys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionSort)
    ->ArgNames({"key"})
    ->DenseRange(0, 2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort)
    ->ArgNames({"key"})
    ->DenseRange(0, 2)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
