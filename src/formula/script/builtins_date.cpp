// Date functions over the day count since 30.12.1899: encoding, decoding, the calendar and the
// clock.
#include "builtins.hpp"
#include "script_date.hpp"
#include "tlcommon/date_time.hpp"

#include <algorithm>
#include <cmath>

namespace tl::script {
namespace {

ScriptDate CheckedDecode(CallFrame& f, double value, const char* error) {
    if (!InDateRange(value)) {
        f.RaiseClass("EConvertError", error);
    }
    return DecodeScriptDate(value);
}

[[noreturn]] void RaiseDateEncode(const CallFrame& f) {
    f.RaiseClass("EConvertError", "Invalid argument to date encode");
}

void FnDecodeDate(CallFrame& f) {
    ScriptDate d = CheckedDecode(f, f.Float(0), "Invalid argument to date decode");
    f.IntRef(1) = d.year;
    f.IntRef(2) = d.month;
    f.IntRef(3) = d.day;
}

void FnDecodeTime(CallFrame& f) {
    ScriptDate d = CheckedDecode(f, f.Float(0), "Invalid argument to time decode");
    f.IntRef(1) = d.hour;
    f.IntRef(2) = d.minute;
    f.IntRef(3) = d.second;
    f.IntRef(4) = d.millisecond;
}

void FnEncodeDate(CallFrame& f) {
    int year = f.Int(0);
    int month = f.Int(1);
    int day = f.Int(2);
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        RaiseDateEncode(f);
    }
    f.ReturnFloat(EncodeDate(year, month, day));
}

void FnEncodeTime(CallFrame& f) {
    int hour = f.Int(0);
    int minute = f.Int(1);
    int second = f.Int(2);
    int millisecond = f.Int(3);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999) {
        f.RaiseClass("EConvertError", "Invalid argument to time encode");
    }
    f.ReturnFloat(EncodeTimeOfDay(hour, minute, second, millisecond));
}

void FnIsLeapYear(CallFrame& f) {
    f.ReturnBool(IsLeapYear(f.Int(0)));
}

// 1 for Sunday .. 7 for Saturday.
void FnDayOfWeek(CallFrame& f) {
    f.ReturnInt(CheckedDecode(f, f.Float(0), "Invalid argument to date decode").day_of_week);
}

// The same day and time some months later or earlier; a day the target month lacks becomes its
// last day (31.01 + 1 month = 28.02 or 29.02).
void FnIncMonth(CallFrame& f) {
    double value = f.Float(0);
    ScriptDate d = CheckedDecode(f, value, "Invalid argument to date decode");
    int64_t months = static_cast<int64_t>(d.year) * 12 + (d.month - 1) + (f.ArgCount() > 1 ? f.Int(1) : 1);
    int64_t year = months / 12;
    int month = static_cast<int>(months % 12) + 1;
    if (year < 1 || year > 9999) {
        RaiseDateEncode(f);
    }
    int day = std::min(d.day, DaysInMonth(static_cast<int>(year), month));
    double time = std::fabs(value - std::trunc(value));
    f.ReturnFloat(JoinDateAndTime(EncodeDate(static_cast<int>(year), month, day), time));
}

void FnNow(CallFrame& f) {
    f.ReturnFloat(Now());
}
void FnDate(CallFrame& f) {
    f.ReturnFloat(Today());
}
void FnTime(CallFrame& f) {
    double now = Now();
    f.ReturnFloat(now - std::trunc(now));
}

} // namespace

void RegisterDateBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry,
                     {
                         {"DecodeDate", {kF, kVarI, kVarI, kVarI}, ValueType::Void, FnDecodeDate},
                         {"DecodeTime", {kF, kVarI, kVarI, kVarI, kVarI}, ValueType::Void, FnDecodeTime},
                         {"EncodeDate", {kI, kI, kI}, ValueType::Float, FnEncodeDate},
                         {"EncodeTime", {kI, kI, kI, kI}, ValueType::Float, FnEncodeTime},
                         {"IsLeapYear", {kI}, ValueType::Boolean, FnIsLeapYear},
                         {"DayOfWeek", {kF}, ValueType::Integer, FnDayOfWeek},
                         {"IncMonth", {kF}, ValueType::Float, FnIncMonth},
                         {"IncMonth", {kF, kI}, ValueType::Float, FnIncMonth},
                         {"Now", {}, ValueType::Float, FnNow},
                         {"Date", {}, ValueType::Float, FnDate},
                         {"Time", {}, ValueType::Float, FnTime},
                     });
}

} // namespace tl::script
