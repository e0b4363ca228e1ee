// The interval kinds of the metering data and of the stored losses, named as people type them:
// one per pass of a calculation, with the parameter read and the one the results are stored under.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tl::exchange {

struct IntervalKind {
    int pass = 0;
    std::string_view name;  // "30min", "hour", "day", ...
    std::string_view title; // "30 minutes", "hour", ...
    int32_t par_number = 0;
    int32_t result_par_number = 0;
};

// The thirteen kinds in pass order: 3, 1, 2, 4, 5, 6, 10 and 30 minutes, hour, day, month,
// quarter, year.
std::span<const IntervalKind> IntervalKinds();
// By name ("30min"), by the parameter number (12) or by the result parameter number (30012).
const IntervalKind* FindIntervalKind(std::string_view text);
// "3min, 1min, ..., year", for messages.
std::string_view IntervalKindNames();

} // namespace tl::exchange
