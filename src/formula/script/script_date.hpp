// Date-times of scripts: days since 30.12.1899 as a Float whose fraction is the time of day. A
// negative value counts its whole days back from that day and its fraction forward into the
// day, as in Pascal: -1.25 is 29.12.1899 06:00. Texts are the engine's date format dd.mm.yyyy
// and times hh:nn:ss; strings in and out are Windows-1251 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tl::script {

struct ScriptDate {
    int64_t days = 0; // the whole days, truncated toward zero
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int day_of_week = 7; // 1 = Sunday
};

// Day counts of the years 1..9999.
bool InDateRange(double value);
// value must be in range; the time is rounded to the millisecond.
ScriptDate DecodeScriptDate(double value);
// A whole-day date and a time of day (0 <= time < 1) joined in Pascal's form.
double JoinDateAndTime(double date, double time);
double EncodeTimeOfDay(int hour, int minute, int second, int millisecond);

// FormatDateTime: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right after h), yy yyyy,
// h hh, n nn, s ss, z zzz, t tt, c, am/pm a/p ampm, "/" as the date separator, quoted text.
std::string FormatScriptDateTime(std::string_view format, double value);

// dd.mm.yyyy (one-digit day and month and two-digit years too; without the year, this year),
// hh:nn[:ss[.zzz]], and the date, blanks and the time. False for a malformed text or a date
// or time that does not exist.
bool ParseScriptDate(std::string_view text, double& value);
bool ParseScriptTime(std::string_view text, double& value);
bool ParseScriptDateTime(std::string_view text, double& value);

} // namespace tl::script
