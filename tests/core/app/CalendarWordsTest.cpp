// export-ics and import-ics with no copy running work on the data file with a save's care.
#include "core/app/CCalendarWords.h"
#include "core/app/CLaunchArgs.h"
#include "core/ical/CNoteIdentity.h"
#include "core/model/CDataDocument.h"
#include "core/storage/CAtomicFile.h"
#include "core/storage/CDataFile.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const char* kCalendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                        "BEGIN:VEVENT\r\nUID:one@t\r\nDTSTAMP:20261201T100000Z\r\n"
                        "DTSTART:20270105T100000\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\n"
                        "BEGIN:VJOURNAL\r\nUID:two@t\r\nDTSTAMP:20261201T100000Z\r\n"
                        "SUMMARY:Idea\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n";

CDataDocument Load(const std::string& path) {
    CDataDocument doc;
    doc.m_store.AddCategory(CTreeNode::MakeRoot());
    const std::string bytes = ReadFile(path);
    EXPECT_TRUE(CDataFile::Read(doc, bytes.data(), bytes.size(), nullptr));
    return doc;
}

TEST(CalendarWords, ImportThenExportOnTheDataFile) {
    TestEnv env;
    const std::string data = env.Dir() + "/Note.Dat", ics = env.Dir() + "/in.ics";
    std::ofstream(ics) << kCalendar;
    std::string message;
    ASSERT_TRUE(CCalendarWords::RunOnDataFile("import-ics", ics, data, message)) << message;
    EXPECT_EQ(message, "1 reminder and 1 memo imported");
    // Twice: the same UIDs become new identities, never two notes with one.
    ASSERT_TRUE(CCalendarWords::RunOnDataFile("import-ics", ics, data, message)) << message;
    CDataDocument doc = Load(data);
    ASSERT_EQ(doc.m_store.notes().size(), 4u);
    EXPECT_EQ(doc.m_store.notes()[0]->m_title, "Dentist");
    EXPECT_EQ(doc.m_store.notes()[0]->m_type, CNote::OneTime);
    const std::string side = ReadFile(CNoteIdentity::PathFor(data));
    EXPECT_NE(side.find("one@t\t"), std::string::npos);
    EXPECT_NE(side.find("two@t\t"), std::string::npos);

    const std::string out = env.Dir() + "/out.ics";
    ASSERT_TRUE(CCalendarWords::RunOnDataFile("export-ics", out, data, message)) << message;
    EXPECT_EQ(message, "4 notes written to " + out);
    const std::string written = ReadFile(out);
    EXPECT_NE(written.find("UID:one@t"), std::string::npos) << "identities kept";
    EXPECT_NE(written.find("SUMMARY:Dentist"), std::string::npos);
}

TEST(CalendarWords, NeverReplacesADataFileThatCouldNotBeRead) {
    TestEnv env;
    const std::string data = env.Dir() + "/Note.Dat", ics = env.Dir() + "/in.ics";
    std::ofstream(ics) << kCalendar;
    const std::string damaged = "\x01\x02 not a data file";
    ASSERT_TRUE(CAtomicFile::Write(data, damaged, nullptr));
    std::string message;
    EXPECT_FALSE(CCalendarWords::RunOnDataFile("import-ics", ics, data, message));
    EXPECT_NE(message.find("nothing was changed"), std::string::npos) << message;
    EXPECT_EQ(ReadFile(data), damaged);
    // Not a calendar: told, nothing written.
    std::ofstream(ics) << "hello";
    TestEnv clean;
    const std::string fresh = clean.Dir() + "/Note.Dat";
    EXPECT_FALSE(CCalendarWords::RunOnDataFile("import-ics", ics, fresh, message));
    EXPECT_FALSE(CAtomicFile::Exists(fresh));
}

TEST(CalendarWords, LauncherWordsTakeAFile) {
    const LaunchRequest r = CLaunchArgs::Parse({"import-ics", "some/cal.ics"});
    EXPECT_EQ(r.kind, LaunchRequest::Kind::Run);
    EXPECT_EQ(r.word, "import-ics");
    ASSERT_FALSE(r.file.empty());
    EXPECT_EQ(r.file.front(), '/') << "the running copy has another working folder";
    EXPECT_EQ(CLaunchArgs::HandOverLine(r), "import-ics " + r.file);
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"export-ics"}, {"quit", "export-ics", "x"}, {"export-ics", "x", "manager"}})
        EXPECT_EQ(CLaunchArgs::Parse(wrong).kind, LaunchRequest::Kind::Usage) << wrong.front();
}

} // namespace
