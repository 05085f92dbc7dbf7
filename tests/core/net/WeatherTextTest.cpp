#include "core/model/CWeather.h"
#include "core/net/HtmlToText.h"
#include "core/net/WeatherConditions.h"
#include "core/net/WeatherPage.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// The tag loop done literally: none when it would never end (a ">" before the next "<").
std::optional<std::string> LiteralHtmlToText(std::string text) {
    for (size_t a, b;
         (a = text.find('<')) != std::string::npos && (b = text.find('>')) != std::string::npos;) {
        if (b < a) return std::nullopt;
        text = text.substr(0, a) + text.substr(b + 1);
    }
    for (size_t at; (at = text.find("&nbsp;")) != std::string::npos;)
        text.erase(at, 6);
    std::string pairs;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "\n\n") == 0) {
            pairs += "\r\n";
            i += 2;
        } else {
            pairs += text[i++];
        }
    }
    for (size_t at; (at = pairs.find("\r\n\r\n")) != std::string::npos;)
        pairs.replace(at, 4, "\r\n");
    return pairs;
}

} // namespace

TEST(HtmlToText, MatchesTheLiteralLoopsOnRandomPages) {
    std::mt19937 rng(17);
    const std::string alphabet = "<>ab&nbsp;\r\n\n\n";
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string html(rng() % 24, ' ');
        for (char& c : html)
            c = alphabet[rng() % alphabet.size()];
        if (round % 3 == 0) html += "&nbsp;\n\n\r\n\r\n";
        const auto literal = LiteralHtmlToText(html);
        if (!literal) continue;
        ++compared;
        ASSERT_EQ(HtmlToText(html), *literal) << "input: " << html;
    }
    EXPECT_GT(compared, 5000);
}

TEST(HtmlToText, StrayBracketsEndAndKeepText) {
    // The literal loop never ends on these; a tag runs from "<" to the next ">".
    EXPECT_EQ(HtmlToText("<p>3 > 2<b>!</b>"), "3 > 2!");
    EXPECT_EQ(HtmlToText("a > b < c"), "a > b < c");
    EXPECT_EQ(HtmlToText("x<y"), "x<y");
}

TEST(WeatherConditions, SkyThenPrecipitationChooseTheWordingAndIcon) {
    const struct {
        const char *text, *wording;
        int icon;
    } cases[] = {
        {"Mostly Cloudy", "Cloudy", 245},
        {"Partly cloudy with light rain", "Cloudy Light rain", 246},
        {"Sunny", "Clear", 243},
        {"SUN MIXED WITH CLOUDS", "Partial Cloudy", 244},
        // The first entry in table order wins, even over a longer one further down.
        {"Light snow/sleet mixed with rain or freezing rain", "Freezing rain", 247},
        {"Haze and smoke", "Fog Smoke", 248},
        {"Heavy thunderstorms", "Heavy thunderstorms", 247},
        {"Volcanic ash", "", 99}, // no match keeps the icon
    };
    for (const auto& c : cases) {
        int icon = 99;
        EXPECT_EQ(NormalizeCondition(c.text, icon), c.wording);
        EXPECT_EQ(icon, c.icon) << c.text;
    }
}

TEST(WeatherPage, TemperaturesAndCentigrade) {
    EXPECT_EQ(WeatherPage::ReadTemperature("75 (24)", 1), 75);
    EXPECT_EQ(WeatherPage::ReadTemperature("75 (24)", 0), 23);
    EXPECT_EQ(WeatherPage::ReadTemperature("31 (-1)", 0), 0);
    EXPECT_EQ(WeatherPage::ReadTemperature("  -4 (-20)", 0), -20);
    EXPECT_EQ(WeatherPage::ReadTemperature("64", 1), 0);
    EXPECT_EQ(WeatherPage::ReadTemperature("99999999999999999999 (1)", 1), 999999);
}

TEST(WeatherPage, RequestPaths) {
    const std::string base =
        "/cgi-java/WL_WLServer?templatename=templates%2Findex%2Fwmo.html&mode=E&cityname=";
    EXPECT_EQ(WeatherPage::RequestPath("France", "", "Paris", "02134"),
              base + "&statename=&countryname=&zipcode=02134");
    EXPECT_EQ(WeatherPage::RequestPath("France", "", "Paris", ""),
              base + "Paris&statename=&countryname=France&zipcode=");
    EXPECT_EQ(WeatherPage::RequestPath("USA", "N&Y", "New York", ""),
              base + "New%20York&statename=N%26Y&countryname=USA&zipcode=");
    EXPECT_EQ(WeatherPage::RequestPath("", "", "", "1&x=2"),
              base + "&statename=&countryname=&zipcode=1%26x%3D2");
}

TEST(WeatherPage, TokensAreLinesCutAtControlAndHighBytes) {
    const std::string text = "\r\n\x01Mon\xE9"
                             "day\r\n\x1E"
                             " rest";
    size_t pos = 0;
    EXPECT_EQ(WeatherPage::ReadToken(text, pos), "Mon");
    EXPECT_EQ(WeatherPage::ReadToken(text, pos), "day");
    // Byte 30 is neither skipped nor taken: every further token is empty, and none reads past
    // the end.
    EXPECT_EQ(WeatherPage::ReadToken(text, pos), "");
    EXPECT_EQ(WeatherPage::ReadToken(text, pos), "");
    size_t end = 3;
    EXPECT_EQ(WeatherPage::ReadToken("\r\n\r", end), "");
    EXPECT_EQ(end, 3u);
}

TEST(WeatherPage, ParsesTheClassicPageInEitherUnit) {
    const std::string text = HtmlToText(ReadFile(JOTTERLY_TEST_DATA "/net/classic-page.html"));
    CWeather w;
    ASSERT_TRUE(WeatherPage::Parse(text, w));
    EXPECT_EQ(w.m_place, "Springfield, IL");
    EXPECT_EQ(w.FormatDay(0), "Monday, Cloudy,  75 - 31 °F");
    EXPECT_EQ(w.FormatDay(1), "Tuesday, Cloudy Light rain,  68 - 50 °F");
    EXPECT_EQ(w.FormatDay(2), "Wednesday, Clear,  80 - -4 °F");
    EXPECT_EQ(w.FormatDay(3), "Thursday, Heavy thunderstorms,  71 - 55 °F");
    EXPECT_EQ(w.FormatDay(4), "Friday, Fog,  0 - 40 °F");
    EXPECT_EQ((std::vector<int>(w.m_icon, w.m_icon + 5)),
              (std::vector<int>{245, 246, 243, 247, 248}));
    CWeather c;
    c.m_fahrenheit = 0;
    ASSERT_TRUE(WeatherPage::Parse(text, c));
    EXPECT_EQ(c.FormatDay(0), "Monday, Cloudy,  23 - 0 °C");
    EXPECT_EQ(c.m_low[2], -20);
}

TEST(WeatherPage, AMissingMarkerOrDayFailsAndKeepsTheReport) {
    CWeather w;
    w.m_place = "kept";
    w.m_dayName[0] = "Sunday";
    const std::string good = "X 24-hour forecast\r\nExtended forecast hi/lo\r\nMon\r\nSunny\r\n1 "
                             "(0)\r\n2 (0)\r\n";
    for (const std::string& bad :
         {std::string(), good.substr(0, good.find("hi/lo")), good.substr(good.find("Extended")),
          std::string("24-hour forecast Extended forecast lo")}) {
        EXPECT_FALSE(WeatherPage::Parse(bad, w)) << bad;
        EXPECT_EQ(w.m_place, "kept");
        EXPECT_EQ(w.m_dayName[0], "Sunday");
    }
    ASSERT_TRUE(WeatherPage::Parse(good, w));
    EXPECT_EQ(w.m_place, "X");
    EXPECT_EQ(w.m_dayName[1], "") << "a short page leaves the later days empty";
}
