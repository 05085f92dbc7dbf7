// Exit must not wait for the network: a TLS handshake with a silent server and a name look-up
// with a resolver that never answers both end soon after the cancel flag is raised.
#include "core/net/CBlockingSocket.h"
#include "core/net/CNotesInternetSession.h"
#include "core/net/CTlsStream.h"
#include "core/net/SocketErrors.h"
#include "support/Loopback.h"
#include "support/PrivateNetwork.h"
#include "support/TimeScale.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr long long kCancelAfterMs = 200;
// Exit may take 1 s in all; the cancel is raised this late, so this is what is left.
constexpr long long kMaxMsAfterCancel = 1000 - kCancelAfterMs;

// Runs work while another thread raises the flag kCancelAfterMs in; returns how long it took.
template <typename Work> long long MsUntilBack(std::atomic<bool>& cancel, Work work) {
    const auto start = std::chrono::steady_clock::now();
    std::thread raiser([&] {
        SleepMs(kCancelAfterMs);
        cancel = true;
    });
    work();
    const auto took = std::chrono::steady_clock::now() - start;
    raiser.join();
    return std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
}

// The resolver is a UDP port on 127.0.0.1 that takes queries and never answers.
int SilentResolver() {
    unsigned short dns = 53;
    const int s = BindLoopback(dns, SOCK_DGRAM);
    if (s < 0) return -1;
    return BindText("nameserver 127.0.0.1\noptions timeout:30 attempts:3\n", "/etc/resolv.conf")
               ? s
               : -1;
}

} // namespace

TEST(ExitCancel, TlsHandshakeWithASilentServerEndsOnCancel) {
    unsigned short port = 0;
    const int listener = ListenOnLoopback(port); // accepts through the backlog, never speaks
    ASSERT_GE(listener, 0);
    std::atomic<bool> cancel{false};
    CBlockingSocket socket;
    socket.m_cancel = &cancel;
    ASSERT_TRUE(socket.Create());
    ASSERT_TRUE(socket.Connect("127.0.0.1", port));
    CTlsStream tls(socket);
    bool ok = true;
    const long long ms = MsUntilBack(cancel, [&] { ok = tls.Handshake("127.0.0.1", "", 60000); });
    close(listener);
    EXPECT_FALSE(ok);
    EXPECT_EQ(CBlockingSocket::GetLastError(), SocketError::kCancelled) << tls.Error();
    EXPECT_LT(ms - kCancelAfterMs, ScaledMs(kMaxMsAfterCancel));
}

// The look-ups run in a child process: the namespace and the abandoned look-ups stay there.
// Each failure has its own exit code.
TEST(ExitCancel, NameLookUpWithASilentResolverEndsOnCancel) {
    const int code = RunInPrivateNetwork([] {
        if (SilentResolver() < 0) return 10;
        std::atomic<bool> cancel{false};
        CBlockingSocket socket;
        socket.m_cancel = &cancel;
        socket.m_connectTimeoutMs = 60000;
        if (!socket.Create()) return 10;
        bool ok = true;
        long long ms = MsUntilBack(cancel, [&] { ok = socket.Connect("mail.jotterly.test", 995); });
        if (ok || CBlockingSocket::GetLastError() != SocketError::kCancelled) return 11;
        if (ms - kCancelAfterMs >= ScaledMs(kMaxMsAfterCancel)) return 12;

        // The HTTP client (weather) looks the name up before libcurl would, so a stop ends it.
        std::atomic<bool> stop{false};
        CNotesInternetSession session;
        session.SetTimeoutMs(60000);
        session.SetStopFlag(&stop);
        std::string reply;
        ms = MsUntilBack(stop,
                         [&] { ok = session.HttpGet(reply, "http://weather.jotterly.test", "/"); });
        if (ok) return 13;
        if (ms - kCancelAfterMs >= ScaledMs(kMaxMsAfterCancel)) return 14;
        return 0;
    });
    if (code == kNoPrivateNetwork) GTEST_SKIP() << "no mount and network namespace (needs root)";
    EXPECT_EQ(code, 0) << "11: the socket's look-up did not end as cancelled; 12: it ended too "
                          "late; 13: the HTTP request succeeded; 14: it ended too late";
}
