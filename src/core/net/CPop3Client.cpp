#include "core/net/CPop3Client.h"

#include "core/net/SocketErrors.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

namespace {
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kMultiLineEnd = "\r\n.\r\n";
// One LIST line at most: a six-digit message number, a blank, a ten-digit size, CR LF.
constexpr std::size_t kListLineCapacity = 19;

std::uint64_t SteadyTickMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool BeginsWithOk(std::string_view text, bool matchCase) {
    if (text.size() < 3 || text[0] != '+') return false;
    if (matchCase) return text[1] == 'O' && text[2] == 'K';
    return (text[1] == 'O' || text[1] == 'o') && (text[2] == 'K' || text[2] == 'k');
}

// Reads a decimal number at pos as the C library would (leading blanks, an optional sign),
// saturating instead of overflowing. pos is left after the digits.
long long ReadNumber(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    constexpr long long kMax = std::numeric_limits<long long>::max();
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        const int digit = text[pos] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

// Removes the extra dot the server puts before every line that begins with a dot.
std::string Unstuff(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool lineStart = true;
    for (char c : text) {
        if (!(lineStart && c == '.')) out += c;
        lineStart = c == '\n';
    }
    return out;
}
} // namespace

CPop3Client::CPop3Client()
    : m_stream(&m_socket), m_ownSocket(true), m_tick(SteadyTickMs), m_pause(SleepMs) {}

CPop3Client::CPop3Client(IByteStream& stream)
    : m_stream(&stream), m_ownSocket(false), m_tick(SteadyTickMs), m_pause(SleepMs) {}

CPop3Client::~CPop3Client() {
    if (m_connected) Disconnect();
}

void CPop3Client::SetClock(TickFunction tick, PauseFunction pause) {
    m_tick = tick ? tick : SteadyTickMs;
    m_pause = pause ? pause : SleepMs;
}

bool CPop3Client::Fail(int error, const std::string& text) {
    CBlockingSocket::SetLastError(error);
    m_lastResponse = text;
    return false;
}

bool CPop3Client::Break(int error, const std::string& text) {
    m_broken = true;
    return Fail(error, text);
}

bool CPop3Client::SendCommand(const std::string& command) {
    // The failure that broke the connection stays the one reported.
    if (m_broken) return false;
    if (m_stream->Send(command.data(), static_cast<int>(command.size()))) return true;
    m_broken = true;
    return false;
}

bool CPop3Client::Command(const std::string& command, std::size_t capacity) {
    std::string reply;
    return SendCommand(command) && ReadResponse(reply, capacity, kLineEnd);
}

bool CPop3Client::ReadResponse(std::string& text, std::size_t capacity, std::string_view terminator,
                               Overflow overflow) {
    const bool multiLine = terminator == kMultiLineEnd;
    bool firstLineSeen = false;
    std::size_t searchFrom = 0;
    // Where the reply ends and how long its end mark is, once both are known.
    const auto findEnd = [&](std::size_t& markLength) {
        markLength = terminator.size();
        if (multiLine && !firstLineSeen) {
            // A negative answer to a multi-line command is a single line.
            const std::size_t eol = text.find(kLineEnd);
            if (eol != std::string::npos) {
                firstLineSeen = true;
                if (!BeginsWithOk(text, false)) {
                    markLength = kLineEnd.size();
                    return eol;
                }
            }
        }
        const std::size_t end = text.find(terminator, searchFrom);
        if (end == std::string::npos && text.size() >= terminator.size())
            searchFrom = text.size() - terminator.size() + 1;
        return end;
    };

    // Bytes that came after the end of the previous reply belong to this one.
    text.assign(m_pending, 0, std::min(capacity, m_pending.size()));
    m_pending.erase(0, text.size());
    bool fresh = !text.empty();
    char chunk[16384];

    const std::uint64_t start = m_tick();
    std::uint64_t lastActivity = start;
    for (;;) {
        if (fresh) {
            std::size_t markLength = 0;
            const std::size_t end = findEnd(markLength);
            if (end != std::string::npos) {
                m_pending.insert(0, text, end + markLength);
                text.resize(end);
                if (BeginsWithOk(text, false)) return true;
                return Fail(SocketError::kNegativeReply, text);
            }
            fresh = false;
        }

        const std::uint64_t now = m_tick();
        const std::uint64_t idle = now - lastActivity, busy = now - start;
        if (idle > m_timeoutMs || busy > m_replyLimitMs || DeadlinePassed())
            return Break(SocketError::kTimedOut, text);
        if (m_cancel && m_cancel->load()) return Break(SocketError::kCancelled, text);
        // Wait in slices of at most 100 ms, and never beyond the moment a limit is passed.
        std::uint64_t untilLimit = std::min(m_timeoutMs - idle, m_replyLimitMs - busy) + 1;
        if (m_deadline) untilLimit = std::min(untilLimit, m_deadline - now);
        const auto slice = static_cast<std::uint32_t>(std::min<std::uint64_t>(100, untilLimit));

        if (text.size() >= capacity) {
            // Nothing is read past the buffer: a reply this long can only fail.
            if (overflow == Overflow::Refuse) return Break(SocketError::kNegativeReply, text);
            m_pause(slice);
            continue;
        }
        bool readable = false;
        if (!m_stream->IsReadable(readable, static_cast<int>(slice)))
            return Break(CBlockingSocket::GetLastError(), text);
        if (!readable) continue;

        const std::size_t room = std::min(sizeof chunk, capacity - text.size());
        const int count = m_stream->Receive(chunk, static_cast<int>(room));
        if (count < 0) return Break(CBlockingSocket::GetLastError(), text);
        // Without this the loop would spin on the closed socket until the time-out.
        if (count == 0) return Break(SocketError::kPeerClosed, text);
        lastActivity = m_tick();
        text.append(chunk, static_cast<std::size_t>(count));
        fresh = true;
    }
}

bool CPop3Client::Connect(const std::string& server, const std::string& user,
                          const std::string& password, unsigned short port) {
    m_broken = false;
    m_sentInClear = false;
    m_refusedFingerprint.clear();
    m_pending.clear();
    if (m_ownSocket) {
        m_socket.m_cancel = m_cancel;
        if (!m_socket.Create()) return false;
        if (!m_socket.Connect(server, port) ||
            (m_security == Security::Implicit && !StartTls(server))) {
            DropConnection();
            return false;
        }
    }
    m_connected = 1;

    // A line break in a name or password would smuggle in a command of its own.
    const auto hasLineBreak = [](const std::string& s) {
        return s.find_first_of("\r\n") != std::string::npos;
    };
    std::string greeting;
    bool ok = ReadResponse(greeting, kLineReplyCapacity, kLineEnd);
    const bool upgrade = m_security == Security::IfOffered || m_security == Security::StartTls;
    if (ok && m_ownSocket && upgrade && !m_tlsStream) {
        bool offered = false;
        // Once offered, a failing upgrade ends the log-in: the password never goes out plain.
        ok = OffersStartTls(offered) &&
             (!offered || (Command("STLS\r\n", kLineReplyCapacity) && StartTls(server)));
        // Required, and not offered (perhaps struck from the answer on the way): no log-in.
        if (ok && !offered && m_security == Security::StartTls)
            ok = Fail(SocketError::kTlsFailed,
                      "the server offers no secure connection (STARTTLS), so the password was "
                      "not sent");
    }
    if (ok && (hasLineBreak(user) || hasLineBreak(password)))
        ok = Fail(SocketError::kInvalidArgument, "");
    ok = ok && Command("USER " + user + "\r\n", kLineReplyCapacity);
    m_sentInClear = ok && m_ownSocket && !m_tlsStream;
    ok = ok && Command("PASS " + password + "\r\n", kLineReplyCapacity);
    if (!ok) {
        // Say goodbye, but report why the log-in failed, not how the goodbye went.
        const int error = CBlockingSocket::GetLastError();
        const std::string response = m_lastResponse;
        Disconnect();
        CBlockingSocket::SetLastError(error);
        m_lastResponse = response;
    }
    return ok;
}

bool CPop3Client::OffersStartTls(bool& offered) {
    offered = false;
    std::string reply;
    if (!SendCommand("CAPA\r\n")) return false;
    const int error = CBlockingSocket::GetLastError();
    const std::string response = m_lastResponse;
    if (!ReadResponse(reply, 4 * kLineReplyCapacity, kMultiLineEnd, Overflow::Refuse)) {
        if (m_broken) return false;
        // "-ERR": an old server, which offers nothing; that is no failure.
        CBlockingSocket::SetLastError(error);
        m_lastResponse = response;
        return true;
    }
    for (std::size_t pos = reply.find('\n'); pos != std::string::npos;) {
        const std::size_t end = reply.find('\n', ++pos);
        std::string line = reply.substr(pos, end == std::string::npos ? end : end - pos);
        while (!line.empty() && (line.back() == '\r' || IsBlank(line.back())))
            line.pop_back();
        if (line.size() == 4 && (line[0] | 0x20) == 's' && (line[1] | 0x20) == 't' &&
            (line[2] | 0x20) == 'l' && (line[3] | 0x20) == 's')
            offered = true;
        pos = end;
    }
    return true;
}

bool CPop3Client::StartTls(const std::string& host) {
    // Bytes that came before the handshake would be taken for protected ones.
    if (!m_pending.empty()) return Break(SocketError::kNegativeReply, m_pending);
    auto tls = std::make_unique<CTlsStream>(m_socket);
    if (!tls->Handshake(host, m_caFile, m_timeoutMs, m_trustedFingerprint)) {
        m_broken = true;
        m_lastResponse = tls->Error();
        m_refusedFingerprint = tls->RefusedFingerprint();
        return false;
    }
    m_tlsStream = std::move(tls);
    m_stream = m_tlsStream.get();
    return true;
}

void CPop3Client::DropConnection() {
    m_pending.clear();
    if (!m_ownSocket) return;
    m_stream = &m_socket;
    m_tlsStream.reset();
    m_socket.Close();
}

bool CPop3Client::Disconnect() {
    bool ok = false;
    if (m_connected) {
        std::string reply;
        ok = !m_broken && SendCommand("QUIT\r\n") &&
             ReadResponse(reply, kLineReplyCapacity, kLineEnd);
        m_connected = 0;
        m_messageCount = 0;
        m_listDone = 0;
        m_statDone = 0;
        m_sizes.clear();
    }
    DropConnection();
    return ok;
}

bool CPop3Client::Noop() {
    return Command("NOOP\r\n", kLineReplyCapacity);
}

bool CPop3Client::ParseStat(std::string_view reply, int& count, long long& totalSize) {
    if (!BeginsWithOk(reply, true)) return false;
    std::size_t pos = 0;
    while (pos < reply.size() && !IsBlank(reply[pos]))
        ++pos;
    if (pos == reply.size()) return false;
    const long long n = ReadNumber(reply, pos);
    while (pos < reply.size() && !IsBlank(reply[pos]))
        ++pos;
    if (pos == reply.size()) return false;
    const long long size = ReadNumber(reply, pos);
    if (n < 0) return false;
    // A count beyond what an int holds is as good as endless: only the newest are listed.
    count = static_cast<int>(std::min<long long>(n, std::numeric_limits<int>::max()));
    totalSize = size;
    return true;
}

void CPop3Client::ParseList(std::string_view reply, std::vector<std::uint32_t>& sizes) {
    sizes.clear();
    std::size_t pos = reply.find('\n');
    while (pos != std::string_view::npos && ++pos < reply.size()) {
        std::size_t end = reply.find('\n', pos);
        std::string_view line = reply.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line == ".") break;
        // "number size": the size is the field after the first blank.
        std::size_t at = 0;
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
        if (at < line.size()) {
            const long long size = ReadNumber(line, at);
            sizes.push_back(static_cast<std::uint32_t>(
                std::clamp<long long>(size, 0, std::numeric_limits<std::uint32_t>::max())));
        }
        pos = end;
    }
}

bool CPop3Client::Stat(int& count, long long& totalSize) {
    std::string reply;
    if (!SendCommand("STAT\r\n") || !ReadResponse(reply, kStatReplyCapacity, kLineEnd))
        return false;
    int n = 0;
    long long size = 0;
    // Case matters here, unlike for the other replies; a count beyond belief is refused.
    if (!ParseStat(reply, n, size)) return Fail(SocketError::kNegativeReply, reply);
    count = n;
    totalSize = size;
    m_messageCount = n;
    return true;
}

bool CPop3Client::List() {
    m_listDone = 0;
    if (!m_statDone) {
        int count = 0;
        long long size = 0;
        if (!Stat(count, size)) return false;
        m_statDone = 1;
    }
    const std::size_t capacity =
        kListLineCapacity * static_cast<std::size_t>(m_messageCount) + kLineReplyCapacity;
    std::string reply;
    if (!SendCommand("LIST\r\n") || !ReadResponse(reply, capacity, kMultiLineEnd)) return false;
    m_sizes.reserve(static_cast<std::size_t>(m_messageCount));
    ParseList(reply, m_sizes);
    m_listDone = 1;
    return true;
}

bool CPop3Client::GetMessageSize(int n, std::uint32_t& size) {
    if (!m_statDone) {
        int count = 0;
        long long total = 0;
        if (!Stat(count, total)) return false;
        m_statDone = 1;
    }
    if (m_messageCount > kMaxFullListing) {
        // "+OK n size" for this message alone.
        std::string reply;
        if (!SendCommand("LIST " + std::to_string(n) + "\r\n") ||
            !ReadResponse(reply, kLineReplyCapacity, kLineEnd))
            return false;
        std::size_t pos = reply.find(' ');
        if (pos != std::string::npos) pos = reply.find(' ', pos + 1);
        if (pos == std::string::npos) return Fail(SocketError::kNegativeReply, reply);
        size = static_cast<std::uint32_t>(std::clamp<long long>(
            ReadNumber(reply, pos), 0, std::numeric_limits<std::uint32_t>::max()));
        return true;
    }
    if (!m_listDone && !List()) return false;
    if (n < 1 || static_cast<std::size_t>(n) > m_sizes.size()) {
        CBlockingSocket::SetLastError(SocketError::kInvalidArgument);
        return false;
    }
    size = m_sizes[static_cast<std::size_t>(n) - 1];
    return true;
}

bool CPop3Client::GetHeader(int n, std::string& text) {
    std::uint32_t size = 0;
    if (!GetMessageSize(n, size)) return false;
    if (!SendCommand("TOP " + std::to_string(n) + " 0\r\n")) return false;
    // The header fits in the message's size plus the status line; past 1 MiB it is refused.
    std::size_t capacity = static_cast<std::size_t>(size) + 100;
    Overflow overflow = Overflow::TimeOut;
    if (capacity > kMaxHeaderReply) {
        capacity = kMaxHeaderReply;
        overflow = Overflow::Refuse;
    }
    std::string reply;
    if (!ReadResponse(reply, capacity, kMultiLineEnd, overflow)) return false;
    const std::size_t eol = reply.find(kLineEnd);
    text =
        eol == std::string::npos ? std::string() : Unstuff(std::string_view(reply).substr(eol + 2));
    return true;
}
