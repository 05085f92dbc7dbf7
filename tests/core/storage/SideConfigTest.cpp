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
