#include "tldemo/load_model.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tl::demo {
namespace {

constexpr double kActiveNoise = 0.04;
constexpr double kReactiveNoise = 0.05;
constexpr double kFiveMinuteNoise = 0.06;
constexpr int64_t kMsPerHalfHour = 30 * 60'000;

uint64_t SplitMix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

double Bump(double t, double centre, double width) {
    const double z = (t - centre) / width;
    return std::exp(-z * z);
}

double Rise(double t, double at, double steepness) {
    return 1.0 / (1.0 + std::exp(-(t - at) * steepness));
}

// Share of the peak in the half-hour whose middle is `hour` (0..24), on a working day.
double DailyCurve(LoadProfile profile, double hour) {
    if (profile == LoadProfile::kIndustrial) {
        return 0.45 + 0.5 * Rise(hour, 7.0, 2.0) * (1.0 - Rise(hour, 18.0, 1.5)) +
               0.05 * Bump(hour, 12.5, 1.0);
    }
    return 0.42 + 0.28 * Bump(hour, 8.0, 1.5) + 0.15 * Bump(hour, 13.0, 3.0) + 0.58 * Bump(hour, 19.5, 2.2);
}

// Winter peak, summer trough: the day of the year from 1 January.
double Season(int64_t day) {
    const DateTimeParts date = DecodeDateTime(static_cast<DateTime>(day));
    const auto day_of_year = static_cast<double>(day - DaysFromCivil(date.year, 1, 1));
    return 1.0 + 0.22 * std::cos(2.0 * std::numbers::pi * (day_of_year - 15.0) / 365.25);
}

// Monday is 0; 30.12.1899 was a Saturday.
int DayOfWeek(int64_t day) {
    return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

double WeekFactor(LoadProfile profile, int64_t day) {
    const bool weekend = DayOfWeek(day) >= 5;
    if (!weekend) {
        return 1.0;
    }
    return profile == LoadProfile::kIndustrial ? 0.62 : 1.06;
}

// Share of the half-hour [start, start + 30 min) in which the element is in service.
double InService(const NetworkElement& element, int64_t start_ms) {
    double share = 1.0;
    for (const auto& [from, to] : element.outages) {
        const int64_t overlap =
            std::min(start_ms + kMsPerHalfHour, ToMillis(to)) - std::max(start_ms, ToMillis(from));
        if (overlap > 0) {
            share -= static_cast<double>(overlap) / kMsPerHalfHour;
        }
    }
    return std::max(share, 0.0);
}

} // namespace

double HashedNoise(uint64_t seed, int64_t a, int64_t b) {
    const uint64_t h = SplitMix(SplitMix(seed ^ static_cast<uint64_t>(a)) ^ static_cast<uint64_t>(b));
    return static_cast<double>(h >> 11) * 0x1.0p-52 - 1.0; // 53 bits scaled to [0, 2), minus 1
}

PairPowers HalfHourPowers(const NetworkElement& element, int64_t first_day, int64_t end_day) {
    const LoadShape& load = element.load;
    PairPowers powers;
    const auto count = static_cast<size_t>(std::max<int64_t>(end_day - first_day, 0)) * kHalfHoursPerDay;
    powers.active.reserve(count);
    powers.reactive.reserve(count);
    for (int64_t day = first_day; day < end_day; ++day) {
        const double daily = load.peak_kw * Season(day) * WeekFactor(load.profile, day);
        for (int slot = 0; slot < kHalfHoursPerDay; ++slot) {
            const double hour = (slot + 0.5) / 2.0;
            const double service = InService(element, day * kMsPerDay + slot * kMsPerHalfHour);
            const double p = daily * DailyCurve(load.profile, hour) *
                             (1.0 + kActiveNoise * HashedNoise(load.seed * 4, day, slot)) * service;
            const double q =
                p * load.tan_phi * (1.0 + kReactiveNoise * HashedNoise(load.seed * 4 + 1, day, slot));
            powers.active.push_back(p);
            powers.reactive.push_back(q);
        }
    }
    return powers;
}

std::array<double, kFiveMinutesPerHalfHour> SplitHalfHour(double mean, uint64_t seed, int64_t day, int slot) {
    std::array<double, kFiveMinutesPerHalfHour> noise{};
    double noise_mean = 0;
    for (int k = 0; k < kFiveMinutesPerHalfHour; ++k) {
        noise[k] = HashedNoise(seed * 4 + 2, day, slot * kFiveMinutesPerHalfHour + k);
        noise_mean += noise[k] / kFiveMinutesPerHalfHour;
    }
    std::array<double, kFiveMinutesPerHalfHour> values{};
    for (int k = 0; k < kFiveMinutesPerHalfHour; ++k) {
        values[k] = mean * (1.0 + kFiveMinuteNoise * (noise[k] - noise_mean));
    }
    return values;
}

} // namespace tl::demo
