#include "app/CTrayCore.h"
#include "platform/Clock.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class LogFile : public testing::Test {
protected:
    void SetUp() override {
        path = CTrayCore::ProgramFolder() + "Log.txt";
        Clock::SetForTest(COleDateTime(2003, 5, 13, 9, 30, 0));
    }
    CNote Titled(const std::string& title) {
        CNote n;
        n.m_title = title;
        return n;
    }
    TestEnv env;
    std::string path;
    CTrayCore core;
};

} // namespace

TEST_F(LogFile, LinesAreWrittenAndFlushedOneByOne) {
    core.m_logEnabled = 1;
    core.OpenLogFile();
    ASSERT_NE(core.m_logFile, nullptr);
    core.WriteLogLine(Titled("Dentist"));
    // Read while the program still holds the file open: every line is flushed at once.
    EXPECT_EQ(ReadAll(path), "Tuesday 2003-05-13 09:30:00 Dentist\n");
    Clock::AdvanceForTest(61);
    core.WriteLogLine(Titled(""));
    EXPECT_EQ(ReadAll(path),
              "Tuesday 2003-05-13 09:30:00 Dentist\nTuesday 2003-05-13 09:31:01 No Title\n");
}

TEST_F(LogFile, OnlyWhenLoggingIsOn) {
    core.OpenLogFile();
    core.m_logEnabled = 0;
    core.WriteLogLine(Titled("quiet"));
    core.m_logEnabled = 2;
    core.WriteLogLine(Titled("quiet"));
    EXPECT_TRUE(std::filesystem::exists(path)); // created on opening
    EXPECT_EQ(ReadAll(path), "");
}

TEST_F(LogFile, AppendsToWhatIsThereAndToAnEmptiedFile) {
    { std::ofstream(path) << "Monday 2003-05-12 08:00:00 Earlier\n"; }
    core.m_logEnabled = 1;
    core.OpenLogFile();
    core.WriteLogLine(Titled("Dentist"));
    EXPECT_EQ(ReadAll(path),
              "Monday 2003-05-12 08:00:00 Earlier\nTuesday 2003-05-13 09:30:00 Dentist\n");

    // The options can empty the file while it is open; the next line starts it afresh.
    { std::ofstream(path, std::ios::trunc); }
    core.WriteLogLine(Titled("Again"));
    EXPECT_EQ(ReadAll(path), "Tuesday 2003-05-13 09:30:00 Again\n");
}

TEST_F(LogFile, ALogThatCannotBeOpenedIsSilentlyAbsent) {
    std::filesystem::create_directories(path); // a folder where the file should be
    core.m_logEnabled = 1;
    core.OpenLogFile();
    EXPECT_EQ(core.m_logFile, nullptr);
    core.WriteLogLine(Titled("Dentist")); // nothing happens, nothing breaks
    EXPECT_TRUE(std::filesystem::is_directory(path));
}
