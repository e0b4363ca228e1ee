// The generated metering rows agree with each other the way a metering system's do.
#include "tldemo/metering_series.hpp"
#include "tldemo/metering_writer.hpp"
#include "tldemo/scenario.hpp"
#include "tlplatform/db_connection.hpp"

#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <string>

namespace tl::demo {
namespace {

struct Row {
    DateTime stamp = 0;
    double value = 0;
};

const Scenario& GeneratedScenario() {
    static const Scenario scenario = DemoScenario();
    return scenario;
}

// The demo's metering database, generated once into memory.
db::Connection& GeneratedDatabase() {
    static const std::unique_ptr<db::Connection> db = [] {
        auto connection = db::Connection::Open(":memory:");
        db::InitSchema(*connection);
        WriteMeteringData(*connection, GeneratedScenario());
        return connection;
    }();
    return *db;
}

// Rows of a parameter for one channel (object type 0) in stamp order.
std::vector<Row> ChannelRows(int32_t par_number, int32_t object, int32_t item) {
    const TlVariant params[] = {
        {TL_VT_INT32, {.i32 = par_number}}, {TL_VT_INT32, {.i32 = object}}, {TL_VT_INT32, {.i32 = item}}};
    const auto set = GeneratedDatabase().Query("select data_date, value0 from data where parnumber = :p and "
                                               "object = :o and objtype = 0 and item = :i order by data_date",
                                               params);
    std::vector<Row> rows;
    for (set->First(); !set->Eof(); set->Next()) {
        rows.push_back({set->AsDateTime(0), set->AsDouble(1)});
    }
    return rows;
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
    default:
        return MonthsBack(stamp, 12);
    }
}

// The demo's two weeks of 30-minute data hold 14 whole days; the model covers all of 2024.
TEST(MeteringSeriesTest, EveryCoarseValueComesFromTheFineValuesOfItsInterval) {
    struct Derivation {
        const char* what;
        int32_t fine;
        int32_t coarse;
        double factor;      // coarse value = factor * sum of the fine values inside its interval
        int parts;          // fine rows inside one coarse interval; 0: one per day of the interval
        int coarse_checked; // coarse rows whose every part is stored, per channel
    } const derivations[] = {
        {"5-minute powers average to their half-hour", kFiveMinutePower, kHalfHourPower, 1.0 / 6, 6, 48},
        {"hourly power is the mean of two half-hours", kHalfHourPower, kHourPower, 0.5, 2, 14 * 24},
        {"a day's energy is its half-hours times 0.5 h", kHalfHourPower, kDayEnergy, 0.5, 48, 14},
        {"a month's energy is the sum of its days", kDayEnergy, kMonthEnergy, 1.0, 0, 12},
        {"a quarter's energy is the sum of its months", kMonthEnergy, kQuarterEnergy, 1.0, 3, 4},
        {"a year's energy is the sum of its quarters", kQuarterEnergy, kYearEnergy, 1.0, 4, 1},
    };
    for (const Derivation& d : derivations) {
        for (const NetworkElement& element : GeneratedScenario().network.elements) {
            for (const int32_t item : {element.active_item, element.reactive_item}) {
                SCOPED_TRACE(::testing::Message() << d.what << ": " << element.name << ", item " << item);
                const std::vector<Row> fine = ChannelRows(d.fine, element.device_code, item);
                int checked = 0;
                for (const Row& coarse : ChannelRows(d.coarse, element.device_code, item)) {
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
}

// Only months, quarters and years that the model covers completely get a row.
TEST(MeteringSeriesTest, LongerIntervalsOnlyWhenComplete) {
    struct SpanCase {
        DateTime first_day;
        DateTime end_day;
        // Energy rows expected, each "parameter@dd.mm.yyyy=value", for a constant 2 kW load (48 kW*h a day).
        std::vector<std::string> months_and_longer;
    } const cases[] = {
        {EncodeDate(2024, 1, 15), EncodeDate(2024, 4, 10), {"36@01.03.2024=1392", "36@01.04.2024=1488"}},
        {EncodeDate(2024, 1, 1),
         EncodeDate(2024, 4, 3),
         {"36@01.02.2024=1488", "36@01.03.2024=1392", "36@01.04.2024=1488", "46@01.04.2024=4368"}},
        {EncodeDate(2023, 1, 1),
         EncodeDate(2024, 1, 1),
         {"36@01.02.2023=1488", "36@01.03.2023=1344", "36@01.04.2023=1488", "36@01.05.2023=1440",
          "36@01.06.2023=1488", "36@01.07.2023=1440", "36@01.08.2023=1488", "36@01.09.2023=1488",
          "36@01.10.2023=1440", "36@01.11.2023=1488", "36@01.12.2023=1440", "36@01.01.2024=1488",
          "46@01.04.2023=4320", "46@01.07.2023=4368", "46@01.10.2023=4416", "46@01.01.2024=4416",
          "56@01.01.2024=17520"}},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(FormatStamp(c.first_day));
        SeriesPlan plan;
        plan.model_first_day = static_cast<int64_t>(c.first_day);
        plan.model_end_day = static_cast<int64_t>(c.end_day);
        plan.fine_first_day = plan.fine_end_day = plan.model_first_day;
        const std::vector<double> half_hours(
            static_cast<size_t>(plan.model_end_day - plan.model_first_day) * 48, 2.0);
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
}

} // namespace
} // namespace tl::demo
