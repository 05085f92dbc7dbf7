// The client against broken and hostile servers, each a scripted server on 127.0.0.1.
#include "core/model/CMailAccount.h"
#include "core/net/CPop3Client.h"
#include "core/net/CountPop3Messages.h"
#include "core/net/SocketErrors.h"
#include "support/ScriptedPop3Server.h"
#include "support/TimeScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <list>

namespace {
using Strings = std::vector<std::string>;
using Replies = ScriptedPop3Server::Replies;
using Clock = std::chrono::steady_clock;
const char* kGreeting = "+OK ready\r\n";

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

CMailAccount Account() {
    CMailAccount account;
    account.m_server = "127.0.0.1", account.m_userName = "alice", account.m_password = "secret";
    return account;
}

// One mail check against a scripted server: its result, last error and reply, what the
// server was sent, and the time taken. A header that cannot be had leaves four empty strings.
struct Hostile {
    const char* name;
    std::string greeting;
    Replies replies;
    int result, error;
    std::string lastResponse;
    Strings commands;
    long long minMs, maxMs;
    int paceMs;
    std::uint32_t timeoutMs, replyLimitMs;
};
// The columns of the table below.
Hostile Case(const char* name, std::string greeting, Replies replies, int result, int error,
             std::string last, Strings commands, long long minMs = 0, long long maxMs = 1000,
             int paceMs = 0, std::uint32_t timeoutMs = 6000, std::uint32_t replyLimitMs = 60000) {
    return {name,     greeting, replies, result, error,     last,
            commands, minMs,    maxMs,   paceMs, timeoutMs, replyLimitMs};
}
const Strings kToStat{"CAPA", "USER alice", "PASS secret", "NOOP", "STAT"};
const Strings kToTop{"CAPA", "USER alice", "PASS secret", "NOOP",
                     "STAT", "STAT",       "LIST",        "TOP 1 0"};
const std::string kList = "+OK\r\n1 40\r\n2 40\r\n3 40\r\n.\r\n";

Strings Then(Strings commands, const Strings& more) {
    commands.insert(commands.end(), more.begin(), more.end());
    return commands;
}

void PrintTo(const Hostile& h, std::ostream* os) {
    *os << h.name;
}

class Pop3HostileServer : public testing::TestWithParam<Hostile> {};
} // namespace

TEST_P(Pop3HostileServer, MailCheckFailsSafelyAndInTime) {
    const Hostile& h = GetParam();
    ScriptedPop3Server server(h.greeting, h.replies, h.paceMs);
    CPop3Client client;
    client.m_timeoutMs = h.timeoutMs;
    client.m_replyLimitMs = h.replyLimitMs;
    CMailAccount account = Account();
    CBlockingSocket::SetLastError(SocketError::kNone);
    const auto start = Clock::now();
    EXPECT_EQ(CountPop3Messages(client, account, server.Port()), h.result);
    const long long elapsed = MsSince(start);
    EXPECT_EQ(CBlockingSocket::GetLastError(), h.error);
    EXPECT_TRUE(client.m_lastResponse == h.lastResponse) << client.m_lastResponse.substr(0, 80);
    EXPECT_EQ(account.m_messages, Strings(4 * std::max(h.result, 0)));
    EXPECT_GE(elapsed, h.minMs);
    EXPECT_LT(elapsed, ScaledMs(h.maxMs));
    EXPECT_EQ(server.Commands(), h.commands);
}

using namespace SocketError;
INSTANTIATE_TEST_SUITE_P(
    , Pop3HostileServer,
    testing::Values(
        // Nothing for 6000 ms: given up. The reply may still come, so not even QUIT is sent.
        Case("Silent", "", {}, -1, kTimedOut, "", {}, 6000, 6800),
        // A byte every 2 s keeps the inactivity time-out away; the whole-reply limit does not.
        Case("Trickle", "+OK slowly\r\n", {}, -1, kTimedOut, "+O", {}, 2500, 3500, 2000, 6000,
             2500),
        // 10 MB without a line end: nothing is read past the reply's buffer.
        Case("Garbage", std::string(10'000'000, 'x'), {}, -1, kTimedOut,
             std::string(CPop3Client::kLineReplyCapacity, 'x'), {}, 0, 3000, 0, 300),
        Case("ClosesMidReply", kGreeting, {{"STAT", "+OK 3 6"}}, -1, kPeerClosed, "+OK 3 6",
             kToStat),
        // "+ok" does for every reply but STAT's.
        Case("LowerCaseOk", "+ok hello\r\n", {{"STAT", "+ok 1 100\r\n"}}, -1, kNegativeReply,
             "+ok 1 100", Then(kToStat, {"QUIT"})),
        // Refused at 1 MiB at once, not after a time-out; then nothing more is sent.
        Case("HugeHeader", kGreeting,
             {{"STAT", "+OK 1 5000000\r\n"},
              {"LIST", "+OK\r\n1 5000000\r\n.\r\n"},
              {"TOP", "+OK\r\n" + std::string(10'000'000, 'h')}},
             1, kNegativeReply, "+OK\r\n" + std::string(CPop3Client::kMaxHeaderReply - 5, 'h'),
             kToTop, 0, 1000, 0, 300),
        // A refusal is one line, even to TOP; three failures in all, then no more asking.
        Case("TopRefused", kGreeting,
             {{"STAT", "+OK 3 120\r\n"}, {"LIST", kList}, {"TOP", "-ERR no\r\n"}}, 3,
             kNegativeReply, "-ERR no", Then(kToTop, {"TOP 1 0", "TOP 1 0", "QUIT"})),
        // A byte every millisecond: waiting for readability in slices of up to 100 ms takes each
        // of the ten replies as it completes; sleeping 100 ms between looks would take a second.
        Case("ByteByByte", kGreeting,
             {{"STAT", "+OK 3 120\r\n"}, {"LIST", kList}, {"TOP", "+OK\r\nX: y\r\n\r\n.\r\n"}}, 3,
             kNone, "", Then(kToTop, {"TOP 2 0", "TOP 3 0", "QUIT"}), 0, 800, 1)),
    [](const auto& info) { return info.param.name; });

TEST(Pop3HostileServers, LineBreakInTheUserNameIsNotSent) {
    ScriptedPop3Server server(kGreeting, {});
    CPop3Client client;
    EXPECT_FALSE(client.Connect("127.0.0.1", "alice\r\nDELE 1", "secret", server.Port()));
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kInvalidArgument);
    EXPECT_EQ(server.Commands(), (Strings{"CAPA", "QUIT"}));
}

TEST(Pop3HostileServers, ReplyAfterTheTimeOutIsNeverTakenForTheNextOne) {
    // The first header comes late; were TOP asked again, each message would get the header
    // meant for the one before it.
    const auto header = [](const std::string& n) {
        return "+OK\r\nFrom: sender" + n + "\r\nSubject: subject" + n + "\r\n\r\n.\r\n";
    };
    ScriptedPop3Server server(kGreeting,
                              {{"STAT", "+OK 3 120\r\n"},
                               {"LIST", kList},
                               {"TOP 1 0", header("1")},
                               {"TOP 2 0", header("2")},
                               {"TOP 3 0", header("3")}},
                              0, "TOP 1 0", 600);
    CPop3Client client;
    client.m_timeoutMs = 300;
    CMailAccount account = Account();
    EXPECT_EQ(CountPop3Messages(client, account, server.Port()), 3);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTimedOut);
    EXPECT_TRUE(client.IsBroken());
    ASSERT_EQ(account.m_messages.size(), 12u);
    for (std::size_t m = 0; m < 3; ++m) {
        const std::string own = std::to_string(m + 1);
        for (std::size_t f = 0; f < 2; ++f) {
            const std::string& field = account.m_messages[4 * m + f];
            EXPECT_TRUE(field.empty() || field.ends_with(own))
                << "message " << own << ": " << field;
        }
    }
    EXPECT_EQ(server.Commands(), kToTop);
}

TEST(Pop3HostileServers, LongListingShorterThanTheCount) {
    // Ten-digit sizes make lines of up to 17 bytes; the count names two more messages.
    std::string list = "+OK\r\n";
    for (int i = 1; i <= 1000; ++i)
        list += std::to_string(i) + " 1234567890\r\n";
    ScriptedPop3Server server(kGreeting, {{"STAT", "+OK 1002 9\r\n"},
                                          {"LIST", list + ".\r\n"},
                                          {"TOP", "+OK\r\nFrom: x\r\n\r\n.\r\n"}});
    CMailAccount account = Account();
    EXPECT_EQ(CountPop3Messages(account, {.port = server.Port(), .maxListed = 2000}), 1002);
    ASSERT_EQ(account.m_messages.size(), 4008u);
    EXPECT_EQ(account.m_messages[4 * 999], " x");
    EXPECT_EQ(account.m_messages[4 * 1000], "");
    const Strings commands = server.Commands();
    EXPECT_EQ(Strings(commands.end() - 2, commands.end()), (Strings{"TOP 1000 0", "QUIT"}));
}

TEST(Pop3HostileServers, ConnectFailuresAreQuickAndTold) {
    CMailAccount account = Account();
    account.m_server = std::string(70, 'a') + ".invalid"; // too long a label to be asked about
    EXPECT_EQ(CountPop3Messages(account), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kInvalidArgument);

    // Once its queue is full, a listener leaves further connection requests unanswered.
    ScriptedPop3Server busy("", {});
    std::list<CBlockingSocket> queued;
    bool hung = false;
    long long ms = 0;
    for (int i = 0; i < 8 && !hung; ++i) {
        CBlockingSocket& socket = queued.emplace_back();
        ASSERT_TRUE(socket.Create());
        socket.m_connectTimeoutMs = 300;
        const auto start = Clock::now();
        hung = !socket.Connect("127.0.0.1", busy.Port());
        ms = MsSince(start);
    }
    ASSERT_TRUE(hung) << "the listener accepted every connection request";
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTimedOut);
    EXPECT_GE(ms, 300);
    EXPECT_LT(ms, ScaledMs(1500));
}

TEST(Pop3HostileServers, HugeFieldsAndMailboxesAreBounded) {
    // Two thousand million messages: only the newest are asked for, one LIST n each.
    ScriptedPop3Server huge(kGreeting, {{"STAT", "+OK 2000000000 1\r\n"},
                                        {"LIST", "+OK 7 40\r\n"},
                                        {"TOP", "+OK\r\nFrom: x\r\n\r\n.\r\n"}});
    CMailAccount account = Account();
    CPop3Client client;
    EXPECT_EQ(CountPop3Messages(client, account, huge.Port(), 2), 2000000000);
    EXPECT_EQ(account.m_messages, (Strings{" x", "", "", "", " x", "", "", ""}));
    EXPECT_EQ(huge.Commands(), Then(kToStat, {"STAT", "LIST 1999999999", "TOP 1999999999 0",
                                              "LIST 2000000000", "TOP 2000000000 0", "QUIT"}));

    // A megabyte of subject keeps 1,000 characters; a NUL cannot hide the rest of a sender.
    const std::string header = "From: Eve" + std::string(1, '\0') + "<eve@evil.example>\r\n" +
                               "Subject: " + std::string(1'000'000, 's') + "\r\n\r\n.\r\n";
    ScriptedPop3Server big(kGreeting, {{"STAT", "+OK 1 2000000\r\n"},
                                       {"LIST", "+OK\r\n1 2000000\r\n.\r\n"},
                                       {"TOP", "+OK\r\n" + header}});
    account.m_messages.clear();
    EXPECT_EQ(CountPop3Messages(account, {.port = big.Port()}), 1);
    ASSERT_EQ(account.m_messages.size(), 4u);
    EXPECT_EQ(account.m_messages[0], " Eve\u2026");
    EXPECT_EQ(account.m_messages[1], " " + std::string(999, 's') + "\u2026");
}

TEST(Pop3HostileServers, RequiredStartTlsNeverSendsThePasswordInClear) {
    const struct {
        const char* server;
        const char* capa; // the answer to CAPA, STLS struck out on the way
        int result;
        bool sentInClear;
        Strings commands;
    } cases[] = {
        {"pop3+starttls://127.0.0.1", "+OK\r\nUSER\r\nTOP\r\n.\r\n", -1, false, {"CAPA", "QUIT"}},
        {"pop3+starttls://127.0.0.1", "-ERR what\r\n", -1, false, {"CAPA", "QUIT"}},
        // An account from before the choice logs in as it did, and that is told.
        {"127.0.0.1", "+OK\r\nUSER\r\n.\r\n", 0, true, Then(kToStat, {"QUIT"})},
        // "None": not even asked.
        {"pop3+plain://127.0.0.1",
         "-ERR\r\n",
         0,
         true,
         {"USER alice", "PASS secret", "NOOP", "STAT", "QUIT"}},
    };
    for (const auto& c : cases) {
        ScriptedPop3Server server(kGreeting, {{"CAPA", c.capa}, {"STAT", "+OK 0 0\r\n"}});
        CMailAccount account = Account();
        account.m_server = c.server;
        CPop3Client client;
        EXPECT_EQ(CountPop3Messages(client, account, server.Port()), c.result) << c.server;
        EXPECT_EQ(client.m_sentInClear, c.sentInClear) << c.server;
        if (c.result < 0) {
            EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTlsFailed);
            EXPECT_EQ(client.m_lastResponse, "the server offers no secure connection (STARTTLS), "
                                             "so the password was not sent");
        }
        EXPECT_EQ(server.Commands(), c.commands) << c.server;
    }
}
