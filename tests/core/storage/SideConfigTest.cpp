#include "core/storage/CSideConfig.h"
#include "core/storage/CSideSettings.h"
#include "core/storage/CSideSettingsStore.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(SideConfig, DefaultsWhenMissingAndKeysSurviveASave) {
    TestEnv env;
    const std::string path = env.Dir() + "/jotterly.conf";
    CSideConfig config;
    EXPECT_FALSE(config.Load(path));
    EXPECT_EQ(config.Get(CSideConfig::kWeatherSource, "open-meteo"), "open-meteo");

    std::ofstream(path) << "# comment\n  weather_source = classic \r\nbroken line\n=x\nkey=a=b\n";
    ASSERT_TRUE(config.Load(path));
    EXPECT_EQ(config.Get(CSideConfig::kWeatherSource, "open-meteo"), "classic");
    EXPECT_EQ(config.Get("key", ""), "a=b");
    EXPECT_EQ(config.Get("broken line", "none"), "none");

    config.Set("note", "two\nlines");
    ASSERT_TRUE(config.Save(path));
    CSideConfig again;
    ASSERT_TRUE(again.Load(path));
    EXPECT_EQ(again.Get("note", ""), "twolines");
    EXPECT_EQ(again.Get("key", ""), "a=b");
    EXPECT_EQ(again.Get(CSideConfig::kWeatherSource, ""), "classic");
}

TEST(SideConfig, ARewriteKeepsCommentsUnknownLinesAndOrder) {
    TestEnv env;
    const std::string path = env.Dir() + "/jotterly.conf";
    const std::string hand = "# my servers\ntime_server = 10.0.0.1\n\n; odd line\n"
                             "backup_keep=3 # three\nweather_source=classic\n";
    std::ofstream(path) << hand;
    CSideConfig config;
    ASSERT_TRUE(config.Load(path));
    config.Set(CSideConfig::kWeatherSource, "open-meteo");
    config.Set(CSideConfig::kDesktopNotifications, "0");
    config.Set(CSideConfig::kTimeServer, "10.0.0.1"); // unchanged: the line stays as typed
    ASSERT_TRUE(config.Save(path));
    EXPECT_EQ(ReadFile(path),
              "# my servers\ntime_server = 10.0.0.1\n\n; odd line\nbackup_keep=3 # three\n"
              "weather_source=open-meteo\ndesktop_notifications=0\n");
}

TEST(SideSettings, DefaultsBoundsAndOnlyChangedKeysWritten) {
    TestEnv env;
    const std::string folder = env.Dir() + "/";
    const std::string hand = "weather_source=classic\nbackup_keep=0\nsync_folder=/x/notes//\n";
    std::ofstream(folder + CSideConfig::kFileName) << hand;
    CSideSettings side = CSideSettings::Load(folder);
    EXPECT_EQ(side.weatherSource, "open-meteo") << "the classic source has no server of its own";
    EXPECT_EQ(side.backupKeep, 7) << "no copies at all would leave nothing to go back to";
    EXPECT_EQ(side.syncFolder, "/x/notes");
    EXPECT_TRUE(side.desktopNotifications);
    ASSERT_TRUE(side.Save(folder));
    EXPECT_EQ(ReadFile(folder + CSideConfig::kFileName), hand) << "nothing changed";

    side.desktopNotifications = false;
    side.backupKeep = 30;
    side.TrustCertificate("trust_pop.example.org", "AB:CD");
    ASSERT_TRUE(side.Save(folder));
    CSideConfig file;
    ASSERT_TRUE(file.Load(folder + CSideConfig::kFileName));
    EXPECT_EQ(file.Get("desktop_notifications", ""), "0");
    EXPECT_EQ(file.Get("backup_keep", ""), "30");
    EXPECT_EQ(file.Get("weather_source", ""), "classic");
    EXPECT_EQ(CSideSettings::Load(folder).TrustedCertificate("trust_pop.example.org"), "AB:CD");

    file.Set("backup_keep", " 12 ");
    file.Set("classic_weather_server", "http://127.0.0.1:8080");
    ASSERT_TRUE(file.Save(folder + CSideConfig::kFileName));
    side = CSideSettings::Load(folder);
    EXPECT_EQ(side.backupKeep, 12);
    EXPECT_EQ(side.weatherSource, "classic");
}

// The program reads the file once; a change written through the store reads it afresh, so a
// line typed by hand meanwhile is kept, and the copy everyone sees follows the file.
TEST(SideSettings, ReadOnceAndChangedThroughOnePlace) {
    TestEnv env;
    std::filesystem::create_directories(env.DataFolder());
    const std::string path = env.DataFolder() + CSideConfig::kFileName;
    std::ofstream(path) << "backup_keep=3\n";
    CSideSettingsStore store;
    EXPECT_EQ(store.Get().backupKeep, 3);
    std::ofstream(path) << "backup_keep=3\nsync_folder=/by/hand\n";
    EXPECT_EQ(store.Get().syncFolder, "") << "looked at again, the file is not read again";
    EXPECT_EQ(store.Reads(), 1);

    ASSERT_TRUE(store.Change([](CSideSettings& s) { s.backupKeep = 9; }));
    EXPECT_EQ(store.Get().backupKeep, 9);
    EXPECT_EQ(store.Get().syncFolder, "/by/hand");
    CSideConfig file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.Get(CSideConfig::kSyncFolder, ""), "/by/hand");

    // A file that cannot be read is not written over, and the copy stays as it was.
    std::filesystem::remove(path);
    std::filesystem::create_symlink(CSideConfig::kFileName, path);
    std::string reason;
    EXPECT_FALSE(store.Change([](CSideSettings& s) { s.backupKeep = 2; }, &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(store.Get().backupKeep, 9);
}
