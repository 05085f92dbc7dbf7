#include "core/net/CTlsStream.h"

#include "core/net/CBlockingSocket.h"
#include "core/net/COpenSslLibrary.h"
#include "core/net/SocketErrors.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>

namespace {
// Loaded by the handshake, before any other use.
const COpenSslLibrary& Ssl() {
    std::string unused;
    return *COpenSslLibrary::Get(unused);
}

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string OpenSslErrors() {
    std::string text;
    for (unsigned long e; (e = Ssl().err_get_error()) != 0;) {
        char line[256];
        Ssl().err_error_string_n(e, line, sizeof line);
        if (!text.empty()) text += "; ";
        text += line;
    }
    return text;
}

std::string Sha256Fingerprint(X509* certificate) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!certificate || Ssl().x509_digest(certificate, Ssl().evp_sha256(), digest, &length) != 1)
        return {};
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        if (i) text += ':';
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 15];
    }
    return text;
}

bool IsAddress(const std::string& host) {
    in_addr v4;
    in6_addr v6;
    return inet_pton(AF_INET, host.c_str(), &v4) == 1 ||
           inet_pton(AF_INET6, host.c_str(), &v6) == 1;
}
} // namespace

CTlsStream::CTlsStream(CBlockingSocket& socket) : m_socket(socket) {}

CTlsStream::~CTlsStream() {
    // No close_notify: the server may be gone, and nothing more is said on a dead connection.
    if (m_ssl) Ssl().ssl_free(m_ssl);
    if (m_context) Ssl().ctx_free(m_context);
}

bool CTlsStream::Fail(const std::string& why) {
    m_error = why;
    CBlockingSocket::SetLastError(SocketError::kTlsFailed);
    return false;
}

bool CTlsStream::WaitFor(int sslError, int waitMs) {
    pollfd p{m_socket.Handle(),
             static_cast<short>(sslError == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN), 0};
    for (;;) {
        const int n = poll(&p, 1, waitMs < 0 ? 0 : waitMs);
        if (n >= 0) return n > 0;
        if (errno != EINTR) return false;
    }
}

int CTlsStream::Verify(int preverified, X509_STORE_CTX* context) {
    if (preverified) return 1;
    auto* ssl =
        static_cast<SSL*>(Ssl().store_ctx_get_ex_data(context, Ssl().get_ex_data_store_ctx_idx()));
    auto* self = ssl ? static_cast<CTlsStream*>(Ssl().get_ex_data(ssl, 0)) : nullptr;
    if (!self) return 0;
    // The server's own certificate, whichever link of its chain failed.
    const std::string fingerprint = Sha256Fingerprint(Ssl().store_ctx_get0_cert(context));
    // The one certificate the user accepted for this server, and no other, passes.
    if (!self->m_trusted.empty() && fingerprint == self->m_trusted) return 1;
    self->m_refused = fingerprint;
    return 0;
}

bool CTlsStream::Handshake(const std::string& host, const std::string& caFile,
                           std::uint32_t timeoutMs, const std::string& trustedFingerprint) {
    m_timeoutMs = timeoutMs;
    m_trusted = trustedFingerprint;
    m_refused.clear();
    const int fd = m_socket.Handle();
    if (fd < 0) return Fail("not connected");
    // Non-blocking from here on, so that no OpenSSL call can wait longer than we allow.
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0)
        return Fail("socket set-up failed");

    std::string unavailable;
    const COpenSslLibrary* ssl = COpenSslLibrary::Get(unavailable);
    if (!ssl) return Fail("TLS could not be started: " + unavailable);
    ssl->err_clear_error();
    m_context = ssl->ctx_new(ssl->tls_client_method());
    if (!m_context) return Fail("TLS could not be started: " + OpenSslErrors());
    ssl->ctx_ctrl(m_context, SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
    ssl->ctx_set_verify(m_context, SSL_VERIFY_PEER, &CTlsStream::Verify);
    const bool trusted =
        caFile.empty() ? ssl->ctx_set_default_verify_paths(m_context) == 1
                       : ssl->ctx_load_verify_locations(m_context, caFile.c_str(), nullptr) == 1;
    if (!trusted)
        return Fail("the trusted certificates could not be read" +
                    (caFile.empty() ? std::string() : " from \"" + caFile + "\""));
    m_ssl = ssl->ssl_new(m_context);
    if (!m_ssl || ssl->set_fd(m_ssl, fd) != 1) return Fail("TLS could not be started");
    ssl->set_ex_data(m_ssl, 0, this);
    X509_VERIFY_PARAM* param = ssl->get0_param(m_ssl);
    ssl->param_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    if (IsAddress(host)) {
        ssl->param_set1_ip_asc(param, host.c_str());
    } else {
        ssl->param_set1_host(param, host.c_str(), 0);
        ssl->ssl_ctrl(m_ssl, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                      const_cast<char*>(host.c_str()));
    }

    const std::int64_t deadline = NowMs() + timeoutMs;
    for (;;) {
        const int r = ssl->connect(m_ssl);
        if (r == 1) return true;
        const int e = ssl->get_error(m_ssl, r);
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) {
            if (m_socket.m_cancel && m_socket.m_cancel->load()) {
                m_error = "the secure connection was stopped";
                CBlockingSocket::SetLastError(SocketError::kCancelled);
                return false;
            }
            const std::int64_t left = deadline - NowMs();
            if (left <= 0) return Fail("the server did not complete the secure connection in time");
            // In slices, so that a cancel is seen soon.
            WaitFor(e, static_cast<int>(std::min<std::int64_t>(left, 100)));
            continue;
        }
        const long verify = ssl->get_verify_result(m_ssl);
        if (verify != X509_V_OK && !m_refused.empty())
            return Fail(std::string("the server's certificate was refused: ") +
                        ssl->verify_cert_error_string(verify));
        const std::string details = OpenSslErrors();
        return Fail("the secure connection failed" + (details.empty() ? "" : ": " + details));
    }
}

bool CTlsStream::Send(const char* data, int length) {
    if (!m_ssl || m_failure) {
        CBlockingSocket::SetLastError(m_failure ? m_failure : SocketError::kNotConnected);
        return false;
    }
    const std::int64_t deadline = NowMs() + m_timeoutMs;
    while (length > 0) {
        Ssl().err_clear_error();
        const int n = Ssl().write(m_ssl, data, length);
        if (n > 0) {
            data += n;
            length -= n;
            continue;
        }
        const int e = Ssl().get_error(m_ssl, n);
        const std::int64_t left = deadline - NowMs();
        if ((e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) && left > 0 &&
            WaitFor(e, static_cast<int>(left)))
            continue;
        m_failure = e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE
                        ? SocketError::kTimedOut
                        : SocketError::kConnectionReset;
        CBlockingSocket::SetLastError(m_failure);
        return false;
    }
    return true;
}

bool CTlsStream::Fill() {
    char chunk[16384];
    for (;;) {
        Ssl().err_clear_error();
        const int n = Ssl().read(m_ssl, chunk, sizeof chunk);
        if (n > 0) {
            m_buffer.append(chunk, static_cast<std::size_t>(n));
            if (Ssl().pending(m_ssl) > 0) continue;
            return true;
        }
        const int e = Ssl().get_error(m_ssl, n);
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) return true; // a partial record
        if (e == SSL_ERROR_ZERO_RETURN || (e == SSL_ERROR_SYSCALL && Ssl().err_peek_error() == 0))
            m_closed = true; // the server hung up, with or without saying goodbye
        else
            m_failure = SocketError::kConnectionReset;
        return false;
    }
}

bool CTlsStream::IsReadable(bool& readable, int waitMs) {
    readable = false;
    if (!m_ssl) {
        CBlockingSocket::SetLastError(SocketError::kNotConnected);
        return false;
    }
    // A closed or failed connection counts as readable: the read then tells what happened.
    if (!m_buffer.empty() || m_closed || m_failure) {
        readable = true;
        return true;
    }
    // The socket being readable may bring only part of a record: then nothing is readable yet.
    if (!WaitFor(SSL_ERROR_WANT_READ, waitMs)) return true;
    Fill();
    readable = !m_buffer.empty() || m_closed || m_failure;
    return true;
}

int CTlsStream::Receive(char* buffer, int length) {
    // Normally called once IsReadable found bytes; otherwise it waits as a blocking read would.
    const std::int64_t deadline = NowMs() + m_timeoutMs;
    while (m_buffer.empty() && !m_closed && !m_failure && m_ssl && Fill() && m_buffer.empty()) {
        const std::int64_t left = deadline - NowMs();
        if (left <= 0 || !WaitFor(SSL_ERROR_WANT_READ, static_cast<int>(left))) {
            if (NowMs() >= deadline) m_failure = SocketError::kTimedOut;
        }
    }
    if (!m_buffer.empty()) {
        const int n = std::min(length, static_cast<int>(m_buffer.size()));
        m_buffer.copy(buffer, static_cast<std::size_t>(n));
        m_buffer.erase(0, static_cast<std::size_t>(n));
        return n;
    }
    if (m_closed) return 0;
    CBlockingSocket::SetLastError(m_failure ? m_failure : SocketError::kNotConnected);
    return -1;
}
