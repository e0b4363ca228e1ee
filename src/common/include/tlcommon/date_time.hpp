// Date-times as the metering system keeps them: days since 30 December 1899 as a double, the
// fraction being the local wall-clock time of day. Calendar work goes through whole milliseconds
// so that repeated arithmetic never drifts.
#pragma once

#include <cstdint>
#include <string>

namespace tl {

using DateTime = double;

inline constexpr int64_t kMsPerDay = 86'400'000;
inline constexpr double kOneMs = 1.0 / 86'400'000.0;

struct DateTimeParts {
    int year = 1899;
    int month = 12; // 1..12
    int day = 30;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Whole milliseconds since 30.12.1899 00:00, rounded to the nearest millisecond.
int64_t ToMillis(DateTime value);
DateTime FromMillis(int64_t ms);

DateTimeParts DecodeDateTime(DateTime value);
DateTime EncodeDateTime(const DateTimeParts& parts);
DateTime EncodeDate(int year, int month, int day);
// Day number (days since 30.12.1899) of a calendar date; valid for any proleptic Gregorian date.
int64_t DaysFromCivil(int year, int month, int day);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Two stamps within one millisecond count as equal.
bool SameStamp(DateTime a, DateTime b);

// The current local date-time, and today at 00:00.
DateTime Now();
DateTime Today();

// "dd.mm.yyyy HH:nn:ss.zzz", the stamp format of the logs.
std::string FormatStamp(DateTime value);
// "dd.mm.yyyy HH:nn:ss".
std::string FormatDateTimeSeconds(DateTime value);

} // namespace tl
