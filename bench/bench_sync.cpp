// The sync folder with many notes: the first mirror (every note written), the mirror after a
// save that changed nothing, and the rescan of a folder nothing changed in.
#include "core/ical/CICalMapping.h"
#include "core/model/CTreeNode.h"
#include "core/platform/Clock.h"
#include "core/sync/CSyncFolder.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Fixture {
    explicit Fixture(int notes) {
        Clock::SetForTest(COleDateTime(2026, 12, 7, 12, 0, 0));
        char dir[] = "/tmp/jotterly-bench-sync-XXXXXX";
        root = mkdtemp(dir);
        fs::create_directories(root + "/folder");
        store.AddCategory(CTreeNode::MakeRoot());
        for (int i = 0; i < notes; ++i) {
            auto n = std::make_unique<CNote>();
            n->m_type = i % 3 ? CNote::OneTime : CNote::Memo;
            n->m_title = "Note " + std::to_string(i);
            n->m_text = std::string(200, 'x');
            n->m_startTime = COleDateTime(2030, 1, 1 + i % 28, 9, 0, 0);
            n->Recompute();
            n->m_uid = "note-" + std::to_string(i) + "@bench";
            store.AddNote(std::move(n));
        }
    }
    ~Fixture() { fs::remove_all(root); }
    CSyncFolder Folder() const {
        CSyncFolder f(root + "/folder", root + "/Note.Dat");
        f.Open();
        return f;
    }
    void Empty() const {
        fs::remove_all(root + "/folder");
        fs::create_directories(root + "/folder");
        fs::remove(root + "/Note.Dat.sync");
    }
    std::string root;
    CNoteStore store;
    const int64_t now = CICalMapping::UtcSeconds(Clock::Now());
};

void BM_FirstMirror(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        f.Empty();
        CSyncFolder folder = f.Folder();
        state.ResumeTiming();
        std::string why;
        if (!folder.Mirror(f.store, f.now, &why)) state.SkipWithError(why.c_str());
    }
    state.counters["notes"] = double(f.store.notes().size());
}

void BM_MirrorUnchanged(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    CSyncFolder folder = f.Folder();
    std::string why;
    folder.Mirror(f.store, f.now, &why);
    for (auto _ : state)
        if (!folder.Mirror(f.store, f.now, &why)) state.SkipWithError(why.c_str());
}

void BM_RescanUnchanged(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    CSyncFolder folder = f.Folder();
    std::string why;
    folder.Mirror(f.store, f.now, &why);
    for (auto _ : state) {
        const CSyncFolder::Report r = folder.Rescan(f.store, CNote(), f.now, [](CNote&) {});
        if (r.StoreChanged()) state.SkipWithError("an unchanged folder changed the notes");
    }
}

// A restart: the state is read again, and every file is looked at (not read) once.
void BM_OpenAndRescan(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    {
        CSyncFolder folder = f.Folder();
        std::string why;
        folder.Mirror(f.store, f.now, &why);
    }
    for (auto _ : state) {
        CSyncFolder folder = f.Folder();
        folder.Rescan(f.store, CNote(), f.now, [](CNote&) {});
    }
}

} // namespace

BENCHMARK(BM_FirstMirror)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_MirrorUnchanged)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RescanUnchanged)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndRescan)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
