// The client against broken and hostile servers, each a scripted server on 127.0.0.1.
#include "ScriptedServer.h"

#include "net/CMailAccount.h"
#include "net/CPop3Client.h"
#include "net/CountPop3Messages.h"
#include "net/SocketErrors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

const char* kGreeting = "+OK ready\r\n";

// The usual replies of a mailbox holding messages of the given sizes.
std::vector<std::pair<std::string, std::string>> Mailbox(const std::vector<long long>& sizes) {
    long long total = 0;
    std::string list = "+OK\r\n";
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        total += sizes[i];
        list += std::to_string(i + 1) + " " + std::to_string(sizes[i]) + "\r\n";
    }
    return {{"STAT", "+OK " + std::to_string(sizes.size()) + " " + std::to_string(total) + "\r\n"},
            {"LIST", list + ".\r\n"}};
}

CMailAccount Account(const std::string& server = "127.0.0.1") {
    CMailAccount account;
    account.m_name = "Test";
    account.m_server = server;
    account.m_userName = "alice";
    account.m_password = "secret";
    return account;
}

// Reads lines until QUIT (or close) without ever answering, then hangs up.
void Silent(ScriptedServer::Session& s) {
    while (auto line = s.ReadLine())
        if (*line == "QUIT") return;
}
} // namespace

TEST(Pop3HostileServer, ServerThatNeverAnswersTimesOutAfterSixSeconds) {
    ScriptedServer server(Silent);
    CPop3Client client;
    const auto start = Clock::now();
    EXPECT_FALSE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    const long long elapsed = MsSince(start);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTimedOut);
    EXPECT_EQ(client.m_lastResponse, "");
    server.WaitUntilDone();
    // The greeting is given up after 6000 ms; then QUIT is said, and the server hangs up.
    const auto received = server.Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].text, "QUIT");
    EXPECT_GE(received[0].atMs, 5990);
    EXPECT_GE(elapsed, 6000);
    EXPECT_LT(elapsed, 6800);
}

TEST(Pop3HostileServer, TricklingServerFailsAtTheWholeReplyLimit) {
    ScriptedServer server([](ScriptedServer::Session& s) {
        for (char c : std::string("+OK trickling along\r\n")) {
            if (!s.Send(std::string(1, c))) return;
            // A byte every 2 s keeps the inactivity time-out from ever firing.
            if (auto line = s.ReadLine(2000); line && *line == "QUIT") return;
        }
    });
    CPop3Client client;
    client.m_replyLimitMs = 2500;
    const auto start = Clock::now();
    EXPECT_FALSE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    const long long elapsed = MsSince(start);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTimedOut);
    EXPECT_EQ(client.m_lastResponse, "+O");
    EXPECT_GE(elapsed, 2500);
    EXPECT_LT(elapsed, 3500);
    server.WaitUntilDone();
    EXPECT_EQ(server.Commands(), std::vector<std::string>{"QUIT"});
}

TEST(Pop3HostileServer, EndlessGarbageIsNeverReadPastTheReplyBuffer) {
    ScriptedServer server([](ScriptedServer::Session& s) {
        const std::string chunk(64 * 1024, 'x');
        for (int i = 0; i < 160 && s.Send(chunk); ++i) { // 10 MB without a line end
        }
    });
    CPop3Client client;
    client.m_timeoutMs = 300;
    const auto start = Clock::now();
    EXPECT_FALSE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTimedOut);
    EXPECT_EQ(client.m_lastResponse, std::string(CPop3Client::kLineReplyCapacity, 'x'));
    EXPECT_LT(MsSince(start), 3000);
}

TEST(Pop3HostileServer, HeaderReplyBeyondOneMebibyteIsRefused) {
    auto replies = Mailbox({5'000'000});
    replies.push_back({"TOP", "+OK\r\n" + std::string(3 * 1024 * 1024, 'h')});
    ScriptedServer server(ScriptedServer::Answering(kGreeting, replies));
    CPop3Client client;
    // Short, so that the goodbye to a server still busy sending ends soon.
    client.m_timeoutMs = 800;
    ASSERT_TRUE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    std::string header = "unchanged";
    const auto start = Clock::now();
    EXPECT_FALSE(client.GetHeader(1, header));
    const long long elapsed = MsSince(start);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_EQ(client.m_lastResponse.size(), CPop3Client::kMaxHeaderReply);
    EXPECT_EQ(header, "unchanged");
    EXPECT_LT(elapsed, 700) << "refused at once, not after a time-out";
}

TEST(Pop3HostileServer, AbsurdMessageCountIsRefusedBeforeAnythingIsListed) {
    ScriptedServer server(ScriptedServer::Answering(kGreeting, {{"STAT", "+OK 2000000000 1\r\n"}}));
    CMailAccount account = Account();
    EXPECT_EQ(CountPop3Messages(account, {server.Port()}), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_TRUE(account.m_messages.empty());
    server.WaitUntilDone();
    EXPECT_EQ(server.Commands(),
              (std::vector<std::string>{"USER alice", "PASS secret", "NOOP", "STAT", "QUIT"}));
}

TEST(Pop3HostileServer, ServerClosingMidReplyFailsAtOnce) {
    ScriptedServer server([](ScriptedServer::Session& s) {
        s.Send(kGreeting);
        while (auto line = s.ReadLine()) {
            if (*line == "STAT") {
                s.Send("+OK 3 6");
                return; // hang up in the middle of the reply
            }
            s.Send("+OK\r\n");
        }
    });
    CMailAccount account = Account();
    const auto start = Clock::now();
    // Saying QUIT to the closed connection must not kill the program (no SIGPIPE).
    EXPECT_EQ(CountPop3Messages(account, {server.Port()}), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kPeerClosed);
    EXPECT_LT(MsSince(start), 1000);
}

TEST(Pop3HostileServer, LowerCaseOkPassesForTheGreetingButNotForStat) {
    ScriptedServer server(ScriptedServer::Answering("+ok hello\r\n", {{"STAT", "+ok 1 100\r\n"}}));
    CPop3Client client;
    ASSERT_TRUE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    int count = 42;
    long long size = 0;
    EXPECT_FALSE(client.Stat(count, size));
    EXPECT_EQ(count, 42);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_EQ(client.m_lastResponse, "+ok 1 100");
    EXPECT_TRUE(client.Disconnect());
    server.WaitUntilDone();
    EXPECT_EQ(server.Commands().back(), "QUIT");
}

TEST(Pop3HostileServer, NegativeAnswerToTopEndsAtItsLineAndUsesUpTheAttempts) {
    auto replies = Mailbox({300, 400});
    replies.push_back({"TOP", "-ERR no such message\r\n"});
    ScriptedServer server(ScriptedServer::Answering(kGreeting, replies));
    CMailAccount account = Account();
    const auto start = Clock::now();
    EXPECT_EQ(CountPop3Messages(account, {server.Port()}), 2);
    EXPECT_LT(MsSince(start), 2000) << "a one-line refusal must not wait for a list's end";
    // Three failed attempts in the whole exchange, then the rest is recorded unread; nothing
    // of another message is ever shown for one that could not be read.
    EXPECT_EQ(account.m_messages, std::vector<std::string>(8));
    server.WaitUntilDone();
    EXPECT_EQ(server.Commands(),
              (std::vector<std::string>{"USER alice", "PASS secret", "NOOP", "STAT", "STAT", "LIST",
                                        "TOP 1 0", "TOP 1 0", "TOP 1 0", "QUIT"}));
}

TEST(Pop3HostileServer, LongListingsAndListingsShorterThanTheCount) {
    // 200 messages of more than a gigabyte: each line is longer than 14 bytes.
    std::vector<long long> sizes(200, 1234567890);
    auto replies = Mailbox(sizes);
    replies[0].second = "+OK 202 999\r\n"; // two messages more than the listing holds
    replies.push_back({"TOP", "+OK\r\nFrom: x\r\n\r\n.\r\n"});
    ScriptedServer server(ScriptedServer::Answering(kGreeting, replies));
    CPop3Client client;
    ASSERT_TRUE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    std::uint32_t size = 0;
    ASSERT_TRUE(client.GetMessageSize(200, size));
    EXPECT_EQ(size, 1234567890u);
    EXPECT_EQ(client.Sizes().size(), 200u);
    std::string header;
    EXPECT_FALSE(client.GetHeader(201, header));
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kInvalidArgument);
    EXPECT_TRUE(client.GetHeader(200, header));
    EXPECT_EQ(header, "From: x\r\n");
    client.Disconnect();
    server.WaitUntilDone();
    const auto commands = server.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "TOP 201 0"), 0);
}

TEST(Pop3HostileServer, RepliesArrivingByteByByteAreJoined) {
    ScriptedServer server([](ScriptedServer::Session& s) {
        const auto dribble = [&](const std::string& text) {
            for (char c : text) {
                if (!s.Send(std::string(1, c)) || !s.Pause(1)) return;
            }
        };
        dribble(kGreeting);
        while (auto line = s.ReadLine()) {
            if (*line == "TOP 1 0")
                dribble("+OK\r\n..dotted: on\r\nSubject: a\r\n b\r\n\r\n.\r\n");
            else if (*line == "STAT")
                dribble("+OK 1 40\r\n");
            else if (*line == "LIST")
                dribble("+OK\r\n1 40\r\n.\r\n");
            else
                dribble("+OK\r\n");
            if (*line == "QUIT") return;
        }
    });
    CPop3Client client;
    ASSERT_TRUE(client.Connect("127.0.0.1", "alice", "secret", server.Port()));
    std::string header;
    ASSERT_TRUE(client.GetHeader(1, header));
    // The line the server stuffed with a dot comes back as it was sent.
    EXPECT_EQ(header, ".dotted: on\r\nSubject: a\r\n b\r\n");
    EXPECT_TRUE(client.Disconnect());
}

TEST(Pop3HostileServer, LineBreakInTheUserNameIsNotSent) {
    ScriptedServer server(ScriptedServer::Answering(kGreeting, {}));
    CPop3Client client;
    EXPECT_FALSE(client.Connect("127.0.0.1", "alice\r\nDELE 1", "secret", server.Port()));
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kInvalidArgument);
    server.WaitUntilDone();
    EXPECT_EQ(server.Commands(), std::vector<std::string>{"QUIT"});
}

TEST(Pop3HostileServer, ConnectGivesUpOnAServerThatNeverAccepts) {
    // A listener whose queue is full drops further connection requests unanswered.
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len), 0);
    const unsigned short port = ntohs(a.sin_port);
    std::vector<std::unique_ptr<CBlockingSocket>> queued;
    bool hung = false;
    for (int i = 0; i < 8 && !hung; ++i) {
        auto socket = std::make_unique<CBlockingSocket>();
        ASSERT_TRUE(socket->Create());
        socket->m_connectTimeoutMs = 300;
        const auto start = Clock::now();
        if (socket->Connect("127.0.0.1", port)) {
            queued.push_back(std::move(socket));
            continue;
        }
        hung = true;
        EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTimedOut);
        EXPECT_GE(MsSince(start), 300);
        EXPECT_LT(MsSince(start), 1500);
    }
    EXPECT_TRUE(hung) << "the listener accepted every connection request";
    close(listener);
}

TEST(Pop3HostileServer, SlowRepliesAreTakenAsSoonAsTheyArrive) {
    // Every reply comes 10 ms late. Waiting for readability in slices of up to 100 ms takes
    // each one as it arrives; looking and then sleeping 100 ms would add most of that sleep
    // to each of the eleven replies (more than a second in all).
    ScriptedServer server([](ScriptedServer::Session& s) {
        auto replies = Mailbox({120, 130, 140});
        replies.push_back({"TOP", "+OK\r\nFrom: a\r\n\r\n.\r\n"});
        if (!s.Pause(10) || !s.Send(kGreeting)) return;
        while (auto line = s.ReadLine()) {
            std::string reply = "+OK\r\n";
            for (const auto& [key, answer] : replies)
                if (line->rfind(key, 0) == 0) reply = answer;
            if (!s.Pause(10) || !s.Send(reply) || *line == "QUIT") return;
        }
    });
    CMailAccount account = Account();
    const auto start = Clock::now();
    EXPECT_EQ(CountPop3Messages(account, {server.Port()}), 3);
    const long long elapsed = MsSince(start);
    EXPECT_EQ(account.m_messages[8], " a");
    EXPECT_GE(elapsed, 11 * 10);
    EXPECT_LT(elapsed, 600);
}
