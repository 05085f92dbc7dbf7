#include "core/net/OpenMeteo.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
CWeather Place(const std::string& city, const std::string& country, const std::string& zip = "") {
    CWeather w;
    w.m_city = city;
    w.m_country = country;
    w.m_zipCode = zip;
    return w;
}
} // namespace

TEST(OpenMeteo, GeocodingSearchesTheZipOrTheCityAndPicksTheCountry) {
    EXPECT_EQ(OpenMeteo::GeocodingPath(Place("Saint-Étienne & Co", "France")),
              "/v1/search?name=Saint-%C3%89tienne%20%26%20Co&count=10&language=en&format=json");
    EXPECT_EQ(OpenMeteo::GeocodingPath(Place("Paris", "", " 02134 ")),
              "/v1/search?name=02134&count=10&language=en&format=json");
    EXPECT_EQ(OpenMeteo::GeocodingPath(Place("  ", "France")), "");

    const std::string reply = ReadFile(JOTTERLY_TEST_DATA "/net/geocoding-paris.json");
    auto france = OpenMeteo::ParseGeocoding(reply, Place("Paris", "france"));
    ASSERT_TRUE(france);
    EXPECT_EQ(france->name, "Paris, Île-de-France, France");
    EXPECT_DOUBLE_EQ(france->latitude, 48.85341);
    EXPECT_FALSE(OpenMeteo::ParseGeocoding(reply, Place("Paris", "Canada")));
    EXPECT_FALSE(OpenMeteo::ParseGeocoding(R"({"generationtime_ms":0.2})", Place("Xq", "")));
    EXPECT_FALSE(
        OpenMeteo::ParseGeocoding(R"({"results":[{"name":"P","latitude":"4"}]})", Place("P", "")));

    // Places as people type them; of several that match, the most populous.
    struct Typed {
        const char *country, *region, *expected; // null: none found
    };
    const std::vector<Typed> typed = {
        {"", "", "Paris, Île-de-France, France"},
        {"FRA", "", "Paris, Île-de-France, France"},
        {"fr", "ILE-DE-FRANCE", "Paris, Île-de-France, France"},
        {"France", "Paris", "Paris, Île-de-France, France"}, // the second level area
        {"US", "", "Paris, Texas, United States"},
        {"usa", "tx", "Paris, Texas, United States"},
        {"United States", "TN", "Paris, Tennessee, United States"},
        {"USA", "tennessee", "Paris, Tennessee, United States"},
        {"US", "Ohio", nullptr},
        {"USB", "", nullptr},
    };
    for (const auto& [country, region, expected] : typed) {
        CWeather w = Place("Paris", country);
        w.m_state = region;
        const auto found = OpenMeteo::ParseGeocoding(reply, w);
        EXPECT_EQ(found ? found->name : "none", expected ? expected : "none")
            << country << " / " << region;
    }

    EXPECT_EQ(OpenMeteo::ForecastPath(*france, 0),
              "/v1/forecast?latitude=48.8534&longitude=2.3488&daily=weather_code,"
              "temperature_2m_max,temperature_2m_min&temperature_unit=celsius&timezone=auto&"
              "forecast_days=5");
}

TEST(OpenMeteo, ForecastGivesFiveDaysOfTheSameRecord) {
    CWeather w;
    w.m_fahrenheit = 0; // as the forecast was asked for
    ASSERT_TRUE(
        OpenMeteo::ParseForecast(ReadFile(JOTTERLY_TEST_DATA "/net/forecast-paris.json"), w));
    EXPECT_EQ(w.FormatDay(0), "Monday, Cloudy,  17 - 10 °C");
    EXPECT_EQ(w.FormatDay(1), "Tuesday, Light rain,  16 - 10 °C");
    EXPECT_EQ(w.FormatDay(2), "Wednesday, Clear,  21 - 7 °C");
    EXPECT_EQ(w.FormatDay(3), "Thursday, Thunderstorms,  20 - 12 °C");
    EXPECT_EQ(w.FormatDay(4), "Friday, Fog,  12 - -1 °C");
    EXPECT_EQ((std::vector<int>(w.m_icon, w.m_icon + 5)),
              (std::vector<int>{245, 246, 243, 247, 248}));
}

TEST(OpenMeteo, EveryWeatherCodeGivesOneOfTheSixIcons) {
    for (int code = 0; code <= 99; ++code) {
        CWeather w;
        const std::string reply =
            R"({"daily":{"time":["2024-05-06","2024-05-07","2024-05-08","2024-05-09","2024-05-10"],
            "weathercode":[)" +
            std::string(4, ' ') + std::to_string(code) + ",0,0,0,0]," +
            R"("temperature_2m_max":[1,2,3,4,5],"temperature_2m_min":[0,0,0,0,0]}})";
        ASSERT_TRUE(OpenMeteo::ParseForecast(reply, w)) << code;
        EXPECT_GE(w.m_icon[0], 243) << code;
        EXPECT_LE(w.m_icon[0], 248) << code;
        EXPECT_FALSE(w.m_condition[0].empty()) << code;
        if (code == 56 || code == 57 || code == 66) {
            EXPECT_EQ(w.m_condition[0], "Light freezing rain") << code;
            EXPECT_EQ(w.m_icon[0], 246) << code;
        }
    }
}

TEST(OpenMeteo, BrokenForecastsFailAndKeepTheReport) {
    CWeather w;
    w.m_dayName[0] = "kept";
    const std::string good = ReadFile(JOTTERLY_TEST_DATA "/net/forecast-paris.json");
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    for (const std::string& bad :
         {std::string("{"), std::string("[]"), std::string("null"), good.substr(0, 300),
          edited("[3, 61, 0, 95, 45]", "[3, 61, 0, 95]"), edited("17.4", "null"),
          edited("17.4", "1e300"), edited("\"2024-05-06\"", "\"May 6\""),
          edited("\"2024-05-06\"", "\"2024-02-30\""), edited("[3, 61", "[300, 61"),
          edited("\"daily\":", "\"hourly\":")}) {
        EXPECT_FALSE(OpenMeteo::ParseForecast(bad, w)) << bad;
        EXPECT_EQ(w.m_dayName[0], "kept");
    }
}
