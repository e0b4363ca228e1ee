// One task's settings as a JSON document (UTF-8): the stored keys of its task section with their
// types, and both element sections in listing order. The format is described in
// docs/settings-json.md.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlsettings/svc_config.hpp"
#include "tlsettings/task_keys.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tl::settings {

// A document that cannot be imported; the text names the place ("task.DeepBase: ...").
class SettingsJsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TaskValue {
    std::string key;
    std::variant<int32_t, bool, DateTime, std::string> value;
};

struct ElementEntry {
    std::string key;
    std::string value;
};

struct TaskSettingsDocument {
    std::string task_key;
    std::vector<TaskValue> task;                       // in the order they are written
    std::array<std::vector<ElementEntry>, 2> elements; // Devices1, Devices2
};

struct ExportedSettings {
    std::string json;
    // What was left out, and why: keys no task section has, values of the wrong type, entries of
    // an element section that no reader takes as an element.
    std::vector<std::string> warnings;
};

// Whether the store holds any key of the task's section or of its two element sections.
bool TaskExists(TSvcConfig& config, std::string_view task_key);

// Reads the task of `task_key` ("\Scripts\<scenario>\") from the settings store; nothing is
// written, the element keys are not converted.
ExportedSettings ExportTaskSettings(TSvcConfig& config, std::string_view task_key);
TaskSettingsDocument ReadTaskSettings(TSvcConfig& config, std::string_view task_key,
                                      std::vector<std::string>* warnings);
std::string TaskSettingsToJson(const TaskSettingsDocument& document);

// Parses and checks a whole document: the types, and what a run needs of the values (the required
// keys, Method 0 or 1, ParNumber 0..7, no end before its begin, depths that stay inside the calendar,
// no NUL character in any text). Throws SettingsJsonError at the first fault.
TaskSettingsDocument ParseTaskSettingsJson(std::string_view json);

// Replaces the task's three sections by the document's contents in one transaction of the
// process-wide database: either all is written or nothing changes. Throws SvcConfigError.
void WriteTaskSettings(TSvcConfig& config, const TaskSettingsDocument& document);

// "yyyy-mm-dd hh:nn:ss.zzz" and back; the reading also takes the text without milliseconds or
// without seconds.
std::string FormatJsonDateTime(DateTime value);
std::optional<DateTime> ParseJsonDateTime(std::string_view text);

} // namespace tl::settings
