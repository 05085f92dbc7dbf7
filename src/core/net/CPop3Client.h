#pragma once

#include "core/net/CBlockingSocket.h"
#include "core/net/CTlsStream.h"
#include "core/net/MailServerAddress.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A small synchronous POP3 client (USER, PASS, NOOP, STAT, LIST, TOP n 0, QUIT). It reads
// headers only and never deletes anything. Every wait for a reply is bounded, so no call
// holds the mail thread for long. On false, CBlockingSocket::GetLastError() and
// m_lastResponse tell why.
class CPop3Client {
public:
    // Up to this many messages, one LIST gives every size; beyond, each is asked for alone
    // ("LIST n"), so a huge mailbox costs no huge reply.
    static constexpr int kMaxFullListing = 100000;
    // A longer header is refused rather than read.
    static constexpr std::size_t kMaxHeaderReply = 1024 * 1024;

    static constexpr std::size_t kLineReplyCapacity = 1000; // greeting, USER, PASS, NOOP, QUIT
    static constexpr std::size_t kStatReplyCapacity = 100;

    CPop3Client();
    // Talks over an already open stream instead of its own socket (tests, fuzzing).
    explicit CPop3Client(IByteStream& stream);
    ~CPop3Client();
    CPop3Client(const CPop3Client&) = delete;
    CPop3Client& operator=(const CPop3Client&) = delete;

    bool Connect(const std::string& server, const std::string& user, const std::string& password,
                 unsigned short port = 110);
    bool Disconnect();
    bool Noop();
    bool Stat(int& count, long long& totalSize);
    bool List();
    bool GetMessageSize(int n, std::uint32_t& size);
    bool GetHeader(int n, std::string& text);

    bool IsConnected() const { return m_connected != 0; }
    // A reply was cut short (time-out, limit, refusal, hang-up): the rest of it may still come,
    // so nothing more is sent on this connection, not even QUIT.
    bool IsBroken() const { return m_broken; }
    bool IsSecure() const { return m_tlsStream != nullptr; }
    // False when it talks over a stream it was given (no address is then needed).
    bool OwnsSocket() const { return m_ownSocket; }
    int MessageCount() const { return m_messageCount; }
    const std::vector<std::uint32_t>& Sizes() const { return m_sizes; }

    // Parsers of the STAT and LIST replies (the whole reply, first line included).
    static bool ParseStat(std::string_view reply, int& count, long long& totalSize);
    static void ParseList(std::string_view reply, std::vector<std::uint32_t>& sizes);

    // The text of the last reply that ended in failure.
    std::string m_lastResponse;
    // No byte for this long while a reply is awaited: the command fails with a time-out.
    std::uint32_t m_timeoutMs = 6000;
    // A reply not complete after this long fails too, however steadily its bytes trickle in.
    std::uint32_t m_replyLimitMs = 60000;
    // Where the socket is made and connected by Connect().
    CBlockingSocket m_socket;

    // How Connect() secures its own socket: not at all, with TLS from the first byte, with STLS
    // (then before the user name is sent) when the server's CAPA answer offers it, or with STLS
    // or not at all (StartTls: no offer, no log-in).
    using Security = MailSecurity;
    Security m_security = Security::IfOffered;
    // PEM file of the certificates to trust instead of the system's (tests).
    std::string m_caFile;
    // The SHA-256 fingerprint of a certificate the user trusts for this server though it fails
    // verification ("AB:CD:..."); empty for none.
    std::string m_trustedFingerprint;
    // After a log-in that failed because the certificate was refused: its fingerprint.
    std::string m_refusedFingerprint;
    // USER and PASS went out on an unsecured connection.
    bool m_sentInClear = false;
    // A tick of the clock below (0: none) after which every wait fails: the whole check's limit.
    std::uint64_t m_deadline = 0;
    bool DeadlinePassed() const { return m_deadline != 0 && m_tick() >= m_deadline; }
    std::uint64_t Tick() const { return m_tick(); }
    // When set and true, the exchange stops at the next look at the socket (the program ends).
    const std::atomic<bool>* m_cancel = nullptr;

    // The millisecond clock and the sleep used while waiting; tests may replace both.
    using TickFunction = std::uint64_t (*)();
    using PauseFunction = void (*)(std::uint32_t ms);
    void SetClock(TickFunction tick, PauseFunction pause);

private:
    enum class Overflow { TimeOut, Refuse };

    bool SendCommand(const std::string& command);
    // Reads one reply ending in terminator ("\r\n", or "\r\n.\r\n" for a multi-line reply)
    // into text, holding at most capacity bytes. Text is the reply without its terminator.
    bool ReadResponse(std::string& text, std::size_t capacity, std::string_view terminator,
                      Overflow overflow = Overflow::TimeOut);
    bool Fail(int error, const std::string& text);
    bool Command(const std::string& command, std::size_t capacity);
    // The fault of a reply that was not read to its end: the connection is out of step.
    bool Break(int error, const std::string& text);
    bool StartTls(const std::string& host);
    // Asks CAPA; true when the answer lists STLS. A server without CAPA offers nothing.
    bool OffersStartTls(bool& offered);
    void DropConnection();

    IByteStream* m_stream;
    bool m_ownSocket;
    std::unique_ptr<CTlsStream> m_tlsStream;
    bool m_broken = false;
    TickFunction m_tick;
    PauseFunction m_pause;

    std::string m_pending;              // read after the end of the last reply
    std::vector<std::uint32_t> m_sizes; // index 0 = message 1
    int m_messageCount = 0;
    int m_listDone = 0;
    int m_statDone = 0;
    int m_connected = 0;
};
