// The mail check's steps with the real POP3 client against a Dovecot on 127.0.0.1.
#include "support/DovecotServer.h"
#include "support/Loopback.h"
#include "support/ScriptedPop3Server.h"

#include "core/mail/CMailAccountRules.h"
#include "core/mail/CMailCheck.h"
#include "core/model/CSettings.h"
#include "core/net/CPop3Client.h"
#include "core/net/CountPop3Messages.h"
#include "core/net/SocketErrors.h"
#include "core/platform/Clock.h"

#include <chrono>
#include <gtest/gtest.h>

namespace {
using Strings = std::vector<std::string>;

std::string Mail(const std::string& from, const std::string& subject,
                 const std::string& date = "Mon, 7 Dec 2026 09:00:00 +0000") {
    return (from.empty() ? "" : "From: " + from + "\n") + "Subject: " + subject +
           "\nDate: " + date + "\n\nHi\n";
}

class MailCheck : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new DovecotServer;
        s_server->AddUser("home", "home-pw", {Mail("ann@example.com", "Tea")});
        s_server->AddUser("work", "work-pw",
                          {Mail("boss@example.com", "Report"), Mail("hr@example.com", "Leave")});
        s_server->AddUser("club", "club-pw", {});
        s_server->AddUser("empty", "empty-pw", {});
        s_server->AddUser("alice", "alice-pw",
                          {Mail("Bob <bob@example.com>", "Lunch on\n Friday: budget",
                                "Tue, 2 Jan 2024 08:15:45 -0500"),
                           Mail("carol@example.com", "Re: two", "Wed, 3 Jan 2024 23:59:01 +0100"),
                           Mail("dave@example.com", "Hi", "Thu, 4 Jan 2024 10:20:30 +0000")});
        s_server->AddUser("nofrom", "nofrom-pw",
                          {Mail("", "1"), Mail("", "2"), Mail("", "3"), Mail("erin@x.org", "4")});
        ASSERT_TRUE(s_server->Start()) << s_server->Error();
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }
    void TearDown() override { Clock::ResetForTest(); }

    CMailAccount& Add(const std::string& name, const std::string& user,
                      int type = CMailAccount::Pop3) {
        auto a = std::make_unique<CMailAccount>();
        a->m_name = name, a->m_userName = user, a->m_password = user + "-pw", a->m_type = type;
        a->m_server = "127.0.0.1:" + std::to_string(s_server->Port());
        a->m_messages = {"stale", "stale", "stale", ""}; // from a check before
        return store.AddAccount(std::move(a));
    }
    CMailCheck::Outcome Check(int target, bool manual, bool exiting = false) {
        std::vector<CMailCheck::Account> plan = CMailCheck::Plan(store.accounts(), target);
        CMailCheck::Run(plan, {});
        return CMailCheck::Apply(store.accounts(), plan, target, manual, exiting, settings,
                                 countdownMs);
    }

    static inline DovecotServer* s_server = nullptr;
    CNoteStore store;
    CSettings settings;
    int countdownMs = 1234;
};
} // namespace

// The POP3 client itself; what it sent is read from the server's raw log.
TEST_F(MailCheck, ClientCountsReadsTheHeadersAndAlwaysSaysQuit) {
    const Pop3CheckOptions options{.port = s_server->Port()};
    const Strings threeTops{"NOOP",    "STAT",    "STAT",    "LIST",
                            "TOP 1 0", "TOP 2 0", "TOP 3 0", "QUIT"};
    auto account = [](const std::string& user, const std::string& server = "127.0.0.1") {
        CMailAccount a;
        a.m_server = server, a.m_userName = user, a.m_password = user + "-pw";
        return a;
    };
    CMailAccount empty = account("empty");
    EXPECT_EQ(CountPop3Messages(empty, options), 0);
    EXPECT_TRUE(empty.m_messages.empty());
    EXPECT_EQ(s_server->CommandsAfterLogin("empty"), (Strings{"NOOP", "STAT", "QUIT"}));

    CMailAccount alice = account("alice", "localhost"); // a name, resolved
    alice.m_messages = {"earlier"};                     // appended to; the caller empties it
    EXPECT_EQ(CountPop3Messages(alice, options), 3);
    EXPECT_EQ(alice.m_messages,
              (Strings{"earlier", " Bob <bob@example.com>", " Lunch on Friday: budget",
                       " Tue, 2 Jan 2024 08:15:45 -0500", "", " carol@example.com", " Re: two",
                       " Wed, 3 Jan 2024 23:59:01 +0100", "", " dave@example.com", " Hi",
                       " Thu, 4 Jan 2024 10:20:30 +0000", ""}));
    EXPECT_EQ(s_server->CommandsAfterLogin("alice"), threeTops);

    // Three headers without a sender use up the attempts: the fourth is never asked for.
    CMailAccount nofrom = account("nofrom");
    EXPECT_EQ(CountPop3Messages(nofrom, options), 4);
    EXPECT_EQ(s_server->CommandsAfterLogin("nofrom"), threeTops);
    ASSERT_EQ(nofrom.m_messages.size(), 16u);
    EXPECT_EQ(nofrom.m_messages[9], " 3"); // a header without sender is still shown
    EXPECT_EQ(nofrom.m_messages[13], "");

    CMailAccount wrong = account("empty");
    wrong.m_password = "wrong";
    CPop3Client client;
    EXPECT_EQ(CountPop3Messages(client, wrong, s_server->Port()), -1);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kNegativeReply);
    EXPECT_EQ(client.m_lastResponse, "-ERR [AUTH] Authentication failed.");
    EXPECT_TRUE(wrong.m_messages.empty());
}

TEST_F(MailCheck, OneAccountOfThreeEmptiesEveryListAndShowsOnlyItsRows) {
    Add("Home", "home"), Add("Work", "work"), Add("Club", "club");
    const COleDateTime before = settings.m_lastMailCheck;

    CMailCheck::Outcome out = Check(1, true);
    EXPECT_EQ(out.show, CMailCheck::Outcome::NewMail);
    EXPECT_EQ(out.total, 2);
    EXPECT_EQ(out.headline, "You have 2 mails");
    EXPECT_TRUE(store.accounts()[0]->m_messages.empty());
    EXPECT_TRUE(store.accounts()[2]->m_messages.empty());
    const std::vector<MailRow> rows = CMailCheck::Rows(store.accounts());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].accountName, "Work");
    EXPECT_EQ(rows[0].from, " boss@example.com");
    EXPECT_EQ(rows[1].subject, " Leave");
    EXPECT_EQ(rows[1].account, 1);
    // One account of three is not the automatic check's whole round.
    EXPECT_FALSE(out.rearmed);
    EXPECT_EQ(countdownMs, 1234);
    EXPECT_EQ(settings.m_lastMailCheck, before);

    out = Check(0, true);
    EXPECT_EQ(out.headline, "You have 1 mail");
    EXPECT_TRUE(store.accounts()[1]->m_messages.empty());
    ASSERT_EQ(CMailCheck::Rows(store.accounts()).size(), 1u);
    EXPECT_EQ(CMailCheck::Rows(store.accounts())[0].accountName, "Home");

    // An account edited while the check ran is not given the old account's messages.
    std::vector<CMailCheck::Account> plan = CMailCheck::Plan(store.accounts(), 1);
    CMailCheck::Run(plan, {});
    store.accounts()[1]->m_userName = "someone else";
    out = CMailCheck::Apply(store.accounts(), plan, 1, true, false, settings, countdownMs);
    EXPECT_EQ(out.show, CMailCheck::Outcome::NoNewMail);
    EXPECT_TRUE(CMailCheck::Rows(store.accounts()).empty());
}

TEST_F(MailCheck, NothingFoundIsToldOnlyWhenAskedAndTheRoundStartsAgain) {
    Clock::SetForTest(COleDateTime(2026, 12, 7, 10, 30, 0));
    settings.m_mailInterval = 15;
    Add("Club", "club"), Add("Web", "web", CMailAccount::WebMail);

    CMailCheck::Outcome out = Check(CMailCheck::kAllAccounts, false);
    EXPECT_EQ(out.show, CMailCheck::Outcome::Nothing);
    EXPECT_TRUE(out.failures.empty()); // web mail is not checked, and that is no failure
    EXPECT_TRUE(out.rearmed);
    EXPECT_EQ(settings.m_lastMailCheck, COleDateTime(2026, 12, 7, 10, 30, 0));
    EXPECT_EQ(countdownMs, 15 * 60000);

    // Asked by the user: told, with why an account could not be checked.
    CMailAccount& gone = Add("Gone", "home");
    gone.m_server = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
    Add("Wrong", "work").m_password = "nope";
    Clock::AdvanceForTest(60);
    countdownMs = 1;
    out = Check(CMailCheck::kAllAccounts, true);
    // Not every account was checked: not "No New Mail", but what happened.
    EXPECT_EQ(out.show, CMailCheck::Outcome::NotChecked);
    EXPECT_EQ(out.failures, (Strings{"Gone: the server refused the connection",
                                     "Wrong: the server answered \"-ERR [AUTH] Authentication "
                                     "failed.\""}));
    EXPECT_EQ(CMailCheck::BoxCaption(out), "Mail not checked");
    EXPECT_EQ(CMailCheck::BoxText(out),
              "Some accounts could not be checked:\nGone: the server refused the connection\n"
              "Wrong: the server answered \"-ERR [AUTH] Authentication failed.\"\n\n"
              "No New Mail in Club.\n\nClub: the password was sent without encryption\n"
              "Wrong: the password was sent without encryption");
    EXPECT_EQ(settings.m_lastMailCheck, COleDateTime(2026, 12, 7, 10, 31, 0));
    EXPECT_EQ(countdownMs, 15 * 60000);

    // Every account failing says so too; only a clean round is "No New Mail".
    store.accounts()[0]->m_password = "nope";
    store.RemoveAccount(1);
    out = Check(CMailCheck::kAllAccounts, true);
    EXPECT_EQ(CMailCheck::BoxText(out).substr(0, 27), "Mail could not be checked:\n");
    store.accounts()[0]->m_password = "club-pw";
    store.RemoveAccount(2);
    store.RemoveAccount(1);
    out = Check(CMailCheck::kAllAccounts, true);
    EXPECT_EQ(out.show, CMailCheck::Outcome::NoNewMail);
    EXPECT_EQ(CMailCheck::BoxText(out), "No New Mail\n\nClub: the password was sent without "
                                        "encryption");
    EXPECT_EQ(CMailCheck::BoxCaption(out), "Nothing new");

    // While the program exits nothing is shown and nothing re-armed.
    Add("Home", "home");
    countdownMs = 1;
    out = Check(CMailCheck::kAllAccounts, true, true);
    EXPECT_EQ(out.show, CMailCheck::Outcome::Nothing);
    EXPECT_FALSE(out.rearmed);
    EXPECT_EQ(countdownMs, 1);
}

TEST(MailCheckLimit, OneCheckEndsAtItsDeadlineAndSaysSo) {
    // Twenty messages, every reply 100 ms late: the check's one second runs out among them.
    std::string list = "+OK\r\n";
    for (int i = 1; i <= 20; ++i)
        list += std::to_string(i) + " 100\r\n";
    ScriptedPop3Server slow("+OK\r\n",
                            {{"STAT", "+OK 20 2000\r\n"},
                             {"LIST", list + ".\r\n"},
                             {"TOP", "+OK\r\nFrom: a\r\n\r\n.\r\n"}},
                            0, "*", 100);
    CNoteStore store;
    for (const char* name : {"Slow", "Next"}) {
        auto a = std::make_unique<CMailAccount>();
        a->m_name = name, a->m_userName = "u", a->m_password = "p";
        a->m_server = "127.0.0.1:" + std::to_string(slow.Port());
        store.AddAccount(std::move(a));
    }
    std::vector<CMailCheck::Account> plan = CMailCheck::Plan(store.accounts(), 999);
    Pop3CheckOptions options;
    options.checkLimitMs = 1000;
    const auto start = std::chrono::steady_clock::now();
    CMailCheck::Run(plan, options);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_EQ(plan[0].count, 20);
    const int listed = static_cast<int>(plan[0].copy.m_messages.size() / 4);
    EXPECT_LT(listed, 20);
    EXPECT_EQ(plan[0].notes.front(), "the check took longer than 1 second; only " +
                                         std::to_string(listed) + " of 20 messages are listed");
    EXPECT_EQ(plan[1].failure,
              "the check took longer than 1 second and was stopped before this account");
}

TEST(MailAccountRules, ChecksInTheDialogsOrderAndAtMost24Accounts) {
    EXPECT_TRUE(CMailAccountRules::CanAdd(23));
    EXPECT_FALSE(CMailAccountRules::CanAdd(24)); // the 25th is refused
    using F = CMailAccountRules::Field;
    const struct {
        CMailAccountRules::Entry entry;
        F field;
        const char* message;
    } cases[] = {
        {{"", "", "a", "b", "", true}, F::Name, "Account Name is required !"},
        {{"Home", "", "a", "b", "", true}, F::UserName, "User Name is required !"},
        {{"Home", "ann", "a", "b", "", true}, F::Password, "Password is not correct !"},
        {{"Home", "ann", "a", "a", "", true}, F::Server, "Server Name is required !"},
        {{"Home", "ann", "a", "a", "", false}, F::None, ""}, // web mail needs no server
        {{"Home", "ann", "", "", "pop3s://mail.example.com", true}, F::None, ""},
    };
    for (const auto& c : cases) {
        std::string message = "x";
        EXPECT_EQ(CMailAccountRules::Check(c.entry, message), c.field) << c.message;
        EXPECT_EQ(message, c.message);
    }
    std::string message;
    EXPECT_EQ(CMailAccountRules::Check({"Home", "ann", "a", "a", "imap://mail", true}, message),
              F::Server);
}
