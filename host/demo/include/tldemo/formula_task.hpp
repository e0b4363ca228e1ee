// The demo's second task: the same network calculated by the arbitrary formula, one formula per
// element. Lines lose by Line_LossesW_A with the current worked out from the active energy, the
// power factor of both channels and the device's momentary phase voltage Ua; transformers by
// T2_LossesW_A; an element with a state condition (the breaker input, the repair state) gets 0
// while the state holds. Value1 is the losses as a share of the energy in per cent.
#pragma once

#include "tldemo/scenario.hpp"
#include "tlsettings/svc_config.hpp"

#include <cstdint>
#include <string>

namespace tl::demo {

inline constexpr const char* kFormulaTaskKey = "\\Scripts\\DemoFormulas\\";
// The formula elements are keyed on the device (type 99) with the active channel's item, so that
// their results never meet the defined formula's rows of the channels (type 0).
inline constexpr int32_t kFormulaElementType = 99;
// Bumped whenever the formulas or the momentary voltages change, so that cached databases are
// made again.
inline constexpr int kFormulaGeneratorVersion = 1;

// Helper functions that every formula calls.
std::string FormulaCommonScript();
std::string ElementFormula(const NetworkElement& element);

// The task at `task_key` with the scenario's period (and additional 5-minute pass) and a formula
// per network element.
void ConfigureFormulaTask(TSvcConfig& config, const Scenario& scenario, const std::string& task_key);

} // namespace tl::demo
