#include "core/app/CTrayCore.h"
#include "core/app/Globals.h"
#include "core/platform/Clock.h"
#include "core/storage/CArchiveReader.h"
#include "core/storage/CArchiveWriter.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "support/FakeHub.h"
#include "support/TestEnv.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

namespace {

LOGFONT Font(const std::string& face, int height) {
    LOGFONT f;
    f.lfHeight = height;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfCharSet = 2;
    f.lfPitchAndFamily = 34;
    f.lfFaceName = face;
    return f;
}

// Builds a data file from the primitives, independently of the program's writer.
struct FileBuilder {
    int stamp;
    bool canonical = false; // single font = scheme 0, due-soon flags as recomputed
    int categories = 2;     // stored records; the count written is one more
    int clockSync = 0;
    int checkPeriod = 7000;
    COleDateTime lastClockSync{2003, 5, 1, 0, 0, 0};
    CArchiveWriter ar;

    explicit FileBuilder(int s) : stamp(s) {}

    void Settings() {
        ar.WriteTime(COleDateTime(2001, 2, 3, 4, 5, 6));   // first start
        ar.WriteTime(COleDateTime(2003, 5, 13, 9, 30, 0)); // save time
        ar.WriteInt(stamp);
        ar.WriteInt(115);
        ar.WriteString("/usr/share/sounds/ring.wav");
        ar.WriteInt(checkPeriod);
        ar.WriteInt(1800000);
        ar.WriteInt(1);
        ar.WriteInt(1);  // log
        ar.WriteInt(45); // stop after
        ar.WriteInt(1);  // countdown default
        ar.WriteInt(0);  // show category
        ar.WriteInt(0);  // trash
        ar.WriteInt(0);  // manager full
        ar.WriteFont(canonical ? Font("Scheme0", -11) : Font("Single", -20));
        if (stamp != -19990701)
            for (int i = 0; i < 4; ++i)
                ar.WriteFont(Font("Scheme" + std::to_string(i), -11 - i));
        for (int i = 0; i < 4; ++i)
            ar.WriteInt(0x100 + i);
        ar.WriteInt(0);
        for (int i = 0; i < 4; ++i)
            ar.WriteInt(0x200 + i);
        ar.WriteInt(canonical ? 0 : 0x123456);
        if (stamp < -19990801) {
            ar.WriteInt(clockSync);
            ar.WriteTime(lastClockSync);
            for (int i = 0; i < 4; ++i)
                ar.WriteInt(2 - i % 3);
            ar.WriteInt(3);
        }
        ar.WriteInt(90);
        ar.WriteTime(COleDateTime(2003, 5, 13, 8, 0, 0));
        if (stamp < -19991001) {
            ar.WriteInt(1);
            ar.WriteTime(COleDateTime(2003, 5, 13, 7, 0, 0));
            ar.WriteString("Springfield");
            ar.WriteInt(0);
            ar.WriteString("IL");
            ar.WriteString("Springfield");
            ar.WriteString("USA");
            ar.WriteString("62701");
            for (int d = 0; d < 5; ++d) {
                ar.WriteString("Day" + std::to_string(d));
                ar.WriteString("Sunny");
                ar.WriteInt(20 + d);
                ar.WriteInt(10 + d);
                ar.WriteInt(243 + d);
            }
        }
        ar.WriteInt(33); // manager extra height
        ar.WriteInt(1);  // accounts
        ar.WriteString("Home");
        ar.WriteString("pop.example.org");
        ar.WriteInt(163);
        ar.WriteString("alice");
        ar.WriteString("secret");
        ar.WriteInt(categories + 1); // the built-in root is counted, not stored
        for (int i = 1; i <= categories; ++i) {
            ar.WriteString("Cat" + std::to_string(i));
            ar.WriteInt(i * 10);
            ar.WriteInt(i == 1 ? 0 : 10);
            ar.WriteInt(i == 1 ? 1 : 0);
            ar.WriteInt(i);
        }
    }
    void Holidays(int n, int value) {
        ar.WriteInt(n);
        for (int i = 0; i < n; ++i)
            ar.WriteInt(value);
    }
    void Note(const std::string& title, int type = CNote::OneTime) {
        ar.WriteInt(type);
        ar.WriteInt(10);
        ar.WriteTime(COleDateTime(2003, 6, 1, 12, 0, 0));
        ar.WriteTime(COleDateTime(0.0));
        ar.WriteTime(COleDateTime(2003, 5, 31, 12, 0, 0));
        ar.WriteTime(COleDateTime(2003, 6, 1, 12, 0, 0));
        ar.WriteTime(COleDateTime(2003, 6, 1, 12, 0, 0));
        ar.WriteInt(1);
        ar.WriteInt(0);
        ar.WriteInt(0);
        ar.WriteInt(canonical ? 0 : 1); // due soon as stored
        ar.WriteInt(0x00ABCDEF);
        ar.WriteInt(0x00102030);
        ar.WriteInt(1);
        ar.WriteFont(Font("NoteFace", -15));
        ar.WriteString(title);
        ar.WriteString("line one\r\nline two");
        ar.WriteInt(0);
        for (int v : {100, 50, 300, 250, 90, 40, 310, 260})
            ar.WriteInt(v);
        ar.WriteInt(1);
        ar.WriteInt(1);
        ar.WriteInt(7);
        if (stamp != -19990701) ar.WriteInt(6);
        if (stamp < -19990801) ar.WriteInt(2);
    }
    std::string Full(int notes = 2) {
        Settings();
        Holidays(28, 0);
        ar.WriteInt(notes);
        for (int i = 0; i < notes; ++i)
            Note("Note " + std::to_string(i));
        return ar.Take();
    }
};

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override { Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0)); }
    void WriteDataFile(const std::string& bytes) {
        std::ofstream(tray.DataPath(), std::ios::binary) << bytes;
    }
    TestEnv env;
    FakePlatform platform;
    FakeDialogs& dialogs = platform.dialogs;
    FakeWindowFactory& windows = platform.windows;
    FakeHub tray{platform};
};

} // namespace

TEST_F(DataFileTest, CurrentStampReadsEveryField) {
    WriteDataFile(FileBuilder(-19991201).Full());
    tray.LoadData();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(tray.Data().m_versionRead, -19991201);
    EXPECT_EQ(tray.Data().m_firstRunDate, COleDateTime(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(tray.Data().m_lastSaveTime, COleDateTime(2003, 5, 13, 9, 30, 0));
    EXPECT_EQ(tray.settings().m_alarmSound, 115);
    EXPECT_EQ(tray.settings().m_wavePath, "/usr/share/sounds/ring.wav");
    EXPECT_EQ(tray.settings().m_checkPeriod, 7000);
    EXPECT_EQ(tray.settings().m_logEnabled, 1);
    EXPECT_EQ(tray.settings().m_stopAfter, 45);
    EXPECT_EQ(tray.settings().m_showCountdownDefault, 1);
    EXPECT_EQ(tray.settings().m_showCategory, 0);
    EXPECT_EQ(tray.settings().m_managerFull, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tray.settings().m_schemeFont[i], Font("Scheme" + std::to_string(i), -11 - i));
        EXPECT_EQ(tray.settings().m_schemeBack[i], 0x100u + i);
        EXPECT_EQ(tray.settings().m_schemeText[i], 0x200u + i);
        EXPECT_EQ(tray.settings().m_schemeBorder[i], 2 - i % 3);
    }
    EXPECT_EQ(tray.settings().m_defaultScheme, 3);
    EXPECT_EQ(tray.settings().m_mailInterval, 90);
    // Last check 08:00 + 90 min = 09:30, already past at 10:00: fall back to 30 s.
    EXPECT_EQ(tray.countdowns().mail, 30000);
    EXPECT_EQ(tray.countdowns().clockSync, -1);
    EXPECT_EQ(tray.settings().m_weatherEnabled, 1);
    // Last weather 07:00 + 2 h = 09:00, past.
    EXPECT_EQ(tray.countdowns().weather, 30000);
    EXPECT_EQ(tray.settings().m_weather.m_place, "Springfield");
    EXPECT_EQ(tray.settings().m_weather.m_fahrenheit, 0);
    EXPECT_EQ(tray.settings().m_weather.m_zipCode, "62701");
    EXPECT_EQ(tray.settings().m_weather.m_dayName[4], "Day4");
    EXPECT_EQ(tray.settings().m_weather.m_icon[2], 245);
    EXPECT_EQ(tray.settings().m_managerExtraHeight, 33);
    ASSERT_EQ(tray.Store().accounts().size(), 1u);
    EXPECT_EQ(tray.Store().accounts()[0].get()->m_server, "pop.example.org");
    EXPECT_EQ(tray.Store().accounts()[0].get()->m_password, "secret");
    ASSERT_EQ(tray.Store().categories().size(), 3u);
    EXPECT_EQ(tray.Store().categories()[0].get()->m_name, "All notes");
    EXPECT_EQ(tray.Store().categories()[2].get()->m_name, "Cat2");
    EXPECT_EQ(tray.Store().categories()[2].get()->m_parentId, 10);
    EXPECT_EQ(tray.Store().categories()[2].get()->m_level, 2);
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(tray.Holidays().entries[i].enabled, 0);
    ASSERT_EQ(tray.Store().notes().size(), 2u);
    const CNote& n = *tray.Store().notes()[1].get();
    EXPECT_EQ(n.m_title, "Note 1");
    EXPECT_EQ(n.m_text, "line one\r\nline two");
    EXPECT_EQ(n.m_type, CNote::OneTime);
    EXPECT_EQ(n.m_category, 10);
    EXPECT_EQ(n.m_startTime, COleDateTime(2003, 6, 1, 12, 0, 0));
    EXPECT_EQ(n.m_alarmTime, COleDateTime(2003, 5, 31, 12, 0, 0));
    EXPECT_EQ(n.m_priorDays, 1);
    EXPECT_EQ(n.m_backColor, 0x00ABCDEFu);
    EXPECT_EQ(n.m_font, Font("NoteFace", -15));
    EXPECT_EQ(n.m_windowRect, (RECT{50, 100, 250, 300}));
    EXPECT_EQ(n.m_firstRect, (RECT{40, 90, 260, 310}));
    EXPECT_EQ(n.m_posted, 1);
    EXPECT_EQ(n.m_spareFlag, 7);
    EXPECT_EQ(n.m_countdownFormat, 6);
    EXPECT_EQ(n.m_borderStyle, 2);
    // The alarm lies 18 days ahead: not due soon, whatever was stored.
    EXPECT_EQ(n.m_dueSoon, 0);
}

// Older stamps lack blocks and fields: what a file lacks keeps its default.
TEST_F(DataFileTest, OlderStampsGateTheirBlocks) {
    const CSettings defaults;
    const struct {
        int stamp;
        bool singleFont, clockBlock;
        int countdownFormat, borderStyle;
    } cases[] = {{-19990701, true, false, 15, 0},
                 {-19990801, false, false, 6, 0},
                 {-19991001, false, true, 6, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamp);
        CTrayCore core; // fresh defaults for each file
        core.SetPlatform({.dialogs = &dialogs});
        WriteDataFile(FileBuilder(c.stamp).Full());
        core.LoadData();
        EXPECT_TRUE(dialogs.boxes.empty());
        const CSettings& s = core.settings();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s.m_schemeFont[i], c.singleFont
                                             ? Font("Single", -20)
                                             : Font("Scheme" + std::to_string(i), -11 - i));
            EXPECT_EQ(s.m_schemeText[i], c.singleFont ? 0x123456u : 0x200u + i);
            EXPECT_EQ(s.m_schemeBorder[i], c.clockBlock ? 2 - i % 3 : defaults.m_schemeBorder[i]);
        }
        EXPECT_EQ(s.m_defaultScheme, c.clockBlock ? 3 : defaults.m_defaultScheme);
        EXPECT_EQ(s.m_weatherEnabled, 0);
        EXPECT_EQ(s.m_weather.m_place, "");
        ASSERT_EQ(core.Store().notes().size(), 2u);
        EXPECT_EQ(core.Store().notes()[1]->m_title, "Note 1");
        EXPECT_EQ(core.Store().notes()[1]->m_countdownFormat, c.countdownFormat);
        EXPECT_EQ(core.Store().notes()[1]->m_borderStyle, c.borderStyle);
    }
}

TEST_F(DataFileTest, ClockCountdownFollowsTheLastSyncWithinItsBounds) {
    g_isNT = 1; // setting the clock needs a privilege
    const struct {
        COleDateTime last;
        bool mayBeSet;
        int clockSync, countdown;
    } cases[] = {
        {COleDateTime(2003, 5, 13, 9, 0, 0), true, 1, (1440 - 60) * 60000},
        {COleDateTime(2003, 5, 12, 9, 0, 0), true, 1, 30000}, // a day past: soon
        {COleDateTime(2003, 5, 12, 9, 0, 0), false, 0, -1},   // no privilege: off
        // A last synchronisation in the future (a clock set back, a damaged file) counts as
        // just now; the farthest one once overflowed the countdown arithmetic.
        {COleDateTime(2003, 5, 14, 10, 0, 0), true, 1, 86400000},
        {COleDateTime(9999, 12, 31, 0, 0, 0), true, 1, 86400000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last.Format("%Y-%m-%d %H:%M"));
        FileBuilder b(-19991201);
        b.clockSync = 1;
        b.lastClockSync = c.last;
        WriteDataFile(b.Full());
        platform.services.canSetClock = c.mayBeSet;
        tray.LoadData();
        EXPECT_EQ(tray.settings().m_clockSync, c.clockSync);
        EXPECT_EQ(tray.countdowns().clockSync, c.countdown);
    }
    g_isNT = 0;
}

// 0 would make the alarm timer spin and a negative period stop every alarm.
TEST_F(DataFileTest, CheckPeriodIsKeptInTheOptionsRange) {
    for (auto [stored, used] : {std::pair{0, 1000},
                                {-5000, 1000},
                                {INT_MIN, 1000},
                                {999, 1000},
                                {1000, 1000},
                                {300000, 300000},
                                {300001, 300000}}) {
        SCOPED_TRACE(stored);
        FileBuilder b(-19991201);
        b.checkPeriod = stored;
        WriteDataFile(b.Full());
        tray.LoadData();
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(tray.settings().m_checkPeriod, used);
    }
}

TEST_F(DataFileTest, LoadAndSaveReproducesTheFile) {
    // A file whose single-font record and due-soon flags are what the program itself writes:
    // then only the save time (bytes 12..23) may differ.
    FileBuilder b(-19991201);
    b.canonical = true;
    std::string original = b.Full(3);
    WriteDataFile(original);
    tray.LoadData();
    EXPECT_TRUE(dialogs.boxes.empty());
    Clock::AdvanceForTest(60);
    ASSERT_TRUE(tray.SaveData());
    std::string saved;
    ASSERT_TRUE(CAtomicFile::ReadAll(tray.DataPath(), saved, nullptr));
    ASSERT_EQ(saved.size(), original.size());
    CArchiveReader r(saved.data() + 12, 12);
    EXPECT_EQ(r.ReadTime(), Clock::Now());
    EXPECT_NE(saved.substr(12, 12), original.substr(12, 12));
    EXPECT_EQ(saved.substr(0, 12), original.substr(0, 12));
    EXPECT_EQ(saved.substr(24), original.substr(24));

    // A shorter save in the memory of the one before carries none of its bytes.
    tray.Store().RemoveNote(*tray.Store().notes().back());
    ASSERT_TRUE(tray.SaveData());
    ASSERT_TRUE(CAtomicFile::ReadAll(tray.DataPath(), saved, nullptr));
    EXPECT_EQ(saved, CDataFile::Write(tray.Data(), Clock::Now()));
}

TEST_F(DataFileTest, StringPrefixes) {
    for (size_t len : {0u, 254u, 255u, 0xFFFDu, 0xFFFEu, 0xFFFFu, 70000u}) {
        CArchiveWriter w;
        w.WriteString(std::string(len, 'x'));
        const std::string& b = w.Bytes();
        if (len < 255) {
            EXPECT_EQ(b.size(), len + 1);
            EXPECT_EQ(uint8_t(b[0]), len);
        } else if (len < 0xFFFE) {
            EXPECT_EQ(b.size(), len + 3);
            EXPECT_EQ(uint8_t(b[0]), 0xFF);
            EXPECT_EQ(uint8_t(b[1]) | uint8_t(b[2]) << 8, int(len));
        } else {
            EXPECT_EQ(b.size(), len + 7);
            EXPECT_EQ(b.substr(0, 3), std::string(3, '\xFF'));
        }
        CArchiveReader r(b.data(), b.size());
        EXPECT_EQ(r.ReadString().size(), len);
        EXPECT_EQ(r.Remaining(), 0u);
    }
}

TEST_F(DataFileTest, FaceNamesAreCutAtCharacterBoundaries) {
    auto roundTrip = [](const std::string& face) {
        CArchiveWriter w;
        w.WriteFont(Font(face, -13));
        CArchiveReader r(w.Bytes().data(), w.Bytes().size());
        return r.ReadFont().lfFaceName;
    };
    const std::string e = "\xC3\xA9", euro = "\xE2\x82\xAC", clef = "\xF0\x9D\x84\x9E";
    // Up to 31 characters a name comes back as saved, however many bytes they take.
    for (const std::string& face :
         {std::string(30, 'F') + e, std::string(29, 'F') + euro, std::string(28, 'F') + clef + "G",
          "Caf" + e + " " + euro, std::string(31, 'F')})
        EXPECT_EQ(roundTrip(face), face);
    // Longer ones keep their first 31 characters, and saving them again changes nothing.
    std::string longName;
    for (int i = 0; i < 20; ++i)
        longName += e + euro;
    std::string cut = roundTrip(longName);
    EXPECT_EQ(cut, longName.substr(0, 15 * 5 + 2)); // 15 pairs and one more e
    EXPECT_EQ(roundTrip(cut), cut);
    EXPECT_EQ(roundTrip(std::string(40, 'F')), std::string(31, 'F'));
    // A name cut short inside a character elsewhere loses that piece only.
    EXPECT_EQ(roundTrip("Ab" + euro.substr(0, 2)), "Ab");
    // A stored Windows name of 31 characters keeps all of them as UTF-8.
    CArchiveWriter w;
    for (int i = 0; i < 5; ++i)
        w.WriteInt(0);
    for (int i = 0; i < 8; ++i)
        w.WriteByte(0);
    w.WriteString(std::string(30, 'F') + "\xE9");
    CArchiveReader r(w.Bytes().data(), w.Bytes().size());
    EXPECT_EQ(r.ReadFont().lfFaceName, std::string(30, 'F') + e);
}

TEST_F(DataFileTest, WindowsTextIsConvertedToUtf8) {
    CArchiveWriter w;
    w.WriteString("Caf\xE9 \x80 5");
    CArchiveReader r(w.Bytes().data(), w.Bytes().size());
    EXPECT_EQ(r.ReadString(), "Caf\xC3\xA9 \xE2\x82\xAC 5");
    CArchiveWriter u;
    u.WriteString("Caf\xC3\xA9");
    CArchiveReader ru(u.Bytes().data(), u.Bytes().size());
    EXPECT_EQ(ru.ReadString(), "Caf\xC3\xA9");
}

TEST_F(DataFileTest, CategoryCountOneAndShortHolidayList) {
    FileBuilder b(-19991201);
    b.categories = 0;
    b.Settings();
    b.Holidays(5, 0); // a list that grew since the file was written
    b.ar.WriteInt(0);
    WriteDataFile(b.ar.Take());
    tray.LoadData();
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_EQ(tray.Store().categories().size(), 1u);
    EXPECT_EQ(tray.Store().categories()[0].get()->m_name, "All notes");
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(tray.Holidays().entries[i].enabled, i < 5 ? 0 : 1) << i;
    // Saving writes the count 1, no records, then all 28 flags.
    CArchiveWriter tail;
    tail.WriteInt(1);
    tail.WriteInt(28);
    EXPECT_NE(CDataFile::Write(tray.Data(), Clock::Now()).find(tail.Bytes()), std::string::npos);
}

TEST_F(DataFileTest, CutAtAnyByteKeepsExactlyTheCompleteRecords) {
    // Small notes (empty strings) and several categories, so that a count checked against the
    // bytes left would refuse complete records.
    const int kCategories = 4, kNotes = 36;
    std::vector<size_t> categoryEnds, noteEnds;
    for (int k = 1; k <= kCategories; ++k) {
        FileBuilder part(-19991201);
        part.categories = k;
        part.Settings();
        categoryEnds.push_back(part.ar.Bytes().size());
    }
    FileBuilder b(-19991201);
    b.categories = kCategories;
    b.Settings();
    const size_t accountEnd = categoryEnds[0] - (categoryEnds[1] - categoryEnds[0]) - 4;
    b.Holidays(28, 1);
    b.ar.WriteInt(kNotes);
    for (int i = 0; i < kNotes; ++i) {
        b.Note(std::string(i % 3, char('a' + i % 26)));
        noteEnds.push_back(b.ar.Bytes().size());
    }
    const std::string full = b.ar.Take();
    ASSERT_EQ(noteEnds.back(), full.size());

    auto completeBefore = [](const std::vector<size_t>& ends, size_t cut) {
        return size_t(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
    };
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        CDataDocument doc;
        doc.m_store.AddCategory(CTreeNode::MakeRoot());
        const CNoteStore& t = doc.m_store;
        std::string err;
        bool ok = CDataFile::Read(doc, full.data(), cut, &err);
        ASSERT_EQ(ok, cut == full.size()) << cut;
        EXPECT_EQ(err.empty(), ok) << cut;
        ASSERT_EQ(t.accounts().size(), cut >= accountEnd ? 1u : 0u) << cut;
        ASSERT_EQ(t.categories().size(), 1 + completeBefore(categoryEnds, cut)) << cut;
        ASSERT_EQ(t.notes().size(), completeBefore(noteEnds, cut)) << cut;
        if (!t.notes().empty()) {
            size_t last = t.notes().size() - 1;
            EXPECT_EQ(t.notes().back()->m_title, std::string(last % 3, char('a' + last % 26)));
        }
    }
}

TEST_F(DataFileTest, HugeCountsAreRefusedBeforeAllocating) {
    FileBuilder b(-19991201);
    b.Settings();
    b.Holidays(28, 1);
    b.ar.WriteInt(2000000000); // notes
    WriteDataFile(b.ar.Take());
    tray.LoadData();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Data Read Error!");
    EXPECT_EQ(dialogs.boxes[0].caption, "It's too bad");
    EXPECT_EQ(dialogs.boxes[0].icon, IDialogs::Stop);
    EXPECT_TRUE(tray.Store().notes().empty());
    EXPECT_EQ(tray.Store().accounts().size(), 1u);

    // A string claiming 4 GB.
    CArchiveWriter w;
    w.WriteByte(0xFF);
    w.WriteByte(0xFF);
    w.WriteByte(0xFF);
    w.WriteInt(-1);
    CArchiveReader r(w.Bytes().data(), w.Bytes().size());
    EXPECT_THROW(r.ReadString(), std::exception);
}

TEST_F(DataFileTest, MissingFileGivesOnePostedWelcomeNote) {
    tray.LoadData();
    EXPECT_TRUE(dialogs.boxes.empty());
    ASSERT_EQ(tray.Store().notes().size(), 1u);
    const CNote& n = *tray.Store().notes()[0].get();
    EXPECT_EQ(n.m_title, "Welcome !");
    EXPECT_EQ(n.m_text, "Jotterly icon is in the system tray, Double-Click it to create a new "
                        "note, Right-Click to see more functions");
    EXPECT_EQ(n.m_posted, 1);
    EXPECT_EQ(n.m_type, CNote::Memo);
    EXPECT_EQ(n.m_backColor, tray.settings().m_schemeBack[tray.settings().m_defaultScheme]);
    EXPECT_EQ(n.m_borderStyle, tray.settings().m_schemeBorder[tray.settings().m_defaultScheme]);
    ASSERT_NE(n.Window(), nullptr);
    EXPECT_EQ(windows.OpenCount(), 1);
    EXPECT_EQ(tray.Data().m_firstRunDate, Clock::Now());
    ASSERT_EQ(tray.Store().categories().size(), 1u);
}
