// Date functions over the day count since 30.12.1899.
#include "builtins.hpp"
#include "tlcommon/date_time.hpp"

#include <cmath>

namespace tl::script {
namespace {

// Day counts beyond the years 1..9999 are not dates.
bool InDateRange(double value) {
    return std::isfinite(value) && value > -693594.0 && value < 2958466.0;
}

void FnDecodeDate(CallFrame& f) {
    double value = f.Float(0);
    if (!InDateRange(value)) {
        f.RaiseClass("EConvertError", "Invalid argument to date decode");
    }
    DateTimeParts parts = DecodeDateTime(value);
    f.IntRef(1) = parts.year;
    f.IntRef(2) = parts.month;
    f.IntRef(3) = parts.day;
}

void FnDecodeTime(CallFrame& f) {
    double value = f.Float(0);
    if (!InDateRange(value)) {
        f.RaiseClass("EConvertError", "Invalid argument to time decode");
    }
    DateTimeParts parts = DecodeDateTime(value);
    f.IntRef(1) = parts.hour;
    f.IntRef(2) = parts.minute;
    f.IntRef(3) = parts.second;
    f.IntRef(4) = parts.millisecond;
}

void FnEncodeDate(CallFrame& f) {
    int year = f.Int(0);
    int month = f.Int(1);
    int day = f.Int(2);
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        f.RaiseClass("EConvertError", "Invalid argument to date encode");
    }
    f.ReturnFloat(EncodeDate(year, month, day));
}

} // namespace

void RegisterDateBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry,
                     {
                         {"DecodeDate", {kF, kVarI, kVarI, kVarI}, ValueType::Void, FnDecodeDate},
                         {"DecodeTime", {kF, kVarI, kVarI, kVarI, kVarI}, ValueType::Void, FnDecodeTime},
                         {"EncodeDate", {kI, kI, kI}, ValueType::Float, FnEncodeDate},
                     });
}

} // namespace tl::script
