// Date-times as text, in the engine's date format dd.mm.yyyy and time format hh:nn:ss.
#include "ansi_text.hpp"
#include "builtins.hpp"
#include "script_date.hpp"

#include <fmt/format.h>

namespace tl::script {
namespace {

void ReturnFormatted(CallFrame& f, std::string_view format, double value) {
    if (!InDateRange(value)) {
        f.RaiseClass("EConvertError", "Invalid argument to date decode");
    }
    f.ReturnBytes(FormatScriptDateTime(format, value));
}

void FnDateToStr(CallFrame& f) {
    ReturnFormatted(f, "dd.mm.yyyy", f.Float(0));
}
void FnTimeToStr(CallFrame& f) {
    ReturnFormatted(f, "hh:nn:ss", f.Float(0));
}
// The time is left out at midnight.
void FnDateTimeToStr(CallFrame& f) {
    ReturnFormatted(f, "c", f.Float(0));
}
void FnFormatDateTime(CallFrame& f) {
    ReturnFormatted(f, f.Bytes(0), f.Float(1));
}

template <bool (*Parse)(std::string_view, double&)>
void ParseOrRaise(CallFrame& f, const char* what) {
    double value = 0;
    if (!Parse(f.Bytes(0), value)) {
        f.RaiseClass("EConvertError", fmt::format("\"{}\" is not a valid {}", ToUtf8(f.Bytes(0)), what));
    }
    f.ReturnFloat(value);
}

void FnStrToDate(CallFrame& f) {
    ParseOrRaise<ParseScriptDate>(f, "date");
}
void FnStrToTime(CallFrame& f) {
    ParseOrRaise<ParseScriptTime>(f, "time");
}
void FnStrToDateTime(CallFrame& f) {
    ParseOrRaise<ParseScriptDateTime>(f, "date and time");
}

} // namespace

void RegisterDateTextBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"DateToStr", {kF}, ValueType::String, FnDateToStr},
                                   {"TimeToStr", {kF}, ValueType::String, FnTimeToStr},
                                   {"DateTimeToStr", {kF}, ValueType::String, FnDateTimeToStr},
                                   {"FormatDateTime", {kS, kF}, ValueType::String, FnFormatDateTime},
                                   {"StrToDate", {kS}, ValueType::Float, FnStrToDate},
                                   {"StrToTime", {kS}, ValueType::Float, FnStrToTime},
                                   {"StrToDateTime", {kS}, ValueType::Float, FnStrToDateTime},
                               });
}

} // namespace tl::script
