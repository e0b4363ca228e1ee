#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"

#include <cstdio>
#include <fmt/format.h>
#include <string>
#include <vector>

namespace tl::host {
namespace {

// What the driver says when it could not show the dialog at all.
constexpr std::string_view kNotOpened = "Диалог настроек не открыт";

class ConfigureCommand : public Command {
public:
    std::string Path() const override { return "configure"; }
    std::string Description() const override {
        return "Open a task's settings dialog, as the scheduler does when an operator configures it";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", task_key_, "task key, e.g. '\\Scripts\\Losses1\\'")->required();
        command.footer(
            "Exit status: 0 when the dialog was closed (saved by OK or left by Отмена), 1 when it "
            "could not be opened (no display: set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen; "
            "or no dialogs library beside the driver).");
    }
    int Run(HostContext& context) override {
        const std::string key = NormalizeTaskKey(task_key_);
        context.OpenDatabase();
        auto driver = context.LoadDriver();
        HostServiceOptions options = context.ServiceOptions();
        std::vector<std::string> failures;
        options.status = [&failures](std::string_view scenario, std::string_view line) {
            fmt::print(stderr, "{}: {}\n", scenario, line);
            if (line.starts_with(kNotOpened)) {
                failures.emplace_back(line);
            }
        };
        HostServicePtr service = HostService::Create(std::move(options));
        const DriverExports& exports = driver->Exports();
        exports.InitDriver(service->Abi());
        const bool saved = exports.ShowSpecificDataDialogEx(0, Utf8ToCp1251(key).c_str());
        exports.DeInitDriver();
        service->Shutdown();
        driver.reset();
        service.reset();
        if (saved) {
            fmt::print("{}: saved\n", key);
            return exit_status::kOk;
        }
        if (!failures.empty()) {
            fmt::print(stderr, "tlhost: the settings dialog of {} could not be opened\n", key);
            return exit_status::kFailed;
        }
        fmt::print("{}: cancelled, nothing saved\n", key);
        return exit_status::kOk;
    }

private:
    std::string task_key_;
};

} // namespace

std::unique_ptr<Command> MakeConfigureCommand() {
    return std::make_unique<ConfigureCommand>();
}

} // namespace tl::host
