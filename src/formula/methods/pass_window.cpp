#include "tlmethods/pass_window.hpp"

#include "tldata/passes.hpp"
#include "tlplatform/tlvtools.h"

#include <stdexcept>

namespace tl {
namespace {

bool SameMinute(const DateTimeParts& a, const DateTimeParts& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

// Whether the period begin..end lies within one interval of the pass, judged on the dates before
// alignment.
bool Collapses(int pass, DateTime begin, DateTime end) {
    const DateTimeParts b = DecodeDateTime(begin);
    const DateTimeParts e = DecodeDateTime(end);
    switch (pass) {
    case 9:
        return b.day == e.day && b.month == e.month && b.year == e.year;
    case 10:
        return b.month == e.month && b.year == e.year;
    case 11:
        return e.month - b.month < 3 && b.year == e.year;
    case 12:
        return b.year == e.year;
    default:
        return SameMinute(b, e);
    }
}

void Align(int pass, DateTime& date, bool forward) {
    switch (pass) {
    case 9:
        CorrectDateForDays(&date, 1, forward);
        break;
    case 10:
        CorrectDateForMonths(&date, 1, forward);
        break;
    case 11:
        CorrectDateForQuarters(&date, 1, forward);
        break;
    case 12:
        CorrectDateForYears(&date, 1, forward);
        break;
    default:
        CorrectDateForMinutes(&date, PassMinutes(pass), forward);
        break;
    }
}

// The step of a pass in milliseconds when it is fixed (minutes, hours, days); 0 for months,
// quarters and years.
int64_t FixedStepMs(int pass) {
    const Discreteness step = PassStep(pass);
    switch (step.kind) {
    case DiscretKind::kMinute:
        return int64_t{60'000} * step.count;
    case DiscretKind::kHour:
        return int64_t{3'600'000} * step.count;
    case DiscretKind::kDay:
        return kMsPerDay * step.count;
    default:
        return 0;
    }
}

} // namespace

bool PreparePass(PassWindow& window, int pass, DateTime begin, DateTime end) {
    if (pass < 0 || pass > kLastPass) {
        throw std::out_of_range("no such pass");
    }
    window.pass = pass;
    window.begin = begin;
    window.end = end;
    Align(pass, window.begin, true);
    Align(pass, window.end, false);
    if (Collapses(pass, begin, end)) {
        window.begin = window.end;
    }
    return ToMillis(window.end) >= ToMillis(window.begin);
}

bool NextStamp(PassWindow& window) {
    const Discreteness step = PassStep(window.pass);
    const int64_t before = ToMillis(window.begin);
    IncDiscret(&window.begin, TDiscret{static_cast<uint8_t>(step.kind), step.count, 0});
    const int64_t after = ToMillis(window.begin);
    // The calendar ends in 9999: a step beyond it leaves the date where it was, and the walk ends.
    return after > before && after - ToMillis(window.end) <= 1;
}

size_t StampCount(PassWindow window, size_t cap) {
    if (cap == 0) {
        return 0;
    }
    if (const int64_t step = FixedStepMs(window.pass); step > 0) {
        // Stamps k = 0, 1, ... lie at begin + k * step while they are not later than the end
        // by more than a millisecond.
        const int64_t room = ToMillis(window.end) + 1 - ToMillis(window.begin);
        const auto further = room > 0 ? static_cast<uint64_t>(room / step) : uint64_t{0};
        return further >= cap - 1 ? cap : static_cast<size_t>(further) + 1;
    }
    size_t count = 1; // at most twelve stamps a year
    while (count < cap && NextStamp(window)) {
        ++count;
    }
    return count;
}

bool SkipTo(PassWindow& window, int64_t ms) {
    const int64_t begin = ToMillis(window.begin);
    if (begin < ms) {
        if (const int64_t step = FixedStepMs(window.pass); step > 0) {
            const int64_t steps = (ms - begin + step - 1) / step;
            if (steps > (ToMillis(window.end) + 1 - begin) / step) {
                return false;
            }
            // The stamp that as many steps from the begin would reach.
            window.begin = FromMillis(begin + steps * step);
        } else {
            while (ToMillis(window.begin) < ms) {
                if (!NextStamp(window)) {
                    return false;
                }
            }
        }
    }
    return ToMillis(window.begin) - ToMillis(window.end) <= 1;
}

} // namespace tl
