#include "tlcommon/date_time.hpp"
#include "tlplatform/revi.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// One test only: the count is process-wide, so it is checked from a known start.
TEST(ReviInit, CountsEveryRunAndRemembersTheMoment) {
    ASSERT_EQ(ReviInitCount(), 0);
    EXPECT_EQ(ReviLastInitTime(), 0.0);

    const double before = tl::Now();
    EXPECT_EQ(Init(), 0);
    const double after = tl::Now();
    EXPECT_EQ(ReviInitCount(), 1);
    EXPECT_GE(ReviLastInitTime(), before);
    EXPECT_LE(ReviLastInitTime(), after);

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 10'000; ++i) {
                Init();
            }
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    EXPECT_EQ(ReviInitCount(), 40'001);
}

} // namespace
