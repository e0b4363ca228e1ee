// String and conversion functions, with the semantics of the like-named Pascal routines.
#include "builtins.hpp"
#include "float_format.hpp"

#include <fmt/format.h>

namespace tl::script {
namespace {

void FnIntToStr(CallFrame& f) {
    f.ReturnString(fmt::format("{}", f.Int(0)));
}
void FnFloatToStr(CallFrame& f) {
    f.ReturnString(FloatToText(f.Float(0), f.DecimalSeparator()));
}
void FnStrToInt(CallFrame& f) {
    int32_t value = 0;
    if (!ParseInt(f.String(0), value)) {
        f.RaiseClass("EConvertError", fmt::format("\"{}\" is an invalid integer", f.String(0)));
    }
    f.ReturnInt(value);
}
void FnStrToFloat(CallFrame& f) {
    double value = 0;
    if (!ParseFloat(f.String(0), f.DecimalSeparator(), value)) {
        f.RaiseClass("EConvertError", fmt::format("\"{}\" is an invalid float", f.String(0)));
    }
    f.ReturnFloat(value);
}
void FnLength(CallFrame& f) {
    f.ReturnInt(static_cast<int32_t>(f.String(0).size()));
}
// Copy(s, index, count): an index below 1 counts from 1, a count past the end stops there.
void FnCopy(CallFrame& f) {
    std::string_view s = f.String(0);
    int64_t index = f.Int(1);
    int64_t count = f.Int(2);
    if (index < 1) {
        index = 1;
    }
    if (count <= 0 || index > static_cast<int64_t>(s.size())) {
        return;
    }
    f.ReturnString(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}
void FnPos(CallFrame& f) {
    std::string_view sub = f.String(0);
    std::string_view s = f.String(1);
    if (sub.empty()) {
        f.ReturnInt(0);
        return;
    }
    size_t at = s.find(sub);
    f.ReturnInt(at == std::string_view::npos ? 0 : static_cast<int32_t>(at + 1));
}
void FnChr(CallFrame& f) {
    f.ReturnChar(static_cast<char>(f.Int(0) & 0xFF));
}
void FnOrdC(CallFrame& f) {
    f.ReturnInt(static_cast<unsigned char>(f.Char(0)));
}
void FnOrdB(CallFrame& f) {
    f.ReturnInt(f.Bool(0) ? 1 : 0);
}
void FnOrdI(CallFrame& f) {
    f.ReturnInt(f.Int(0));
}
// Only ASCII letters change case, as in Pascal's UpperCase and LowerCase.
void FnUpperCase(CallFrame& f) {
    std::string s(f.String(0));
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    f.ReturnString(s);
}
void FnLowerCase(CallFrame& f) {
    f.ReturnString(LowerAscii(f.String(0)));
}
void FnTrim(CallFrame& f) {
    std::string_view s = f.String(0);
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') {
        s.remove_suffix(1);
    }
    f.ReturnString(s);
}

} // namespace

void RegisterStringBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"IntToStr", {kI}, ValueType::String, FnIntToStr},
                                   {"FloatToStr", {kF}, ValueType::String, FnFloatToStr},
                                   {"StrToInt", {kS}, ValueType::Integer, FnStrToInt},
                                   {"StrToFloat", {kS}, ValueType::Float, FnStrToFloat},
                                   {"Length", {kS}, ValueType::Integer, FnLength},
                                   {"Copy", {kS, kI, kI}, ValueType::String, FnCopy},
                                   {"Pos", {kS, kS}, ValueType::Integer, FnPos},
                                   {"Chr", {kI}, ValueType::Char, FnChr},
                                   {"Ord", {kC}, ValueType::Integer, FnOrdC},
                                   {"Ord", {kB}, ValueType::Integer, FnOrdB},
                                   {"Ord", {kI}, ValueType::Integer, FnOrdI},
                                   {"UpperCase", {kS}, ValueType::String, FnUpperCase},
                                   {"LowerCase", {kS}, ValueType::String, FnLowerCase},
                                   {"Trim", {kS}, ValueType::String, FnTrim},
                               });
}

} // namespace tl::script
