#include "core/net/CBlockingSocket.h"

#include "core/net/HostLookUp.h"
#include "core/net/SocketErrors.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
thread_local int t_lastError = 0;

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

CBlockingSocket::~CBlockingSocket() {
    Close();
}

int CBlockingSocket::GetLastError() {
    return t_lastError;
}

void CBlockingSocket::SetLastError(int code) {
    t_lastError = code;
}

int CBlockingSocket::ErrorFromErrno(int err) {
    switch (err) {
    case 0:
        return SocketError::kNone;
    case EINTR:
        return SocketError::kInterrupted;
    case EBADF:
    case ENOTSOCK:
        return SocketError::kBadHandle;
    case EACCES:
    case EPERM:
        return SocketError::kAccessDenied;
    case EINVAL:
        return SocketError::kInvalidArgument;
    case EMFILE:
    case ENFILE:
        return SocketError::kTooManyOpen;
    case EAFNOSUPPORT:
        return SocketError::kAddressFamily;
    case EADDRINUSE:
        return SocketError::kAddressInUse;
    case EADDRNOTAVAIL:
        return SocketError::kAddressNotAvailable;
    case ENETDOWN:
        return SocketError::kNetworkDown;
    case ENETUNREACH:
        return SocketError::kNetworkUnreachable;
    case ECONNABORTED:
        return SocketError::kConnectionAborted;
    case ECONNRESET:
    case EPIPE:
        return SocketError::kConnectionReset;
    case ENOBUFS:
    case ENOMEM:
        return SocketError::kNoBuffers;
    case ENOTCONN:
        return SocketError::kNotConnected;
    case ETIMEDOUT:
        return SocketError::kTimedOut;
    case ECONNREFUSED:
        return SocketError::kConnectionRefused;
    case EHOSTDOWN:
        return SocketError::kHostDown;
    case EHOSTUNREACH:
        return SocketError::kHostUnreachable;
    default:
        return err;
    }
}

bool CBlockingSocket::Create() {
    Close();
    m_handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_handle < 0) {
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    return true;
}

bool CBlockingSocket::Connect(const std::string& host, unsigned short port) {
    if (m_handle < 0) {
        SetLastError(SocketError::kBadHandle);
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (!LookUpIPv4(host, address.sin_addr, m_cancel, m_connectTimeoutMs)) return false;

    // Connect without blocking so the wait can be bounded, then go back to blocking mode.
    const int flags = fcntl(m_handle, F_GETFL);
    if (flags < 0 || fcntl(m_handle, F_SETFL, flags | O_NONBLOCK) < 0) {
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    int err = 0;
    if (connect(m_handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        err = errno;
        if (err == EINPROGRESS || err == EINTR) {
            // The start is rounded down to the millisecond: one more keeps the wait from
            // ending before the full time-out.
            const int64_t deadline = NowMs() + m_connectTimeoutMs + 1;
            err = ETIMEDOUT;
            for (int64_t left; (left = deadline - NowMs()) > 0;) {
                if (m_cancel && m_cancel->load()) {
                    err = -1;
                    break;
                }
                pollfd p{m_handle, POLLOUT, 0};
                // In slices, so that a cancel is seen soon.
                const int n = poll(&p, 1, static_cast<int>(std::min<int64_t>(left, 100)));
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    err = errno;
                    break;
                }
                if (n == 0) continue;
                socklen_t len = sizeof err;
                if (getsockopt(m_handle, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
                break;
            }
        }
    }
    if (err == 0 && fcntl(m_handle, F_SETFL, flags) < 0) err = errno;
    if (err != 0) {
        SetLastError(err < 0 ? SocketError::kCancelled : ErrorFromErrno(err));
        return false;
    }
    return true;
}

bool CBlockingSocket::Send(const char* data, int length) {
    if (m_handle < 0) {
        SetLastError(SocketError::kNotConnected);
        return false;
    }
    // A single send may take only part of the bytes; a closed peer must not raise SIGPIPE.
    while (length > 0) {
        const ssize_t n = send(m_handle, data, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetLastError(ErrorFromErrno(errno));
            return false;
        }
        data += n;
        length -= static_cast<int>(n);
    }
    return true;
}

int CBlockingSocket::Receive(char* buffer, int length) {
    if (m_handle < 0) {
        SetLastError(SocketError::kNotConnected);
        return -1;
    }
    for (;;) {
        const ssize_t n = recv(m_handle, buffer, static_cast<size_t>(length), 0);
        if (n >= 0) return static_cast<int>(n);
        if (errno == EINTR) continue;
        SetLastError(ErrorFromErrno(errno));
        return -1;
    }
}

bool CBlockingSocket::IsReadable(bool& readable, int waitMs) {
    readable = false;
    if (m_handle < 0) {
        SetLastError(SocketError::kNotConnected);
        return false;
    }
    pollfd p{m_handle, POLLIN, 0};
    const int n = poll(&p, 1, waitMs < 0 ? 0 : waitMs);
    if (n < 0) {
        if (errno == EINTR) return true;
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    if (p.revents & POLLNVAL) {
        SetLastError(SocketError::kBadHandle);
        return false;
    }
    // A closed or failed connection counts as readable: the read then tells what happened.
    readable = (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    return true;
}

void CBlockingSocket::Close() {
    if (m_handle >= 0) {
        ::close(m_handle);
        m_handle = -1;
    }
}
