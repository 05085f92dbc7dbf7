// The client against a real Dovecot POP3 server on 127.0.0.1. What the client sent is read
// from the server's own raw log and its log-out lines.
#include "support/DovecotServer.h"

#include "net/CMailAccount.h"
#include "net/CPop3Client.h"
#include "net/CountPop3Messages.h"
#include "net/SocketErrors.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
using Commands = std::vector<std::string>;

class Pop3Dovecot : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = std::make_unique<DovecotServer>();
        s_server->AddUser("empty", "empty-pw", {});
        s_server->AddUser("alice", "alice-pw",
                          {DovecotServer::MakeMail("Bob Smith <bob@example.com>",
                                                   "Lunch on\n Friday: budget talk",
                                                   "Tue, 2 Jan 2024 08:15:45 -0500"),
                           "X-Original-From: list-bounce@example.org\n"
                           "From: Carol <carol@example.com>\n"
                           "Subject: mail from: the list\n"
                           "Date: Wed, 3 Jan 2024 23:59:01 +0100\n"
                           "\n"
                           "From the list.\n",
                           DovecotServer::MakeMail("dave@example.com", "Hello",
                                                   "Thu, 4 Jan 2024 10:20:30 +0000")});
        // Three headers without a sender use up the attempts; the fourth is never asked for.
        s_server->AddUser("nofrom", "nofrom-pw",
                          {DovecotServer::MakeMail("", "First", "Mon, 1 Jan 2024 01:00:00 +0000"),
                           DovecotServer::MakeMail("", "Second", "Mon, 1 Jan 2024 02:00:00 +0000"),
                           DovecotServer::MakeMail("", "Third", "Mon, 1 Jan 2024 03:00:00 +0000"),
                           DovecotServer::MakeMail("erin@example.com", "Fourth",
                                                   "Mon, 1 Jan 2024 04:00:00 +0000")});
        s_server->AddUser("frank", "frank-pw",
                          {DovecotServer::MakeMail("a@example.com", "One", "")});
        s_started = s_server->Start();
    }
    static void TearDownTestSuite() { s_server.reset(); }

    void SetUp() override { ASSERT_TRUE(s_started) << s_server->Error(); }

    static CMailAccount Account(const std::string& user, const std::string& password,
                                const std::string& server = "127.0.0.1") {
        CMailAccount account;
        account.m_name = user;
        account.m_server = server;
        account.m_userName = user;
        account.m_password = password;
        return account;
    }
    static Pop3CheckOptions Options() { return {s_server->Port()}; }

    static std::unique_ptr<DovecotServer> s_server;
    static bool s_started;
};
std::unique_ptr<DovecotServer> Pop3Dovecot::s_server;
bool Pop3Dovecot::s_started = false;

unsigned short ClosedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s); // bound but never listening: nothing answers there now
    return ntohs(a.sin_port);
}
} // namespace

TEST_F(Pop3Dovecot, EmptyMailboxCountsZeroWithoutListOrTop) {
    CMailAccount account = Account("empty", "empty-pw");
    EXPECT_EQ(CountPop3Messages(account, Options()), 0);
    EXPECT_TRUE(account.m_messages.empty());
    const std::string end = s_server->WaitForSessionEnd("empty");
    EXPECT_NE(end.find("Logged out top=0/0"), std::string::npos) << end;
    EXPECT_EQ(s_server->CommandsAfterLogin("empty"), (Commands{"NOOP", "STAT", "QUIT"}));
}

TEST_F(Pop3Dovecot, ThreeMessagesGiveTheirSenderSubjectAndDate) {
    // By name this time: "localhost" is resolved, not taken as an address.
    CMailAccount account = Account("alice", "alice-pw", "localhost");
    account.m_messages = {"from", "an", "earlier", "check"}; // the caller empties the list
    ASSERT_EQ(CountPop3Messages(account, Options()), 3);
    const std::vector<std::string> expected{"from",
                                            "an",
                                            "earlier",
                                            "check",
                                            " Bob Smith <bob@example.com>",
                                            " Lunch on Friday: budget talk",
                                            " Tue, 2 Jan 2024 08:15:45 -0500",
                                            "",
                                            " Carol <carol@example.com>",
                                            " mail from: the list",
                                            " Wed, 3 Jan 2024 23:59:01 +0100",
                                            "",
                                            " dave@example.com",
                                            " Hello",
                                            " Thu, 4 Jan 2024 10:20:30 +0000",
                                            ""};
    EXPECT_EQ(account.m_messages, expected);
    const std::string end = s_server->WaitForSessionEnd("alice");
    EXPECT_NE(end.find("Logged out top=3/"), std::string::npos) << end;
    EXPECT_NE(end.find("del=0/3"), std::string::npos) << "nothing may be deleted: " << end;
    EXPECT_EQ(s_server->CommandsAfterLogin("alice"),
              (Commands{"NOOP", "STAT", "STAT", "LIST", "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"}));
}

TEST_F(Pop3Dovecot, HeadersWithoutSenderUseUpTheThreeAttempts) {
    CMailAccount account = Account("nofrom", "nofrom-pw");
    ASSERT_EQ(CountPop3Messages(account, Options()), 4);
    // Each header read is kept, sender or not; the message never asked for stays blank.
    const std::vector<std::string> expected{"",
                                            " First",
                                            " Mon, 1 Jan 2024 01:00:00 +0000",
                                            "",
                                            "",
                                            " Second",
                                            " Mon, 1 Jan 2024 02:00:00 +0000",
                                            "",
                                            "",
                                            " Third",
                                            " Mon, 1 Jan 2024 03:00:00 +0000",
                                            "",
                                            "",
                                            "",
                                            "",
                                            ""};
    EXPECT_EQ(account.m_messages, expected);
    const std::string end = s_server->WaitForSessionEnd("nofrom");
    EXPECT_NE(end.find("Logged out top=3/"), std::string::npos) << end;
    EXPECT_EQ(s_server->CommandsAfterLogin("nofrom"),
              (Commands{"NOOP", "STAT", "STAT", "LIST", "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"}));
}

TEST_F(Pop3Dovecot, WrongPasswordFailsWithTheServersAnswerAndSaysQuit) {
    CPop3Client client;
    EXPECT_FALSE(client.Connect("127.0.0.1", "frank", "wrong-pw", s_server->Port()));
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_EQ(client.m_lastResponse, "-ERR [AUTH] Authentication failed.");
    EXPECT_FALSE(client.IsConnected());
    const std::string end = s_server->WaitForSessionEnd("frank");
    EXPECT_NE(end.find("Aborted login by logging out"), std::string::npos) << end;
    const std::string log = s_server->Log();
    const auto mismatch = log.find("passwd-file(frank,127.0.0.1");
    ASSERT_NE(mismatch, std::string::npos) << log;
    EXPECT_EQ(log.substr(log.find('\n', mismatch) - 17, 17), "Password mismatch") << log;

    CMailAccount account = Account("frank", "wrong-pw");
    EXPECT_EQ(CountPop3Messages(account, Options()), -1);
    EXPECT_TRUE(account.m_messages.empty());
    EXPECT_TRUE(s_server->CommandsAfterLogin("frank").empty());
}

TEST_F(Pop3Dovecot, UnreachableServersCountMinusOne) {
    CMailAccount account = Account("alice", "alice-pw");
    EXPECT_EQ(CountPop3Messages(account, {ClosedPort()}), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kConnectionRefused);

    // A name that cannot be looked up (its first label is too long to ever be asked about,
    // so no query leaves the machine).
    account.m_server = std::string(70, 'a') + ".invalid";
    EXPECT_EQ(CountPop3Messages(account, Options()), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kInvalidArgument);
    EXPECT_TRUE(account.m_messages.empty());
}
