// The SNTP clock source against a real NTP server (chrony serving its own clock, moved by a
// known offset) and against a scripted server that sends replies no client may trust.
#include "core/net/CClockSync.h"
#include "core/net/CSntpClient.h"
#include "core/net/SntpPacket.h"
#include "support/UdpServers.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<unsigned char>;

std::uint64_t WallClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return SntpPacket::FromUnix(now.tv_sec, now.tv_nsec);
}

void Put(Bytes& packet, size_t at, std::uint64_t timestamp) {
    for (int i = 0; i < 8; ++i)
        packet[at + i] = static_cast<unsigned char>(timestamp >> (56 - 8 * i));
}

// A correct server reply to request whose clock is offsetSeconds ahead; edit then spoils it.
Bytes Reply(const Bytes& request, double offsetSeconds, const std::function<void(Bytes&)>& edit) {
    Bytes r(48, 0);
    r[0] = (0 << 6) | (4 << 3) | 4; // no warning, version 4, server
    r[1] = 2;                       // stratum
    const std::uint64_t now = WallClock() + static_cast<std::int64_t>(offsetSeconds * 4294967296.0);
    std::copy(request.begin() + 40, request.begin() + 48, r.begin() + 24); // origin = our send
    Put(r, 32, now);
    Put(r, 40, now);
    if (edit) edit(r);
    return r;
}

std::string Server(unsigned short port) {
    return "127.0.0.1:" + std::to_string(port);
}

} // namespace

TEST(Sntp, ChronyServingAClockTwoMinutesAheadIsMeasuredWithin50Ms) {
    ChronyServer chrony(120);
    ASSERT_TRUE(chrony.Running()) << "chronyd did not answer on 127.0.0.1";
    CSntpClient client;
    SntpPacket::Sample sample;
    ASSERT_TRUE(client.Measure(Server(chrony.Port()), sample)) << client.LastError();
    EXPECT_NEAR(sample.offsetSeconds, 120.0, 0.05);
    EXPECT_EQ(sample.stratum, 8) << "chrony's local stratum";

    // The whole synchronisation moves the clock by that much (a recording setter).
    NetEndpoints endpoints;
    endpoints.timeServer = Server(chrony.Port());
    double moved = 0;
    const auto result = CClockSync(endpoints, [&](double s) { return moved = s, true; }).Run();
    ASSERT_TRUE(result.set) << result.error;
    EXPECT_NEAR(moved, 120.0, 0.05);
    EXPECT_EQ(result.logLine.rfind("Change Local Time From ", 0), 0u) << result.logLine;
    // A clock that could not be set is no synchronisation: nothing is logged.
    const auto refused = CClockSync(endpoints, [](double) { return false; }).Run();
    EXPECT_TRUE(refused.measured);
    EXPECT_FALSE(refused.set);
    EXPECT_TRUE(refused.logLine.empty());
    EXPECT_EQ(refused.error, "the clock could not be set");
    EXPECT_EQ(CClockSync::OffsetText(result.offsetSeconds),
              "This computer's clock is 2 min 0 s slow.");
}

TEST(Sntp, RepliesThatMustNotBeTrustedAreRefusedWithTheReason) {
    struct Case {
        const char* name;
        std::function<void(Bytes&)> edit;
        const char* error; // a part of the reason
    };
    const std::vector<Case> cases = {
        {"good", nullptr, nullptr},
        {"client mode", [](Bytes& r) { r[0] = (4 << 3) | 3; }, "not a server's answer"},
        {"zero transmit time", [](Bytes& r) { std::fill(r.begin() + 40, r.end(), 0); }, "no time"},
        {"kiss-of-death",
         [](Bytes& r) {
             r[1] = 0;
             std::copy_n("RATE", 4, r.begin() + 12);
         },
         "refused the request (RATE)"},
        {"unsynchronised", [](Bytes& r) { r[0] |= 3 << 6; }, "not synchronised"},
        {"not our request", [](Bytes& r) { r[31] ^= 1; }, "not for our request"},
        {"stratum 16", [](Bytes& r) { r[1] = 16; }, "invalid stratum"},
        {"short", [](Bytes& r) { r.resize(47); }, "too short"},
        {"sent before it was received", [](Bytes& r) { Put(r, 32, WallClock() + (5ULL << 32)); },
         "impossible"},
    };
    for (const Case& c : cases) {
        ScriptedUdpServer server([&](const Bytes& request) {
            return request.size() == 48 ? Reply(request, -3.5, c.edit) : Bytes();
        });
        CSntpClient client;
        SntpPacket::Sample sample;
        const bool ok = client.Measure(Server(server.Port()), sample);
        if (!c.error) {
            EXPECT_TRUE(ok) << client.LastError();
            EXPECT_NEAR(sample.offsetSeconds, -3.5, 0.05);
            EXPECT_EQ(CClockSync::OffsetText(sample.offsetSeconds),
                      "This computer's clock is 3.5 s fast.");
            continue;
        }
        EXPECT_FALSE(ok) << c.name;
        EXPECT_NE(client.LastError().find(c.error), std::string::npos)
            << c.name << ": " << client.LastError();
    }
}

TEST(Sntp, ASilentServerTimesOutAndAStopEndsTheWaitAtOnce) {
    ScriptedUdpServer silent([](const Bytes&) { return Bytes(); });
    CSntpClient client;
    client.SetTimeoutMs(400);
    SntpPacket::Sample sample;
    EXPECT_FALSE(client.Measure(Server(silent.Port()), sample));
    EXPECT_EQ(client.LastError(), "the time server did not answer in time");
    EXPECT_FALSE(client.Measure("127.0.0.1:99999", sample));
    EXPECT_NE(client.LastError().find("no valid port"), std::string::npos);

    std::atomic<bool> stop{true};
    client.SetTimeoutMs(60000);
    client.SetStopFlag(&stop);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client.Measure(Server(silent.Port()), sample));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(client.LastError(), "the request was stopped");
}
