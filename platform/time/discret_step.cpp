#include "discret_step.hpp"

#include "calendar_grid.hpp"
#include "tlcommon/date_time.hpp"
#include "tlplatform/tlvtools.h"

#include <algorithm>

namespace tl::tlv {
namespace {

// Keeps the day of month (clamped to the target month's last day) and the time of day.
std::optional<int64_t> AddMonths(int64_t ms, int64_t months) {
    const int64_t midnight = FloorDiv(ms, kMsPerDay) * kMsPerDay;
    const std::optional<int64_t> target_month = MonthStart(MonthIndex(ms) + months);
    if (!target_month) {
        return std::nullopt;
    }
    const DateTimeParts from = DecodeDateTime(FromMillis(midnight));
    const DateTimeParts to = DecodeDateTime(FromMillis(*target_month));
    const int day = std::min(from.day, DaysInMonth(to.year, to.month));
    const int64_t result = *target_month + (day - 1) * kMsPerDay + (ms - midnight);
    return InCalendarRange(result) ? std::optional<int64_t>(result) : std::nullopt;
}

std::optional<int64_t> AddFixed(int64_t ms, int64_t unit_ms, int64_t count) {
    const int64_t result = ms + unit_ms * count;
    return InCalendarRange(result) ? std::optional<int64_t>(result) : std::nullopt;
}

} // namespace

std::optional<int64_t> StepMillis(int64_t ms, uint8_t kind, int32_t count) {
    if (count < 1) {
        return std::nullopt;
    }
    const int64_t n = count;
    switch (kind) {
    case TL_DISCRET_YEAR:
        return AddMonths(ms, 12 * n);
    case TL_DISCRET_QUARTER:
        return AddMonths(ms, 3 * n);
    case TL_DISCRET_MONTH:
        return AddMonths(ms, n);
    case TL_DISCRET_DAY:
        return AddFixed(ms, kMsPerDay, n);
    case TL_DISCRET_HOUR:
        return AddFixed(ms, 3'600'000, n);
    case TL_DISCRET_MINUTE:
        return AddFixed(ms, 60'000, n);
    case TL_DISCRET_SECOND:
    case TL_DISCRET_FIXED:
        return AddFixed(ms, 1000, n);
    case TL_DISCRET_MILLISECOND:
        return AddFixed(ms, 1, n);
    default:
        return std::nullopt;
    }
}

} // namespace tl::tlv
