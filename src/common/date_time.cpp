#include "tlcommon/date_time.hpp"

#include <cmath>
#include <ctime>
#include <fmt/format.h>

namespace tl {
namespace {

// Days from 1970-01-01 to the civil date (Howard Hinnant's algorithm).
int64_t DaysFromEpoch(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromEpochDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

// 30.12.1899 is day -25569 of the Unix epoch.
constexpr int64_t kEpochOffsetDays = 25569;

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

} // namespace

int64_t ToMillis(DateTime value) {
    return std::llround(value * static_cast<double>(kMsPerDay));
}

DateTime FromMillis(int64_t ms) {
    return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

int64_t DaysFromCivil(int year, int month, int day) {
    return DaysFromEpoch(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kEpochOffsetDays;
}

DateTimeParts DecodeDateTime(DateTime value) {
    const int64_t ms = ToMillis(value);
    const int64_t days = FloorDiv(ms, kMsPerDay);
    int64_t rest = ms - days * kMsPerDay;
    DateTimeParts p;
    CivilFromEpochDays(days - kEpochOffsetDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(rest / 3'600'000);
    rest %= 3'600'000;
    p.minute = static_cast<int>(rest / 60'000);
    rest %= 60'000;
    p.second = static_cast<int>(rest / 1000);
    p.millisecond = static_cast<int>(rest % 1000);
    return p;
}

DateTime EncodeDateTime(const DateTimeParts& p) {
    const int64_t days = DaysFromCivil(p.year, p.month, p.day);
    const int64_t ms =
        days * kMsPerDay + p.hour * 3'600'000LL + p.minute * 60'000LL + p.second * 1000LL + p.millisecond;
    return FromMillis(ms);
}

DateTime EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool SameStamp(DateTime a, DateTime b) {
    return std::fabs(a - b) <= kOneMs;
}

// Result rows take the local time one by one, a million times a run: the calendar work of
// localtime_r is done once per second of the clock, and the milliseconds are added to it.
DateTime Now() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    thread_local time_t cached_second = -1;
    thread_local int64_t cached_second_ms = 0; // the local date-time of that second, in ms
    if (ts.tv_sec != cached_second) {
        tm local{};
        localtime_r(&ts.tv_sec, &local);
        DateTimeParts p;
        p.year = local.tm_year + 1900;
        p.month = local.tm_mon + 1;
        p.day = local.tm_mday;
        p.hour = local.tm_hour;
        p.minute = local.tm_min;
        p.second = local.tm_sec;
        cached_second_ms = DaysFromCivil(p.year, p.month, p.day) * kMsPerDay + p.hour * 3'600'000LL +
                           p.minute * 60'000LL + p.second * 1000LL;
        cached_second = ts.tv_sec;
    }
    return FromMillis(cached_second_ms + ts.tv_nsec / 1'000'000);
}

DateTime Today() {
    return std::floor(Now());
}

std::string FormatStamp(DateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    return fmt::format("{:02}.{:02}.{:04} {:02}:{:02}:{:02}.{:03}", p.day, p.month, p.year, p.hour, p.minute,
                       p.second, p.millisecond);
}

std::string FormatDateTimeSeconds(DateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    return fmt::format("{:02}.{:02}.{:04} {:02}:{:02}:{:02}", p.day, p.month, p.year, p.hour, p.minute,
                       p.second);
}

} // namespace tl
