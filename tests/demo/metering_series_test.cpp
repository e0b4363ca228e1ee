// The generated metering rows of a channel agree with each other the way a metering system's do.
#include "tldemo/metering_series.hpp"
#include "tldemo/scenario.hpp"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace tl::demo {
namespace {

// One day of fine rows: the 5-minute powers average to their half-hour, the hour is the mean of
// its two half-hours and the day's energy the half-hours times 0.5 h, each row stamped at the end
// of its interval.
TEST(MeteringSeriesTest, FineRowsComeFromTheHalfHoursOfTheirInterval) {
    const DateTime day = EncodeDate(2024, 12, 26);
    SeriesPlan plan;
    plan.model_first_day = plan.fine_first_day = static_cast<int64_t>(day);
    plan.model_end_day = plan.fine_end_day = plan.model_first_day + 1;
    plan.five_minute_day = plan.model_first_day;
    std::vector<double> half_hours(48);
    for (size_t slot = 0; slot < half_hours.size(); ++slot) {
        half_hours[slot] = 100.0 + static_cast<double>(slot * (slot % 3));
    }
    std::map<int32_t, std::vector<MeteringValue>> rows;
    EmitChannelSeries(half_hours, plan, 3, [&](const MeteringValue& v) { rows[v.par_number].push_back(v); });
    ASSERT_EQ(rows[kFiveMinutePower].size(), 288u);
    ASSERT_EQ(rows[kHalfHourPower].size(), 48u);
    ASSERT_EQ(rows[kHourPower].size(), 24u);
    ASSERT_EQ(rows[kDayEnergy].size(), 1u);
    const auto end_of = [&](size_t slot) {
        return ToMillis(day) + static_cast<int64_t>(slot + 1) * 1'800'000;
    };
    double energy = 0;
    for (size_t slot = 0; slot < half_hours.size(); ++slot) {
        SCOPED_TRACE(slot);
        double five_minutes = 0;
        for (size_t k = 0; k < 6; ++k) {
            five_minutes += rows[kFiveMinutePower][slot * 6 + k].value;
        }
        EXPECT_NEAR(five_minutes / 6, half_hours[slot], 1e-9);
        EXPECT_EQ(ToMillis(rows[kFiveMinutePower][slot * 6 + 5].stamp), end_of(slot));
        EXPECT_EQ(rows[kHalfHourPower][slot].value, half_hours[slot]);
        EXPECT_EQ(ToMillis(rows[kHalfHourPower][slot].stamp), end_of(slot));
        if (slot % 2 == 1) {
            EXPECT_DOUBLE_EQ(rows[kHourPower][slot / 2].value, (half_hours[slot - 1] + half_hours[slot]) / 2);
            EXPECT_EQ(ToMillis(rows[kHourPower][slot / 2].stamp), end_of(slot));
        }
        energy += half_hours[slot] * 0.5;
    }
    EXPECT_DOUBLE_EQ(rows[kDayEnergy][0].value, energy);
    EXPECT_EQ(rows[kDayEnergy][0].stamp, day + 1);
}

// Only months, quarters and years that the model covers completely get a row: none for those it
// starts inside or ends inside.
TEST(MeteringSeriesTest, LongerIntervalsOnlyWhenComplete) {
    struct SpanCase {
        DateTime first_day;
        DateTime end_day;
        // Energy rows expected, each "parameter@dd.mm.yyyy=value", for a constant 2 kW load (48 kW*h a day).
        std::vector<std::string> months_and_longer;
    } const cases[] = {
        {EncodeDate(2024, 1, 15), EncodeDate(2024, 4, 10), {"36@01.03.2024=1392", "36@01.04.2024=1488"}},
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
