// Keeps the fuzz seed corpus for the data-file reader in step with the writer: every seed must
// load cleanly, and the seeds are regenerated with JOTTERLY_WRITE_SEEDS=1.
#include "core/model/CDataDocument.h"
#include "core/platform/Clock.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {
std::string Seed(int notes, bool rich, bool clockAhead = false) {
    CDataDocument doc;
    CNoteStore& store = doc.m_store;
    store.AddCategory(CTreeNode::MakeRoot());
    if (clockAhead) { // once overflowed the clock-sync countdown
        doc.m_settings.m_clockSync = 1;
        doc.m_settings.m_lastClockSync = COleDateTime(9999, 12, 31, 0, 0, 0);
    }
    if (rich) {
        store.AddAccount(
            std::make_unique<CMailAccount>(CMailAccount{"A", "s", 163, "u", "p", "", {}}));
        store.NewCategory(*store.categories()[0]);
        doc.m_settings.m_weather.m_place = "Somewhere";
    }
    for (int i = 0; i < notes; ++i) {
        auto n = std::make_unique<CNote>();
        n->m_type = CNote::OneTime + i % 2;
        n->m_recurrence = 2001;
        n->m_title = "t" + std::to_string(i);
        n->m_text = std::string(300, 'x');
        store.AddNote(std::move(n));
    }
    return CDataFile::Write(doc, COleDateTime(2003, 5, 13, 9, 30, 0));
}
} // namespace

TEST(SeedCorpus, SeedsLoadCleanly) {
    Clock::SetForTest(COleDateTime(2003, 5, 13, 9, 30, 0));
    const std::string dir = std::string(JOTTERLY_SOURCE_DIR) + "/fuzz/corpus/datafile/";
    const std::pair<const char*, std::string> seeds[] = {
        {"empty.dat", Seed(0, false)},
        {"two-notes.dat", Seed(2, true)},
        {"clock-sync-ahead.dat", Seed(0, false, true)}};
    for (const auto& [name, bytes] : seeds) {
        if (std::getenv("JOTTERLY_WRITE_SEEDS"))
            CAtomicFile::Write(dir + name, bytes, nullptr, 0644);
        std::string stored;
        ASSERT_TRUE(CAtomicFile::ReadAll(dir + name, stored, nullptr)) << name;
        CDataDocument doc;
        std::string error;
        EXPECT_TRUE(CDataFile::Read(doc, stored.data(), stored.size(), &error)) << error;
    }
    Clock::ResetForTest();
}
