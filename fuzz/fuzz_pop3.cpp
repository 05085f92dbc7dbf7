// Feeds arbitrary bytes to the POP3 client as the server's side of a whole mail check, and to
// the header and reply parsers on their own. The first byte sets how the stream is cut into
// reads, so replies split at every possible place are tried.
#include "core/model/CMailAccount.h"
#include "core/net/CPop3Client.h"
#include "core/net/CountPop3Messages.h"
#include "core/net/ExtractField.h"
#include "core/net/IByteStream.h"
#include "core/net/MimeHeaderText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {
class ScriptStream : public IByteStream {
public:
    ScriptStream(std::string_view bytes, int piece) : m_bytes(bytes), m_piece(piece) {}
    bool Send(const char*, int) override { return true; }
    int Receive(char* buffer, int length) override {
        if (m_bytes.empty()) return 0; // the server hangs up when its script ends
        const std::size_t n = std::min(
            {m_bytes.size(), static_cast<std::size_t>(length), static_cast<std::size_t>(m_piece)});
        std::copy_n(m_bytes.data(), n, buffer);
        m_bytes.remove_prefix(n);
        return static_cast<int>(n);
    }
    bool IsReadable(bool& readable, int) override {
        readable = true;
        return true;
    }

private:
    std::string_view m_bytes;
    int m_piece;
};

// A clock that moves only when the client waits, so time-outs cost no real time.
std::uint64_t g_now = 0;
std::uint64_t Tick() {
    return g_now;
}
void Pause(std::uint32_t ms) {
    g_now += ms;
}

void Check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    for (const char* name : {"From:", "Subject:", "Date:"}) {
        const std::string value = ExtractField(text, name);
        Check(value.size() <= size);
        Check(value.find('\n') == std::string::npos); // unfolded: one line
    }
    int count = -1;
    long long total = 0;
    if (CPop3Client::ParseStat(text, count, total)) Check(count >= 0);
    std::vector<std::uint32_t> sizes;
    CPop3Client::ParseList(text, sizes);
    Check(sizes.size() <= size);

    if (size == 0) return 0;
    const int piece = data[0] < 128 ? 1 + data[0] % 32 : 1 << 20;
    ScriptStream stream(text.substr(1), piece);
    CPop3Client client(stream);
    client.SetClock(Tick, Pause);
    CMailAccount account;
    const int maxListed = 50;
    const int result = CountPop3Messages(client, account, 0, maxListed);
    Check(result >= -1);
    // Only the newest are listed, each with four fields, each within its bound.
    Check(account.m_messages.size() % 4 == 0);
    Check(account.m_messages.size() <= (result < 0 ? 0u : 4u * std::min(result, maxListed)));
    for (std::size_t i = 0; i < account.m_messages.size(); ++i)
        Check(i % 4 == 3 ? account.m_messages[i].empty()
                         : account.m_messages[i].size() <= 4 * (kMaxShownChars + 1));
    Check(client.m_lastResponse.size() <= CPop3Client::kMaxHeaderReply);
    Check(!client.IsConnected());
    return 0;
}
