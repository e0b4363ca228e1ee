// The built-in library every script sees.
//
// Adding a function: write a handler `void FnName(CallFrame& f)` that reads its arguments with
// f.Int(i) / f.Float(i) / f.Bytes(i) (var parameters with f.IntRef(i), f.BytesRef(i) ...) and
// sets its result with f.ReturnInt / ReturnFloat / ReturnBytes / ReturnBool, raising run-time
// errors with f.RaiseClass("EConvertError", text); then add one line to the table of its family:
//     {"Sqrt", {kF}, ValueType::Float, FnSqrt},
// Overloads are rows with the same name and other parameter types. Strings are Windows-1251
// bytes, one byte a character; error texts are UTF-8 (ToUtf8 of a string quoted in one).
#pragma once

#include "tlscript/call_frame.hpp"
#include "tlscript/function_registry.hpp"

#include <initializer_list>

namespace tl::script {

struct BuiltinRow {
    const char* name;
    std::initializer_list<ParamSpec> params;
    ValueType result;
    NativeFunction fn;
};

void RegisterBuiltins(FunctionRegistry& registry, std::initializer_list<BuiltinRow> rows);

// One registration function per family of the library.
void RegisterOutputBuiltins(FunctionRegistry& registry);
void RegisterMathBuiltins(FunctionRegistry& registry);
void RegisterTrigBuiltins(FunctionRegistry& registry);
void RegisterRandomBuiltins(FunctionRegistry& registry);
void RegisterStringBuiltins(FunctionRegistry& registry);
void RegisterStringEditBuiltins(FunctionRegistry& registry);
void RegisterCompareBuiltins(FunctionRegistry& registry);
void RegisterDateBuiltins(FunctionRegistry& registry);
void RegisterDateTextBuiltins(FunctionRegistry& registry);
void RegisterCoreBuiltins(FunctionRegistry& registry);

bool IsPrintFunction(const FunctionDef* def);
bool IsPrintLnFunction(const FunctionDef* def);

// Shorthands for the tables.
inline constexpr ParamSpec kI{ValueType::Integer, false};
inline constexpr ParamSpec kF{ValueType::Float, false};
inline constexpr ParamSpec kS{ValueType::String, false};
inline constexpr ParamSpec kB{ValueType::Boolean, false};
inline constexpr ParamSpec kC{ValueType::Char, false};
inline constexpr ParamSpec kV{ValueType::Variant, false};
inline constexpr ParamSpec kVarI{ValueType::Integer, true};
inline constexpr ParamSpec kVarS{ValueType::String, true};

// A Float result that is no longer finite becomes the run-time error of Pascal's math routines.
double CheckedMath(CallFrame& f, double result);
// The errors of arguments outside a function's domain, as Pascal's math routines raise them.
[[noreturn]] void RaiseInvalidOp(const CallFrame& f);
[[noreturn]] void RaiseZeroDivide(const CallFrame& f);

} // namespace tl::script
