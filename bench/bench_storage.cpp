// Load and save of "Note.Dat" with many notes, beside plain reads and writes of the same bytes.
#include "core/app/CTrayCore.h"
#include "core/ical/CNoteIdentity.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "core/storage/CFileIdentity.h"
#include "support/TestEnv.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

void Fill(CTrayCore& tray, int notes) {
    tray.DeleteAllData();
    tray.Store().AddCategory(CTreeNode::MakeRoot());
    for (int i = 0; i < notes; ++i) {
        auto n = std::make_unique<CNote>();
        n->m_type = CNote::OneTime;
        n->m_title = std::string(20, 'T');
        n->m_text = std::string(200, 'x');
        n->m_startTime = n->m_alarmTime = COleDateTime(2030, 1, 1, 0, 0, 0);
        tray.Store().AddNote(std::move(n));
    }
}

struct Fixture {
    explicit Fixture(int notes) {
        Clock::SetForTest(COleDateTime(2026, 12, 6, 12, 0, 0));
        Fill(tray, notes);
        tray.SaveData();
        // The first save over a file each day copies that file to the backups first
        // (BM_FirstSaveOfTheDay); the other saves of the day are what is timed here.
        tray.SaveData();
    }
    TestEnv env;
    CTrayCore tray;
};

void BM_Load(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        f.tray.LoadData();
        benchmark::DoNotOptimize(f.tray.Store().notes().data());
    }
    state.counters["notes"] = static_cast<double>(f.tray.Store().notes().size());
}

void BM_ReadBytes(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::ifstream in(f.tray.DataPath(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_Save(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(f.tray.SaveData());
}

// What a save costs beyond writing the bytes: the written file's identity (a stat and a hash,
// to notice a later outside change) and the notes' identities rewritten beside it.
void BM_SaveIdentity(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    const std::string bytes = CDataFile::Write(f.tray.Data(), Clock::Now());
    CNoteIdentity ids;
    std::string reason;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CFileIdentity::Of(f.tray.DataPath(), bytes));
        benchmark::DoNotOptimize(
            ids.AfterSave(f.tray.DataPath(), bytes, f.tray.Store().notes(), 1796558400, &reason));
    }
}

void BM_Serialise(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string bytes = CDataFile::Write(f.tray.Data(), Clock::Now());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_WriteBytes(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    std::string bytes = CDataFile::Write(f.tray.Data(), Clock::Now());
    std::string path = f.env.Dir() + "/plain.dat";
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

void BM_WriteBytesFsync(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    std::string bytes = CDataFile::Write(f.tray.Data(), Clock::Now());
    std::string path = f.env.Dir() + "/plain.dat";
    for (auto _ : state)
        benchmark::DoNotOptimize(CAtomicFile::Write(path, bytes, nullptr));
}

// The first save of a day, which first copies the file of the day before to the backups
// (read, checked and written) and then saves.
void BM_FirstSaveOfTheDay(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Clock::AdvanceForTest(86400.0);
        benchmark::DoNotOptimize(f.tray.SaveData());
    }
}

// A save beside an atomic write of the same bytes, taken in turns so that both see the same
// load on the machine, in alternating order; "ratio" is what a save costs in units of the plain
// write and fsync.
void BM_SaveVsWriteFsync(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    std::string bytes = CDataFile::Write(f.tray.Data(), Clock::Now());
    std::string path = f.env.Dir() + "/plain.dat";
    using Steady = std::chrono::steady_clock;
    Steady::duration save{}, write{};
    ::sync(); // what the set-up wrote is not flushed by the first timed fsync
    for (auto _ : state) {
        // Save, write, write, save: neither always follows the other's fsync, even in a
        // single iteration.
        for (int turn = 0; turn < 4; ++turn) {
            auto t0 = Steady::now();
            if (turn == 0 || turn == 3) {
                benchmark::DoNotOptimize(f.tray.SaveData());
                save += Steady::now() - t0;
            } else {
                benchmark::DoNotOptimize(CAtomicFile::Write(path, bytes, nullptr));
                write += Steady::now() - t0;
            }
        }
    }
    auto ms = [&](Steady::duration d) {
        return std::chrono::duration<double, std::milli>(d).count() /
               static_cast<double>(2 * state.iterations());
    };
    state.counters["save_ms"] = ms(save);
    state.counters["write_fsync_ms"] = ms(write);
    state.counters["ratio"] = ms(save) / ms(write);
}

} // namespace

BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveIdentity)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Serialise)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytesFsync)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstSaveOfTheDay)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveVsWriteFsync)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_MAIN();
