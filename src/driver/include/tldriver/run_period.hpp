// How a run counts its period back from a moment.
#pragma once

#include "tlcommon/date_time.hpp"

#include <cstdint>

namespace tl {

// Rounds to the nearest integer, a tie to the even one.
double RoundHalfToEven(double value);

// `moment` moved back by `hours` and cut to whole seconds: whole days and the remaining hours are
// taken apart (both truncated toward zero), the result is rounded to hundredths of a second and
// then truncated to the second.
DateTime DepthBack(int32_t hours, DateTime moment);

} // namespace tl
