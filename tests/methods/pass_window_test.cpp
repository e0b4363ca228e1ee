#include "tlcommon/date_time.hpp"
#include "tlcommon/iso_date_time.hpp"
#include "tlmethods/pass_window.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl {
namespace {

DateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, 0});
}

TEST(PassWindowTest, WindowsAlignInwardAndCollapseWithinOneInterval) {
    struct Case {
        int pass;
        const char* begin; // and end, as ISO text
        const char* end;
        const char* first;
        const char* last;
    } const cases[] = {
        // Half a minute within one minute: minute passes collapse to their aligned end. The
        // half-hour, hour and day cases, and the quarter of an hour that holds no stamp, run in the
        // scenarios.
        {0, "2014-11-01 10:05:10", "2014-11-01 10:05:40", "01.11.2014 10:03:00", "01.11.2014 10:03:00"},
        {1, "2014-11-01 10:05:10", "2014-11-01 10:05:40", "01.11.2014 10:05:00", "01.11.2014 10:05:00"},
        // Across a boundary both sides meet on it.
        {7, "2014-11-01 10:29:50", "2014-11-01 10:30:10", "01.11.2014 10:30:00", "01.11.2014 10:30:00"},
        // Days a year apart do not collapse.
        {9, "2014-03-05 10:00:00", "2015-03-05 10:00:00", "06.03.2014 00:00:00", "05.03.2015 00:00:00"},
        {10, "2014-03-05 00:00:00", "2014-03-25 00:00:00", "01.03.2014 00:00:00", "01.03.2014 00:00:00"},
        {10, "2014-03-05 00:00:00", "2015-03-06 00:00:00", "01.04.2014 00:00:00", "01.03.2015 00:00:00"},
        // Quarters collapse when the months are less than three apart in one year.
        {11, "2014-02-15 00:00:00", "2014-05-20 00:00:00", "01.04.2014 00:00:00", "01.04.2014 00:00:00"},
        {11, "2014-02-15 00:00:00", "2014-04-20 00:00:00", "01.04.2014 00:00:00", "01.04.2014 00:00:00"},
        {11, "2014-11-15 00:00:00", "2015-01-20 00:00:00", "01.01.2015 00:00:00", "01.01.2015 00:00:00"},
        {12, "2014-02-01 00:00:00", "2014-11-01 00:00:00", "01.01.2014 00:00:00", "01.01.2014 00:00:00"},
        {12, "2014-02-01 00:00:00", "2015-11-01 00:00:00", "01.01.2015 00:00:00", "01.01.2015 00:00:00"},
    };
    for (const auto& c : cases) {
        PassWindow window;
        SCOPED_TRACE(std::to_string(c.pass) + " " + c.begin);
        EXPECT_TRUE(PreparePass(window, c.pass, *ParseIsoDateTime(c.begin), *ParseIsoDateTime(c.end)));
        EXPECT_EQ(window.pass, c.pass);
        EXPECT_EQ(FormatDateTimeSeconds(window.begin), c.first);
        EXPECT_EQ(FormatDateTimeSeconds(window.end), c.last);
    }
}

std::vector<std::string> Walk(int pass, DateTime begin, DateTime end) {
    PassWindow window;
    std::vector<std::string> stamps;
    if (!PreparePass(window, pass, begin, end)) {
        return stamps;
    }
    do {
        stamps.push_back(FormatDateTimeSeconds(window.begin));
    } while (NextStamp(window) && stamps.size() < 100);
    return stamps;
}

TEST(PassWindowTest, StampsStepByTheIntervalOfThePassUpToTheEnd) {
    using Stamps = std::vector<std::string>;
    EXPECT_EQ(Walk(7, At(2014, 11, 1, 0, 10), At(2014, 11, 1, 1, 40)),
              (Stamps{"01.11.2014 00:30:00", "01.11.2014 01:00:00", "01.11.2014 01:30:00"}));
    EXPECT_EQ(Walk(8, At(2014, 10, 31, 23, 0), At(2014, 11, 1, 1, 0)),
              (Stamps{"31.10.2014 23:00:00", "01.11.2014 00:00:00", "01.11.2014 01:00:00"}));
    EXPECT_EQ(Walk(10, At(2014, 1, 20), At(2014, 4, 2)),
              (Stamps{"01.02.2014 00:00:00", "01.03.2014 00:00:00", "01.04.2014 00:00:00"}));
    EXPECT_EQ(Walk(11, At(2014, 1, 1), At(2015, 1, 1)),
              (Stamps{"01.01.2014 00:00:00", "01.04.2014 00:00:00", "01.07.2014 00:00:00",
                      "01.10.2014 00:00:00", "01.01.2015 00:00:00"}));
}

TEST(PassWindowTest, AStampWithinAMillisecondPastTheEndIsStillInside) {
    struct Case {
        int64_t end_before_stamp_ms;
        bool inside;
    } const cases[] = {{0, true}, {1, true}, {2, false}};
    for (const auto& c : cases) {
        PassWindow window{7, At(2014, 11, 1, 10, 0),
                          FromMillis(ToMillis(At(2014, 11, 1, 10, 30)) - c.end_before_stamp_ms)};
        EXPECT_EQ(NextStamp(window), c.inside) << c.end_before_stamp_ms;
        EXPECT_EQ(FormatDateTimeSeconds(window.begin), "01.11.2014 10:30:00");
    }
}

// The calendar ends in 9999: a window reaching its last millisecond, a common open end, walks to
// the last stamp and stops there instead of standing still on it.
TEST(PassWindowTest, AWindowToTheEndOfTheCalendarEnds) {
    using Stamps = std::vector<std::string>;
    const DateTime last = FromMillis(ToMillis(At(9999, 12, 31, 23, 59, 59)) + 999);
    EXPECT_EQ(Walk(7, At(9999, 12, 31, 22, 40), last),
              (Stamps{"31.12.9999 23:00:00", "31.12.9999 23:30:00", "01.01.10000 00:00:00"}));
    EXPECT_EQ(Walk(12, At(9998, 1, 1), last),
              (Stamps{"01.01.9998 00:00:00", "01.01.9999 00:00:00", "01.01.10000 00:00:00"}));
}

// Counting stamps and skipping ahead give what the walk stamp by stamp gives, for every kind of
// step, within the window and beyond it.
TEST(PassWindowTest, CountAndSkipAgreeWithTheWalk) {
    struct Case {
        int pass;
        DateTime begin;
        DateTime end;
    } const cases[] = {
        {1, At(2014, 11, 1, 0, 0), At(2014, 11, 1, 2, 0)},
        {0, At(2014, 11, 1, 0, 1), At(2014, 11, 2, 0, 0)},
        {7, At(2014, 10, 25), At(2014, 11, 3, 0, 10)},
        {8, At(2014, 11, 1, 0, 0), At(2014, 11, 1, 0, 0)},
        {9, At(2014, 2, 20), At(2014, 3, 10)},
        {10, At(2012, 1, 31), At(2014, 3, 1)},
        {11, At(2014, 1, 1), At(2016, 12, 31)},
        {12, At(2000, 6, 1), At(2014, 2, 1)},
        {7, At(9999, 12, 30), At(9999, 12, 31, 23, 59, 59)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.pass) + " " + FormatDateTimeSeconds(c.begin));
        PassWindow start;
        ASSERT_TRUE(PreparePass(start, c.pass, c.begin, c.end));
        std::vector<int64_t> walked;
        PassWindow walk = start;
        do {
            walked.push_back(ToMillis(walk.begin));
        } while (NextStamp(walk));
        EXPECT_EQ(StampCount(start), walked.size());
        EXPECT_EQ(StampCount(start, 3), std::min<size_t>(walked.size(), 3));
        // Skipping to a moment just after each stamp lands on the next one, or leaves the window.
        for (size_t i = 0; i < walked.size(); ++i) {
            PassWindow skipped = start;
            const bool inside = SkipTo(skipped, walked[i] + 1);
            EXPECT_EQ(inside, i + 1 < walked.size()) << i;
            if (inside) {
                EXPECT_EQ(ToMillis(skipped.begin), walked[i + 1]) << i;
            }
        }
    }
}

} // namespace
} // namespace tl
