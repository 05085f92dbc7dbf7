#include "support/Loopback.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
sockaddr_in LoopbackAddress(unsigned short port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}
} // namespace

int BindLoopback(unsigned short& port, int type) {
    const int s = socket(AF_INET, type, 0);
    sockaddr_in a = LoopbackAddress(port);
    socklen_t len = sizeof a;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        if (s >= 0) close(s);
        return -1;
    }
    port = ntohs(a.sin_port);
    return s;
}

unsigned short FreeLoopbackPort(int type) {
    unsigned short port = 0;
    const int s = BindLoopback(port, type);
    if (s >= 0) close(s);
    return port;
}

int ListenOnLoopback(unsigned short& port, int backlog) {
    const int s = BindLoopback(port, SOCK_STREAM);
    if (s >= 0 && listen(s, backlog) != 0) {
        close(s);
        return -1;
    }
    return s;
}

bool LoopbackAccepts(unsigned short port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = LoopbackAddress(port);
    const bool ok = connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

void SleepMs(long long ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void StopChild(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; waitpid(pid, nullptr, WNOHANG) == 0; ++i, SleepMs(10))
        if (i == 500) kill(pid, SIGKILL);
    pid = -1;
}
