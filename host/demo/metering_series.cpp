#include "tldemo/metering_series.hpp"

#include "tldemo/load_model.hpp"

#include <vector>

namespace tl::demo {
namespace {

constexpr int64_t kMsPerHalfHour = 30 * 60'000;
constexpr int64_t kMsPerFiveMinutes = 5 * 60'000;

DateTime EndOfHalfHour(int64_t day, int slot) {
    return FromMillis(day * kMsPerDay + (slot + 1) * kMsPerHalfHour);
}

DateTime Midnight(int64_t day) {
    return static_cast<DateTime>(day);
}

struct Period {
    int64_t first_day;
    int64_t end_day;
    double energy;
};

// Sums consecutive periods into the longer ones that contain them, `months` months long and
// aligned to the year (1: months, 3: quarters, 12: years); only periods whose every day lies in
// the model span are complete. `parts` must be complete periods in day order.
std::vector<Period> Group(const std::vector<Period>& parts, int months) {
    std::vector<Period> groups;
    for (const Period& part : parts) {
        const DateTimeParts date = DecodeDateTime(Midnight(part.first_day));
        const int first_month = (date.month - 1) / months * months + 1;
        const int64_t group_first = DaysFromCivil(date.year, first_month, 1);
        if (groups.empty() || groups.back().first_day != group_first) {
            if (part.first_day != group_first) {
                continue; // the model starts inside this group: it cannot be complete
            }
            const int end_month = first_month + months;
            const int64_t group_end = end_month > 12 ? DaysFromCivil(date.year + 1, end_month - 12, 1)
                                                     : DaysFromCivil(date.year, end_month, 1);
            groups.push_back({group_first, group_end, 0});
        }
        groups.back().energy += part.energy;
    }
    // A group whose parts stop early is incomplete.
    while (!groups.empty() && !parts.empty() && groups.back().end_day > parts.back().end_day) {
        groups.pop_back();
    }
    return groups;
}

void EmitEnergies(const std::vector<Period>& periods, int32_t par_number, const MeteringSink& sink) {
    for (const Period& p : periods) {
        sink({par_number, Midnight(p.end_day), p.energy});
    }
}

} // namespace

void EmitChannelSeries(std::span<const double> half_hours, const SeriesPlan& plan, uint64_t seed,
                       const MeteringSink& sink) {
    const auto value = [&](int64_t day, int slot) {
        return half_hours[static_cast<size_t>((day - plan.model_first_day) * kHalfHoursPerDay + slot)];
    };

    if (plan.five_minute_day) {
        const int64_t day = *plan.five_minute_day;
        for (int slot = 0; slot < kHalfHoursPerDay; ++slot) {
            const auto parts = SplitHalfHour(value(day, slot), seed, day, slot);
            for (int k = 0; k < kFiveMinutesPerHalfHour; ++k) {
                const int64_t end_ms = day * kMsPerDay + slot * kMsPerHalfHour + (k + 1) * kMsPerFiveMinutes;
                sink({kFiveMinutePower, FromMillis(end_ms), parts[static_cast<size_t>(k)]});
            }
        }
    }
    for (int64_t day = plan.fine_first_day; day < plan.fine_end_day; ++day) {
        for (int slot = 0; slot < kHalfHoursPerDay; ++slot) {
            sink({kHalfHourPower, EndOfHalfHour(day, slot), value(day, slot)});
        }
    }
    for (int64_t day = plan.fine_first_day; day < plan.fine_end_day; ++day) {
        for (int slot = 1; slot < kHalfHoursPerDay; slot += 2) {
            sink({kHourPower, EndOfHalfHour(day, slot), (value(day, slot - 1) + value(day, slot)) / 2.0});
        }
    }

    std::vector<Period> days;
    for (int64_t day = plan.model_first_day; day < plan.model_end_day; ++day) {
        double energy = 0;
        for (int slot = 0; slot < kHalfHoursPerDay; ++slot) {
            energy += value(day, slot) * 0.5;
        }
        days.push_back({day, day + 1, energy});
    }
    EmitEnergies(days, kDayEnergy, sink);
    const std::vector<Period> months = Group(days, 1);
    EmitEnergies(months, kMonthEnergy, sink);
    const std::vector<Period> quarters = Group(months, 3);
    EmitEnergies(quarters, kQuarterEnergy, sink);
    EmitEnergies(Group(quarters, 12), kYearEnergy, sink);
}

} // namespace tl::demo
