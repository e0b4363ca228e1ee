#include "time_test_util.hpp"
#include "tlplatform/tlvtools.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

double Step(double date, uint8_t kind, int32_t value) {
    IncDiscret(&date, TDiscret{kind, value, 0});
    return date;
}

TEST(IncDiscret, OneStepOfEveryKind) {
    struct StepCase {
        const char* what;
        uint8_t kind;
        int32_t value;
        double from;
        double to;
    };
    const StepCase cases[] = {
        {"year keeps day and time", TL_DISCRET_YEAR, 1, At(2024, 1, 31, 10), At(2025, 1, 31, 10)},
        {"year from a leap day", TL_DISCRET_YEAR, 1, At(2024, 2, 29, 7), At(2025, 2, 28, 7)},
        {"5 years", TL_DISCRET_YEAR, 5, At(2024, 1, 1), At(2029, 1, 1)},
        {"quarter clamps the day", TL_DISCRET_QUARTER, 1, At(2023, 11, 30, 12), At(2024, 2, 29, 12)},
        {"2 quarters", TL_DISCRET_QUARTER, 2, At(2024, 10, 1), At(2025, 4, 1)},
        {"month into February", TL_DISCRET_MONTH, 1, At(2023, 1, 31, 23, 30), At(2023, 2, 28, 23, 30)},
        {"month from a clamped day keeps it", TL_DISCRET_MONTH, 1, At(2024, 2, 29), At(2024, 3, 29)},
        {"14 months", TL_DISCRET_MONTH, 14, At(2023, 11, 15), At(2025, 1, 15)},
        {"day across year end", TL_DISCRET_DAY, 1, At(2023, 12, 31, 23, 30), At(2024, 1, 1, 23, 30)},
        {"hour across midnight", TL_DISCRET_HOUR, 1, At(2023, 12, 31, 23, 30), At(2024, 1, 1, 0, 30)},
        {"7 minutes do not realign", TL_DISCRET_MINUTE, 7, Mar15(23, 55), At(2024, 3, 16, 0, 2)},
        {"second", TL_DISCRET_SECOND, 1, Mar15(10, 59, 59), Mar15(11, 0)},
        {"fixed counts seconds", TL_DISCRET_FIXED, 90, Mar15(10, 0), Mar15(10, 1, 30)},
        {"millisecond", TL_DISCRET_MILLISECOND, 1, Mar15(10, 0, 59, 999), Mar15(10, 1)},
        {"zero count", TL_DISCRET_DAY, 0, Mar15(10, 0), Mar15(10, 0)},
        {"unknown kind", 9, 1, Mar15(10, 0), Mar15(10, 0)},
        {"past the last year", TL_DISCRET_YEAR, 1, At(9999, 3, 1), At(9999, 3, 1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Step(c.from, c.kind, c.value), c.to) << c.what << ": " << FormatStamp(c.to);
    }
}

// Stepping through 2024 as the passes do: each stamp is a boundary of the pass's own alignment,
// and the last one is 01.01.2025 00:00 exactly.
TEST(IncDiscret, PassStepsThroughALeapYearStayOnTheGrid) {
    using AlignFn = void (*)(double*, int32_t, bool);
    struct PassCase {
        uint8_t kind;
        int32_t value;
        AlignFn align;
        int32_t align_count;
        int steps;
    };
    const PassCase passes[] = {
        {TL_DISCRET_MINUTE, 1, CorrectDateForMinutes, 1, 527'040},
        {TL_DISCRET_MINUTE, 30, CorrectDateForMinutes, 30, 17'568},
        {TL_DISCRET_HOUR, 1, CorrectDateForMinutes, 60, 8'784},
        {TL_DISCRET_DAY, 1, CorrectDateForDays, 1, 366},
        {TL_DISCRET_MONTH, 1, CorrectDateForMonths, 1, 12},
        {TL_DISCRET_QUARTER, 1, CorrectDateForQuarters, 1, 4},
        {TL_DISCRET_YEAR, 1, CorrectDateForYears, 1, 1},
    };
    const double end = At(2025, 1, 1);
    for (const auto& p : passes) {
        double date = At(2024, 1, 1);
        int steps = 0;
        while (date < end && steps <= p.steps) {
            date = Step(date, p.kind, p.value);
            ++steps;
            double down = date;
            double up = date;
            p.align(&down, p.align_count, false);
            p.align(&up, p.align_count, true);
            ASSERT_TRUE(down == date && up == date) << FormatStamp(date) << " kind " << int{p.kind};
        }
        EXPECT_EQ(steps, p.steps) << int{p.kind} << "/" << p.value;
        EXPECT_EQ(date, end) << int{p.kind} << "/" << p.value;
    }
}

} // namespace
} // namespace tl::test
