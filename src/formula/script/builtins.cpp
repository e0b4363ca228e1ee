#include "builtins.hpp"

#include "runtime.hpp"

#include <cmath>

namespace tl::script {
namespace {

void FnPrint(CallFrame& f) {
    f.Context().out->append(f.Text(0));
    f.Context().CheckOutput({});
}

void FnPrintLn(CallFrame& f) {
    f.Context().out->append(f.Text(0));
    f.Context().out->append("\r\n");
    f.Context().CheckOutput({});
}

} // namespace

void RegisterBuiltins(FunctionRegistry& registry, std::initializer_list<BuiltinRow> rows) {
    for (const BuiltinRow& row : rows) {
        FunctionDef def;
        def.unit = "System";
        def.name = row.name;
        def.params.assign(row.params.begin(), row.params.end());
        def.result = row.result;
        def.fn = row.fn;
        registry.Add(std::move(def));
    }
}

bool IsPrintFunction(const FunctionDef* def) {
    return def->fn == FnPrint || def->fn == FnPrintLn;
}

bool IsPrintLnFunction(const FunctionDef* def) {
    return def->fn == FnPrintLn;
}

double CheckedMath(CallFrame& f, double result) {
    if (std::isnan(result)) {
        RaiseInvalidOp(f);
    }
    if (std::isinf(result)) {
        f.RaiseClass("EOverflow", "Floating point overflow");
    }
    return result;
}

void RaiseInvalidOp(const CallFrame& f) {
    f.RaiseClass("EInvalidOp", "Invalid floating point operation");
}

void RaiseZeroDivide(const CallFrame& f) {
    f.RaiseClass("EZeroDivide", "Floating point division by zero");
}

void RegisterOutputBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"Print", {kV}, ValueType::Void, FnPrint},
                                   {"PrintLn", {kV}, ValueType::Void, FnPrintLn},
                               });
}

void RegisterCoreBuiltins(FunctionRegistry& registry) {
    RegisterOutputBuiltins(registry);
    RegisterMathBuiltins(registry);
    RegisterTrigBuiltins(registry);
    RegisterRandomBuiltins(registry);
    RegisterStringBuiltins(registry);
    RegisterStringEditBuiltins(registry);
    RegisterCompareBuiltins(registry);
    RegisterDateBuiltins(registry);
    RegisterDateTextBuiltins(registry);
}

} // namespace tl::script
