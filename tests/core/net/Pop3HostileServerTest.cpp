// The client against broken and hostile servers, each a scripted server on 127.0.0.1.
#include "model/CMailAccount.h"
#include "net/CPop3Client.h"
#include "net/CountPop3Messages.h"
#include "net/SocketErrors.h"
#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <list>
#include <map>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {
using Strings = std::vector<std::string>;
using Replies = std::map<std::string, std::string>;
using Clock = std::chrono::steady_clock;
const char* kGreeting = "+OK ready\r\n";

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A one-connection server on its own thread. It greets, then answers each command with the
// reply keyed by the whole line or else by its first word ("+OK\r\n" if none; CAPA is not
// known); it hangs up on QUIT and after a reply without a line end. With paceMs, each byte is
// followed by a pause, and a client that speaks meanwhile cuts the reply short. The reply to
// lateLine comes lateMs late.
class ScriptedServer {
public:
    ScriptedServer(std::string greeting, Replies replies, int paceMs = 0, std::string lateLine = "",
                   int lateMs = 0)
        : m_greeting(std::move(greeting)), m_replies(std::move(replies)), m_paceMs(paceMs),
          m_lateLine(std::move(lateLine)), m_lateMs(lateMs) {
        m_replies.emplace("CAPA", "-ERR unknown command\r\n");
        m_listen = ListenOnLoopback(m_port, 1);
        m_thread = std::thread([this] { Run(); });
    }
    ~ScriptedServer() {
        shutdown(m_listen, SHUT_RDWR); // ends the wait for a client that never came
        Commands();
        close(m_listen);
        close(m_fd);
    }
    unsigned short Port() const { return m_port; }
    // The lines the client sent, once the session is over.
    Strings Commands() {
        if (m_thread.joinable()) m_thread.join();
        return m_commands;
    }

private:
    void Run() {
        if ((m_fd = accept(m_listen, nullptr, nullptr)) < 0) return;
        const int one = 1;         // every byte leaves at once
        const timeval wait{10, 0}; // a failed test's client may never hang up
        setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        bool open = Say(m_greeting);
        for (std::string line; open && ReadLine(line) && line != "QUIT";) {
            auto reply = m_replies.find(line);
            if (reply == m_replies.end()) reply = m_replies.find(line.substr(0, line.find(' ')));
            const std::string text = reply == m_replies.end() ? "+OK\r\n" : reply->second;
            if (line == m_lateLine)
                std::this_thread::sleep_for(std::chrono::milliseconds(m_lateMs));
            open = Say(text) && text.back() == '\n';
        }
        shutdown(m_fd, SHUT_RDWR);
    }
    bool Say(const std::string& text) {
        for (std::size_t at = 0; at < text.size();) {
            const ssize_t sent =
                send(m_fd, text.data() + at, m_paceMs ? 1 : text.size() - at, MSG_NOSIGNAL);
            if (sent <= 0) return false;
            at += static_cast<std::size_t>(sent);
            pollfd p{m_fd, POLLIN, 0};
            if (m_paceMs && poll(&p, 1, m_paceMs) != 0) break;
        }
        return true;
    }
    bool ReadLine(std::string& line) {
        line.clear();
        for (char c; recv(m_fd, &c, 1, 0) == 1;) {
            if (c == '\n') return m_commands.push_back(line), true;
            if (c != '\r') line += c;
        }
        return false;
    }

    std::string m_greeting;
    Replies m_replies;
    int m_paceMs;
    std::string m_lateLine;
    int m_lateMs, m_listen = -1, m_fd = -1;
    unsigned short m_port = 0;
    Strings m_commands;
    std::thread m_thread;
};

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
    ScriptedServer server(h.greeting, h.replies, h.paceMs);
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
    EXPECT_LT(elapsed, h.maxMs);
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
        Case("AbsurdCount", kGreeting, {{"STAT", "+OK 2000000000 1\r\n"}}, -1, kNegativeReply,
             "+OK 2000000000 1", Then(kToStat, {"QUIT"})),
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
    ScriptedServer server(kGreeting, {});
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
    ScriptedServer server(kGreeting,
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
    ScriptedServer server(kGreeting, {{"STAT", "+OK 1002 9\r\n"},
                                      {"LIST", list + ".\r\n"},
                                      {"TOP", "+OK\r\nFrom: x\r\n\r\n.\r\n"}});
    CMailAccount account = Account();
    EXPECT_EQ(CountPop3Messages(account, {.port = server.Port()}), 1002);
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

    account.m_server = "127.0.0.1";
    EXPECT_EQ(CountPop3Messages(account, {.port = FreeLoopbackPort()}), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kConnectionRefused);

    // Once its queue is full, a listener leaves further connection requests unanswered.
    ScriptedServer busy("", {});
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
    EXPECT_LT(ms, 1500);
}
