#include "assembly_test_support.hpp"

#include "tlparams/method2_obj.hpp"
#include "tlscript/call_frame.hpp"

namespace tl::testing {
namespace {

using script::ValueType;

void FnW(script::CallFrame& f) {
    f.ReturnFloat(static_cast<double>(f.Int(0)) * f.Int(1));
}
void FnP(script::CallFrame& f) {
    f.ReturnFloat(static_cast<double>(f.Int(0)) + f.Int(1));
}
void FnW2(script::CallFrame& f) {
    f.ReturnFloat(static_cast<double>(f.Int(0)) + f.Int(1) + f.Int(2));
}
void FnT(script::CallFrame& f) {
    f.ReturnFloat(0.5);
}

} // namespace

TCalcObjects FormulaObjects(const std::vector<FormulaElement>& elements) {
    TCalcObjects objects;
    for (const FormulaElement& element : elements) {
        auto params = std::make_unique<TMethod2Obj>();
        params->Formula = element.formula;
        objects.Add(element.address, std::move(params));
    }
    return objects;
}

std::unique_ptr<script::Engine> StandInEngine(char decimal_separator) {
    script::EngineSettings settings;
    settings.decimal_separator = decimal_separator;
    auto engine = std::make_unique<script::Engine>(settings);
    const script::ParamSpec integer{ValueType::Integer};
    engine->RegisterUnit("MyUnit");
    engine->RegisterFunction({"MyUnit", "W", {integer, integer}, ValueType::Float, FnW});
    engine->RegisterFunction({"MyUnit", "P", {integer, integer}, ValueType::Float, FnP});
    engine->RegisterFunction({"MyUnit", "W2", {integer, integer, integer}, ValueType::Float, FnW2});
    engine->RegisterFunction({"MyUnit", "T", {}, ValueType::Float, FnT});
    return engine;
}

} // namespace tl::testing
