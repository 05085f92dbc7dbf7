#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A private Dovecot POP3 server on 127.0.0.1: a throw-away configuration in a temporary folder,
// passwd-file users whose mbox inboxes are written afresh on every start, and a raw log of the
// commands each logged-in user sent. A child process, stopped by its PID.
class DovecotServer {
public:
    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Before Start(): a user and their mails (header, blank line, body; LF line ends).
    void AddUser(const std::string& name, const std::string& password,
                 const std::vector<std::string>& messages);
    // Starts on a free port and waits for the greeting; false with the reason in Error().
    bool Start();
    void Stop();
    unsigned short Port() const { return m_port; }
    const std::string& Error() const { return m_error; }
    // What the user sent after logging in, once the raw log shows their QUIT (or after 5 s).
    std::vector<std::string> CommandsAfterLogin(const std::string& user) const;

private:
    bool StartOnce(unsigned short port);

    struct User {
        std::string name, password, mbox;
    };
    std::vector<User> m_users;
    std::string m_dir, m_error;
    unsigned short m_port = 0;
    pid_t m_pid = -1;
    long long m_readyAtMs = 0;
};
