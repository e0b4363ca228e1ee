#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlsettings/settings_json.hpp"

#include <cstdio>
#include <fmt/format.h>
#include <fstream>

namespace tl::host {
namespace {

class SettingsExportCommand : public Command {
public:
    std::string Path() const override { return "settings export"; }
    std::string Description() const override {
        return "Write one task's settings as JSON (see docs/settings-json.md)";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", task_key_, "task key, e.g. '\\Scripts\\Losses1\\'")->required();
        command.add_option("-o,--output", output_, "file to write (default: standard output)");
    }
    int Run(HostContext& context) override {
        const std::string key = NormalizeTaskKey(task_key_);
        context.OpenDatabase();
        TSvcConfig config{std::string(kScheduleStorage)};
        // An empty document would wipe a real task when imported.
        if (!settings::TaskExists(config, key)) {
            fmt::print(stderr, "tlhost: error: no task {} in the settings of {}: nothing exported\n", key,
                       context.Options().database);
            return 1;
        }
        const settings::ExportedSettings exported = settings::ExportTaskSettings(config, key);
        for (const std::string& warning : exported.warnings) {
            fmt::print(stderr, "tlhost: warning: {}\n", warning);
        }
        if (output_.empty()) {
            fmt::print("{}", exported.json);
            return 0;
        }
        std::ofstream file(output_, std::ios::binary | std::ios::trunc);
        file << exported.json;
        file.close();
        if (!file) {
            throw HostError(fmt::format("cannot write {}", output_));
        }
        return 0;
    }

private:
    std::string task_key_;
    std::string output_;
};

} // namespace

std::unique_ptr<Command> MakeSettingsExportCommand() {
    return std::make_unique<SettingsExportCommand>();
}

} // namespace tl::host
