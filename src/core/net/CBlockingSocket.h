#pragma once

#include "core/net/IByteStream.h"

#include <atomic>
#include <string>

// A thin wrapper over one blocking IPv4 TCP socket. Failures leave a code (SocketErrors.h) in
// the calling thread's last error, as the socket layer always has.
class CBlockingSocket : public IByteStream {
public:
    CBlockingSocket() = default;
    ~CBlockingSocket() override;
    CBlockingSocket(const CBlockingSocket&) = delete;
    CBlockingSocket& operator=(const CBlockingSocket&) = delete;

    bool Create();
    // host: a dotted IPv4 address or a name, of which the first IPv4 address is used. The name
    // look-up and the connection each wait at most m_connectTimeoutMs, and end on m_cancel.
    bool Connect(const std::string& host, unsigned short port);
    bool Send(const char* data, int length) override;
    int Receive(char* buffer, int length) override;
    bool IsReadable(bool& readable, int waitMs = 0) override;
    void Close();

    bool IsOpen() const { return m_handle >= 0; }
    int Handle() const { return m_handle; }

    // The last error of the calling thread; 0 when none was set.
    static int GetLastError();
    static void SetLastError(int code);
    // The code above for a system errno value.
    static int ErrorFromErrno(int err);

    // Longest wait for a connection to be accepted. The system alone would wait two minutes
    // for a host that drops the request, holding the mail thread (and the program's exit).
    int m_connectTimeoutMs = 20000;
    // When set and true, a look-up or connection still being made, or a TLS handshake on this
    // socket, is given up (SocketError::kCancelled).
    const std::atomic<bool>* m_cancel = nullptr;

private:
    int m_handle = -1;
};
