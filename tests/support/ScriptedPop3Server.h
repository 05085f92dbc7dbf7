#pragma once

#include <map>
#include <string>
#include <thread>
#include <vector>

// A one-connection POP3 server on 127.0.0.1, on its own thread. It greets, then answers each
// command with the reply keyed by the whole line or else by its first word ("+OK\r\n" if none;
// CAPA is not known unless given); it hangs up on QUIT and after a reply without a line end.
// With paceMs, each byte is followed by a pause, and a client that speaks meanwhile cuts the
// reply short. The reply to lateLine ("*": to every line) comes lateMs late.
class ScriptedPop3Server {
public:
    using Replies = std::map<std::string, std::string>;

    ScriptedPop3Server(std::string greeting, Replies replies, int paceMs = 0,
                       std::string lateLine = "", int lateMs = 0);
    ~ScriptedPop3Server();
    ScriptedPop3Server(const ScriptedPop3Server&) = delete;
    ScriptedPop3Server& operator=(const ScriptedPop3Server&) = delete;

    unsigned short Port() const { return m_port; }
    // The lines the client sent, once the session is over.
    std::vector<std::string> Commands();

private:
    void Run();
    bool Say(const std::string& text);
    bool ReadLine(std::string& line);

    std::string m_greeting;
    Replies m_replies;
    int m_paceMs;
    std::string m_lateLine;
    int m_lateMs, m_listen = -1, m_fd = -1;
    unsigned short m_port = 0;
    std::vector<std::string> m_commands;
    std::thread m_thread;
};
