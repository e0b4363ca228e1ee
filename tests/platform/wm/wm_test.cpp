#include "tlplatform/wm.h"

#include <future>
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <vector>

namespace {

// Several posters: every message reaches its own queue whole, each poster's in the order posted.
TEST(WindowMessages, ComeOutWholeInTheOrderPostedToTheirOwnQueue) {
    const uint32_t window = WmCreateQueue();
    const uint32_t other = WmCreateQueue();
    ASSERT_NE(window, 0u);
    constexpr int kThreads = 4;
    constexpr int kEach = 5000;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([window, t] {
            for (intptr_t i = 0; i < kEach; ++i) {
                WmPostMessage(window, 0x400 + static_cast<uint32_t>(t), i, -i);
            }
        });
    }
    std::vector<intptr_t> next(kThreads, 0);
    for (int taken = 0; taken < kThreads * kEach; ++taken) {
        TlWmMessage m{};
        ASSERT_TRUE(WmGetMessage(window, &m, 5000));
        ASSERT_EQ(m.window, window);
        ASSERT_EQ(m.lparam, -m.wparam);
        ASSERT_EQ(m.wparam, next.at(m.message - 0x400)++);
    }
    for (auto& p : posters) {
        p.join();
    }
    EXPECT_EQ(WmPendingCount(other), 0);
    ASSERT_TRUE(WmPostMessage(window, 1, 2, 3));
    EXPECT_EQ(WmPendingCount(window), 1);
    TlWmMessage m{};
    EXPECT_FALSE(WmGetMessage(window, nullptr, 0));
    EXPECT_TRUE(WmGetMessage(window, &m, 0));
    EXPECT_FALSE(WmGetMessage(window, &m, 0)); // empty again
    EXPECT_FALSE(WmGetMessage(window, &m, 20));
    WmDestroyQueue(window);
    WmDestroyQueue(other);
}

TEST(WindowMessages, HandlesAreNeverReusedAndDeadOnesRefuseEverything) {
    std::set<uint32_t> seen;
    for (int i = 0; i < 1000; ++i) {
        const uint32_t window = WmCreateQueue();
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(seen.insert(window).second) << window;
        ASSERT_TRUE(WmPostMessage(window, 1, 1, 1));
        WmDestroyQueue(window);
    }
    for (const uint32_t dead : {*seen.begin(), *seen.rbegin(), 0u, 0xFFFF'FFF0u}) {
        TlWmMessage m{};
        EXPECT_FALSE(WmPostMessage(dead, 1, 2, 3)) << dead;
        EXPECT_FALSE(WmGetMessage(dead, &m, 0)) << dead;
        EXPECT_EQ(WmPendingCount(dead), 0) << dead;
        WmDestroyQueue(dead); // a second destroy is harmless
    }
}

// A getter waiting without a time limit is woken by a post from another thread; one waiting far
// longer than the test is woken by the destroy of its queue.
TEST(WindowMessages, PostAndDestroyWakeAWaitingGetter) {
    const uint32_t window = WmCreateQueue();
    std::thread poster([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WmPostMessage(window, 7, 42, 0);
    });
    TlWmMessage m{};
    EXPECT_TRUE(WmGetMessage(window, &m, -1));
    EXPECT_EQ(m.wparam, 42);
    poster.join();

    auto got = std::async(std::launch::async, [window] {
        TlWmMessage late{};
        return WmGetMessage(window, &late, 30'000);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    WmDestroyQueue(window);
    ASSERT_EQ(got.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(got.get());
}

} // namespace
