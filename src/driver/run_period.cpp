#include "tldriver/run_period.hpp"

#include <cmath>

namespace tl {

double RoundHalfToEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) {
        return floor + 1.0;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

DateTime DepthBack(int32_t hours, DateTime moment) {
    const int32_t days = hours / 24;
    const int32_t rest = hours % 24;
    const double back = moment - days - rest / 24.0;
    const double hundredths = RoundHalfToEven(back * 86400.0 * 100.0);
    return std::trunc(hundredths / 100.0) / 86400.0;
}

} // namespace tl
