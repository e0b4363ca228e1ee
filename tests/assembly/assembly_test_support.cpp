#include "assembly_test_support.hpp"

#include "tlparams/method2_obj.hpp"
#include "tlscript/call_frame.hpp"

namespace tl::testing {

TCalcObjects FormulaObjects(const std::vector<FormulaElement>& elements) {
    TCalcObjects objects;
    for (const FormulaElement& element : elements) {
        auto params = std::make_unique<TMethod2Obj>();
        params->Formula = element.formula;
        objects.Add(element.address, std::move(params));
    }
    return objects;
}

std::unique_ptr<script::Engine> StandInEngine() {
    using script::ValueType;
    const script::NativeFunction zero = [](script::CallFrame& f) { f.ReturnFloat(0); };
    auto engine = std::make_unique<script::Engine>(script::EngineSettings{});
    engine->RegisterUnit("MyUnit");
    engine->RegisterFunction(
        {"MyUnit", "W", {{ValueType::Integer}, {ValueType::Integer}}, ValueType::Float, zero});
    engine->RegisterFunction({"MyUnit", "T", {}, ValueType::Float, zero});
    return engine;
}

} // namespace tl::testing
