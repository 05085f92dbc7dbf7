// The client against a real Dovecot on 127.0.0.1; what it sent is read from the server's raw log.
#include "support/DovecotServer.h"

#include "net/CMailAccount.h"
#include "net/CPop3Client.h"
#include "net/CountPop3Messages.h"
#include "net/SocketErrors.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
using Strings = std::vector<std::string>;

std::string Mail(const std::string& from, const std::string& subject, const std::string& date) {
    return (from.empty() ? "" : "From: " + from + "\n") + "Subject: " + subject +
           "\nDate: " + date + "\n\nHello.\n";
}

CMailAccount Account(const std::string& user, const std::string& server = "127.0.0.1") {
    CMailAccount account;
    account.m_server = server;
    account.m_userName = user;
    account.m_password = user + "-pw";
    return account;
}

class Pop3Dovecot : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = std::make_unique<DovecotServer>();
        s_server->AddUser("empty", "empty-pw", {});
        s_server->AddUser("alice", "alice-pw",
                          {Mail("Bob <bob@example.com>", "Lunch on\n Friday: budget",
                                "Tue, 2 Jan 2024 08:15:45 -0500"),
                           Mail("carol@example.com", "Re: two", "Wed, 3 Jan 2024 23:59:01 +0100"),
                           Mail("dave@example.com", "Hi", "Thu, 4 Jan 2024 10:20:30 +0000")});
        s_server->AddUser("nofrom", "nofrom-pw",
                          {Mail("", "1", "d"), Mail("", "2", "d"), Mail("", "3", "d"),
                           Mail("erin@example.com", "4", "d")});
        s_started = s_server->Start();
    }
    static void TearDownTestSuite() { s_server.reset(); }
    void SetUp() override { ASSERT_TRUE(s_started) << s_server->Error(); }
    static Pop3CheckOptions Port() { return {s_server->Port()}; }

    static inline std::unique_ptr<DovecotServer> s_server;
    static inline bool s_started = false;
};
} // namespace

TEST_F(Pop3Dovecot, EmptyMailboxCountsZeroWithoutListOrTop) {
    CMailAccount account = Account("empty");
    EXPECT_EQ(CountPop3Messages(account, Port()), 0);
    EXPECT_TRUE(account.m_messages.empty());
    EXPECT_EQ(s_server->CommandsAfterLogin("empty"), (Strings{"NOOP", "STAT", "QUIT"}));
}

TEST_F(Pop3Dovecot, ThreeMessagesGiveTheirSenderSubjectAndDate) {
    CMailAccount account = Account("alice", "localhost"); // a name, resolved
    account.m_messages = {"earlier"};                     // appended to; the caller empties it
    ASSERT_EQ(CountPop3Messages(account, Port()), 3);
    EXPECT_EQ(account.m_messages,
              (Strings{"earlier", " Bob <bob@example.com>", " Lunch on Friday: budget",
                       " Tue, 2 Jan 2024 08:15:45 -0500", "", " carol@example.com", " Re: two",
                       " Wed, 3 Jan 2024 23:59:01 +0100", "", " dave@example.com", " Hi",
                       " Thu, 4 Jan 2024 10:20:30 +0000", ""}));
    EXPECT_EQ(s_server->CommandsAfterLogin("alice"),
              (Strings{"NOOP", "STAT", "STAT", "LIST", "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"}));
}

TEST_F(Pop3Dovecot, HeadersWithoutSenderUseUpTheThreeAttempts) {
    CMailAccount account = Account("nofrom");
    ASSERT_EQ(CountPop3Messages(account, Port()), 4);
    ASSERT_EQ(account.m_messages.size(), 16u);
    EXPECT_EQ(account.m_messages[9], " 3"); // a header without sender is still shown
    EXPECT_EQ(account.m_messages[13], "");  // the fourth is never asked for
    EXPECT_EQ(s_server->CommandsAfterLogin("nofrom"),
              (Strings{"NOOP", "STAT", "STAT", "LIST", "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"}));
}

TEST_F(Pop3Dovecot, WrongPasswordFailsWithTheServersAnswer) {
    CMailAccount account = Account("empty");
    account.m_password = "wrong";
    CPop3Client client;
    EXPECT_EQ(CountPop3Messages(client, account, s_server->Port()), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_EQ(client.m_lastResponse, "-ERR [AUTH] Authentication failed.");
    EXPECT_TRUE(account.m_messages.empty());
}

TEST(Pop3Unresolvable, HostNameThatCannotBeLookedUpCountsMinusOne) {
    // A first label too long to be asked about: no query leaves the machine.
    CMailAccount account = Account("alice", std::string(70, 'a') + ".invalid");
    EXPECT_EQ(CountPop3Messages(account), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kInvalidArgument);
    EXPECT_TRUE(account.m_messages.empty());
}
