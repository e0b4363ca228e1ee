#include "tlsettings/task_settings_model.hpp"

#include "tlparams/default_formula.hpp"
#include "tlparams/method2_obj.hpp"
#include "tlsettings/key_conversion.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_names.hpp"

#include <algorithm>
#include <stdexcept>

namespace tl::settings {
namespace {

void CheckMethod(int method) {
    if (method != 0 && method != 1) {
        throw std::out_of_range("calculation method " + std::to_string(method) + " does not exist");
    }
}

} // namespace

TaskSettings DialogDefaults(DateTime today) {
    TaskSettings settings;
    settings.begin_date_time = settings.begin_date_time_adv = today - 7;
    settings.end_date_time = settings.end_date_time_adv = today;
    return settings;
}

TaskSettingsModel::TaskSettingsModel(std::string task_key)
    : task_key_(std::move(task_key)), scenario_name_(tl::ScenarioName(task_key_)),
      task_section_(tl::TaskSection(scenario_name_)), element_sections_{
                                                          ElementSectionOfTaskSection(task_section_, 0),
                                                          ElementSectionOfTaskSection(task_section_, 1)} {}

const std::string& TaskSettingsModel::ElementSection(int method) const {
    CheckMethod(method);
    return element_sections_[static_cast<size_t>(method)];
}

const std::vector<ElementRecord>& TaskSettingsModel::Elements(int method) const {
    CheckMethod(method);
    return elements_[static_cast<size_t>(method)];
}

std::vector<ElementRecord>& TaskSettingsModel::Elements(int method) {
    return MutableElements(method);
}

std::vector<ElementRecord>& TaskSettingsModel::MutableElements(int method) {
    CheckMethod(method);
    return elements_[static_cast<size_t>(method)];
}

ElementRecord* TaskSettingsModel::FindElement(int method, const ElementAddress& address) {
    auto& elements = MutableElements(method);
    const auto found = std::ranges::find(elements, address, &ElementRecord::address);
    return found == elements.end() ? nullptr : &*found;
}

ElementRecord& TaskSettingsModel::AddElement(int method, const ElementAddress& address) {
    ElementRecord* element = FindElement(method, address);
    if (element == nullptr) {
        element = &MutableElements(method).emplace_back(ElementRecord{address, nullptr, false});
    }
    if (!element->HasRecord()) {
        element->params = CreateObjParams(method);
        if (auto* formula = dynamic_cast<TMethod2Obj*>(element->params.get())) {
            SetDefaultFormula(*formula, address.object_code, address.element_type, address.item);
            element->changed = true;
        }
    }
    return *element;
}

bool TaskSettingsModel::RemoveElement(int method, const ElementAddress& address) {
    ElementRecord* element = FindElement(method, address);
    if (element == nullptr || !element->HasRecord()) {
        return false;
    }
    element->params.reset();
    element->changed = false;
    return true;
}

void TaskSettingsModel::Load(TSvcConfig& config, DateTime today) {
    LoadSettings(config, today);
    LoadElements(config, 0);
    LoadElements(config, 1);
}

void TaskSettingsModel::LoadSettings(TSvcConfig& config, DateTime today) {
    const TaskSettings defaults = DialogDefaults(today);
    const std::string& section = task_section_;
    settings_.deep_base = config.ReadInteger(section, kDeepBase, defaults.deep_base);
    settings_.begin_date_time = config.ReadDateTime(section, kBeginDateTime, defaults.begin_date_time);
    settings_.end_date_time = config.ReadDateTime(section, kEndDateTime, defaults.end_date_time);
    settings_.interval_type = config.ReadInteger(section, kIntervalType, defaults.interval_type);
    settings_.adv_par_number = config.ReadBool(section, kAdvParNumber, defaults.adv_par_number);
    settings_.par_number = config.ReadInteger(section, kParNumber, defaults.par_number);
    settings_.deep_adv = config.ReadInteger(section, kDeepAdv, defaults.deep_adv);
    settings_.begin_date_time_adv =
        config.ReadDateTime(section, kBeginDateTimeAdv, defaults.begin_date_time_adv);
    settings_.end_date_time_adv = config.ReadDateTime(section, kEndDateTimeAdv, defaults.end_date_time_adv);
    settings_.interval_type_adv = config.ReadInteger(section, kIntervalTypeAdv, defaults.interval_type_adv);
    settings_.method = config.ReadInteger(section, kMethod, defaults.method);
    settings_.common_script = config.ReadString(section, kCommonScript, defaults.common_script);

    ConvertElementKeys(config, 0, task_section_, element_sections_[0]);
    ConvertElementKeys(config, 1, task_section_, element_sections_[1]);
}

void TaskSettingsModel::LoadElements(TSvcConfig& config, int method) {
    auto& elements = MutableElements(method);
    elements.clear();
    const std::string& section = ElementSection(method);
    for (const std::string& key : config.ReadSection(section)) {
        const auto address = ParseElementKey(key);
        if (!address) {
            continue;
        }
        const std::string text = config.ReadString(section, key, "");
        if (text.empty()) {
            continue;
        }
        ElementRecord* element = FindElement(method, *address);
        if (element == nullptr) {
            element = &elements.emplace_back(ElementRecord{*address, nullptr, false});
        }
        // A text that does not parse leaves the element without a record, so the next save
        // deletes its key.
        auto params = CreateObjParams(method);
        element->params = params->LoadFromText(text) ? std::move(params) : nullptr;
        element->changed = false;
    }
}

void TaskSettingsModel::Save(TSvcConfig& config) {
    CheckMethod(settings_.method);
    const std::string& section = task_section_;
    config.EraseSection(section);
    config.WriteInteger(section, kDeepBase, settings_.deep_base);
    config.WriteBool(section, kAdvParNumber, settings_.adv_par_number);
    config.WriteInteger(section, kDeepAdv, settings_.deep_adv);
    config.WriteDateTime(section, kBeginDateTime, settings_.begin_date_time);
    config.WriteDateTime(section, kEndDateTime, settings_.end_date_time);
    config.WriteDateTime(section, kBeginDateTimeAdv, settings_.begin_date_time_adv);
    config.WriteDateTime(section, kEndDateTimeAdv, settings_.end_date_time_adv);
    config.WriteInteger(section, kIntervalType, settings_.interval_type);
    config.WriteInteger(section, kIntervalTypeAdv, settings_.interval_type_adv);
    config.WriteInteger(section, kParNumber, settings_.par_number);
    config.WriteInteger(section, kMethod, settings_.method);
    SaveElements(config, settings_.method);
    config.WriteString(section, kCommonScript, settings_.common_script);
}

void TaskSettingsModel::SaveElements(TSvcConfig& config, int method) {
    const std::string& section = ElementSection(method);
    for (ElementRecord& element : MutableElements(method)) {
        const std::string key = ElementKey(element.address);
        if (!element.IsComplete()) {
            config.DeleteKey(section, key);
        } else if (element.changed) {
            config.WriteString(section, key, element.params->SaveToText());
            element.changed = false;
        }
    }
}

} // namespace tl::settings
