#include "app/CTrayCore.h"
#include "platform/Clock.h"
#include "storage/CAtomicFile.h"
#include "storage/CDataFile.h"
#include "support/Fakes.h"
#include "support/TestEnv.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FailAfter {
    explicit FailAfter(size_t k) { CAtomicFile::s_failAfterBytes = k; }
    ~FailAfter() { CAtomicFile::s_failAfterBytes = SIZE_MAX; }
};

size_t TempFilesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        n += e.path().filename().string().find(".tmp-") != std::string::npos;
    return n;
}

} // namespace

TEST(AtomicSave, InterruptedAtAnyByteKeepsThePreviousFile) {
    TestEnv env;
    Clock::SetForTest(COleDateTime(2003, 5, 13, 10, 0, 0));
    FakeDialogs dialogs;
    CTrayCore tray;
    tray.SetPlatform({.dialogs = &dialogs});
    tray.LoadData(); // the welcome note
    tray.Store().notes()[0].get()->m_title = "Old title";
    ASSERT_TRUE(tray.SaveData());
    std::string before;
    ASSERT_TRUE(CAtomicFile::ReadAll(tray.DataPath(), before, nullptr));

    tray.Store().notes()[0].get()->m_title = "New title that must not half-land";
    size_t size = CDataFile::Write(tray.Data(), Clock::Now()).size();
    int failures = 0;
    for (size_t k = 0; k < size; k += (k < 64 ? 1 : 37)) {
        FailAfter fail(k);
        EXPECT_FALSE(tray.SaveData()) << k;
        ++failures;
        std::string now;
        ASSERT_TRUE(CAtomicFile::ReadAll(tray.DataPath(), now, nullptr));
        ASSERT_EQ(now, before) << "after a failure at byte " << k;
    }
    EXPECT_EQ(TempFilesIn(env.DataFolder()), 0u);
    ASSERT_EQ(dialogs.boxes.size(), size_t(failures));
    EXPECT_EQ(dialogs.boxes[0].caption, "It's too bad");
    EXPECT_NE(dialogs.boxes[0].text.find(tray.DataPath()), std::string::npos);
    EXPECT_NE(dialogs.boxes[0].text.find("No space left on device"), std::string::npos);

    // The previous file still loads whole.
    CTrayCore reread;
    reread.SetPlatform({.dialogs = &dialogs});
    reread.LoadData();
    ASSERT_EQ(reread.Store().notes().size(), 1u);
    EXPECT_EQ(reread.Store().notes()[0]->m_title, "Old title");

    // And once the disk has room again the new data lands.
    ASSERT_TRUE(tray.SaveData());
    CTrayCore after;
    after.LoadData();
    EXPECT_EQ(after.Store().notes()[0]->m_title, "New title that must not half-land");
}

TEST(AtomicSave, UnwritableFolderReportsTheFailure) {
    TestEnv env;
    FakeDialogs dialogs;
    CTrayCore tray;
    tray.SetPlatform({.dialogs = &dialogs});
    // Root ignores folder permissions: a folder standing where the file goes fails for anyone.
    const bool root = geteuid() == 0;
    if (root)
        std::filesystem::create_directories(tray.DataPath() + "/blocker");
    else
        chmod(env.DataFolder().c_str(), 0500);
    EXPECT_FALSE(tray.SaveData());
    chmod(env.DataFolder().c_str(), 0700);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].icon, IDialogs::Stop);
    EXPECT_NE(dialogs.boxes[0].text.find(root ? "Is a directory" : "Permission denied"),
              std::string::npos);
    EXPECT_EQ(TempFilesIn(env.DataFolder()), 0u);
}

TEST(AtomicSave, ExportAndImportCopyTheFile) {
    TestEnv env;
    FakeDialogs dialogs;
    FakeWindowFactory windows;
    CTrayCore tray;
    tray.SetPlatform({.dialogs = &dialogs, .windows = &windows});
    tray.LoadData();
    tray.Store().notes()[0].get()->m_title = "Exported";
    ASSERT_TRUE(tray.SaveData());
    std::string target = env.Dir() + "/copy.dat";
    dialogs.files.push_back(target);
    tray.ExportData();
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    std::string a, b;
    ASSERT_TRUE(CAtomicFile::ReadAll(tray.DataPath(), a, nullptr));
    ASSERT_TRUE(CAtomicFile::ReadAll(target, b, nullptr));
    EXPECT_EQ(a, b);

    tray.Store().notes()[0].get()->m_title = "Changed since";
    ASSERT_TRUE(tray.SaveData());
    // No: nothing changes.
    dialogs.answers.push_back(IDialogs::AnswerNo);
    tray.ImportData();
    EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Changed since");
    ASSERT_EQ(dialogs.boxes.back().caption, "Warning");
    EXPECT_EQ(dialogs.boxes.back().text,
              "Import data will replace all your current data, continue?");
    // Yes but cancel the file dialog: nothing changes either.
    tray.ImportData();
    EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Changed since");
    // Yes and a file: its data replaces ours; open windows close and their notes are unposted.
    ASSERT_NE(tray.Store().notes()[0].get()->m_window, nullptr);
    dialogs.files.push_back(target);
    tray.ImportData();
    EXPECT_EQ(tray.State(), CTrayCore::StateIdle);
    ASSERT_EQ(tray.Store().notes().size(), 1u);
    EXPECT_EQ(tray.Store().notes()[0].get()->m_title, "Exported");
    EXPECT_EQ(tray.Store().notes()[0].get()->m_window, nullptr);
    EXPECT_EQ(windows.OpenCount(), 0);
}
