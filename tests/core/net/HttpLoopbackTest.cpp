#include "net/CClockSync.h"
#include "net/CNotesInternetSession.h"
#include "net/CWeatherFetcher.h"
#include "platform/Clock.h"
#include "support/Loopback.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestFiles.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kData = JOTTERLY_TEST_DATA "/net/";

NetEndpoints At(const LoopbackHttpServer& server) {
    NetEndpoints e;
    e.timeServer = e.classicWeatherServer = e.geocodingServer = e.forecastServer = server.BaseUrl();
    return e;
}

CWeather Paris() {
    CWeather w;
    w.m_city = "Paris";
    w.m_country = "France";
    w.m_fahrenheit = 0;
    return w;
}

} // namespace

TEST(HttpLoopback, SessionSendsTheAgentAndNothingButA200IsTaken) {
    const std::string page = WriteTempFile("hello");
    LoopbackHttpServer server(
        {"/ok=" + page, "/gone=@status:404", "/cgi-java/WL_WLServer=@status:404"});
    ASSERT_TRUE(server.Running());
    CNotesInternetSession session;
    std::string reply = "before";
    ASSERT_TRUE(session.HttpGet(reply, server.BaseUrl(), "/ok?x=1"));
    EXPECT_EQ(reply, "hello");
    reply = "before";
    EXPECT_TRUE(session.HttpGet(reply, server.BaseUrl(), "/gone"));
    EXPECT_EQ(session.LastStatus(), 404);
    EXPECT_EQ(reply, "before") << "a page other than 200 is not taken";
    EXPECT_EQ(server.Requests().at(0), "/ok?x=1\tOvalin");
    std::remove(page.c_str());

    // The weather page fails on it too, and says with which status.
    CWeather w = Paris();
    CWeatherFetcher fetcher(At(server));
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::Classic));
    EXPECT_NE(fetcher.LastError().find("404"), std::string::npos) << fetcher.LastError();
}

TEST(HttpLoopback, ClassicPageAndOpenMeteoRepliesGiveTheReport) {
    LoopbackHttpServer server({"/cgi-java/WL_WLServer=" + kData + "classic-page.html",
                               "/v1/search=" + kData + "geocoding-paris.json",
                               "/v1/forecast=" + kData + "forecast-paris.json"});
    ASSERT_TRUE(server.Running());
    CWeatherFetcher fetcher(At(server));
    CWeather classic = Paris();
    ASSERT_TRUE(fetcher.Fetch(classic, WeatherSource::Classic)) << fetcher.LastError();
    EXPECT_EQ(classic.m_place, "Springfield, IL");
    EXPECT_EQ(classic.FormatDay(0), "Monday, Cloudy,  23 - 0 °C");

    CWeather meteo = Paris();
    ASSERT_TRUE(fetcher.Fetch(meteo, WeatherSource::OpenMeteo)) << fetcher.LastError();
    EXPECT_EQ(meteo.m_place, "Paris, Île-de-France, France");
    EXPECT_EQ(meteo.m_city, "Paris") << "the settings stay as typed";
    EXPECT_EQ(meteo.FormatDay(4), "Friday, Fog,  12 - -1 °C");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].substr(0, 20), "/v1/search?name=Pari");
    EXPECT_NE(requests[2].find("latitude=48.8534&longitude=2.3488"), std::string::npos);
    EXPECT_NE(requests[2].find("temperature_unit=celsius"), std::string::npos);
}

TEST(HttpLoopback, FailuresLeaveTheReportAsItWas) {
    const std::string broken = WriteTempFile("{\"results\": [");
    LoopbackHttpServer server({"/v1/search=" + broken, "/cgi-java/WL_WLServer=@big:52428800",
                               "/v1/forecast=@status:404"});
    ASSERT_TRUE(server.Running());
    CWeather w = Paris();
    w.m_dayName[0] = "kept";
    CWeatherFetcher fetcher(At(server));
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::OpenMeteo)); // malformed JSON
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::Classic)); // 50 MB
    EXPECT_NE(fetcher.LastError().find("larger"), std::string::npos) << fetcher.LastError();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

    NetEndpoints refused;
    refused.classicWeatherServer = refused.geocodingServer =
        "http://127.0.0.1:" + std::to_string(FreeLoopbackPort());
    CWeatherFetcher nobody(refused);
    EXPECT_FALSE(nobody.Fetch(w, WeatherSource::Classic));
    EXPECT_FALSE(nobody.Fetch(w, WeatherSource::OpenMeteo));
    EXPECT_EQ(w.m_dayName[0], "kept");
    EXPECT_EQ(w.m_place, "");
    std::remove(broken.c_str());
}

TEST(HttpLoopback, ASlowServerIsCutAtTheTimeLimit) {
    LoopbackHttpServer server({"/v1/search=@slow"});
    ASSERT_TRUE(server.Running());
    CWeather w = Paris();
    CWeatherFetcher fetcher(At(server));
    fetcher.SetTimeoutMs(800);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::OpenMeteo));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, std::chrono::milliseconds(700));
    EXPECT_LT(took, std::chrono::seconds(5));

    // With the full time limit, a raised stop flag ends the request long before it.
    std::atomic<bool> stop{false};
    fetcher.SetTimeoutMs(15000);
    fetcher.SetStopFlag(&stop);
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop = true;
    });
    const auto again = std::chrono::steady_clock::now();
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::OpenMeteo));
    EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(2500));
    EXPECT_EQ(fetcher.LastError(), "the request was stopped");
    closer.join();
}

TEST(HttpLoopback, ClockSyncSetsTheCorrectedTimeThroughTheSetter) {
    const std::string page =
        WriteTempFile("<html><body>Tue, 07 May 2024 09:01:05 UTC</body></html>");
    const std::string garbled = WriteTempFile("<html>no time here</html>");
    LoopbackHttpServer server({"/cgi-bin/timer.pl=" + page});
    LoopbackHttpServer bad({"/cgi-bin/timer.pl=" + garbled});
    ASSERT_TRUE(server.Running() && bad.Running());
    Clock::SetForTest(COleDateTime(2024, 5, 7, 10, 59, 40));
    std::vector<std::string> set;
    auto recorder = [&set](const COleDateTime& t) {
        set.push_back(t.Format("%Y-%m-%d %H:%M:%S"));
        return true;
    };
    const auto ok = CClockSync(At(server), recorder).Run();
    EXPECT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(ok.logLine, "Change Local Time From Tuesday 2024-05-07 10:59:40  To Tuesday "
                          "2024-05-07 11:01:05 \n");
    EXPECT_FALSE(CClockSync(At(bad), recorder).Run().ok);
    // A clock that could not be set is no synchronisation.
    const auto refused = CClockSync(At(server), [](const COleDateTime&) { return false; }).Run();
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.logLine.empty());
    Clock::ResetForTest();
    EXPECT_EQ(set, std::vector<std::string>{"2024-05-07 11:01:05"});
    std::remove(page.c_str());
    std::remove(garbled.c_str());
}
