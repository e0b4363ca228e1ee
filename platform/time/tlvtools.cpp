// The exported functions: each rounds the date to whole milliseconds, works on the millisecond
// count and writes back the exact stamp; anything it cannot place leaves the date unchanged.
#include "tlplatform/tlvtools.h"

#include "calendar_grid.hpp"
#include "discret_step.hpp"
#include "tlcommon/date_time.hpp"

namespace {

template <typename SpanOf>
void Correct(double* date, int32_t count, bool direction, int64_t units_per_count, SpanOf span_of) {
    if (date == nullptr || count < 1) {
        return;
    }
    const std::optional<int64_t> ms = tl::tlv::DateToMillis(*date);
    if (!ms) {
        return;
    }
    const std::optional<int64_t> boundary =
        tl::tlv::PickBoundary(*ms, span_of(*ms, int64_t{count} * units_per_count), direction);
    if (boundary) {
        *date = tl::FromMillis(*boundary);
    }
}

} // namespace

extern "C" {

void CorrectDateForMinutes(double* date, int32_t minutes, bool direction) {
    Correct(date, minutes, direction, 1, tl::tlv::MinuteSpan);
}

void CorrectDateForDays(double* date, int32_t days, bool direction) {
    Correct(date, days, direction, 1, tl::tlv::DaySpan);
}

void CorrectDateForMonths(double* date, int32_t months, bool direction) {
    Correct(date, months, direction, 1, tl::tlv::MonthSpan);
}

void CorrectDateForQuarters(double* date, int32_t quarters, bool direction) {
    Correct(date, quarters, direction, 3, tl::tlv::MonthSpan);
}

void CorrectDateForYears(double* date, int32_t years, bool direction) {
    Correct(date, years, direction, 12, tl::tlv::MonthSpan);
}

void IncDiscret(double* date, TDiscret discret) {
    if (date == nullptr) {
        return;
    }
    const std::optional<int64_t> ms = tl::tlv::DateToMillis(*date);
    if (!ms) {
        return;
    }
    const std::optional<int64_t> next = tl::tlv::StepMillis(*ms, discret.kind, discret.value);
    if (next) {
        *date = tl::FromMillis(*next);
    }
}

} // extern "C"
