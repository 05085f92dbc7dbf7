#include "ScriptedServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {
long long NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
constexpr int kSliceMs = 20; // how often a waiting server looks whether it should stop
} // namespace

ScriptedServer::ScriptedServer(Script script) : m_script(std::move(script)) {
    m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (m_listen < 0 || bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        listen(m_listen, 4) != 0 ||
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len) != 0)
        throw std::runtime_error("scripted server cannot listen");
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this] { Run(); });
}

ScriptedServer::~ScriptedServer() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_listen >= 0) close(m_listen);
}

void ScriptedServer::WaitUntilDone() {
    if (m_thread.joinable()) m_thread.join();
}

void ScriptedServer::Run() {
    int fd = -1;
    while (!m_stop && fd < 0) {
        pollfd p{m_listen, POLLIN, 0};
        if (poll(&p, 1, kSliceMs) == 1) fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
    }
    if (fd < 0) return;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    Session session(*this, fd);
    m_script(session);
    close(fd);
}

std::vector<ScriptedServer::Line> ScriptedServer::Received() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

std::vector<std::string> ScriptedServer::Commands() const {
    std::vector<std::string> commands;
    for (const auto& line : Received())
        commands.push_back(line.text);
    return commands;
}

ScriptedServer::Session::Session(ScriptedServer& server, int fd)
    : m_server(server), m_fd(fd), m_acceptedAt(NowMs()) {}

long long ScriptedServer::Session::ElapsedMs() const {
    return NowMs() - m_acceptedAt;
}

bool ScriptedServer::Session::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        if (m_server.m_stop) return false;
        const ssize_t n = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            m_server.m_sent += n;
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
        pollfd p{m_fd, POLLOUT, 0};
        poll(&p, 1, kSliceMs);
    }
    return true;
}

std::optional<std::string> ScriptedServer::Session::ReadLine(int timeoutMs) {
    const long long deadline = NowMs() + timeoutMs;
    for (;;) {
        const auto lf = m_input.find('\n');
        if (lf != std::string::npos) {
            std::string line = m_input.substr(0, lf);
            m_input.erase(0, lf + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::lock_guard<std::mutex> lock(m_server.m_mutex);
            m_server.m_received.push_back({ElapsedMs(), line});
            return line;
        }
        if (m_server.m_stop || NowMs() >= deadline) return std::nullopt;
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, kSliceMs) != 1) continue;
        char buf[4096];
        const ssize_t n = recv(m_fd, buf, sizeof buf, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return std::nullopt;
        if (n > 0) m_input.append(buf, static_cast<size_t>(n));
    }
}

bool ScriptedServer::Session::Pause(int ms) {
    const long long deadline = NowMs() + ms;
    while (NowMs() < deadline) {
        if (m_server.m_stop) return false;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<long long>(kSliceMs, deadline - NowMs())));
    }
    return !m_server.m_stop;
}

ScriptedServer::Script
ScriptedServer::Answering(std::string greeting,
                          std::vector<std::pair<std::string, std::string>> replies) {
    return [greeting = std::move(greeting), replies = std::move(replies)](Session& s) {
        if (!s.Send(greeting)) return;
        while (auto line = s.ReadLine()) {
            if (*line == "QUIT") {
                s.Send("+OK bye\r\n");
                return;
            }
            const std::string word = line->substr(0, line->find(' '));
            std::string reply = "+OK\r\n";
            for (const auto& [key, answer] : replies) {
                if (key == *line || key == word) {
                    reply = answer;
                    break;
                }
            }
            if (!s.Send(reply)) return;
        }
    };
}
