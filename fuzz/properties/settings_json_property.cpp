#include "settings_json_property.hpp"

#include "tlplatform/db_connection.hpp"
#include "tlsettings/settings_json.hpp"
#include "tlsettings/task_names.hpp"

#include <fmt/format.h>
#include <variant>

namespace tl::fuzz {
namespace {

using settings::TaskSettingsDocument;
using settings::TaskValue;

// Date-times are compared in whole milliseconds, the unit of their text form.
bool SameValue(const TaskValue& a, const TaskValue& b) {
    if (a.key != b.key || a.value.index() != b.value.index()) {
        return false;
    }
    if (const auto* time = std::get_if<DateTime>(&a.value)) {
        return ToMillis(*time) == ToMillis(std::get<DateTime>(b.value));
    }
    return a.value == b.value;
}

void ExpectSame(const TaskSettingsDocument& expected, const TaskSettingsDocument& actual,
                std::string_view what) {
    bool same = expected.task_key == actual.task_key && expected.task.size() == actual.task.size();
    for (size_t i = 0; same && i < expected.task.size(); ++i) {
        same = SameValue(expected.task[i], actual.task[i]);
    }
    for (size_t m = 0; same && m < expected.elements.size(); ++m) {
        same = expected.elements[m].size() == actual.elements[m].size();
        for (size_t i = 0; same && i < expected.elements[m].size(); ++i) {
            same = expected.elements[m][i].key == actual.elements[m][i].key &&
                   expected.elements[m][i].value == actual.elements[m][i].value;
        }
    }
    if (!same) {
        throw PropertyViolation(fmt::format("{}: the document changed:\n{}\n{}", what,
                                            settings::TaskSettingsToJson(expected),
                                            settings::TaskSettingsToJson(actual)));
    }
}

void EnsureStore() {
    if (db::ProcessConnection() == nullptr) {
        auto connection = db::Connection::Open(":memory:");
        db::InitSchema(*connection);
        db::SetProcessConnection(std::move(connection));
    }
}

} // namespace

std::string CheckSettingsJsonImport(std::string_view input) {
    TaskSettingsDocument document;
    try {
        document = settings::ParseTaskSettingsJson(input);
    } catch (const settings::SettingsJsonError& refused) {
        if (std::string_view(refused.what()).empty()) {
            throw PropertyViolation("a refusal without a text");
        }
        return refused.what();
    }

    const std::string json = settings::TaskSettingsToJson(document);
    try {
        ExpectSame(document, settings::ParseTaskSettingsJson(json), "JSON form");
    } catch (const settings::SettingsJsonError& refused) {
        throw PropertyViolation(
            fmt::format("the JSON form of an accepted document is refused: {}\n{}", refused.what(), json));
    }

    EnsureStore();
    TSvcConfig config{std::string(kScheduleStorage)};
    settings::WriteTaskSettings(config, document);
    std::vector<std::string> warnings;
    const TaskSettingsDocument stored = settings::ReadTaskSettings(config, document.task_key, &warnings);
    config.EraseSection(TaskSection(ScenarioName(document.task_key)));
    config.EraseSection(ElementSection(document.task_key, 0));
    config.EraseSection(ElementSection(document.task_key, 1));
    if (!warnings.empty()) {
        throw PropertyViolation("the stored task reads back with a warning: " + warnings.front());
    }
    ExpectSame(document, stored, "settings store");
    return {};
}

} // namespace tl::fuzz
