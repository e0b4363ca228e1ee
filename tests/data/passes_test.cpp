#include "data_test_support.hpp"
#include "tldata/passes.hpp"

#include <gtest/gtest.h>
#include <stdexcept>

namespace tl {
namespace {

using test::At;

TEST(PassesTest, PassesBeyondTheLastHaveNoParameter) {
    EXPECT_THROW(PassParNumber(13), std::out_of_range);
}

// Interval lengths by pass are also checked through the formula function T.
TEST(PassesTest, IntervalHoursAndYearOfTheIntervalEndingAtTheStamp) {
    struct Case {
        int pass;
        DateTime interval_time;
        double hours, hours_per_year, year_factor;
    } const cases[] = {
        {7, At(2017, 1, 1, 0, 30), 0.5, 8784, 366.0 / 365.0}, // the day before lies in 2016
        {10, At(2016, 3, 1), 696, 8784, 366.0 / 365.0},
        {11, At(2015, 4, 1), 2160, 8760, 1}, // first quarter of a non-leap year
        {12, At(2017, 1, 1), 8784, 8784, 366.0 / 365.0},
        {12, At(2016, 1, 1), 8760, 8760, 1},
        {kCollectionPass, At(2016, 1, 1), 1, 8760, 1},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(IntervalHours(c.pass, c.interval_time), c.hours) << FormatStamp(c.interval_time);
        EXPECT_EQ(HoursPerYear(c.interval_time), c.hours_per_year) << FormatStamp(c.interval_time);
        EXPECT_EQ(YearFactor(c.interval_time), c.year_factor) << FormatStamp(c.interval_time);
    }
}

TEST(PassesTest, MomentaryWindowStartsOneIntervalBeforeTheStamp) {
    struct Case {
        int pass;
        DateTime stamp, start;
    } const cases[] = {
        {0, At(2015, 3, 1), At(2015, 2, 28, 23, 57)}, {8, At(2015, 3, 1, 10), At(2015, 3, 1, 9)},
        {9, At(2015, 3, 1), At(2015, 2, 28)},         {10, At(2016, 3, 31, 12), At(2016, 2, 29, 12)},
        {11, At(2016, 2, 15), At(2015, 11, 15)},      {12, At(2016, 1, 1), At(2015, 1, 1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatStamp(MomentaryWindowStart(c.pass, c.stamp)), FormatStamp(c.start)) << c.pass;
    }
}

} // namespace
} // namespace tl
