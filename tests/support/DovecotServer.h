#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A private Dovecot POP3 server on 127.0.0.1 with a throw-away configuration: passwd-file users,
// mbox inboxes, and a raw log of what each user sent. A child process, stopped by its PID.
class DovecotServer {
public:
    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Before Start(): a user and their mails (header, blank line, body; LF line ends).
    void AddUser(const std::string& name, const std::string& password,
                 const std::vector<std::string>& mails);
    // Before Start(): offers STLS on the plain port and listens for TLS on TlsPort() too.
    void EnableTls(const std::string& certFile, const std::string& keyFile);
    bool Start(); // false, with the reason in Error(), if it is not up within 10 s
    void Stop();
    unsigned short Port() const { return m_port; }
    unsigned short TlsPort() const { return m_tlsPort; }
    const std::string& Error() const { return m_error; }
    // The server's own log (log-ins are written there, with ", TLS" when secured).
    std::string Log() const;
    // What the user sent after logging in (one session), once its QUIT is logged or 5 s passed.
    std::vector<std::string> CommandsAfterLogin(const std::string& user) const;

private:
    std::string m_dir, m_error, m_certFile, m_keyFile;
    unsigned short m_port = 0, m_tlsPort = 0;
    pid_t m_pid = -1;
    long long m_upAtMs = 0;
};
