#include "tlplatform/wm.h"

#include <future>
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(WindowMessages, ComeOutInTheOrderPostedToTheirOwnQueue) {
    const uint32_t window = WmCreateQueue();
    const uint32_t other = WmCreateQueue();
    ASSERT_NE(window, 0u);
    for (intptr_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(WmPostMessage(window, 0x400 + static_cast<uint32_t>(i), i, -i));
    }
    EXPECT_EQ(WmPendingCount(window), 5);
    EXPECT_EQ(WmPendingCount(other), 0);
    for (intptr_t i = 0; i < 5; ++i) {
        TlWmMessage m{};
        ASSERT_TRUE(WmGetMessage(window, &m, 0));
        EXPECT_EQ(m.window, window);
        EXPECT_EQ(m.message, 0x400 + static_cast<uint32_t>(i));
        EXPECT_EQ(m.wparam, i);
        EXPECT_EQ(m.lparam, -i);
    }
    EXPECT_EQ(WmPendingCount(window), 0);
    WmDestroyQueue(window);
    WmDestroyQueue(other);
}

TEST(WindowMessages, GetTimesOutOnAnEmptyQueue) {
    const uint32_t window = WmCreateQueue();
    TlWmMessage m{};
    EXPECT_FALSE(WmGetMessage(window, &m, 0));
    EXPECT_FALSE(WmGetMessage(window, &m, 20));
    EXPECT_FALSE(WmGetMessage(window, nullptr, 0));
    WmDestroyQueue(window);
}

TEST(WindowMessages, DestroyedAndUnknownQueuesRefuseEverything) {
    const uint32_t window = WmCreateQueue();
    ASSERT_TRUE(WmPostMessage(window, 1, 1, 1));
    WmDestroyQueue(window);
    for (const uint32_t dead : {window, 0u, 0xFFFF'FFF0u}) {
        TlWmMessage m{};
        EXPECT_FALSE(WmPostMessage(dead, 1, 2, 3)) << dead;
        EXPECT_FALSE(WmGetMessage(dead, &m, 0)) << dead;
        EXPECT_EQ(WmPendingCount(dead), 0) << dead;
        WmDestroyQueue(dead); // a second destroy is harmless
    }
}

TEST(WindowMessages, HandlesAreNeverReused) {
    std::set<uint32_t> seen;
    for (int i = 0; i < 1000; ++i) {
        const uint32_t window = WmCreateQueue();
        ASSERT_NE(window, 0u);
        ASSERT_TRUE(seen.insert(window).second) << window;
        WmDestroyQueue(window);
    }
}

TEST(WindowMessages, PostFromAnotherThreadWakesAWaitingGetter) {
    const uint32_t window = WmCreateQueue();
    std::thread poster([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        WmPostMessage(window, 7, 42, 0);
    });
    TlWmMessage m{};
    EXPECT_TRUE(WmGetMessage(window, &m, -1));
    EXPECT_EQ(m.wparam, 42);
    poster.join();
    WmDestroyQueue(window);
}

TEST(WindowMessages, DestroyWakesAWaitingGetter) {
    const uint32_t window = WmCreateQueue();
    auto got = std::async(std::launch::async, [window] {
        TlWmMessage m{};
        return WmGetMessage(window, &m, 30'000);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    WmDestroyQueue(window);
    // Far less than the getter's own timeout: only a wake-up by the destroy gets it back this soon.
    ASSERT_EQ(got.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_FALSE(got.get());
}

TEST(WindowMessages, ManyPostersLoseNothing) {
    const uint32_t window = WmCreateQueue();
    constexpr int kThreads = 4;
    constexpr int kEach = 5000;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([window, t] {
            for (int i = 0; i < kEach; ++i) {
                WmPostMessage(window, static_cast<uint32_t>(t), i, 0);
            }
        });
    }
    // Per poster the messages keep their order, whatever the interleaving.
    std::vector<intptr_t> next(kThreads, 0);
    for (int taken = 0; taken < kThreads * kEach; ++taken) {
        TlWmMessage m{};
        ASSERT_TRUE(WmGetMessage(window, &m, 5000));
        ASSERT_EQ(m.wparam, next[m.message]++);
    }
    for (auto& p : posters) {
        p.join();
    }
    EXPECT_EQ(WmPendingCount(window), 0);
    WmDestroyQueue(window);
}

} // namespace
