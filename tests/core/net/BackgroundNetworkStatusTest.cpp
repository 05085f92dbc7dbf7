#include "net/CBackgroundNetworkStatus.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

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
