#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlsettings/settings_json.hpp"

#include <fmt/format.h>
#include <fstream>
#include <sstream>

namespace tl::host {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw HostError(fmt::format("cannot read {}", path));
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class SettingsImportCommand : public Command {
public:
    std::string Path() const override { return "settings import"; }
    std::string Description() const override {
        return "Replace one task's settings by those of a JSON file written by \"settings export\"; a file "
               "with any fault changes nothing";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("FILE", path_, "JSON file (see docs/settings-json.md)")->required();
        command.add_option("--task", task_key_, "import into this task instead of the file's task_key");
    }
    int Run(HostContext& context) override {
        settings::TaskSettingsDocument document;
        try {
            document = settings::ParseTaskSettingsJson(ReadFile(path_));
        } catch (const settings::SettingsJsonError& e) {
            // A fault of the input: the command failed on it, the store is untouched.
            fmt::print(stderr, "tlhost: error: {}: {}; nothing was imported\n", path_, e.what());
            return 1;
        }
        if (!task_key_.empty()) {
            document.task_key = task_key_;
        }
        document.task_key = NormalizeTaskKey(document.task_key);
        context.OpenDatabase();
        TSvcConfig config{std::string(kScheduleStorage)};
        try {
            settings::WriteTaskSettings(config, document);
        } catch (const SvcConfigError& e) {
            throw HostError(fmt::format("{}; nothing was imported", e.what()));
        }
        fmt::print("{}: {} task keys, {} + {} elements\n", document.task_key, document.task.size(),
                   document.elements[0].size(), document.elements[1].size());
        return 0;
    }

private:
    std::string path_;
    std::string task_key_;
};

} // namespace

std::unique_ptr<Command> MakeSettingsImportCommand() {
    return std::make_unique<SettingsImportCommand>();
}

} // namespace tl::host
