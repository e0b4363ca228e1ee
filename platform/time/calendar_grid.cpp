#include "calendar_grid.hpp"

#include "tlcommon/date_time.hpp"

#include <algorithm>
#include <cmath>

namespace tl::tlv {
namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 10000;
constexpr int64_t kMinDay = -693'593;  // 01.01.0001
constexpr int64_t kMaxDay = 2'958'466; // 01.01.10000
constexpr int64_t kMinMs = kMinDay * kMsPerDay;
constexpr int64_t kMaxMs = kMaxDay * kMsPerDay;
constexpr int64_t kToleranceMs = 1;
constexpr int64_t kMinutesPerDay = 1440;

std::optional<int64_t> InRange(int64_t ms) {
    if (!InCalendarRange(ms)) {
        return std::nullopt;
    }
    return ms;
}

std::optional<int64_t> DayStart(int64_t day) {
    // Checked before multiplying so that a huge grid cannot overflow.
    if (day < kMinDay || day > kMaxDay) {
        return std::nullopt;
    }
    return day * kMsPerDay;
}

} // namespace

bool InCalendarRange(int64_t ms) {
    return ms >= kMinMs && ms <= kMaxMs;
}

std::optional<int64_t> DateToMillis(double date) {
    const double ms = date * static_cast<double>(kMsPerDay);
    if (!std::isfinite(ms) || ms < static_cast<double>(kMinMs) - 1.0 ||
        ms > static_cast<double>(kMaxMs) + 1.0) {
        return std::nullopt;
    }
    return InRange(std::llround(ms));
}

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

Span MinuteSpan(int64_t ms, int64_t minutes) {
    // Any count of a day or more leaves only the midnights as boundaries.
    const int64_t step = std::min(minutes, kMinutesPerDay) * 60'000;
    const int64_t midnight = FloorDiv(ms, kMsPerDay) * kMsPerDay;
    const int64_t lower = midnight + (ms - midnight) / step * step;
    const int64_t upper = std::min(lower + step, midnight + kMsPerDay);
    return {InRange(lower), InRange(upper)};
}

Span DaySpan(int64_t ms, int64_t days) {
    const int64_t first = FloorDiv(FloorDiv(ms, kMsPerDay), days) * days;
    return {DayStart(first), DayStart(first + days)};
}

Span MonthSpan(int64_t ms, int64_t months) {
    const int64_t first = FloorDiv(MonthIndex(ms), months) * months;
    return {MonthStart(first), MonthStart(first + months)};
}

std::optional<int64_t> PickBoundary(int64_t ms, const Span& span, bool direction) {
    if (span.lower && ms - *span.lower <= kToleranceMs) {
        return span.lower;
    }
    if (span.upper && *span.upper - ms <= kToleranceMs) {
        return span.upper;
    }
    return direction ? span.upper : span.lower;
}

int64_t MonthIndex(int64_t ms) {
    const DateTimeParts parts = DecodeDateTime(FromMillis(FloorDiv(ms, kMsPerDay) * kMsPerDay));
    return int64_t{parts.year} * 12 + parts.month - 1;
}

std::optional<int64_t> MonthStart(int64_t month_index) {
    const int64_t year = FloorDiv(month_index, 12);
    if (year < kFirstYear || year > kLastYear) {
        return std::nullopt;
    }
    const int month = static_cast<int>(month_index - year * 12) + 1;
    return InRange(DaysFromCivil(static_cast<int>(year), month, 1) * kMsPerDay);
}

} // namespace tl::tlv
