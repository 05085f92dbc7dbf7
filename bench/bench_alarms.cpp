// The alarm work of one timer tick and the recomputation of many notes, at 100,000 notes.
#include "core/app/CTrayCore.h"
#include "core/platform/Clock.h"
#include "core/platform/INoteWindow.h"
#include "core/platform/INoteWindowFactory.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kNotes = 100000;

struct RingingWindow : INoteWindow {
    bool ringing = false;
    bool IsRinging() const override { return ringing; }
    bool IsBusy() const override { return false; }
    void StartAlarm(int, bool) override { ringing = true; }
    RECT GetWindowRect() const override { return {}; }
    void SetReadOnly(bool) override {}
    void BringToTop() override {}
    void UpdateCountdown() override {}
    void ReloadTexts() override {}
    void MoveTo(int, int) override {}
    void Destroy() override {}
};

struct Factory : INoteWindowFactory {
    std::vector<std::unique_ptr<RingingWindow>> windows;
    INoteWindow* OpenNoteWindow(CNote&, int, int, bool) override {
        windows.push_back(std::make_unique<RingingWindow>());
        return windows.back().get();
    }
};

// 100,000 one-time notes spread over the coming year; every 100th is due soon, with its
// alarm later today (quiet) or already past (ringing), as the case asks.
void Fill(CTrayCore& core, bool dueOnesPast) {
    COleDateTime now = Clock::Now();
    for (int i = 0; i < kNotes; ++i) {
        auto n = std::make_unique<CNote>();
        n->m_type = CNote::OneTime;
        bool due = i % 100 == 0;
        n->m_startTime = due ? now + COleDateTimeSpan(0, 0, dueOnesPast ? -5 : 5, 0)
                             : now + COleDateTimeSpan(1 + i % 365, 0, 0, 0);
        n->Recompute();
        core.Store().AddNote(std::move(n));
    }
}

void BM_CheckAlarms(benchmark::State& state) {
    CTrayCore core;
    Factory factory;
    core.SetPlatform({.windows = &factory});
    core.SetState(CTrayCore::StateIdle);
    Fill(core, state.range(0) != 0);
    core.Alarms().CheckAlarms(); // the ringing case: the windows are open and ringing from here on
    for (auto _ : state)
        core.Alarms().CheckAlarms();
    state.counters["notes"] = kNotes;
    core.DeleteAllData();
}
BENCHMARK(BM_CheckAlarms)->Arg(0)->Arg(1)->ArgName("dueOnesRinging")->Unit(benchmark::kMicrosecond);

// A whole tick of timer 105 with the earliest alarm past, so the check runs on every tick.
void BM_CheckTimerTick(benchmark::State& state) {
    CTrayCore core;
    Factory factory;
    core.SetPlatform({.windows = &factory});
    core.SetState(CTrayCore::StateIdle);
    core.settings().m_mailInterval = 0;
    Fill(core, true);
    core.Alarms().ComputeEarliestAlarm();
    for (auto _ : state)
        core.OnTimer(CTrayCore::TimerCheck);
    core.DeleteAllData();
}
BENCHMARK(BM_CheckTimerTick)->Unit(benchmark::kMicrosecond);

void BM_RefreshDueFlags(benchmark::State& state) {
    CTrayCore core;
    Fill(core, false);
    for (auto _ : state)
        core.Alarms().RefreshDueFlags();
    core.DeleteAllData();
}
BENCHMARK(BM_RefreshDueFlags)->Unit(benchmark::kMicrosecond);

// The same pass with the clock read and the day split for every note, for comparison.
void BM_IsDueSoonNoteByNote(benchmark::State& state) {
    CTrayCore core;
    Fill(core, false);
    for (auto _ : state)
        for (const auto& n : core.Store().notes())
            n->m_dueSoon = n->IsDueSoon();
    core.DeleteAllData();
}
BENCHMARK(BM_IsDueSoonNoteByNote)->Unit(benchmark::kMicrosecond);

// Mixed notes, each stepped from its start (the longest walk a recomputation can take).
std::vector<CNote> MixedNotes() {
    COleDateTime now = Clock::Now();
    struct Kind {
        int type, recurrence, indexDay;
    };
    static const Kind kinds[] = {
        {CNote::OneTime, 0, 0},      {CNote::Every, 15, 0},       {CNote::Every, 1002, 0},
        {CNote::Every, 2001, 0},     {CNote::Every, 3001, 0},     {CNote::Every, 4001, 0},
        {CNote::Every, 5001, 0},     {CNote::Every, 6000, 0},     {CNote::Every, 7000, 0},
        {CNote::Every, 4001, 10032}, {CNote::Every, 5001, 11154}, {CNote::Memo, 20000, 0},
    };
    const int kindCount = sizeof kinds / sizeof kinds[0];
    std::vector<CNote> notes(kNotes);
    for (int i = 0; i < kNotes; ++i) {
        CNote& n = notes[i];
        const Kind& kind = kinds[i % kindCount];
        n.m_type = kind.type;
        n.m_recurrence = kind.recurrence;
        n.m_indexDay = kind.indexDay;
        // Starts from three years back to a year ahead.
        n.m_startTime = n.m_baseTime = now + COleDateTimeSpan((i * 7919) % 1461 - 1095, 9, 30, 0);
        if (n.Unit() == CNote::Week || n.Unit() == CNote::Month) n.m_priorDays = i % 3;
    }
    return notes;
}

void BM_Recompute(benchmark::State& state) {
    const std::vector<CNote> pristine = MixedNotes();
    std::vector<CNote> notes;
    for (auto _ : state) {
        state.PauseTiming();
        notes = pristine;
        state.ResumeTiming();
        for (CNote& n : notes)
            n.Recompute();
        benchmark::DoNotOptimize(notes.data());
    }
    state.counters["notes"] = kNotes;
    state.counters["per_note"] = benchmark::Counter(
        kNotes, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Recompute)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
