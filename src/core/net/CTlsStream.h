#pragma once

#include "core/net/IByteStream.h"

#include <cstdint>
#include <string>

class CBlockingSocket;
struct ssl_ctx_st;
struct ssl_st;

// TLS over a connected socket, with OpenSSL. The server's certificate chain is checked against
// the system's trusted certificates (or a given CA file) and must name the host that was asked
// for. Every wait is bounded, like the plain socket's.
class CTlsStream : public IByteStream {
public:
    explicit CTlsStream(CBlockingSocket& socket);
    ~CTlsStream() override;
    CTlsStream(const CTlsStream&) = delete;
    CTlsStream& operator=(const CTlsStream&) = delete;

    // host: the name (or dotted address) the certificate must be for. caFile: a PEM file of
    // trusted certificates used instead of the system's; empty for the system's.
    // trustedFingerprint: the SHA-256 fingerprint ("AB:CD:...") of a certificate the user
    // accepted for this server: that one is taken though it fails verification. On false the last
    // error is SocketError::kTlsFailed and Error() tells why in words.
    bool Handshake(const std::string& host, const std::string& caFile, std::uint32_t timeoutMs,
                   const std::string& trustedFingerprint = {});
    const std::string& Error() const { return m_error; }
    // After a refused certificate: the server certificate's SHA-256 fingerprint.
    const std::string& RefusedFingerprint() const { return m_refused; }

    bool Send(const char* data, int length) override;
    int Receive(char* buffer, int length) override;
    bool IsReadable(bool& readable, int waitMs = 0) override;

private:
    // Waits up to waitMs for the socket to allow what OpenSSL asked for (sslError).
    bool WaitFor(int sslError, int waitMs);
    bool Fail(const std::string& why);
    // Pulls what the socket holds into m_buffer; false when the connection failed or closed.
    bool Fill();
    static int Verify(int preverified, struct x509_store_ctx_st* context);

    CBlockingSocket& m_socket;
    ssl_ctx_st* m_context = nullptr;
    ssl_st* m_ssl = nullptr;
    std::uint32_t m_timeoutMs = 6000;
    std::string m_error;
    std::string m_trusted, m_refused;
    std::string m_buffer; // decrypted bytes not yet handed out
    bool m_closed = false;
    int m_failure = 0; // the socket error that ended the connection, once it has
};
