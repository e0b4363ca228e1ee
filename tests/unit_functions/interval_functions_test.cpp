// T, CalcDiscret, Parnumber and percent. MO and DI over an event list run in the formula scenarios.
#include "data_test_support.hpp"
#include "tlcommon/format_settings.hpp"
#include "tlscript/engine.hpp"
#include "unit_test_support.hpp"

#include <optional>
#include <tuple>

namespace tl::test {
namespace {

// Month, quarter and year are those of the day before the interval's end. The ordinary month,
// quarter and year lengths run in the formula scenarios; here the minutes and the leap years.
TEST_F(UnitTest, IntervalHoursFollowTheCalendarOfTheDayBeforeTheEnd) {
    const std::tuple<int, DateTime, double> cases[] = {
        {0, At(2023, 5, 5, 10), 0.05},
        {1, At(2023, 5, 5, 10), 1.0 / 60},
        {10, At(2024, 3, 1), 29 * 24},
        {11, At(2024, 4, 1), (31 + 29 + 31) * 24},
        {11, At(2024, 1, 1), (31 + 30 + 31) * 24},
        {12, At(2025, 1, 1), 366 * 24},
    };
    for (const auto& [index, time, hours] : cases) {
        SetInterval(index, time);
        EXPECT_DOUBLE_EQ(Eval("T"), hours) << index << " at " << FormatStamp(time);
    }
}

TEST_F(UnitTest, CalcDiscretAndParnumberOfEachPass) {
    // pass index, discreteness kind, count, Parnumber(0)
    const std::tuple<int, int, int, int> cases[] = {{0, 5, 3, 2},   {6, 5, 10, 9}, {7, 5, 30, 12},
                                                    {8, 4, 1, 18},  {9, 3, 1, 26}, {10, 2, 1, 36},
                                                    {11, 1, 1, 46}, {12, 0, 1, 56}};
    for (const auto& [index, kind, count, par_number] : cases) {
        SCOPED_TRACE(index);
        SetInterval(index, At(2024, 1, 1));
        EXPECT_EQ(Eval("CalcDiscret(0)"), kind);
        EXPECT_EQ(Eval("CalcDiscret(1)"), count);
        EXPECT_EQ(Eval("CalcDiscret(2)"), 0);
        EXPECT_EQ(Eval("Parnumber(0)"), par_number);
        EXPECT_EQ(Eval("Parnumber(1)"), par_number + 30000);
    }
}

// Both arguments go through their printed text under the system's decimal separator. The error
// text and the execution going on after it are checked with the formula execution.
TEST_F(UnitTest, PercentWithinRangeGivesTheShareElseAnError) {
    // the call, the separator, the share (none: the range error)
    const std::tuple<const char*, char, std::optional<double>> cases[] = {
        {"percent(200, 50)", '.', 100},
        {"percent(200, 100)", '.', 200},
        {"percent(200, 0)", '.', 0},
        {"percent(1 / 3, 100)", '.', 0.333333333333333},
        {"percent(200, 100.00000000000001)", '.', 200},
        {"percent(200, 101)", '.', std::nullopt},
        {"percent(200, -0.5)", ',', std::nullopt},
    };
    const struct Reset {
        ~Reset() { ResetSystemFormat(); }
    } reset;
    for (const auto& [call, separator, expected] : cases) {
        SCOPED_TRACE(std::string(call) + " with " + separator);
        SetSystemDecimalSeparator(separator);
        ScriptDataModule with_separator; // takes the separator when it is made
        RegisterKeep(with_separator, &kept);
        kept.clear();
        auto program = with_separator.Engine().Compile(std::string("Keep(") + call + ");");
        ASSERT_FALSE(program->HasCompileErrors()) << program->Messages().ToText();
        program->Execute();
        EXPECT_EQ(program->HasExecutionErrors(), !expected) << program->Messages().ToText();
        EXPECT_EQ(kept, std::vector<double>{expected.value_or(0)});
    }
}

} // namespace
} // namespace tl::test
