#include "tlunit/script_data_module.hpp"

#include "tlcommon/format_settings.hpp"
#include "tldata/passes.hpp"
#include "tlscript/engine.hpp"
#include "tlunit/momentary_names.hpp"
#include "unit_functions.hpp"
#include "unit_state.hpp"

#include <initializer_list>
#include <stdexcept>
#include <string_view>

namespace tl {
namespace {

using script::ParamSpec;
using script::ValueType;

constexpr std::string_view kUnit = "MyUnit";

std::vector<ParamSpec> Params(ValueType type, int count) {
    return std::vector<ParamSpec>(static_cast<size_t>(count), ParamSpec{type, false});
}

class Registrar {
public:
    Registrar(script::Engine& engine, UnitState* state) : engine_(engine), state_(state) {}

    void Function(std::string_view name, std::vector<ParamSpec> params, ValueType result,
                  script::NativeFunction fn, intptr_t tag = 0) {
        engine_.RegisterFunction(
            {std::string(kUnit), std::string(name), std::move(params), result, fn, tag, state_});
    }
    void Floats(std::string_view name, int count, script::NativeFunction fn) {
        Function(name, Params(ValueType::Float, count), ValueType::Float, fn);
    }
    void Constant(std::string_view name, int32_t value) {
        engine_.RegisterConstant({std::string(kUnit), std::string(name), ValueType::Integer, value, 0, ""});
    }

private:
    script::Engine& engine_;
    UnitState* state_;
};

void RegisterMyUnit(script::Engine& engine, UnitState& state) {
    Registrar unit(engine, &state);
    const auto ints = [](int count) { return Params(ValueType::Integer, count); };
    unit.Constant("otDevice", kOtDevice);
    unit.Constant("otSubDevice", kOtSubDevice);
    unit.Floats("percent", 2, PercentFunction);
    unit.Function("W", ints(2), ValueType::Float, EnergyFunction, 0);
    unit.Function("P", ints(2), ValueType::Float, EnergyFunction, kTagPower);
    unit.Function("W2", ints(3), ValueType::Float, EnergyFunction, kTagWithType);
    unit.Function("P2", ints(3), ValueType::Float, EnergyFunction, kTagWithType | kTagPower);
    unit.Function("M", ints(4), ValueType::Float, MomentaryFunction, kTagCodeArgument);
    for (int32_t code = 1; code <= kNamedMomentaryFunctions; ++code) {
        const std::string_view name = MomentaryName(code);
        unit.Function(name, ints(3), ValueType::Float, MomentaryFunction, MomentaryCode(name));
    }
    unit.Function("T", {}, ValueType::Float, IntervalHoursFunction);
    unit.Function("MO", ints(1), ValueType::Integer, MeasurementObjectState);
    unit.Function("DI", ints(2), ValueType::Integer, DiscreteInputState);
    unit.Function("CalcDiscret", ints(1), ValueType::Integer, CalcDiscretFunction);
    unit.Function("Parnumber", ints(1), ValueType::Integer, ParnumberFunction);
    unit.Floats("T3_LossesW_A", 12, T3LossesFunction);
    unit.Floats("T2_LossesW_A", 6, T2LossesFunction);
    unit.Floats("Line_LossesW_A", 6, LineLossesFunction);
    unit.Floats("Line_LossesW_R", 6, LineLossesFunction);
}

script::EngineSettings ModuleSettings(std::vector<std::string> include_dirs) {
    script::EngineSettings settings;
    settings.decimal_separator = SystemFormat().decimal_separator;
    settings.include_dirs = std::move(include_dirs);
    settings.time_limit_ms = 0;
    settings.max_data_bytes = 0;
    return settings;
}

} // namespace

ScriptDataModule::ScriptDataModule(std::vector<std::string> include_dirs)
    : state_(std::make_unique<UnitState>()),
      engine_(std::make_unique<script::Engine>(ModuleSettings(std::move(include_dirs)))) {
    RegisterMyUnit(*engine_, *state_);
}

ScriptDataModule::~ScriptDataModule() = default;

void ScriptDataModule::EnterCollectionMode() {
    state_->context = ScriptContext{};
    state_->context.interval_index = kCollectionPass;
    state_->interval_hours = tl::IntervalHours(kCollectionPass, 0);
    state_->momentary_cache.Clear();
    state_->used_power.Clear();
    state_->used_momentary.Clear();
    state_->used_states.Clear();
    state_->collecting = true;
}

void ScriptDataModule::LeaveCollectionMode() {
    state_->collecting = false;
    state_->context = ScriptContext{};
    state_->interval_hours = 1.0;
    state_->used_power.Clear();
    state_->used_momentary.Clear();
    state_->used_states.Clear();
}

bool ScriptDataModule::Collecting() const {
    return state_->collecting;
}

std::span<const ElementAddress> ScriptDataModule::UsedPowerElements() const {
    return state_->used_power.Items();
}

std::span<const ElementAddress> ScriptDataModule::UsedMomentaryElements() const {
    return state_->used_momentary.Items();
}

std::span<const ElementAddress> ScriptDataModule::UsedStateElements() const {
    return state_->used_states.Items();
}

void ScriptDataModule::SetScriptContext(const ScriptContext& context) {
    if (state_->collecting) {
        throw std::logic_error("script context set during the collection pass");
    }
    if (context.interval_index < 0 || context.interval_index > kLastPass) {
        throw std::invalid_argument("script context with an interval index outside 0..12");
    }
    state_->context = context;
    state_->interval_hours = tl::IntervalHours(context.interval_index, context.interval_time);
    state_->momentary_cache.Clear();
}

void ScriptDataModule::ClearScriptContext() {
    state_->context = ScriptContext{};
    state_->interval_hours = 1.0;
    state_->momentary_cache.Clear();
}

const ScriptContext& ScriptDataModule::Context() const {
    return state_->context;
}

double ScriptDataModule::IntervalHours() const {
    return state_->interval_hours;
}

} // namespace tl
