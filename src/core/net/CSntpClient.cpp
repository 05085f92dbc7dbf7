#include "core/net/CSntpClient.h"

#include "core/net/CBlockingSocket.h"
#include "core/net/HostLookUp.h"
#include "core/net/SocketErrors.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::uint64_t WallClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return SntpPacket::FromUnix(now.tv_sec, now.tv_nsec);
}

// Closes the socket however the exchange ends.
struct Socket {
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ~Socket() {
        if (fd >= 0) close(fd);
    }
};

} // namespace

bool CSntpClient::Fail(const std::string& why) {
    m_error = why;
    return false;
}

bool CSntpClient::Measure(const std::string& server, SntpPacket::Sample& sample) {
    m_error.clear();
    // An address written as a URL ("ntp://host:port/") names the same server.
    std::string host =
        server.substr(server.find("://") == std::string::npos ? 0 : server.find("://") + 3);
    host = host.substr(0, host.find('/'));
    const std::string written = host;
    unsigned short port = kPort;
    if (const size_t colon = written.rfind(':'); colon != std::string::npos) {
        host = written.substr(0, colon);
        const std::string digits = written.substr(colon + 1);
        const long n = digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos
                           ? 0
                           : std::strtol(digits.c_str(), nullptr, 10);
        if (n < 1 || n > 65535) return Fail("the time server \"" + server + "\" has no valid port");
        port = static_cast<unsigned short>(n);
    }
    if (host.empty()) return Fail("no time server is set");

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (!LookUpIPv4(host, address.sin_addr, m_stop, m_timeoutMs)) {
        const int e = CBlockingSocket::GetLastError();
        return Fail(e == SocketError::kCancelled ? "the request was stopped"
                    : e == SocketError::kTimedOut
                        ? "the name \"" + host + "\" could not be looked up in time"
                        : "the time server \"" + host + "\" was not found");
    }
    Socket s;
    // Connected: replies from any other address are dropped by the system.
    if (s.fd < 0 || connect(s.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return Fail("the time server cannot be reached");

    const std::uint64_t sent = WallClock();
    const auto request = SntpPacket::Request(sent);
    if (send(s.fd, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size()))
        return Fail("the request could not be sent");

    const std::int64_t deadline = NowMs() + m_timeoutMs;
    for (std::int64_t left; (left = deadline - NowMs()) > 0;) {
        if (m_stop && m_stop->load()) return Fail("the request was stopped");
        pollfd p{s.fd, POLLIN, 0};
        // In slices, so that a stop is seen soon.
        const int n = poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left, 100)));
        if (n < 0 && errno != EINTR) return Fail("waiting for the time server failed");
        if (n <= 0) continue;
        unsigned char reply[SntpPacket::kSize * 2];
        const ssize_t got = recv(s.fd, reply, sizeof reply, 0);
        const std::uint64_t received = WallClock();
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return Fail("the time server cannot be reached");
        }
        std::string why;
        if (SntpPacket::Parse(reply, static_cast<std::size_t>(got), sent, received, sample, why))
            return true;
        // One bad reply ends the exchange: a well-behaved server sends exactly one.
        return Fail(why);
    }
    return Fail("the time server did not answer in time");
}
