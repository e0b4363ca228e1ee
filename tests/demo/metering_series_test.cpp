// The generated metering rows agree with each other the way a metering system's do, and sit at
// the stamps the passes of a run read.
#include "demo_database_support.hpp"
#include "tldemo/metering_series.hpp"

#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tl::demo {
namespace {

using testing::ChannelRows;
using testing::GeneratedDatabase;
using testing::GeneratedScenario;
using testing::Row;

DateTime At(int year, int month, int day, int hour = 0, int minute = 0) {
    return EncodeDateTime({year, month, day, hour, minute, 0, 0});
}

DateTime MonthsBack(DateTime stamp, int months) {
    const DateTimeParts p = DecodeDateTime(stamp);
    const int index = p.year * 12 + (p.month - 1) - months;
    return EncodeDate(index / 12, index % 12 + 1, p.day);
}

// Start of the interval that ends at `stamp`, for a parameter's interval kind.
DateTime IntervalStart(int32_t par_number, DateTime stamp) {
    switch (par_number) {
    case kHalfHourPower:
        return FromMillis(ToMillis(stamp) - 30 * 60'000);
    case kHourPower:
        return FromMillis(ToMillis(stamp) - 60 * 60'000);
    case kDayEnergy:
        return stamp - 1;
    case kMonthEnergy:
        return MonthsBack(stamp, 1);
    case kQuarterEnergy:
        return MonthsBack(stamp, 3);
    case kYearEnergy:
        return MonthsBack(stamp, 12);
    default:
        ADD_FAILURE() << "no interval for parameter " << par_number;
        return stamp;
    }
}

struct Derivation {
    const char* what;
    int32_t fine;
    int32_t coarse;
    double factor;      // coarse value = factor * sum of the fine values inside its interval
    int parts;          // fine rows inside one coarse interval; 0: one per day of the interval
    int coarse_checked; // coarse rows whose every part is stored, per channel
};

void PrintTo(const Derivation& d, std::ostream* os) {
    *os << d.what;
}

class DerivedSeriesTest : public ::testing::TestWithParam<Derivation> {};

TEST_P(DerivedSeriesTest, EveryCoarseValueComesFromTheFineValuesOfItsInterval) {
    const Derivation& d = GetParam();
    auto& db = GeneratedDatabase();
    for (const NetworkElement& element : GeneratedScenario().network.elements) {
        for (const int32_t item : {element.active_item, element.reactive_item}) {
            SCOPED_TRACE(::testing::Message() << element.name << ", item " << item);
            const std::vector<Row> fine = ChannelRows(db, d.fine, element.device_code, item);
            int checked = 0;
            for (const Row& coarse : ChannelRows(db, d.coarse, element.device_code, item)) {
                const DateTime start = IntervalStart(d.coarse, coarse.stamp);
                double sum = 0;
                int parts = 0;
                for (const Row& row : fine) {
                    if (row.stamp > start + kOneMs / 2 && row.stamp < coarse.stamp + kOneMs / 2) {
                        sum += row.value;
                        ++parts;
                    }
                }
                const int expected_parts =
                    d.parts > 0 ? d.parts : static_cast<int>(std::lround(coarse.stamp - start));
                if (parts < expected_parts) {
                    continue; // the fine rows cover only part of the model's span
                }
                ASSERT_EQ(parts, expected_parts) << FormatStamp(coarse.stamp);
                EXPECT_NEAR(coarse.value, d.factor * sum, 1e-9 * std::abs(coarse.value))
                    << FormatStamp(coarse.stamp);
                ++checked;
            }
            EXPECT_EQ(checked, d.coarse_checked);
        }
    }
}

// The demo's two weeks of 30-minute data hold 14 whole days; the model covers all of 2024.
INSTANTIATE_TEST_SUITE_P(
    Demo, DerivedSeriesTest,
    ::testing::Values(
        Derivation{"5-minute powers average to their half-hour", kFiveMinutePower, kHalfHourPower, 1.0 / 6, 6,
                   48},
        Derivation{"hourly power is the mean of two half-hours", kHalfHourPower, kHourPower, 0.5, 2, 14 * 24},
        Derivation{"a day's energy is its half-hours times 0.5 h", kHalfHourPower, kDayEnergy, 0.5, 48, 14},
        Derivation{"a month's energy is the sum of its days", kDayEnergy, kMonthEnergy, 1.0, 0, 12},
        Derivation{"a quarter's energy is the sum of its months", kMonthEnergy, kQuarterEnergy, 1.0, 3, 4},
        Derivation{"a year's energy is the sum of its quarters", kQuarterEnergy, kYearEnergy, 1.0, 4, 1}),
    [](const auto& p) {
        return "From" + std::to_string(p.param.fine) + "To" + std::to_string(p.param.coarse);
    });

struct StampRange {
    int32_t par_number;
    DateTime first;
    DateTime last;
    size_t count;
};

void PrintTo(const StampRange& r, std::ostream* os) {
    *os << "parameter " << r.par_number;
}

class StampTest : public ::testing::TestWithParam<StampRange> {};

// Each row is stamped at the end of its interval, so that the windows of the task's passes (two
// weeks to 8 January 2025 00:00, the 5-minute pass from 7 January) meet the rows they need: the
// daily energy of 24 December at 25 December 00:00, December, the fourth quarter and 2024 at
// 1 January 2025.
TEST_P(StampTest, RowsEndTheirIntervals) {
    const StampRange& r = GetParam();
    const std::vector<Row> rows = ChannelRows(GeneratedDatabase(), r.par_number, 18, 1);
    ASSERT_EQ(rows.size(), r.count);
    EXPECT_TRUE(SameStamp(rows.front().stamp, r.first)) << FormatStamp(rows.front().stamp);
    EXPECT_TRUE(SameStamp(rows.back().stamp, r.last)) << FormatStamp(rows.back().stamp);
}

INSTANTIATE_TEST_SUITE_P(
    Demo, StampTest,
    ::testing::Values(StampRange{kFiveMinutePower, At(2025, 1, 7, 0, 5), At(2025, 1, 8), 288},
                      StampRange{kHalfHourPower, At(2024, 12, 25, 0, 30), At(2025, 1, 8), 14 * 48},
                      StampRange{kHourPower, At(2024, 12, 25, 1), At(2025, 1, 8), 14 * 24},
                      StampRange{kDayEnergy, At(2024, 1, 2), At(2025, 1, 8), 366 + 7},
                      StampRange{kMonthEnergy, At(2024, 2, 1), At(2025, 1, 1), 12},
                      StampRange{kQuarterEnergy, At(2024, 4, 1), At(2025, 1, 1), 4},
                      StampRange{kYearEnergy, At(2025, 1, 1), At(2025, 1, 1), 1}),
    [](const auto& p) { return "Parameter" + std::to_string(p.param.par_number); });

struct SpanCase {
    const char* name;
    DateTime first_day;
    DateTime end_day;
    // Energy rows expected, each "parameter@dd.mm.yyyy=value", for a constant 2 kW load (48 kW*h a day).
    std::vector<std::string> months_and_longer;
};

void PrintTo(const SpanCase& c, std::ostream* os) {
    *os << c.name;
}

class SpanTest : public ::testing::TestWithParam<SpanCase> {};

// Only months, quarters and years that the model covers completely get a row.
TEST_P(SpanTest, LongerIntervalsOnlyWhenComplete) {
    const SpanCase& c = GetParam();
    SeriesPlan plan;
    plan.model_first_day = static_cast<int64_t>(c.first_day);
    plan.model_end_day = static_cast<int64_t>(c.end_day);
    plan.fine_first_day = plan.fine_end_day = plan.model_first_day;
    const std::vector<double> half_hours(static_cast<size_t>(plan.model_end_day - plan.model_first_day) * 48,
                                         2.0);
    std::vector<std::string> seen;
    int days = 0;
    EmitChannelSeries(half_hours, plan, 1, [&](const MeteringValue& v) {
        if (v.par_number == kDayEnergy) {
            EXPECT_DOUBLE_EQ(v.value, 48.0);
            ++days;
        } else {
            const DateTimeParts p = DecodeDateTime(v.stamp);
            seen.push_back(
                fmt::format("{}@{:02}.{:02}.{}={}", v.par_number, p.day, p.month, p.year, v.value));
        }
    });
    EXPECT_EQ(days, plan.model_end_day - plan.model_first_day);
    EXPECT_EQ(seen, c.months_and_longer);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, SpanTest,
    ::testing::Values(
        SpanCase{"MidJanuaryToMidApril",
                 At(2024, 1, 15),
                 At(2024, 4, 10),
                 {"36@01.03.2024=1392", "36@01.04.2024=1488"}},
        SpanCase{"FirstQuarterAndSomeDays",
                 At(2024, 1, 1),
                 At(2024, 4, 3),
                 {"36@01.02.2024=1488", "36@01.03.2024=1392", "36@01.04.2024=1488", "46@01.04.2024=4368"}},
        SpanCase{"WholeYear2023",
                 At(2023, 1, 1),
                 At(2024, 1, 1),
                 {"36@01.02.2023=1488", "36@01.03.2023=1344", "36@01.04.2023=1488", "36@01.05.2023=1440",
                  "36@01.06.2023=1488", "36@01.07.2023=1440", "36@01.08.2023=1488", "36@01.09.2023=1488",
                  "36@01.10.2023=1440", "36@01.11.2023=1488", "36@01.12.2023=1440", "36@01.01.2024=1488",
                  "46@01.04.2023=4320", "46@01.07.2023=4368", "46@01.10.2023=4416", "46@01.01.2024=4416",
                  "56@01.01.2024=17520"}}),
    [](const auto& p) { return p.param.name; });

} // namespace
} // namespace tl::demo
