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
    IncDiscret(&window.begin, TDiscret{static_cast<uint8_t>(step.kind), step.count, 0});
    return ToMillis(window.begin) - ToMillis(window.end) <= 1;
}

size_t StampCount(PassWindow window) {
    size_t count = 1;
    while (NextStamp(window)) {
        ++count;
    }
    return count;
}

} // namespace tl
