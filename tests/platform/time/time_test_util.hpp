// Dates for the time-discretisation tests.
#pragma once

#include "tlcommon/date_time.hpp"

namespace tl::test {

inline double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, ms});
}

// A time of day on 15.03.2024, an ordinary day in a leap year.
inline double Mar15(int hour, int minute, int second = 0, int ms = 0) {
    return At(2024, 3, 15, hour, minute, second, ms);
}

} // namespace tl::test
