#include "tlcommon/date_time.hpp"
#include "tldriver/run_period.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(RunPeriodTest, RoundingGoesHalfToEven) {
    struct Case {
        double value;
        double rounded;
    } const cases[] = {{2.5, 2},    {3.5, 4},    {-2.5, -2}, {-3.5, -4},
                       {2.4999, 2}, {2.5001, 3}, {0.5, 0},   {7, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfToEven(c.value), c.rounded) << c.value;
    }
}

TEST(RunPeriodTest, DepthBackMovesBackByDaysAndHoursAndCutsToWholeSeconds) {
    struct Case {
        int32_t hours;
        DateTimeParts moment;
        const char* back;
    } const cases[] = {
        {25, {2014, 11, 1, 10, 0, 0, 750}, "31.10.2014 09:00:00.000"},
        {0, {2014, 11, 1, 10, 0, 7, 400}, "01.11.2014 10:00:07.000"},
        // Hundredths are rounded before the cut: 7.996 s is 800 hundredths, so 8 s.
        {1, {2014, 11, 1, 10, 0, 7, 996}, "01.11.2014 09:00:08.000"},
        {48, {2014, 3, 1, 0, 30, 0, 0}, "27.02.2014 00:30:00.000"},
        {24 * 365 + 23, {2015, 1, 1, 0, 0, 0, 0}, "31.12.2013 01:00:00.000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatStamp(DepthBack(c.hours, EncodeDateTime(c.moment))), c.back) << c.hours;
    }
}

} // namespace
} // namespace tl
