// The method-0 task of a scenario, set up as the settings dialog would save it: a fixed interval,
// the 5-minute power as the additional parameter when the scenario has it, and the coefficient
// record of every channel.
#pragma once

#include "tldemo/scenario.hpp"
#include "tlsettings/svc_config.hpp"
#include "tlsettings/task_settings_model.hpp"

namespace tl::demo {

// The additional parameter index of the 5-minute power (parameter 7).
inline constexpr int32_t kFiveMinuteParIndex = 4;

// The scenario's fixed period, with the 5-minute additional period when it has one.
void SetScenarioPeriod(settings::TaskSettings& settings, const Scenario& scenario);

void ConfigureTask(TSvcConfig& config, const Scenario& scenario);

} // namespace tl::demo
