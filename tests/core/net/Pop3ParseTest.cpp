#include "core/net/CPop3Client.h"
#include "core/net/ExtractField.h"
#include "core/net/MailServerAddress.h"

#include <gtest/gtest.h>

TEST(ExtractField, ReadsHeadersAsMailIsWritten) {
    const char* mail = "X-Original-From: list@example.org\r\n"
                       "Subject: Lunch on\r\n Friday: from: budget\r\n"
                       "from: Bob <bob@example.com>\r\n"
                       "Date: Tue, 2 Jan 2024 08:15:45 -0500\r\n";
    const struct {
        const char *header, *name, *value;
    } cases[] = {
        // The name at a line start only, in any case; the value keeps its blank and colons.
        {mail, "From:", " Bob <bob@example.com>"},
        {mail, "Date:", " Tue, 2 Jan 2024 08:15:45 -0500"},
        {mail, "Cc:", ""},
        // Folded lines are joined keeping the blank, colons and all.
        {mail, "Subject:", " Lunch on Friday: from: budget"},
        {"Subject:\r\n Re: budget\r\nFrom: a\r\n", "Subject:", " Re: budget"},
        {"Subject: one\r\n\ttwo\r\n  three\r\n", "Subject:", " one\ttwo  three"},
        {"From: a\nSubject: b\n c\nDate: d", "Subject:", " b c"}, // bare line feeds
        // The header ends at its blank line.
        {"Subject: s\r\n\r\nFrom: body text\r\n", "From:", ""},
        {"From:\r\nSubject: s\r\n", "From:", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtractField(c.header, c.name), c.value) << c.header << " / " << c.name;
}

TEST(Pop3Parse, StatTakesAnExactPositiveReply) {
    const struct {
        const char* reply;
        bool ok;
        int count = 0;
        long long size = 0;
    } cases[] = {
        {"+OK 3 643", true, 3, 643},
        {"+OK 100000 8589934592", true, 100000, 8589934592LL}, // sizes beyond 2 GB kept
        {"+OK 100001 5", true, 100001, 5},
        {"+OK 99999999999999999999999 5", true, 2147483647, 5}, // as many as an int holds
        {"+OK -1 5", false},
        {"+OK 3", false},
        {"-ERR 3 643", false},
    };
    for (const auto& c : cases) {
        int count = 7;
        long long size = -1;
        EXPECT_EQ(CPop3Client::ParseStat(c.reply, count, size), c.ok) << c.reply;
        EXPECT_EQ(count, c.ok ? c.count : 7) << c.reply; // a refusal leaves the count alone
        EXPECT_EQ(size, c.ok ? c.size : -1) << c.reply;
    }
}

TEST(Pop3Parse, ListTakesEachSizeInOrderUpToItsEnd) {
    std::vector<std::uint32_t> sizes{99};
    CPop3Client::ParseList("+OK 4\r\n1 120\r\n2 99999999999\r\n3\r\n4\t7 x\r\n.\r\n5 5\r\n", sizes);
    EXPECT_EQ(sizes, (std::vector<std::uint32_t>{120, 4294967295u, 7})); // held to 32 bits
}

TEST(MailServerAddress, SchemeHostPortAndSecurity) {
    using S = MailSecurity;
    const struct {
        const char* text;
        bool ok;
        const char* host;
        unsigned short port;
        S security;
        const char* written; // as the dialog writes it back
    } cases[] = {
        {"mail.example.com", true, "mail.example.com", 110, S::IfOffered, "mail.example.com"},
        {" mail.example.com ", true, "mail.example.com", 110, S::IfOffered, "mail.example.com"},
        {"mail.example.com:1110", true, "mail.example.com", 1110, S::IfOffered,
         "mail.example.com:1110"},
        {"pop3://10.0.0.1", true, "10.0.0.1", 110, S::IfOffered, "10.0.0.1"},
        {"POP3S://mail.example.com", true, "mail.example.com", 995, S::Implicit,
         "pop3s://mail.example.com"},
        {"pop3s://mail.example.com:9950/", true, "mail.example.com", 9950, S::Implicit,
         "pop3s://mail.example.com:9950"},
        {"pop3+starttls://m.example.com", true, "m.example.com", 110, S::StartTls,
         "pop3+starttls://m.example.com"},
        {"pop3+plain://m.example.com:995", true, "m.example.com", 995, S::Plain,
         "pop3+plain://m.example.com:995"},
        {"", false, "", 0, S::IfOffered, ""},
        {"pop3s://", false, "", 0, S::IfOffered, ""},
        {"imap://mail.example.com", false, "", 0, S::IfOffered, ""},
        {"mail.example.com:0", false, "", 0, S::IfOffered, ""},
        {"mail.example.com:65536", false, "", 0, S::IfOffered, ""},
        {"mail.example.com:11a", false, "", 0, S::IfOffered, ""},
        {"mail example.com", false, "", 0, S::IfOffered, ""},
    };
    for (const auto& c : cases) {
        MailServerAddress a;
        ASSERT_EQ(MailServerAddress::Parse(c.text, a), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(a.host, c.host) << c.text;
        EXPECT_EQ(a.port, c.port) << c.text;
        EXPECT_EQ(a.security, c.security) << c.text;
        EXPECT_EQ(a.Text(), c.written) << c.text;
    }
}
