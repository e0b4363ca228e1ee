#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlassembly/run_script_check.hpp"
#include "tldata/item_filter.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlmethods/element_list.hpp"
#include "tlplatform/db_connection.hpp"
#include "tlscript/engine.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/key_conversion.hpp"
#include "tlsettings/settings_json.hpp"
#include "tlsettings/svc_config.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_names.hpp"
#include "tlunit/script_data_module.hpp"

#include <algorithm>
#include <cstdio>
#include <fmt/format.h>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>

namespace tl::host {
namespace {

constexpr int kFormulaMethod = 1;
constexpr std::string_view kElementFailure = "Ошибка при получении списка объектов: ";
constexpr std::string_view kDescription = "Описание: ";

// Takes the element-list reading's lines: the keys the run would leave out, with the reason.
class SkippedKeys : public RunReport {
public:
    void LogLine(std::string_view line) override {
        if (line.starts_with(kElementFailure)) {
            pending_ = line.substr(kElementFailure.size());
        } else if (line.starts_with(kDescription) && pending_) {
            skipped.emplace_back(std::move(*pending_), std::string(line.substr(kDescription.size())));
            pending_.reset();
        }
    }
    void SendStatus(std::string_view /*line*/) override {}

    std::vector<std::pair<std::string, std::string>> skipped; // key, reason
private:
    std::optional<std::string> pending_;
};

std::string_view KindName(script::MessageKind kind) {
    switch (kind) {
    case script::MessageKind::CompileError:
        return "error";
    case script::MessageKind::ExecutionError:
        return "execution error";
    case script::MessageKind::Warning:
        return "warning";
    case script::MessageKind::GeneralError:
        return "general error";
    case script::MessageKind::Information:
        return "information";
    }
    return "error";
}

nlohmann::ordered_json MessageJson(const script::Message& message) {
    nlohmann::ordered_json json{{"kind", KindName(message.kind)}, {"text", message.text}};
    json["line"] = message.HasPosition() ? nlohmann::ordered_json(message.line) : nullptr;
    json["column"] = message.HasPosition() ? nlohmann::ordered_json(message.column) : nullptr;
    if (!message.source.empty()) {
        json["file"] = message.source;
    }
    json["message"] = message.OneLine();
    return json;
}

// Whether the run would first convert keys of the older "object.item" form in `element_section`.
bool HoldsOlderKeys(TSvcConfig& config, const std::string& task_section, const std::string& element_section) {
    if (!config.ReadBool(task_section, settings::UpdateFormatKey(kFormulaMethod), true)) {
        return false;
    }
    const std::vector<std::string> names = config.ReadSection(element_section);
    return std::any_of(names.begin(), names.end(), [](const std::string& name) {
        return std::count(name.begin(), name.end(), '.') == 1;
    });
}

class CheckScriptCommand : public Command {
public:
    std::string Path() const override { return "check-script"; }
    std::string Description() const override {
        return "Compile a task's common script and element formulas exactly as its run compiles them";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", task_key_, "task key, e.g. '\\Scripts\\Losses1\\'")->required();
        command.add_option("--formula", addresses_,
                           "report only this element's formula (object.type.item); may be repeated");
        command.add_flag("--json", json_,
                         "print one JSON document: per element its messages with line and column");
        command.footer("Positions are lines and columns inside the common script or the element's formula as "
                       "stored, not inside the generated run script. Exit status: 0 when the run script "
                       "compiles (with --formula: when the chosen formulas have no error), 1 when it does "
                       "not or the task has no formula.");
    }
    int Run(HostContext& context) override {
        const std::string key = NormalizeTaskKey(task_key_);
        context.OpenDatabase();
        TSvcConfig config{std::string(kScheduleStorage)};
        const std::string task_section = TaskSection(ScenarioName(key));
        const int32_t method = config.ReadInteger(task_section, settings::kMethod, 0);
        if (method != kFormulaMethod) {
            fmt::print(stderr, "tlhost: warning: the task's Method is {}, not the arbitrary formula (1)\n",
                       method);
        }
        const std::string common = config.ReadString(task_section, settings::kCommonScript, "");

        // The elements as the run reads them: in address order, the keys it would leave out told.
        SkippedKeys skipped;
        TCalcObjects objects;
        TSQLItemParamContainer filter;
        const std::string element_section = ElementSection(key, kFormulaMethod);
        if (HoldsOlderKeys(config, task_section, element_section)) {
            // The run renames them before it reads the list: the check reads them renamed, inside a
            // transaction it rolls back, so that the store stays as it was.
            auto lock = db::LockProcessConnection();
            db::Connection& connection = *db::ProcessConnection();
            connection.Begin();
            try {
                settings::ConvertElementKeys(config, kFormulaMethod, task_section, element_section);
                ReadElementList(config, element_section, kFormulaMethod, skipped, objects, filter);
            } catch (...) {
                connection.Rollback();
                throw;
            }
            connection.Rollback();
        } else {
            ReadElementList(config, element_section, kFormulaMethod, skipped, objects, filter);
        }
        for (const auto& [name, reason] : skipped.skipped) {
            fmt::print(stderr, "tlhost: warning: the run leaves out the key \"{}\": {}\n", name, reason);
        }
        if (objects.Empty()) {
            // The run ends with "Расчёт не проводился" before it compiles anything.
            fmt::print(stderr, "tlhost: error: {} has no element formula to check{}\n", key,
                       settings::TaskExists(config, key) ? "" : " (no such task)");
            return 1;
        }
        const std::set<int32_t> chosen = ChosenElements(objects);

        // The run's engine with the function unit and the include directory the run would have.
        const std::string include_directory = context.IncludeDirectory();
        ScriptDataModule module(include_directory.empty() ? std::vector<std::string>{}
                                                          : std::vector<std::string>{include_directory});
        const RunScriptCheck check = CheckRunScript(module.Engine(), common, objects);

        std::map<int32_t, std::vector<const script::Message*>> by_element;
        for (const FormulaMessage& m : check.messages) {
            if (m.element < 0 || chosen.empty() || chosen.contains(m.element)) {
                by_element[m.element].push_back(&m.message);
            }
        }
        const auto has_error = [&](int32_t element) {
            const auto found = by_element.find(element);
            return found != by_element.end() &&
                   std::any_of(found->second.begin(), found->second.end(), [](const script::Message* m) {
                       return m->kind == script::MessageKind::CompileError;
                   });
        };
        bool failed = chosen.empty() ? !check.compiles : has_error(-1);
        std::vector<int32_t> reported;
        for (int32_t k = 0; k < objects.Count(); ++k) {
            if (chosen.empty() || chosen.contains(k)) {
                reported.push_back(k);
                failed = failed || has_error(k);
            }
        }
        if (json_) {
            PrintJson(key, check, objects, reported, by_element, skipped);
        } else {
            PrintText(check, objects, reported, by_element, has_error);
        }
        return failed ? 1 : 0;
    }

private:
    using ByElement = std::map<int32_t, std::vector<const script::Message*>>;

    void PrintText(const RunScriptCheck& check, const TCalcObjects& objects,
                   const std::vector<int32_t>& reported, const ByElement& by_element,
                   const std::function<bool(int32_t)>& has_error) const {
        const auto print = [&](int32_t element, const std::string& heading) {
            const auto found = by_element.find(element);
            if (found == by_element.end()) {
                return;
            }
            fmt::print("{}:\n", heading);
            for (const script::Message* message : found->second) {
                fmt::print("  {}\n", message->OneLine());
            }
        };
        print(-1, "common script");
        if (!check.formulas_checked) {
            fmt::print("the common script does not compile; {} element formulas not checked\n",
                       reported.size());
            return;
        }
        size_t compiling = 0;
        for (const int32_t k : reported) {
            print(k, "element " + FormatAddress(objects.At(k).address));
            compiling += has_error(k) ? 0 : 1;
        }
        fmt::print("{} of {} element formulas compile; the run script {}\n", compiling, reported.size(),
                   check.compiles ? "compiles" : "does not compile");
    }

    void PrintJson(const std::string& key, const RunScriptCheck& check, const TCalcObjects& objects,
                   const std::vector<int32_t>& reported, const ByElement& by_element,
                   const SkippedKeys& skipped) const {
        const auto messages = [&](int32_t element) {
            nlohmann::ordered_json list = nlohmann::ordered_json::array();
            if (const auto found = by_element.find(element); found != by_element.end()) {
                for (const script::Message* message : found->second) {
                    list.push_back(MessageJson(*message));
                }
            }
            return list;
        };
        nlohmann::ordered_json root;
        root["task_key"] = key;
        root["compiles"] = check.compiles;
        root["formulas_checked"] = check.formulas_checked;
        root["common_script"] = {{"messages", messages(-1)}};
        root["elements"] = nlohmann::ordered_json::array();
        for (const int32_t k : reported) {
            root["elements"].push_back(
                {{"element", FormatAddress(objects.At(k).address)}, {"messages", messages(k)}});
        }
        root["skipped_keys"] = nlohmann::ordered_json::array();
        for (const auto& [name, reason] : skipped.skipped) {
            root["skipped_keys"].push_back({{"key", name}, {"reason", reason}});
        }
        fmt::print("{}\n", root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
    }

    // The indices of the elements named by --formula; empty when it is not given.
    std::set<int32_t> ChosenElements(const TCalcObjects& objects) const {
        std::set<int32_t> chosen;
        for (const std::string& text : addresses_) {
            const auto address = settings::ParseElementKey(text);
            if (!address) {
                throw HostError(
                    fmt::format("--formula {}: expected an element address object.type.item", text));
            }
            const TCalcObjects::Index found =
                objects.Find({address->object_code, address->element_type, address->item});
            if (found == TCalcObjects::kNone) {
                throw HostError(fmt::format("--formula {}: no formula of that element in the task", text));
            }
            chosen.insert(found);
        }
        return chosen;
    }

    std::string task_key_;
    std::vector<std::string> addresses_;
    bool json_ = false;
};

} // namespace

std::unique_ptr<Command> MakeCheckScriptCommand() {
    return std::make_unique<CheckScriptCommand>();
}

} // namespace tl::host
