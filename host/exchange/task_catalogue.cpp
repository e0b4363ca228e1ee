#include "tlexchange/task_catalogue.hpp"

#include "tlassembly/ansi_case.hpp"
#include "tlcommon/iso_date_time.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/required_settings.hpp"
#include "tlsettings/settings_json.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_names.hpp"

#include <array>
#include <fmt/format.h>

namespace tl::exchange {
namespace {

constexpr std::string_view kScriptsSection = "\\Scripts\\";

constexpr std::array<std::string_view, 8> kAdditionalParameters = {
    "Мощность за предыдущие 3 минуты (Код 2)", "Мощность за предыдущие 1 минуту  (Код 4)",
    "Мощность за предыдущие 2 минуты (Код 5)", "Мощность за предыдущие 4 минуты (Код 6)",
    "Мощность за предыдущие 5 минут (Код 7)",  "Мощность за предыдущие 6 минут (Код 8)",
    "Мощность за предыдущие 10 минут (Код 9)", "Мощность за 30 минут (Код 12)",
};

std::array<std::string, 3> Sections(std::string_view task_key) {
    return {TaskSection(ScenarioName(task_key)), ElementSection(task_key, 0), ElementSection(task_key, 1)};
}

TaskPeriodSettings ReadPeriod(TSvcConfig& config, const std::string& section, std::string_view type_key,
                              std::string_view depth_key, std::string_view begin_key,
                              std::string_view end_key) {
    // The run's defaults: a missing end falls back to the begin just read.
    const DateTime default_begin = Today() - 7;
    TaskPeriodSettings period;
    period.interval_type = config.ReadInteger(section, type_key, 0);
    period.depth_hours = config.ReadInteger(section, depth_key, 0);
    period.begin = config.ReadDateTime(section, begin_key, default_begin);
    period.end = config.ReadDateTime(section, end_key, period.begin);
    return period;
}

} // namespace

std::vector<std::string> ListTaskKeys(TSvcConfig& config) {
    std::vector<std::string> keys;
    for (const std::string& scenario : config.ReadSections(kScriptsSection)) {
        keys.push_back(std::string(kScriptsSection) + scenario + "\\");
    }
    return keys;
}

bool TaskExists(TSvcConfig& config, std::string_view task_key) {
    for (const std::string& section : Sections(task_key)) {
        if (!config.ReadSection(section).empty()) {
            return true;
        }
    }
    return false;
}

TaskSummary SummarizeTask(TSvcConfig& config, std::string_view task_key) {
    const auto sections = Sections(task_key);
    const std::string& task = sections[0];
    TaskSummary summary;
    summary.key = std::string(task_key);
    summary.scenario = ScenarioName(task_key);
    summary.ready = settings::HasRequiredSettings(config, task);
    summary.method = config.ReadInteger(task, settings::kMethod, 0);
    summary.period = ReadPeriod(config, task, settings::kIntervalType, settings::kDeepBase,
                                settings::kBeginDateTime, settings::kEndDateTime);
    summary.additional = config.ReadBool(task, settings::kAdvParNumber, false);
    summary.additional_index = config.ReadInteger(task, settings::kParNumber, 0);
    summary.additional_period = ReadPeriod(config, task, settings::kIntervalTypeAdv, settings::kDeepAdv,
                                           settings::kBeginDateTimeAdv, settings::kEndDateTimeAdv);
    summary.elements = static_cast<int32_t>(TaskElements(config, task_key).size());
    return summary;
}

std::vector<ElementAddress> TaskElements(TSvcConfig& config, std::string_view task_key) {
    const auto sections = Sections(task_key);
    const int32_t method = config.ReadInteger(sections[0], settings::kMethod, 0);
    std::vector<ElementAddress> elements;
    if (method != 0 && method != 1) {
        return elements;
    }
    const std::string& section = sections[1 + static_cast<size_t>(method)];
    for (const std::string& key : config.ReadSection(section)) {
        const auto address = settings::ParseElementKey(key);
        if (address && !config.ReadString(section, key, "").empty()) {
            elements.push_back({address->object_code, address->element_type, address->item});
        }
    }
    return elements;
}

std::string MethodName(int32_t method) {
    switch (method) {
    case 0:
        return "1. Расчет потерь в линии передачи и трансформаторах";
    case 1:
        return "2. Расчет по произвольной формуле";
    default:
        return fmt::format("unknown method {}", method);
    }
}

std::string AdditionalParameterName(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(kAdditionalParameters.size())) {
        return fmt::format("unknown parameter index {}", index);
    }
    return std::string(kAdditionalParameters[static_cast<size_t>(index)]);
}

std::string DescribePeriod(const TaskPeriodSettings& period) {
    if (period.interval_type == 1) {
        return fmt::format("{} .. {}", FormatIsoDateTime(period.begin), FormatIsoDateTime(period.end));
    }
    return fmt::format("{} h back from the run", period.depth_hours);
}

void CopyTask(TSvcConfig& config, std::string_view from, std::string_view to, bool replace) {
    if (!TaskExists(config, from)) {
        throw TaskError(fmt::format("there is no task {}", from));
    }
    if (AnsiUpperCase(ScenarioName(from)) == AnsiUpperCase(ScenarioName(to))) {
        throw TaskError(fmt::format("{} and {} name the same task", from, to));
    }
    if (!replace && TaskExists(config, to)) {
        throw TaskError(fmt::format("the task {} exists; give --force to replace it", to));
    }
    settings::TaskSettingsDocument document = settings::ReadTaskSettings(config, from, nullptr);
    document.task_key = std::string(to);
    settings::WriteTaskSettings(config, document);
}

void RenameTask(TSvcConfig& config, std::string_view from, std::string_view to, bool replace) {
    CopyTask(config, from, to, replace);
    DeleteTask(config, from);
}

void DeleteTask(TSvcConfig& config, std::string_view task_key) {
    if (!TaskExists(config, task_key)) {
        throw TaskError(fmt::format("there is no task {}", task_key));
    }
    // An empty document: its import erases the three sections in one transaction and writes nothing.
    settings::TaskSettingsDocument nothing;
    nothing.task_key = std::string(task_key);
    settings::WriteTaskSettings(config, nothing);
}

} // namespace tl::exchange
