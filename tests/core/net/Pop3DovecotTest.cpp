// The mail check against a real Dovecot on 127.0.0.1; what it sent is read from the server's
// raw log.
#include "support/DovecotServer.h"

#include "core/model/CMailAccount.h"
#include "core/net/CPop3Client.h"
#include "core/net/CountPop3Messages.h"
#include "core/net/SocketErrors.h"

#include <gtest/gtest.h>

namespace {
using Strings = std::vector<std::string>;

std::string Mail(const std::string& from, const std::string& subject, const std::string& date) {
    return (from.empty() ? "" : "From: " + from + "\n") + "Subject: " + subject +
           "\nDate: " + date + "\n\nHello.\n";
}

CMailAccount Account(const std::string& user, const std::string& server = "127.0.0.1") {
    CMailAccount account;
    account.m_server = server, account.m_userName = user, account.m_password = user + "-pw";
    return account;
}
} // namespace

TEST(Pop3Dovecot, CountsReadsTheHeadersAndAlwaysSaysQuit) {
    DovecotServer server;
    server.AddUser("empty", "empty-pw", {});
    server.AddUser("alice", "alice-pw",
                   {Mail("Bob <bob@example.com>", "Lunch on\n Friday: budget",
                         "Tue, 2 Jan 2024 08:15:45 -0500"),
                    Mail("carol@example.com", "Re: two", "Wed, 3 Jan 2024 23:59:01 +0100"),
                    Mail("dave@example.com", "Hi", "Thu, 4 Jan 2024 10:20:30 +0000")});
    server.AddUser("nofrom", "nofrom-pw",
                   {Mail("", "1", "d"), Mail("", "2", "d"), Mail("", "3", "d"),
                    Mail("erin@example.com", "4", "d")});
    ASSERT_TRUE(server.Start()) << server.Error();
    const Pop3CheckOptions options{.port = server.Port()};
    const Strings threeTops{"NOOP",    "STAT",    "STAT",    "LIST",
                            "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"};

    CMailAccount empty = Account("empty");
    EXPECT_EQ(CountPop3Messages(empty, options), 0);
    EXPECT_TRUE(empty.m_messages.empty());
    EXPECT_EQ(server.CommandsAfterLogin("empty"), (Strings{"NOOP", "STAT", "QUIT"}));

    CMailAccount alice = Account("alice", "localhost"); // a name, resolved
    alice.m_messages = {"earlier"};                     // appended to; the caller empties it
    EXPECT_EQ(CountPop3Messages(alice, options), 3);
    EXPECT_EQ(alice.m_messages,
              (Strings{"earlier", " Bob <bob@example.com>", " Lunch on Friday: budget",
                       " Tue, 2 Jan 2024 08:15:45 -0500", "", " carol@example.com", " Re: two",
                       " Wed, 3 Jan 2024 23:59:01 +0100", "", " dave@example.com", " Hi",
                       " Thu, 4 Jan 2024 10:20:30 +0000", ""}));
    EXPECT_EQ(server.CommandsAfterLogin("alice"), threeTops);

    // Three headers without a sender use up the attempts: the fourth is never asked for.
    CMailAccount nofrom = Account("nofrom");
    EXPECT_EQ(CountPop3Messages(nofrom, options), 4);
    EXPECT_EQ(server.CommandsAfterLogin("nofrom"), threeTops);
    ASSERT_EQ(nofrom.m_messages.size(), 16u);
    EXPECT_EQ(nofrom.m_messages[9], " 3"); // a header without sender is still shown
    EXPECT_EQ(nofrom.m_messages[13], "");

    CMailAccount wrong = Account("empty");
    wrong.m_password = "wrong";
    CPop3Client client;
    EXPECT_EQ(CountPop3Messages(client, wrong, server.Port()), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_EQ(client.m_lastResponse, "-ERR [AUTH] Authentication failed.");
    EXPECT_TRUE(wrong.m_messages.empty());
}
