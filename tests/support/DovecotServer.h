#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A private Dovecot POP3 server on 127.0.0.1 for tests and benchmarks: a throw-away
// configuration in a temporary folder, passwd-file users with mbox mailboxes written afresh
// on every start, plain-text log-in, and a raw log of every command a logged-in user sent.
// Started as a child process and stopped by its PID.
class DovecotServer {
public:
    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Before Start(): a user and the messages of their inbox, each a whole mail (header, blank
    // line, body) with LF or CR LF line ends.
    void AddUser(const std::string& name, const std::string& password,
                 const std::vector<std::string>& messages);

    // Starts the server on a free port and waits until it greets; false (with the reason in
    // Error()) when it does not come up.
    bool Start();
    void Stop();

    unsigned short Port() const { return m_port; }
    pid_t Pid() const { return m_pid; }
    const std::string& Dir() const { return m_dir; }
    const std::string& Error() const { return m_error; }

    // The server's own log.
    std::string Log() const;
    // Waits until the server has logged the end of a session of user (after or during log-in)
    // and returns that log line; empty if none came within timeoutMs.
    std::string WaitForSessionEnd(const std::string& user, int timeoutMs = 5000) const;
    // The commands the user sent after logging in, over all sessions, from the raw log.
    std::vector<std::string> CommandsAfterLogin(const std::string& user) const;

    // A mail with the usual header fields (an empty field is left out) and a short body.
    static std::string MakeMail(const std::string& from, const std::string& subject,
                                const std::string& date, const std::string& body = "Hello.\n");

private:
    struct User {
        std::string name, password;
        std::vector<std::string> messages;
    };
    bool StartOnce(unsigned short port);
    void WriteFiles(unsigned short port);

    std::string m_dir;
    std::vector<User> m_users;
    unsigned short m_port = 0;
    pid_t m_pid = -1;
    long long m_readyAtMs = 0;
    std::string m_error;
};
