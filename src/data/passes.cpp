#include "tldata/passes.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <stdexcept>

namespace tl {
namespace {

void CheckPass(int pass, int last) {
    if (pass < 0 || pass > last) {
        throw std::out_of_range(fmt::format("no pass {}", pass));
    }
}

// Year and month of the day before the interval's end: the interval the end closes.
DateTimeParts DayBefore(DateTime interval_time) {
    return DecodeDateTime(interval_time - 1.0);
}

// (year, month) moved back by `months`.
void MonthsBack(int& year, int& month, int months) {
    const int index = year * 12 + (month - 1) - months;
    year = index / 12;
    month = index % 12 + 1;
}

} // namespace

int32_t PassParNumber(int pass) {
    CheckPass(pass, kLastPass);
    return kPassParNumbers[static_cast<size_t>(pass)];
}

int32_t ResultParNumber(int pass) {
    return PassParNumber(pass) + kResultParNumberOffset;
}

int32_t PassMinutes(int pass) {
    CheckPass(pass, static_cast<int>(kPassMinutes.size()) - 1);
    return kPassMinutes[static_cast<size_t>(pass)];
}

Discreteness PassStep(int pass) {
    CheckPass(pass, kLastPass);
    switch (pass) {
    case 8:
        return {DiscretKind::kHour, 1};
    case 9:
        return {DiscretKind::kDay, 1};
    case 10:
        return {DiscretKind::kMonth, 1};
    case 11:
        return {DiscretKind::kQuarter, 1};
    case 12:
        return {DiscretKind::kYear, 1};
    default:
        return {DiscretKind::kMinute, PassMinutes(pass)};
    }
}

double IntervalHours(int pass, DateTime interval_time) {
    if (pass >= 0 && pass <= 8) {
        return 1.0 / (60.0 / PassMinutes(pass));
    }
    if (pass == 9) {
        return 24.0;
    }
    if (pass < 10 || pass > 12) {
        return 1.0;
    }
    const DateTimeParts day = DayBefore(interval_time);
    int days = 0;
    if (pass == 10) {
        days = DaysInMonth(day.year, day.month);
    } else if (pass == 11) {
        for (int k = 0; k < 3; ++k) {
            int year = day.year;
            int month = day.month;
            MonthsBack(year, month, k);
            days += DaysInMonth(year, month);
        }
    } else {
        days = IsLeapYear(day.year) ? 366 : 365;
    }
    return 24.0 * days;
}

double HoursPerYear(DateTime interval_time) {
    return IsLeapYear(DayBefore(interval_time).year) ? 8784.0 : 8760.0;
}

double YearFactor(DateTime interval_time) {
    return IsLeapYear(DayBefore(interval_time).year) ? 366.0 / 365.0 : 1.0;
}

DateTime MomentaryWindowStart(int pass, DateTime stamp) {
    CheckPass(pass, kLastPass);
    if (pass <= 8) {
        return FromMillis(ToMillis(stamp) - int64_t{PassMinutes(pass)} * 60'000);
    }
    if (pass == 9) {
        return FromMillis(ToMillis(stamp) - kMsPerDay);
    }
    static constexpr int kMonthsBack[] = {1, 3, 12};
    DateTimeParts parts = DecodeDateTime(stamp);
    MonthsBack(parts.year, parts.month, kMonthsBack[pass - 10]);
    parts.day = std::min(parts.day, DaysInMonth(parts.year, parts.month));
    return EncodeDateTime(parts);
}

} // namespace tl
