#include "time_test_util.hpp"
#include "tlplatform/tlvtools.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tl::test {
namespace {

using AlignFn = void (*)(double*, int32_t, bool);

// 10:30 on 15.03.2024 reached by adding half-hours as doubles: a little off the exact stamp.
double DriftedHalfPast10() {
    double date = At(2024, 3, 15);
    for (int i = 0; i < 21; ++i) {
        date += 1.0 / 48.0;
    }
    return date;
}

double Align(AlignFn fn, double date, int32_t count, bool direction) {
    fn(&date, count, direction);
    return date;
}

struct AlignCase {
    const char* what;
    AlignFn fn;
    int32_t count;
    double date;
    double down; // direction false
    double up;   // direction true
};

TEST(Align, BothDirectionsForEveryKind) {
    const AlignFn min = CorrectDateForMinutes;
    const AlignFn day = CorrectDateForDays;
    const AlignFn mon = CorrectDateForMonths;
    const AlignFn qtr = CorrectDateForQuarters;
    const AlignFn year = CorrectDateForYears;
    // The tolerance of a millisecond either side of a boundary is one rule for every kind: it is
    // tried on minutes only.
    const double t = Mar15(10, 17, 23, 456);
    const AlignCase cases[] = {
        {"7 min counts from midnight", min, 7, t, Mar15(10, 16), Mar15(10, 23)},
        {"7 min, short last interval", min, 7, Mar15(23, 57), Mar15(23, 55), At(2024, 3, 16)},
        {"whole day of minutes", min, 2000, t, Mar15(0, 0), At(2024, 3, 16)},
        {"on a boundary", min, 30, Mar15(10, 30), Mar15(10, 30), Mar15(10, 30)},
        {"1 ms before a boundary", min, 30, Mar15(10, 29, 59, 999), Mar15(10, 30), Mar15(10, 30)},
        {"1 ms after a boundary", min, 30, Mar15(10, 30, 0, 1), Mar15(10, 30), Mar15(10, 30)},
        {"drifted off a boundary", min, 30, DriftedHalfPast10(), Mar15(10, 30), Mar15(10, 30)},
        {"2 ms after a boundary", min, 30, Mar15(10, 30, 0, 2), Mar15(10, 30), Mar15(11, 0)},
        {"1 ms before midnight", min, 60, At(2023, 12, 31, 23, 59, 59, 999), At(2024, 1, 1), At(2024, 1, 1)},
        {"day", day, 1, t, Mar15(0, 0), At(2024, 3, 16)},
        {"day before 30.12.1899", day, 1, At(1850, 6, 15, 12), At(1850, 6, 15), At(1850, 6, 16)},
        {"minutes before 30.12.1899", min, 30, At(1850, 6, 15, 0, 10), At(1850, 6, 15),
         At(1850, 6, 15, 0, 30)},
        {"2 days from day 0", day, 2, At(2024, 3, 16, 12), At(2024, 3, 15), At(2024, 3, 17)},
        {"month at year end", mon, 1, At(2023, 12, 31, 10), At(2023, 12, 1), At(2024, 1, 1)},
        {"2 months from January", mon, 2, At(2024, 2, 15), At(2024, 1, 1), At(2024, 3, 1)},
        {"quarter", qtr, 1, At(2024, 2, 29, 23), At(2024, 1, 1), At(2024, 4, 1)},
        {"2 quarters", qtr, 2, At(2024, 5, 15), At(2024, 1, 1), At(2024, 7, 1)},
        {"year", year, 1, At(2024, 2, 29, 12), At(2024, 1, 1), At(2025, 1, 1)},
        {"5 years from year 0", year, 5, At(2024, 6, 1), At(2020, 1, 1), At(2025, 1, 1)},
    };
    for (const auto& c : cases) {
        // The result is the boundary's exact stamp, not merely close to it.
        EXPECT_EQ(Align(c.fn, c.date, c.count, false), c.down) << c.what << ": " << FormatStamp(c.down);
        EXPECT_EQ(Align(c.fn, c.date, c.count, true), c.up) << c.what << ": " << FormatStamp(c.up);
    }
}

TEST(Align, LeavesTheDateAloneWhenItCannotPlaceIt) {
    const AlignFn fns[] = {CorrectDateForMinutes, CorrectDateForDays, CorrectDateForMonths,
                           CorrectDateForQuarters, CorrectDateForYears};
    const double t = Mar15(10, 17);
    for (const AlignFn fn : fns) {
        for (const bool direction : {false, true}) {
            EXPECT_EQ(Align(fn, t, 0, direction), t);
            EXPECT_EQ(Align(fn, t, -3, direction), t);
            EXPECT_TRUE(std::isnan(Align(fn, NAN, 1, direction)));
            EXPECT_EQ(Align(fn, -800'000.5, 1, direction), -800'000.5);
        }
    }
    // The year 10000 boundary is the last one; beyond it nothing moves.
    EXPECT_EQ(Align(CorrectDateForYears, At(9999, 6, 1), 1, true), At(10000, 1, 1));
    EXPECT_EQ(Align(CorrectDateForYears, At(9999, 6, 1), 7, true), At(9999, 6, 1));
}

} // namespace
} // namespace tl::test
