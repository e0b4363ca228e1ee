// One task's settings as the settings dialog edits them: the period keys, the method, the common
// script and the element records of both methods. Loading and saving follow the dialog's fixed
// order; the dialog's widgets sit on top of this.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlparams/custom_obj_params.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/svc_config.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tl::settings {

struct TaskSettings {
    int32_t deep_base = 0; // hours: days * 24 + hours
    bool adv_par_number = false;
    int32_t deep_adv = 0;
    DateTime begin_date_time = 0;
    DateTime end_date_time = 0;
    DateTime begin_date_time_adv = 0;
    DateTime end_date_time_adv = 0;
    int32_t interval_type = 0; // 0 depth from now, 1 fixed interval
    int32_t interval_type_adv = 0;
    int32_t par_number = 0;
    int32_t method = 0;
    std::string common_script;
};

// What the dialog shows for keys that are not stored: both intervals from today at 00:00 minus
// seven days to today at 00:00, everything else zero or empty.
TaskSettings DialogDefaults(DateTime today);

struct ElementRecord {
    ElementAddress address;
    // Null when the element has no record: it was removed, or its stored text did not parse. The
    // next save then deletes its key.
    std::unique_ptr<TCustomObjParams> params;
    bool changed = false;

    bool HasRecord() const { return params != nullptr; }
    bool IsComplete() const { return params != nullptr && params->IsComplete(); }
};

class TaskSettingsModel {
public:
    explicit TaskSettingsModel(std::string task_key);

    const std::string& TaskKey() const { return task_key_; }
    const std::string& ScenarioName() const { return scenario_name_; }
    const std::string& TaskSection() const { return task_section_; }
    // Method index 0 or 1; any other throws std::out_of_range.
    const std::string& ElementSection(int method) const;

    TaskSettings& Settings() { return settings_; }
    const TaskSettings& Settings() const { return settings_; }

    // The elements of a method in the order they were loaded, then added.
    const std::vector<ElementRecord>& Elements(int method) const;
    std::vector<ElementRecord>& Elements(int method);
    ElementRecord* FindElement(int method, const ElementAddress& address);
    // The element's entry, created if missing. An element without a record gets a new one with
    // the method's defaults; for the formula method that is the default formula, marked changed.
    ElementRecord& AddElement(int method, const ElementAddress& address);
    // Frees the element's record; its key is deleted at the next save. False when there was none.
    bool RemoveElement(int method, const ElementAddress& address);

    // Reads the task keys with the dialog's defaults, converts both element sections (method 0,
    // then 1; the result is not needed here) and reads the element records of both methods.
    void Load(TSvcConfig& config, DateTime today);
    // The first part of Load: the task keys and the conversion of both element sections.
    void LoadSettings(TSvcConfig& config, DateTime today);
    // The element records of one method as stored, replacing what the model held for it. A key
    // that is no element address, or whose value is empty, is skipped; an element whose text does
    // not parse is kept without a record.
    void LoadElements(TSvcConfig& config, int method);
    // Erases the task section, writes the eleven period and method keys, saves the element
    // records of the selected method and writes the common script last. A method other than 0 or
    // 1 throws std::out_of_range before anything is written.
    void Save(TSvcConfig& config);
    // The element part of Save for one method: an element without a complete record loses its
    // key, a changed complete one is written, an unchanged one stays as stored.
    void SaveElements(TSvcConfig& config, int method);

private:
    std::vector<ElementRecord>& MutableElements(int method);

    std::string task_key_;
    std::string scenario_name_;
    std::string task_section_;
    std::array<std::string, 2> element_sections_;
    TaskSettings settings_;
    std::array<std::vector<ElementRecord>, 2> elements_;
};

} // namespace tl::settings
