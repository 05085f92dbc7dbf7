#include "core/app/TrayIds.h"
#include "core/platform/ProgramFolder.h"
#include "gui/app/CTrayWnd.h"
#include "gui/platform/QtDialogs.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestEnv.h"
#include "support/TestFiles.h"
#include "support/UdpServers.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace TrayId;

namespace {

const std::string kData = JOTTERLY_TEST_DATA "/net/";

class NetServicesTest : public ::testing::Test {
protected:
    NetServicesTest() : tray(QStringLiteral("jotterly-gui-net-%1-%2").arg(getpid()).arg(++s_n)) {
        EXPECT_TRUE(tray.Create("nologo"));
        QtDialogs::s_shownBoxes.clear();
        QtDialogs::s_nextAnswers.assign(4, IDialogs::AnswerOk);
        CSettings& s = tray.settings();
        s.m_weatherEnabled = 1;
        s.m_weather.m_city = "Paris";
        s.m_weather.m_country = "France";
        s.m_weather.m_place = "Paris , France";
        s.m_weather.m_fahrenheit = 0;
    }
    ~NetServicesTest() override { QtDialogs::s_nextAnswers.clear(); }
    // A geocoding and a forecast service that know Paris.
    static std::vector<std::string> ParisRoutes() {
        return {"/v1/search=" + kData + "geocoding-paris.json",
                "/v1/forecast=" + kData + "forecast-paris.json"};
    }
    void PointAt(const LoopbackHttpServer& server) {
        NetEndpoints e;
        e.classicWeatherServer = e.geocodingServer = e.forecastServer = server.BaseUrl();
        tray.WeatherService().SetEndpoints(e);
    }

    static inline int s_n = 0;
    TestEnv env;
    CTrayWnd tray;
};

} // namespace

TEST_F(NetServicesTest, AHangingFetchFailsOnceWithARetry) {
    LoopbackHttpServer server({"/v1/search=@slow"});
    ASSERT_TRUE(server.Running());
    PointAt(server);
    tray.WeatherService().SetTimeoutMs(3000);
    QSignalSpy done(&tray.WeatherService(), &CWeatherService::finished);
    tray.OnCommand(CmdWeatherPlace); // the place line of the weather submenu
    EXPECT_TRUE(tray.WeatherService().FetchRunning());
    tray.CheckWeather(); // a second request while one runs is dropped

    ASSERT_TRUE(done.wait(10000));
    EXPECT_FALSE(done.at(0).at(0).toBool());
    // Asked for from the menu: the box says the service could not be reached, and why.
    ASSERT_EQ(QtDialogs::s_shownBoxes.size(), 1u);
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].first.rfind("Cannot reach the weather service (", 0), 0u)
        << QtDialogs::s_shownBoxes[0].first;
    EXPECT_EQ(QtDialogs::s_shownBoxes[0].second, "Weather Report Not Updated");
    EXPECT_EQ(tray.countdowns().weather, CWeatherService::kRetryMs);
    EXPECT_FALSE(tray.WeatherService().FetchRunning());
    EXPECT_TRUE(tray.settings().m_weather.m_dayName[0].empty());
}

// An automatic fetch never raises a box: the menu's weather lines say what happened.
TEST_F(NetServicesTest, AnAutomaticFailureIsShownInTheMenuOnly) {
    const std::string nothing = env.Dir() + "/nothing.json";
    std::ofstream(nothing) << R"({"generationtime_ms":0.4})";
    LoopbackHttpServer server({"/v1/search=" + nothing});
    ASSERT_TRUE(server.Running());
    PointAt(server);
    QSignalSpy done(&tray.WeatherService(), &CWeatherService::finished);
    tray.CheckWeather();
    ASSERT_TRUE(done.wait(10000));
    EXPECT_TRUE(QtDialogs::s_shownBoxes.empty());
    // The menu builds its weather failure line from this text.
    EXPECT_EQ(tray.WeatherFailure(), "The weather service does not know the place \"Paris\". "
                                     "Check the place in the options.");
}

// The options changed the place while a fetch for the old one ran: the new place is asked for
// within seconds, not two hours later.
TEST_F(NetServicesTest, ANewPlaceGetsItsReportSoonEvenWhenAFetchWasRunning) {
    LoopbackHttpServer server(ParisRoutes());
    ASSERT_TRUE(server.Running());
    PointAt(server);
    QSignalSpy done(&tray.WeatherService(), &CWeatherService::finished);
    tray.CheckWeather();
    tray.settings().m_weather.m_city = "Lyon"; // before the answer is taken back
    ASSERT_TRUE(done.wait(10000));
    EXPECT_LE(tray.countdowns().weather, 60000);
    EXPECT_TRUE(tray.settings().m_weather.m_dayName[0].empty()) << "not Paris's report for Lyon";
}

TEST_F(NetServicesTest, AReportIsKeptForTheWeatherSubmenu) {
    LoopbackHttpServer server(ParisRoutes());
    ASSERT_TRUE(server.Running());
    PointAt(server);
    QSignalSpy done(&tray.WeatherService(), &CWeatherService::finished);
    tray.CheckWeather();
    ASSERT_TRUE(done.wait(10000));
    ASSERT_TRUE(done.at(0).at(0).toBool());
    EXPECT_TRUE(QtDialogs::s_shownBoxes.empty());
    const CWeather& w = tray.settings().m_weather;
    EXPECT_EQ(w.m_place, "Paris, Île-de-France, France");
    EXPECT_EQ(w.FormatDay(1), "Tuesday, Light rain,  16 - 10 °C");
    EXPECT_EQ(tray.countdowns().weather, CWeatherService::kPeriodMs);
}

TEST_F(NetServicesTest, ClockSyncLogsTheChangeOrRetriesAndTellsWhy) {
    ChronyServer server(90); // a time server 90 s ahead of this clock
    ASSERT_TRUE(server.Running());
    NetEndpoints e;
    e.timeServer = "127.0.0.1:" + std::to_string(server.Port());
    tray.ClockSyncService().SetEndpoints(e);
    std::vector<double> moved;
    tray.ClockSyncService().SetSetter([&moved](double s) {
        moved.push_back(s);
        return true;
    });
    tray.settings().m_logEnabled = 1;
    QSignalSpy done(&tray.ClockSyncService(), &CClockSyncService::finished);
    ASSERT_TRUE(tray.ClockSyncService().SyncClock());
    ASSERT_TRUE(done.wait(10000));
    EXPECT_TRUE(done.at(0).at(0).toBool());
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_NEAR(moved[0], 90.0, 0.5);
    const std::string text = ReadFile(ProgramFolder() + "Log.txt");
    EXPECT_NE(text.find("Change Local Time From "), std::string::npos) << text;
    EXPECT_EQ(tray.ClockSyncService().ClockStatus(), "This computer's clock is 1 min 30 s slow.");

    // Refused: retried in five minutes, and the tray tip says so until a sync succeeds.
    tray.ClockSyncService().SetSetter([](double) { return false; });
    tray.countdowns().clockSync = 86400000;
    ASSERT_TRUE(tray.ClockSyncService().SyncClock());
    ASSERT_TRUE(done.wait(10000));
    EXPECT_FALSE(done.at(1).at(0).toBool());
    EXPECT_EQ(tray.countdowns().clockSync, CClockSyncService::kRetryMs);
    ASSERT_NE(tray.TrayIcon(), nullptr);
    EXPECT_TRUE(tray.TrayIcon()->toolTip().contains(
        "The clock was not synchronised: the clock could not be set"))
        << tray.TrayIcon()->toolTip().toStdString();
}

TEST_F(NetServicesTest, ServersNamedInTheSideFileAndClosingDoesNotWaitForThem) {
    LoopbackHttpServer server({"/v1/search=@slow"});
    ASSERT_TRUE(server.Running());
    std::atomic<int> timeRequests{0};
    ScriptedUdpServer silent([&](const std::vector<unsigned char>&) {
        ++timeRequests;
        return std::vector<unsigned char>();
    });
    // Set as the options set them: a running program reads the file only once.
    ASSERT_TRUE(tray.ChangeSide([&](CSideSettings& side) {
        side.geocodingServer = server.BaseUrl();
        side.timeServer = "127.0.0.1:" + std::to_string(silent.Port());
    }));
    auto weather = std::make_unique<CWeatherService>(tray);
    auto clock = std::make_unique<CClockSyncService>(tray);
    clock->SetSetter([](double) { return false; });
    weather->CheckWeather(false);
    clock->SyncClock();
    auto asked = [&](const std::string& path) {
        for (const std::string& r : server.Requests())
            if (r.rfind(path, 0) == 0) return true;
        return false;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked("/v1/search") && timeRequests > 0; }, 5000));
    // Both requests hang with their full time limit; the program closing ends them at once.
    QElapsedTimer closing;
    closing.start();
    weather.reset();
    clock.reset();
    EXPECT_LT(closing.elapsed(), 2500);
}
