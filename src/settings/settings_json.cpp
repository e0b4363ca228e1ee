#include "tlsettings/settings_json.hpp"

#include "tlcommon/iso_date_time.hpp"
#include "tlparams/method1_obj.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/task_names.hpp"

#include <fmt/format.h>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

namespace tl::settings {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kFormatName = "tlosses-task-settings";
constexpr int kFormatVersion = 1;
constexpr std::array<std::string_view, 2> kElementWords = {"Devices1", "Devices2"};

[[noreturn]] void Refuse(std::string_view place, std::string_view why) {
    throw SettingsJsonError(fmt::format("{}: {}", place, why));
}

void RefuseNul(std::string_view text, std::string_view place) {
    if (text.find('\0') != std::string_view::npos) {
        Refuse(place, "holds a NUL character, which the settings store cannot keep");
    }
}

// A stored value of the key's type, or nothing when the stored value does not convert to it: a
// read that gives back each of two different defaults found nothing it could use.
std::optional<TaskValue> ReadTyped(TSvcConfig& config, std::string_view section, const TaskKey& key,
                                   std::string_view stored_name) {
    TaskValue result{std::string(key.name), {}};
    switch (key.type) {
    case KeyType::kInteger: {
        constexpr int32_t kLow = std::numeric_limits<int32_t>::min();
        constexpr int32_t kHigh = std::numeric_limits<int32_t>::max();
        const int32_t value = config.ReadInteger(section, stored_name, kLow);
        if (value == kLow && config.ReadInteger(section, stored_name, kHigh) == kHigh) {
            return std::nullopt;
        }
        result.value = value;
        break;
    }
    case KeyType::kBoolean: {
        const bool value = config.ReadBool(section, stored_name, false);
        if (value != config.ReadBool(section, stored_name, true)) {
            return std::nullopt;
        }
        result.value = value;
        break;
    }
    case KeyType::kDateTime: {
        constexpr DateTime kLow = -1e9;
        constexpr DateTime kHigh = 1e9;
        const DateTime value = config.ReadDateTime(section, stored_name, kLow);
        if (value == kLow && config.ReadDateTime(section, stored_name, kHigh) == kHigh) {
            return std::nullopt;
        }
        result.value = value;
        break;
    }
    case KeyType::kString:
        result.value = config.ReadString(section, stored_name, "");
        break;
    }
    return result;
}

// Why an element entry would not be taken by the dialog or the run, or empty when it would.
std::string EntryFault(int method, std::string_view key, std::string_view value) {
    if (!ParseElementKey(key)) {
        return "the key is not an element address of three integers";
    }
    if (value.empty()) {
        return "the value is empty";
    }
    std::string why;
    if (method == 0 && !TMethod1Obj().Parse(value, &why)) {
        return "the coefficient record does not parse: " + why;
    }
    return {};
}

Json ValueToJson(const TaskValue& value) {
    return std::visit(
        [](const auto& v) -> Json {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, DateTime>) {
                return FormatJsonDateTime(v);
            } else {
                return v;
            }
        },
        value.value);
}

const Json& Member(const Json& object, std::string_view name, std::string_view place) {
    const auto found = object.find(name);
    if (found == object.end()) {
        Refuse(place, fmt::format("the member \"{}\" is missing", name));
    }
    return *found;
}

void RefuseUnknownMembers(const Json& object, std::initializer_list<std::string_view> known,
                          std::string_view place) {
    for (const auto& [name, value] : object.items()) {
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            Refuse(place, fmt::format("unknown member \"{}\"", name));
        }
    }
}

TaskValue ParseTaskValue(const std::string& name, const Json& value) {
    const std::string place = "task." + name;
    const TaskKey* key = FindTaskKey(name);
    if (key == nullptr) {
        Refuse(place, "not a key of a task section");
    }
    const auto expected = [&]() { return fmt::format("expected {}", KeyTypeName(key->type)); };
    switch (key->type) {
    case KeyType::kInteger:
        if (!value.is_number_integer()) {
            Refuse(place, expected() + ", got " + value.dump());
        }
        if (value.is_number_unsigned() ? value.get<uint64_t>() > uint64_t{std::numeric_limits<int32_t>::max()}
                                       : (value.get<int64_t>() < std::numeric_limits<int32_t>::min() ||
                                          value.get<int64_t>() > std::numeric_limits<int32_t>::max())) {
            Refuse(place, value.dump() + " does not fit a 32-bit integer");
        }
        return {name, static_cast<int32_t>(value.get<int64_t>())};
    case KeyType::kBoolean:
        if (!value.is_boolean()) {
            Refuse(place, expected() + " (true or false), got " + value.dump());
        }
        return {name, value.get<bool>()};
    case KeyType::kDateTime: {
        const auto parsed = value.is_string() ? ParseJsonDateTime(value.get<std::string>()) : std::nullopt;
        if (!parsed) {
            Refuse(place, expected() + " \"yyyy-mm-dd hh:nn:ss[.zzz]\", got " + value.dump());
        }
        return {name, *parsed};
    }
    case KeyType::kString:
        if (!value.is_string()) {
            Refuse(place, expected() + ", got " + value.dump());
        }
        return {name, value.get<std::string>()};
    }
    Refuse(place, "unknown key type");
}

std::vector<ElementEntry> ParseElementSection(int method, const Json& section, const std::string& place) {
    if (!section.is_array()) {
        Refuse(place, "expected an array of {\"key\", \"value\"} objects");
    }
    std::vector<ElementEntry> entries;
    std::set<ElementAddress> seen;
    for (size_t i = 0; i < section.size(); ++i) {
        const std::string entry_place = fmt::format("{}[{}]", place, i);
        const Json& entry = section[i];
        if (!entry.is_object()) {
            Refuse(entry_place, "expected an object with \"key\" and \"value\"");
        }
        RefuseUnknownMembers(entry, {"key", "value"}, entry_place);
        const Json& key = Member(entry, "key", entry_place);
        const Json& value = Member(entry, "value", entry_place);
        if (!key.is_string()) {
            Refuse(entry_place + ".key", "expected a string, got " + key.dump());
        }
        if (!value.is_string()) {
            Refuse(entry_place + ".value", "expected a string, got " + value.dump());
        }
        ElementEntry parsed{key.get<std::string>(), value.get<std::string>()};
        const auto address = ParseElementKey(parsed.key);
        if (!address) {
            Refuse(
                entry_place + ".key",
                fmt::format("\"{}\" is not an element address of three integers (\"%d.%d.%d\")", parsed.key));
        }
        if (!seen.insert(*address).second) {
            Refuse(entry_place + ".key", fmt::format("the element {} is listed twice", parsed.key));
        }
        RefuseNul(parsed.value, entry_place + ".value");
        const std::string fault = EntryFault(method, parsed.key, parsed.value);
        if (!fault.empty()) {
            Refuse(entry_place + ".value", fault);
        }
        entries.push_back(std::move(parsed));
    }
    return entries;
}

const TaskValue* Find(const TaskSettingsDocument& document, std::string_view key) {
    for (const TaskValue& value : document.task) {
        if (value.key == key) {
            return &value;
        }
    }
    return nullptr;
}

template <typename T>
std::optional<T> ValueOf(const TaskSettingsDocument& document, std::string_view key) {
    const TaskValue* found = Find(document, key);
    if (found == nullptr) {
        return std::nullopt;
    }
    return std::get<T>(found->value);
}

// The keys without which the run ends with "Нет обязательных настроек".
void CheckRequiredKeys(const TaskSettingsDocument& document) {
    std::vector<std::string_view> required = {kDeepBase, kMethod, kAdvParNumber};
    if (ValueOf<bool>(document, kAdvParNumber).value_or(false)) {
        required.insert(required.end(), {kDeepAdv, kParNumber});
    }
    for (const std::string_view key : required) {
        if (Find(document, key) == nullptr) {
            Refuse("task",
                   fmt::format("the required key \"{}\" is missing{}", key,
                               key == kDeepAdv || key == kParNumber ? " (AdvParNumber is true)" : ""));
        }
    }
}

void CheckEndAfterBegin(const TaskSettingsDocument& document, std::string_view begin_key,
                        std::string_view end_key) {
    const auto begin = ValueOf<DateTime>(document, begin_key);
    const auto end = ValueOf<DateTime>(document, end_key);
    if (begin && end && ToMillis(*end) < ToMillis(*begin)) {
        Refuse(fmt::format("task.{}", end_key),
               fmt::format("{} lies before task.{} {}", FormatJsonDateTime(*end), begin_key,
                           FormatJsonDateTime(*begin)));
    }
}

// A depth counted back from `from` must leave the period inside the years 1..9999.
void CheckDepth(const TaskSettingsDocument& document, std::string_view key, DateTime from,
                std::string_view from_text) {
    const auto depth = ValueOf<int32_t>(document, key);
    if (!depth) {
        return;
    }
    const double begin = from - static_cast<double>(*depth) / 24.0;
    if (begin < static_cast<double>(DaysFromCivil(1, 1, 1)) ||
        begin >= static_cast<double>(DaysFromCivil(10000, 1, 1))) {
        Refuse(fmt::format("task.{}", key),
               fmt::format("{} hours back from {} leave the calendar (years 1 to 9999)", *depth, from_text));
    }
}

// What the types allow but the run cannot use: refused with the place named.
void CheckMeaning(const TaskSettingsDocument& document) {
    RefuseNul(document.task_key, "task_key");
    CheckRequiredKeys(document);
    if (const auto method = ValueOf<int32_t>(document, kMethod); method && *method != 0 && *method != 1) {
        Refuse("task.Method",
               fmt::format("expected 0 (defined formula) or 1 (arbitrary formula), got {}", *method));
    }
    if (const auto par_number = ValueOf<int32_t>(document, kParNumber);
        par_number && (*par_number < 0 || *par_number > kMaxParNumber)) {
        Refuse("task.ParNumber", fmt::format("expected 0..{}, got {}", kMaxParNumber, *par_number));
    }
    CheckEndAfterBegin(document, kBeginDateTime, kEndDateTime);
    CheckEndAfterBegin(document, kBeginDateTimeAdv, kEndDateTimeAdv);
    // The base depth counts back from now; the additional one from the base end.
    const DateTime now = Now();
    CheckDepth(document, kDeepBase, now, "now");
    const bool fixed = ValueOf<int32_t>(document, kIntervalType) == 1;
    const auto base_end =
        fixed ? ValueOf<DateTime>(document, kEndDateTime)
                    .value_or(ValueOf<DateTime>(document, kBeginDateTime).value_or(Today() - 7))
              : now;
    CheckDepth(document, kDeepAdv, base_end, fixed ? "the base end " + FormatJsonDateTime(base_end) : "now");
    for (const TaskValue& value : document.task) {
        if (const auto* text = std::get_if<std::string>(&value.value)) {
            RefuseNul(*text, "task." + value.key);
        }
    }
}

} // namespace

std::string FormatJsonDateTime(DateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}.{:03}", p.year, p.month, p.day, p.hour, p.minute,
                       p.second, p.millisecond);
}

std::optional<DateTime> ParseJsonDateTime(std::string_view text) {
    // The seconds and the milliseconds may be left out.
    return ParseIsoDateTime(text);
}

TaskSettingsDocument ReadTaskSettings(TSvcConfig& config, std::string_view task_key,
                                      std::vector<std::string>* warnings) {
    const auto warn = [warnings](std::string text) {
        if (warnings != nullptr) {
            warnings->push_back(std::move(text));
        }
    };
    TaskSettingsDocument document;
    document.task_key = task_key;
    const std::string task_section = TaskSection(ScenarioName(task_key));
    for (const std::string& name : config.ReadSection(task_section)) {
        const TaskKey* key = FindTaskKeyIgnoringCase(name);
        if (key == nullptr) {
            warn(fmt::format("{}{}: not a key of a task section; left out", task_section, name));
            continue;
        }
        if (auto value = ReadTyped(config, task_section, *key, name)) {
            document.task.push_back(std::move(*value));
        } else {
            warn(fmt::format("{}{}: the stored value is not {}; left out", task_section, name,
                             KeyTypeName(key->type)));
        }
    }
    for (int method = 0; method < 2; ++method) {
        const std::string section = ElementSection(task_key, method);
        for (const std::string& key : config.ReadSection(section)) {
            std::string value = config.ReadString(section, key, "");
            const std::string fault = EntryFault(method, key, value);
            if (!fault.empty()) {
                warn(fmt::format("{}{}: {}; left out", section, key, fault));
                continue;
            }
            document.elements[static_cast<size_t>(method)].push_back({key, std::move(value)});
        }
    }
    return document;
}

std::string TaskSettingsToJson(const TaskSettingsDocument& document) {
    Json root;
    root["format"] = kFormatName;
    root["version"] = kFormatVersion;
    root["task_key"] = document.task_key;
    root["task"] = Json::object();
    for (const TaskValue& value : document.task) {
        root["task"][value.key] = ValueToJson(value);
    }
    root["elements"] = Json::object();
    for (size_t method = 0; method < kElementWords.size(); ++method) {
        Json entries = Json::array();
        for (const ElementEntry& entry : document.elements[method]) {
            entries.push_back(Json{{"key", entry.key}, {"value", entry.value}});
        }
        root["elements"][std::string(kElementWords[method])] = std::move(entries);
    }
    // A stored text that is not valid UTF-8 gets replacement characters rather than no export.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool TaskExists(TSvcConfig& config, std::string_view task_key) {
    return !config.ReadSection(TaskSection(ScenarioName(task_key))).empty() ||
           !config.ReadSection(ElementSection(task_key, 0)).empty() ||
           !config.ReadSection(ElementSection(task_key, 1)).empty();
}

ExportedSettings ExportTaskSettings(TSvcConfig& config, std::string_view task_key) {
    ExportedSettings exported;
    exported.json = TaskSettingsToJson(ReadTaskSettings(config, task_key, &exported.warnings));
    return exported;
}

TaskSettingsDocument ParseTaskSettingsJson(std::string_view json) {
    Json root;
    try {
        root = Json::parse(json.begin(), json.end());
    } catch (const Json::exception& e) {
        // A parse error, or a number too large for a double (out_of_range.406).
        std::string what = e.what();
        // "[json.exception.parse_error.101] parse error at line 3, ..." without the bracketed id.
        const size_t cut = what.find("] ");
        Refuse("malformed JSON", cut == std::string::npos ? what : what.substr(cut + 2));
    }
    if (!root.is_object()) {
        Refuse("document", "expected a JSON object");
    }
    RefuseUnknownMembers(root, {"format", "version", "task_key", "task", "elements"}, "document");
    const Json& format = Member(root, "format", "document");
    if (format != kFormatName) {
        Refuse("format", fmt::format("expected \"{}\", got {}", kFormatName, format.dump()));
    }
    const Json& version = Member(root, "version", "document");
    if (version != kFormatVersion) {
        Refuse("version", fmt::format("expected {}, got {}", kFormatVersion, version.dump()));
    }
    const Json& task_key = Member(root, "task_key", "document");
    if (!task_key.is_string() ||
        task_key.get<std::string>() != "\\Scripts\\" + ScenarioName(task_key.get<std::string>()) + "\\" ||
        ScenarioName(task_key.get<std::string>()).empty()) {
        Refuse("task_key", "expected a task key of the form \\Scripts\\NAME\\, got " + task_key.dump());
    }

    TaskSettingsDocument document;
    document.task_key = task_key.get<std::string>();
    const Json& task = Member(root, "task", "document");
    if (!task.is_object()) {
        Refuse("task", "expected an object of task keys");
    }
    for (const auto& [name, value] : task.items()) {
        document.task.push_back(ParseTaskValue(name, value));
    }
    const Json& elements = Member(root, "elements", "document");
    if (!elements.is_object()) {
        Refuse("elements", "expected an object with \"Devices1\" and \"Devices2\"");
    }
    RefuseUnknownMembers(elements, {kElementWords[0], kElementWords[1]}, "elements");
    for (size_t method = 0; method < kElementWords.size(); ++method) {
        const std::string word(kElementWords[method]);
        if (elements.contains(word)) {
            document.elements[method] =
                ParseElementSection(static_cast<int>(method), elements.at(word), "elements." + word);
        }
    }
    CheckMeaning(document);
    return document;
}

void WriteTaskSettings(TSvcConfig& config, const TaskSettingsDocument& document) {
    const std::string task_section = TaskSection(ScenarioName(document.task_key));
    const std::array<std::string, 2> element_sections = {ElementSection(document.task_key, 0),
                                                         ElementSection(document.task_key, 1)};
    // The service works on the process-wide connection on this thread; holding its lock keeps
    // other threads out between Begin and Commit.
    auto lock = db::LockProcessConnection();
    db::Connection* connection = db::ProcessConnection();
    if (connection == nullptr) {
        throw SvcConfigError("no settings database is open");
    }
    connection->Begin();
    try {
        config.EraseSection(task_section);
        config.EraseSection(element_sections[0]);
        config.EraseSection(element_sections[1]);
        for (const TaskValue& value : document.task) {
            std::visit(
                [&](const auto& v) {
                    using V = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<V, int32_t>) {
                        config.WriteInteger(task_section, value.key, v);
                    } else if constexpr (std::is_same_v<V, bool>) {
                        config.WriteBool(task_section, value.key, v);
                    } else if constexpr (std::is_same_v<V, DateTime>) {
                        config.WriteDateTime(task_section, value.key, v);
                    } else {
                        config.WriteString(task_section, value.key, v);
                    }
                },
                value.value);
        }
        for (size_t method = 0; method < element_sections.size(); ++method) {
            for (const ElementEntry& entry : document.elements[method]) {
                config.WriteString(element_sections[method], entry.key, entry.value);
            }
        }
        connection->Commit();
    } catch (...) {
        connection->Rollback();
        throw;
    }
}

} // namespace tl::settings
