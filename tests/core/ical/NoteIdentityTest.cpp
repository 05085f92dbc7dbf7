// Every note keeps its identity across saves and loads, and a data file another program
// changed is matched again by content.
#include "core/ical/CNoteIdentity.h"
#include "support/NoteBuilder.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include "core/storage/CAtomicFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

CNoteStore Notes(const std::vector<std::string>& titles) {
    CNoteStore store;
    for (const std::string& t : titles)
        NoteBuilder(CNote::OneTime).Title(t).At(COleDateTime(2027, 1, 5, 9, 0, 0)).AddTo(store);
    return store;
}

std::vector<std::string> Uids(const CNoteStore& store) {
    std::vector<std::string> uids;
    for (const auto& n : store.notes())
        uids.push_back(n->m_uid);
    return uids;
}

class NoteIdentityTest : public ::testing::Test {
protected:
    TestEnv m_env;
    std::string m_data = m_env.Dir() + "/Note.Dat";
};

TEST_F(NoteIdentityTest, IdentitiesComeBackByPlaceAndByContent) {
    CNoteStore saved = Notes({"a", "b", "c", "b"});
    CNoteIdentity ids;
    std::string reason;
    ASSERT_TRUE(ids.AfterSave(m_data, "bytes v1", saved.notes(), 100, &reason)) << reason;
    const auto uids = Uids(saved);
    EXPECT_NE(uids[1], uids[3]) << "equal notes, two identities";

    // The same data file: by place.
    CNoteStore same = Notes({"a", "b", "c", "b"});
    CNoteIdentity loaded;
    EXPECT_EQ(loaded.AfterLoad(m_data, "bytes v1", same.notes(), 200), 0);
    EXPECT_EQ(Uids(same), uids);

    // Another program reordered the notes, changed one and added one: by content.
    CNoteStore other = Notes({"c", "b", "x", "a", "b", "new"});
    CNoteIdentity again;
    EXPECT_EQ(again.AfterLoad(m_data, "bytes v2", other.notes(), 300), 4);
    const auto got = Uids(other);
    EXPECT_EQ(got[0], uids[2]);
    EXPECT_EQ(got[3], uids[0]);
    EXPECT_TRUE((got[1] == uids[1] && got[4] == uids[3]) ||
                (got[1] == uids[3] && got[4] == uids[1]));
    for (size_t i : {2u, 5u})
        for (const std::string& old : uids)
            EXPECT_NE(got[i], old);
}

TEST_F(NoteIdentityTest, ChangesRaiseTheSequenceAndCopiesGetTheirOwnIdentity) {
    CNoteStore store = Notes({"a", "b"});
    CNoteIdentity ids;
    ASSERT_TRUE(ids.AfterSave(m_data, "1", store.notes(), 100, nullptr));
    const std::string a = store.notes()[0]->m_uid;
    store.notes()[0]->m_text = "changed";
    store.AddNote(std::make_unique<CNote>(*store.notes()[1])); // a copy carries the same uid
    ASSERT_TRUE(ids.AfterSave(m_data, "2", store.notes(), 200, nullptr));
    EXPECT_EQ(store.notes()[0]->m_uid, a);
    EXPECT_EQ(ids.Find(a)->sequence, 1);
    EXPECT_EQ(ids.Find(a)->modified, 200);
    EXPECT_EQ(ids.Find(store.notes()[1]->m_uid)->sequence, 0);
    EXPECT_NE(store.notes()[2]->m_uid, store.notes()[1]->m_uid);
}

TEST_F(NoteIdentityTest, ExtraFieldsAreKeptAndADamagedFileCostsOnlyStability) {
    CNoteStore store = Notes({"a"});
    CNoteIdentity ids;
    ASSERT_TRUE(ids.AfterSave(m_data, "1", store.notes(), 100, nullptr));
    const std::string uid = store.notes()[0]->m_uid;
    std::string side = ReadFile(CNoteIdentity::PathFor(m_data));
    const size_t eol = side.find('\n', side.find(uid));
    side.insert(eol, "\tetag=\"7\"\tsynced");
    ASSERT_TRUE(CAtomicFile::Write(CNoteIdentity::PathFor(m_data), side, nullptr));

    CNoteStore back = Notes({"a"});
    CNoteIdentity loaded;
    loaded.AfterLoad(m_data, "1", back.notes(), 200);
    EXPECT_EQ(back.notes()[0]->m_uid, uid);
    EXPECT_EQ(loaded.Find(uid)->extra, "etag=\"7\"\tsynced");
    ASSERT_TRUE(loaded.AfterSave(m_data, "2", back.notes(), 300, nullptr));
    EXPECT_NE(ReadFile(CNoteIdentity::PathFor(m_data)).find("\tetag=\"7\"\tsynced\n"),
              std::string::npos);

    // Cut short, or garbage: new identities, nothing else.
    for (const std::string& broken :
         {side.substr(0, side.size() - 4), std::string("\x01garbage\n")}) {
        ASSERT_TRUE(CAtomicFile::Write(CNoteIdentity::PathFor(m_data), broken, nullptr));
        CNoteStore fresh = Notes({"a"});
        CNoteIdentity ids2;
        ids2.AfterLoad(m_data, "1", fresh.notes(), 400);
        EXPECT_FALSE(fresh.notes()[0]->m_uid.empty());
        EXPECT_NE(fresh.notes()[0]->m_uid, uid);
    }
}

} // namespace
