#include "core/net/CBackgroundNetworkStatus.h"
#include "core/net/CHostNetworkStatus.h"
#include "support/PrivateNetwork.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>
#include <unistd.h>

namespace {
// A look that lasts until the test lets it answer.
struct HeldProbe : INetworkStatus {
    std::shared_future<bool> answer;
    std::atomic<int> looks{0};
    bool IsOnline() override {
        ++looks;
        return answer.get();
    }
};
} // namespace

TEST(BackgroundNetworkStatus, AsksWithoutWaitingAndLearnsTheAnswerLater) {
    std::promise<bool> online;
    auto probe = std::make_unique<HeldProbe>();
    probe->answer = online.get_future().share();
    HeldProbe& held = *probe;
    CBackgroundNetworkStatus status(std::move(probe), std::chrono::milliseconds(0));

    for (int i = 0; i < 200 && held.looks == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(status.IsOnline()); // nothing known yet, and the look is still running
    EXPECT_FALSE(status.IsOnline());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(held.looks.load(), 1); // one look at a time

    online.set_value(true);
    for (int i = 0; i < 200 && status.Looking(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(status.IsOnline());
}

// The host's status in a network of the test's own: an interface with an address, a default
// route through it, and the /etc/hosts of a Debian install that maps the host's own name to
// the loopback (which once counted as offline, so automatic checks never ran).
TEST(HostNetworkStatus, DefaultRouteOnAnInterfaceIsOnlineWhateverTheHostsFileSays) {
    const int code = RunInPrivateNetwork([] {
        char host[256] = {};
        gethostname(host, sizeof host - 1);
        if (!BindText("127.0.0.1\tlocalhost\n127.0.0.1\t" + std::string(host) + "\n", "/etc/hosts"))
            return 10;
        CHostNetworkStatus status;
        if (status.IsOnline()) return 11; // the loopback alone
        if (std::system("ip link add jt0 type veth peer name jt1 && ip link set jt1 up && "
                        "ip link set jt0 up && ip addr add 10.9.8.7/24 dev jt0") != 0)
            return 10;
        if (status.IsOnline()) return 12; // no default route yet
        if (std::system("ip route add default via 10.9.8.1 dev jt0") != 0) return 10;
        if (!status.IsOnline()) return 13;
        if (std::system("ip link set jt0 down") != 0) return 10;
        return status.IsOnline() ? 14 : 0;
    });
    if (code == kNoPrivateNetwork) GTEST_SKIP() << "no mount and network namespace (needs root)";
    EXPECT_EQ(code, 0) << "10: set-up failed; 11: online with the loopback alone; 12: online "
                          "without a default route; 13: offline with one; 14: online with the "
                          "interface down";
}

TEST(HostNetworkStatus, IPv6DefaultRouteCountsAndRejectingRoutesDoNot) {
    const std::string v4 = "Iface\tDestination\tGateway\tFlags\tRefCnt\tUse\tMetric\tMask\n";
    const std::string v6 =
        "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
        "fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n";
    const std::string rejected =
        "00000000000000000000000000000000 00 00000000000000000000000000000000 00 "
        "00000000000000000000000000000000 ffffffff 00000001 00000000 00200200     eth0\n";
    EXPECT_TRUE(CHostNetworkStatus::HasDefaultRoute(v4, v6, {"eth0"}));
    EXPECT_FALSE(CHostNetworkStatus::HasDefaultRoute(v4, v6, {"wlan0"}));
    EXPECT_FALSE(CHostNetworkStatus::HasDefaultRoute(v4, rejected, {"eth0"}));
}
