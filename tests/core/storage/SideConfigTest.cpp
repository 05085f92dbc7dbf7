#include "storage/CSideConfig.h"
#include "support/TestEnv.h"

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
    std::ifstream in(path);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(text, "# my servers\ntime_server = 10.0.0.1\n\n; odd line\nbackup_keep=3 # three\n"
                    "weather_source=open-meteo\ndesktop_notifications=0\n");
}
