// Boundaries of intervals of minutes, days and months, in whole milliseconds since 30.12.1899.
#pragma once

#include <cstdint>
#include <optional>

namespace tl::tlv {

// Calendar arithmetic is kept to 01.01.0001 .. 01.01.10000: beyond it the day counts stop meaning
// anything to the metering system, and the millisecond counts could overflow.
bool InCalendarRange(int64_t ms);
// The date rounded to whole milliseconds, or nothing when it is not finite or out of range.
std::optional<int64_t> DateToMillis(double date);
int64_t FloorDiv(int64_t a, int64_t b);

// The two boundaries around a stamp: lower <= ms < upper. A boundary outside the calendar range
// is absent.
struct Span {
    std::optional<int64_t> lower;
    std::optional<int64_t> upper;
};

// Grid of `minutes` counted from the stamp's own midnight; the next midnight closes the last
// interval of the day.
Span MinuteSpan(int64_t ms, int64_t minutes);
// Grid of `days` counted from day 0.
Span DaySpan(int64_t ms, int64_t days);
// Grid of `months` counted from January of year 0.
Span MonthSpan(int64_t ms, int64_t months);

// The boundary in the asked direction (true: at or after, false: at or before). A stamp within
// one millisecond of a boundary is on it.
std::optional<int64_t> PickBoundary(int64_t ms, const Span& span, bool direction);

// The month number (year * 12 + month - 1) of a stamp, and the first stamp of a month number.
int64_t MonthIndex(int64_t ms);
std::optional<int64_t> MonthStart(int64_t month_index);

} // namespace tl::tlv
