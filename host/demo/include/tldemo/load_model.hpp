// Deterministic loads: the half-hour powers of an element from a daily curve (by profile), a
// seasonal swing, the day of the week and a little noise hashed from the element's seed and the
// half-hour, so that any span of days gives the same values for the days it shares with another.
#pragma once

#include "tldemo/network.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tl::demo {

inline constexpr int kHalfHoursPerDay = 48;
inline constexpr int kFiveMinutesPerHalfHour = 6;

// Uniform in [-1, 1), a pure function of its arguments.
double HashedNoise(uint64_t seed, int64_t a, int64_t b);

struct PairPowers {
    // Mean power of each half-hour from the first day on (kW and kvar), index day * 48 + slot.
    std::vector<double> active;
    std::vector<double> reactive;
};

// The element's powers over [first_day, end_day); zero while it is out of service.
PairPowers HalfHourPowers(const NetworkElement& element, int64_t first_day, int64_t end_day);

// The six 5-minute powers of one half-hour: they vary around the half-hour's mean and average to
// it exactly (up to rounding).
std::array<double, kFiveMinutesPerHalfHour> SplitHalfHour(double mean, uint64_t seed, int64_t day, int slot);

} // namespace tl::demo
