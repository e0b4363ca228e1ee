#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlassembly/check_script.hpp"
#include "tlassembly/script_check.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlscript/engine.hpp"
#include "tlsettings/element_key.hpp"
#include "tlsettings/svc_config.hpp"
#include "tlsettings/task_keys.hpp"
#include "tlsettings/task_names.hpp"
#include "tlunit/script_data_module.hpp"

#include <algorithm>
#include <cstdio>
#include <fmt/format.h>

namespace tl::host {
namespace {

constexpr int kFormulaMethod = 1;

struct ElementFormula {
    settings::ElementAddress address;
    std::string text;
};

// Compiler positions are lines of the check script. In front of the formula it holds the common
// script and the declaration line "var __var0, __var1: float;" (CheckScriptLinesBeforeFormula
// counts them), so formula line n is check line n + offset. A position behind the formula's last
// line lies in the generated lines after it and comes from the formula's unfinished end: it is
// reported at that last line. A position in front of the formula lies in the common script.
// Columns stay those of the checked text (upper-cased, placeholders replaced).
std::string FormulaMessage(script::Message message, int32_t offset, int32_t formula_lines) {
    if (!message.HasPosition() || !message.source.empty()) {
        return message.OneLine();
    }
    if (message.line <= offset) {
        return message.OneLine() + " (common script)";
    }
    message.line = std::min(message.line - offset, formula_lines);
    return message.OneLine();
}

class CheckScriptCommand : public Command {
public:
    std::string Path() const override { return "check-script"; }
    std::string Description() const override {
        return "Compile a task's common script and element formulas as the settings dialog checks them";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", task_key_, "task key, e.g. '\\Scripts\\Losses1\\'")->required();
        command.add_option("--formula", addresses_,
                           "check only this element's formula (object.type.item); may be repeated");
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
        const std::vector<ElementFormula> formulas =
            ChosenFormulas(config, ElementSection(key, kFormulaMethod));

        // The run's engine with the function unit, so that the formulas' calls are known names.
        ScriptDataModule module;
        const script::Engine& engine = module.Engine();
        std::vector<script::Message> messages;
        // The common script is compiled alone first: while it fails, every formula (which carries
        // it in front) would fail with its messages too.
        if (!CheckScriptMessages(engine, common, common, false, messages)) {
            fmt::print("common script:\n");
            for (const script::Message& message : messages) {
                fmt::print("  {}\n", message.OneLine());
            }
            fmt::print("the common script does not compile; {} element formulas not checked\n",
                       formulas.size());
            return 1;
        }
        const int32_t offset = CheckScriptLinesBeforeFormula(common, true);
        size_t failed = 0;
        for (const ElementFormula& formula : formulas) {
            if (CheckScriptMessages(engine, common, formula.text, true, messages)) {
                continue;
            }
            ++failed;
            const auto lines =
                static_cast<int32_t>(std::count(formula.text.begin(), formula.text.end(), '\n') + 1);
            fmt::print("element {}:\n", settings::ElementKey(formula.address));
            for (const script::Message& message : messages) {
                fmt::print("  {}\n", FormulaMessage(message, offset, lines));
            }
        }
        fmt::print("{} of {} element formulas compile\n", formulas.size() - failed, formulas.size());
        return failed == 0 ? 0 : 1;
    }

private:
    // The element formulas in the order the settings service lists them, only those named by
    // --formula when it is given.
    std::vector<ElementFormula> ChosenFormulas(TSvcConfig& config, const std::string& section) const {
        std::vector<ElementFormula> all;
        for (const std::string& name : config.ReadSection(section)) {
            const auto address = settings::ParseElementKey(name);
            if (!address) {
                fmt::print(stderr, "tlhost: warning: key \"{}\" of {} is no element address, skipped\n", name,
                           section);
                continue;
            }
            all.push_back({*address, config.ReadString(section, name, "")});
        }
        if (addresses_.empty()) {
            return all;
        }
        std::vector<ElementFormula> chosen;
        for (const std::string& text : addresses_) {
            const auto address = settings::ParseElementKey(text);
            if (!address) {
                throw HostError(
                    fmt::format("--formula {}: expected an element address object.type.item", text));
            }
            const auto found = std::find_if(all.begin(), all.end(),
                                            [&](const ElementFormula& f) { return f.address == *address; });
            if (found == all.end()) {
                throw HostError(fmt::format("--formula {}: no formula of that element in {}", text, section));
            }
            chosen.push_back(*found);
        }
        return chosen;
    }

    std::string task_key_;
    std::vector<std::string> addresses_;
};

} // namespace

std::unique_ptr<Command> MakeCheckScriptCommand() {
    return std::make_unique<CheckScriptCommand>();
}

} // namespace tl::host
