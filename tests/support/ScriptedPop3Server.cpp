#include "support/ScriptedPop3Server.h"

#include "support/Loopback.h"

#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ScriptedPop3Server::ScriptedPop3Server(std::string greeting, Replies replies, int paceMs,
                                       std::string lateLine, int lateMs)
    : m_greeting(std::move(greeting)), m_replies(std::move(replies)), m_paceMs(paceMs),
      m_lateLine(std::move(lateLine)), m_lateMs(lateMs) {
    m_replies.emplace("CAPA", "-ERR unknown command\r\n");
    m_listen = ListenOnLoopback(m_port, 1);
    m_thread = std::thread([this] { Run(); });
}

ScriptedPop3Server::~ScriptedPop3Server() {
    shutdown(m_listen, SHUT_RDWR); // ends the wait for a client that never came
    Commands();
    close(m_listen);
    close(m_fd);
}

std::vector<std::string> ScriptedPop3Server::Commands() {
    if (m_thread.joinable()) m_thread.join();
    return m_commands;
}

void ScriptedPop3Server::Run() {
    if ((m_fd = accept(m_listen, nullptr, nullptr)) < 0) return;
    const int one = 1;         // every byte leaves at once
    const timeval wait{10, 0}; // a failed test's client may never hang up
    setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    bool open = Say(m_greeting);
    for (std::string line; open && ReadLine(line) && line != "QUIT";) {
        auto reply = m_replies.find(line);
        if (reply == m_replies.end()) reply = m_replies.find(line.substr(0, line.find(' ')));
        const std::string text = reply == m_replies.end() ? "+OK\r\n" : reply->second;
        if (line == m_lateLine || m_lateLine == "*") SleepMs(m_lateMs);
        open = Say(text) && text.back() == '\n';
    }
    shutdown(m_fd, SHUT_RDWR);
}

bool ScriptedPop3Server::Say(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t sent =
            send(m_fd, text.data() + at, m_paceMs ? 1 : text.size() - at, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        at += static_cast<std::size_t>(sent);
        pollfd p{m_fd, POLLIN, 0};
        if (m_paceMs && poll(&p, 1, m_paceMs) != 0) break;
    }
    return true;
}

bool ScriptedPop3Server::ReadLine(std::string& line) {
    line.clear();
    for (char c; recv(m_fd, &c, 1, 0) == 1;) {
        if (c == '\n') return m_commands.push_back(line), true;
        if (c != '\r') line += c;
    }
    return false;
}
