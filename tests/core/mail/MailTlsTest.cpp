// Secure mail checks against a Dovecot whose certificate the test made and signed with its own
// CA, which only the CA file passed in makes trusted.
#include "support/DovecotServer.h"
#include "support/TestCertificates.h"

#include "core/mail/CMailCheck.h"
#include "core/model/CSettings.h"
#include "core/net/CPop3Client.h"
#include "core/net/SocketErrors.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace {
std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class MailTls : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_certs = new TestCertificates;
        ASSERT_TRUE(s_certs->Ok()) << s_certs->Error();
        s_server = new DovecotServer;
        s_server->EnableTls(s_certs->ServerCert(), s_certs->ServerKey());
        s_server->AddUser("alice", "alice-pw",
                          {"From: bob@example.com\nSubject: Secret\n\nHi\n",
                           "From: carol@example.com\nSubject: Also\n\nHo\n"});
        ASSERT_TRUE(s_server->Start()) << s_server->Error();
    }
    static void TearDownTestSuite() {
        delete s_server;
        delete s_certs;
    }

    // One account checked through the mail check's steps; the failure text, if any.
    std::string CheckOne(const std::string& server, const std::string& caFile, int& count,
                         const std::string& trusted = "") {
        CNoteStore store;
        auto a = std::make_unique<CMailAccount>();
        a->m_name = "Alice", a->m_userName = "alice", a->m_password = "alice-pw";
        a->m_server = server;
        store.AddAccount(std::move(a));
        std::vector<CMailCheck::Account> plan = CMailCheck::Plan(store.accounts(), 0);
        plan[0].trustedFingerprint = trusted;
        Pop3CheckOptions options;
        options.caFile = caFile;
        CMailCheck::Run(plan, options);
        count = plan[0].count;
        messages = plan[0].copy.m_messages;
        CSettings settings;
        int countdown = 0;
        outcome = CMailCheck::Apply(store.accounts(), plan, 0, true, false, settings, countdown);
        return outcome.failures.empty() ? "" : outcome.failures[0];
    }

    static inline TestCertificates* s_certs = nullptr;
    static inline DovecotServer* s_server = nullptr;
    std::vector<std::string> messages;
    CMailCheck::Outcome outcome;
};

// What "openssl x509 -fingerprint -sha256" says of a certificate file: what the user compares.
std::string OpensslFingerprint(const std::string& pem) {
    const std::string command = "openssl x509 -noout -fingerprint -sha256 -in " + pem;
    std::string text(256, '\0');
    FILE* pipe = popen(command.c_str(), "r");
    text.resize(pipe ? fread(text.data(), 1, text.size(), pipe) : 0);
    if (pipe) pclose(pipe);
    const std::size_t eq = text.find('=');
    return eq == std::string::npos ? "" : text.substr(eq + 1, text.find('\n') - eq - 1);
}
} // namespace

TEST_F(MailTls, ImplicitTlsAndStlsWorkWithTheTrustedCa) {
    const std::string ca = s_certs->CaFile();
    int count = 0;
    const std::size_t secureBefore = Count(s_server->Log(), ", TLS");

    EXPECT_EQ(CheckOne("pop3s://localhost:" + std::to_string(s_server->TlsPort()), ca, count), "");
    EXPECT_EQ(count, 2);
    ASSERT_EQ(messages.size(), 8u);
    EXPECT_EQ(messages[1], " Secret");

    // The plain port offers STLS: the connection is secured before the user name goes out.
    EXPECT_EQ(CheckOne("localhost:" + std::to_string(s_server->Port()), ca, count), "");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(CheckOne("pop3+starttls://localhost:" + std::to_string(s_server->Port()), ca, count),
              "");
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(outcome.notes.empty()); // nothing went out in clear
    EXPECT_EQ(s_server->CommandsAfterLogin("alice").back(), "QUIT");
    EXPECT_EQ(Count(s_server->Log(), ", TLS"), secureBefore + 3) << s_server->Log();
}

TEST_F(MailTls, UntrustedCertificateAndWrongHostNameFailWithTheReason) {
    const std::string tls = std::to_string(s_server->TlsPort());
    const std::string plain = std::to_string(s_server->Port());
    const std::size_t loginsBefore = Count(s_server->Log(), "Login: user=<alice>");
    int count = 0;

    // The system's store does not know the test's CA.
    EXPECT_EQ(CheckOne("pop3s://localhost:" + tls, "", count),
              "Alice: the server's certificate was refused: unable to get local issuer "
              "certificate");
    EXPECT_EQ(count, -1);
    // The certificate names "localhost", not the address.
    EXPECT_EQ(CheckOne("pop3s://127.0.0.1:" + tls, s_certs->CaFile(), count),
              "Alice: the server's certificate was refused: IP address mismatch");
    // A refused upgrade never falls back to sending the password in the clear.
    EXPECT_EQ(CheckOne("127.0.0.1:" + plain, s_certs->CaFile(), count),
              "Alice: the server's certificate was refused: IP address mismatch");
    EXPECT_EQ(count, -1);
    EXPECT_EQ(Count(s_server->Log(), "Login: user=<alice>"), loginsBefore);

    // A server that offers no TLS at all, asked for TLS, fails in time too.
    CPop3Client client;
    client.m_security = CPop3Client::Security::Implicit;
    client.m_timeoutMs = 500;
    EXPECT_FALSE(client.Connect("127.0.0.1", "alice", "alice-pw", s_server->Port()));
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kTlsFailed);
    EXPECT_FALSE(client.m_lastResponse.empty());
}

TEST_F(MailTls, SelfSignedCertificateTrustedByItsFingerprintOnlyForItself) {
    DovecotServer self;
    self.EnableTls(s_certs->SelfSignedCert(), s_certs->SelfSignedKey());
    self.AddUser("alice", "alice-pw", {"From: dan@example.com\nSubject: Home\n\nHi\n"});
    ASSERT_TRUE(self.Start()) << self.Error();
    const std::string server = "pop3s://localhost:" + std::to_string(self.TlsPort());
    int count = 0;

    // Refused, and the question shows the fingerprint the openssl tool shows.
    EXPECT_EQ(CheckOne(server, "", count),
              "Alice: the server's certificate was refused: self-signed certificate");
    const std::string fingerprint = OpensslFingerprint(s_certs->SelfSignedCert());
    ASSERT_EQ(fingerprint.size(), 95u) << fingerprint;
    ASSERT_TRUE(outcome.trust.has_value());
    EXPECT_EQ(outcome.trust->fingerprint, fingerprint);
    EXPECT_EQ(outcome.trust->key,
              "mail_certificate.alice@localhost:" + std::to_string(self.TlsPort()));
    EXPECT_NE(outcome.trust->text.find(fingerprint), std::string::npos);
    EXPECT_NE(outcome.trust->text.find("could not be verified"), std::string::npos);

    // Trusted: logs in.
    EXPECT_EQ(CheckOne(server, "", count, fingerprint), "");
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(outcome.trust.has_value());

    // Another certificate on the server the trust was given for asks again.
    const std::string other = "pop3s://localhost:" + std::to_string(s_server->TlsPort());
    EXPECT_NE(CheckOne(other, "", count, fingerprint), "");
    EXPECT_EQ(count, -1);
    ASSERT_TRUE(outcome.trust.has_value());
    EXPECT_NE(outcome.trust->fingerprint, fingerprint);
    EXPECT_NE(outcome.trust->text.find("has changed since you trusted it"), std::string::npos);
}
