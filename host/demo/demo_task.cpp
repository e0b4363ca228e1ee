#include "tldemo/demo_task.hpp"

#include "tlsettings/task_settings_model.hpp"

namespace tl::demo {
namespace {

constexpr int kDefinedFormula = 0;
constexpr int32_t kChannel = 0;
constexpr int32_t kFixedInterval = 1;

void AddChannel(settings::TaskSettingsModel& model, const NetworkElement& element, bool active) {
    const int32_t item = active ? element.active_item : element.reactive_item;
    settings::ElementRecord& entry = model.AddElement(kDefinedFormula, {element.device_code, kChannel, item});
    entry.params->Assign(ChannelRecord(element, active));
    entry.changed = true;
}

} // namespace

void SetScenarioPeriod(settings::TaskSettings& s, const Scenario& scenario) {
    s.interval_type = kFixedInterval;
    s.begin_date_time = scenario.period.begin;
    s.end_date_time = scenario.period.end;
    s.adv_par_number = scenario.period.five_minute_begin.has_value();
    if (s.adv_par_number) {
        s.par_number = kFiveMinuteParIndex;
        s.interval_type_adv = kFixedInterval;
        s.begin_date_time_adv = *scenario.period.five_minute_begin;
        s.end_date_time_adv = scenario.period.end;
    }
}

void ConfigureTask(TSvcConfig& config, const Scenario& scenario) {
    settings::TaskSettingsModel model(scenario.task_key);
    model.Load(config, Today());
    settings::TaskSettings& s = model.Settings();
    s.method = kDefinedFormula;
    SetScenarioPeriod(s, scenario);
    for (const NetworkElement& element : scenario.network.elements) {
        AddChannel(model, element, true);
        AddChannel(model, element, false);
    }
    model.Save(config);
}

} // namespace tl::demo
