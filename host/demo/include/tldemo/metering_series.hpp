// The metering rows of one channel, all derived from its half-hour powers: 5-minute powers (7)
// that average to their half-hour, 30-minute powers (12), hourly powers (18, the mean of two
// half-hours), and energies per day (26, the half-hours times 0.5 h), month (36, its days), quarter
// (46, its months) and year (56, its quarters). Every row is stamped at the end of its interval:
// the energy of 5 November at 6 November 00:00, a month's at 00:00 of the next month's 1st.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tldemo/scenario.hpp"

#include <cstdint>
#include <functional>
#include <span>

namespace tl::demo {

inline constexpr int32_t kFiveMinutePower = 7;
inline constexpr int32_t kHalfHourPower = 12;
inline constexpr int32_t kHourPower = 18;
inline constexpr int32_t kDayEnergy = 26;
inline constexpr int32_t kMonthEnergy = 36;
inline constexpr int32_t kQuarterEnergy = 46;
inline constexpr int32_t kYearEnergy = 56;

struct MeteringValue {
    int32_t par_number = 0;
    DateTime stamp = 0;
    double value = 0;
};

using MeteringSink = std::function<void(const MeteringValue&)>;

// `half_hours` are the channel's powers over the plan's model span (48 per day from its first
// day); `seed` varies the 5-minute values. Rows come parameter by parameter, each in stamp order.
void EmitChannelSeries(std::span<const double> half_hours, const SeriesPlan& plan, uint64_t seed,
                       const MeteringSink& sink);

} // namespace tl::demo
