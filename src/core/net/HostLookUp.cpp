#include "core/net/HostLookUp.h"

#include "core/net/CBlockingSocket.h"
#include "core/net/SocketErrors.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <system_error>
#include <thread>

namespace {
int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

bool LookUpIPv4(const std::string& host, in_addr& address, const std::atomic<bool>* cancel,
                int timeoutMs) {
    if (inet_pton(AF_INET, host.c_str(), &address) == 1) return true;
    struct LookUp {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool found = false;
        in_addr address{};
    };
    auto look = std::make_shared<LookUp>();
    try {
        std::thread([look, host] {
            addrinfo hints{};
            hints.ai_family = AF_INET;
            hints.ai_socktype = SOCK_STREAM;
            addrinfo* found = nullptr;
            const bool ok = getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found;
            const std::lock_guard lock(look->mutex);
            if (ok) look->address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
            if (found) freeaddrinfo(found);
            look->found = ok;
            look->finished = true;
            look->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        CBlockingSocket::SetLastError(SocketError::kNoBuffers);
        return false;
    }
    const int64_t deadline = NowMs() + timeoutMs + 1;
    std::unique_lock lock(look->mutex);
    for (int64_t left; !look->finished && (left = deadline - NowMs()) > 0;) {
        if (cancel && cancel->load()) {
            CBlockingSocket::SetLastError(SocketError::kCancelled);
            return false;
        }
        // In slices, so that a cancel is seen soon.
        look->done.wait_for(lock, std::chrono::milliseconds(std::min<int64_t>(left, 100)));
    }
    if (!look->finished) {
        CBlockingSocket::SetLastError(SocketError::kTimedOut);
        return false;
    }
    if (!look->found) {
        CBlockingSocket::SetLastError(SocketError::kInvalidArgument);
        return false;
    }
    address = look->address;
    return true;
}
