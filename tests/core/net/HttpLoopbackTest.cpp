#include "core/net/CNotesInternetSession.h"
#include "core/net/CWeatherFetcher.h"
#include "support/Loopback.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestCertificates.h"
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
    e.classicWeatherServer = e.geocodingServer = e.forecastServer = server.BaseUrl();
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

TEST(HttpLoopback, FailuresLeaveTheReportAsItWasAndSayWhatWentWrong) {
    using Failure = CWeatherFetcher::Failure;
    const std::string broken = WriteTempFile("{\"results\": [");
    const std::string nothing =
        WriteTempFile("{\"generationtime_ms\":0.4}"); // as the service says it
    // A page whose place line is larger than any report: the bytes would live in Note.Dat.
    std::string page = ReadFile(kData + "classic-page.html");
    page.insert(page.find("Springfield"), std::string(8000, 'A'));
    const std::string huge = WriteTempFile(page);
    LoopbackHttpServer server({"/v1/search=" + broken, "/cgi-java/WL_WLServer=" + huge});
    LoopbackHttpServer empty({"/v1/search=" + nothing, "/cgi-java/WL_WLServer=@big:52428800"});
    ASSERT_TRUE(server.Running() && empty.Running());
    CWeather w = Paris();
    w.m_dayName[0] = "kept";
    CWeatherFetcher fetcher(At(server));
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::OpenMeteo)); // malformed JSON
    EXPECT_EQ(fetcher.LastFailure(), Failure::BadReport) << fetcher.LastError();
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::Classic));
    EXPECT_EQ(fetcher.LastFailure(), Failure::BadReport) << fetcher.LastError();
    EXPECT_EQ(fetcher.FailureText(w), "The weather service sent no usable report (the report is "
                                      "larger than 4096 bytes).");
    fetcher = CWeatherFetcher(At(empty));
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::OpenMeteo));
    EXPECT_EQ(fetcher.FailureText(w), "The weather service does not know the place \"Paris\". "
                                      "Check the place in the options.");
    EXPECT_FALSE(fetcher.Fetch(w, WeatherSource::Classic)); // 50 MB
    EXPECT_NE(fetcher.LastError().find("larger"), std::string::npos) << fetcher.LastError();

    NetEndpoints refused;
    refused.classicWeatherServer = refused.geocodingServer =
        "http://127.0.0.1:" + std::to_string(FreeLoopbackPort());
    CWeatherFetcher nobody(refused);
    EXPECT_FALSE(nobody.Fetch(w, WeatherSource::Classic));
    EXPECT_FALSE(nobody.Fetch(w, WeatherSource::OpenMeteo));
    EXPECT_EQ(nobody.FailureText(w).rfind("Cannot reach the weather service (", 0), 0u)
        << nobody.FailureText(w);
    EXPECT_EQ(w.m_dayName[0], "kept");
    EXPECT_EQ(w.m_place, "");
    for (const std::string& f : {broken, nothing, huge})
        std::remove(f.c_str());
}

// A secure request follows a redirect to another secure address, never down to plain HTTP.
TEST(HttpLoopback, HttpsIsNeverRedirectedToPlainHttp) {
    TestCertificates certificates;
    ASSERT_TRUE(certificates.Ok()) << certificates.Error();
    const std::string page = WriteTempFile("secret");
    LoopbackHttpServer plain({"/page=" + page});
    ASSERT_TRUE(plain.Running());
    LoopbackHttpServer secure(
        {"/page=" + page, "/down=@redirect:" + plain.BaseUrl() + "/page", "/same=@redirect:/page"},
        certificates.ServerCert(), certificates.ServerKey());
    ASSERT_TRUE(secure.Running());
    CNotesInternetSession session;
    session.SetCaFile(certificates.CaFile());
    std::string reply;
    ASSERT_TRUE(session.HttpGet(reply, secure.BaseUrl(), "/same")) << session.LastError();
    EXPECT_EQ(reply, "secret");
    reply.clear();
    EXPECT_FALSE(session.HttpGet(reply, secure.BaseUrl(), "/down"));
    EXPECT_EQ(reply, "");
    EXPECT_TRUE(plain.Requests().empty()) << "nothing was asked in clear";
    std::remove(page.c_str());
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
