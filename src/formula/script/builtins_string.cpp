// String conversions and the basic string functions, with the semantics of the like-named Pascal
// routines. Strings are Windows-1251 bytes: lengths and positions count characters.
#include "ansi_text.hpp"
#include "builtins.hpp"
#include "float_format.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl::script {
namespace {

void FnIntToStr(CallFrame& f) {
    f.ReturnBytes(fmt::format("{}", f.Int(0)));
}
void FnFloatToStr(CallFrame& f) {
    f.ReturnBytes(FloatToText(f.Float(0), f.DecimalSeparator()));
}
// IntToHex(value, digits): the 32-bit pattern in upper-case hexadecimal, zero-padded to at least
// digits characters (at most 255).
void FnIntToHex(CallFrame& f) {
    auto value = static_cast<uint32_t>(f.Int(0));
    int digits = std::min(f.Int(1), 255);
    f.ReturnBytes(fmt::format("{:0{}X}", value, std::max(digits, 0)));
}
void FnStrToInt(CallFrame& f) {
    int32_t value = 0;
    if (!ParseInt(f.Bytes(0), value)) {
        f.RaiseClass("EConvertError", fmt::format("\"{}\" is an invalid integer", ToUtf8(f.Bytes(0))));
    }
    f.ReturnInt(value);
}
void FnStrToIntDef(CallFrame& f) {
    int32_t value = 0;
    f.ReturnInt(ParseInt(f.Bytes(0), value) ? value : f.Int(1));
}
void FnStrToFloat(CallFrame& f) {
    double value = 0;
    if (!ParseFloat(f.Bytes(0), f.DecimalSeparator(), value)) {
        f.RaiseClass("EConvertError", fmt::format("\"{}\" is an invalid float", ToUtf8(f.Bytes(0))));
    }
    f.ReturnFloat(value);
}
void FnStrToFloatDef(CallFrame& f) {
    double value = 0;
    f.ReturnFloat(ParseFloat(f.Bytes(0), f.DecimalSeparator(), value) ? value : f.Float(1));
}
void FnLength(CallFrame& f) {
    f.ReturnInt(static_cast<int32_t>(f.Bytes(0).size()));
}
// Copy(s, index, count): an index below 1 counts from 1, a count past the end stops there.
void FnCopy(CallFrame& f) {
    std::string_view s = f.Bytes(0);
    int64_t index = f.Int(1);
    int64_t count = f.Int(2);
    if (index < 1) {
        index = 1;
    }
    if (count <= 0 || index > static_cast<int64_t>(s.size())) {
        return;
    }
    f.ReturnBytes(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}
void FnPos(CallFrame& f) {
    std::string_view sub = f.Bytes(0);
    std::string_view s = f.Bytes(1);
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

} // namespace

void RegisterStringBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"IntToStr", {kI}, ValueType::String, FnIntToStr},
                                   {"FloatToStr", {kF}, ValueType::String, FnFloatToStr},
                                   {"IntToHex", {kI, kI}, ValueType::String, FnIntToHex},
                                   {"StrToInt", {kS}, ValueType::Integer, FnStrToInt},
                                   {"StrToIntDef", {kS, kI}, ValueType::Integer, FnStrToIntDef},
                                   {"StrToFloat", {kS}, ValueType::Float, FnStrToFloat},
                                   {"StrToFloatDef", {kS, kF}, ValueType::Float, FnStrToFloatDef},
                                   {"Length", {kS}, ValueType::Integer, FnLength},
                                   {"Copy", {kS, kI, kI}, ValueType::String, FnCopy},
                                   {"Pos", {kS, kS}, ValueType::Integer, FnPos},
                                   {"Chr", {kI}, ValueType::Char, FnChr},
                                   {"Ord", {kC}, ValueType::Integer, FnOrdC},
                                   {"Ord", {kB}, ValueType::Integer, FnOrdB},
                                   {"Ord", {kI}, ValueType::Integer, FnOrdI},
                               });
}

} // namespace tl::script
