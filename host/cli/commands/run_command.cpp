#include "commands/builtin_commands.hpp"
#include "exit_status_help.hpp"
#include "host_context.hpp"
#include "run_tasks.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/task_key.hpp"
#include "tlsettings/settings_json.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl::host {
namespace {

class RunCommand : public Command {
public:
    std::string Path() const override { return "run"; }
    std::string Description() const override {
        return "Run loss-calculation tasks and print a summary line per task";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", keys_, "task keys, e.g. '\\Scripts\\Losses1\\'")->required();
        command.add_option("--timeout", timeout_seconds_, "stop the tasks still running after SECONDS")
            ->check(CLI::NonNegativeNumber);
        command.add_option(
            "--now", now_,
            "run as if the clock showed this local time, \"yyyy-mm-dd hh:nn:ss\" (the end of a "
            "period counted back from now)");
        command.add_flag("--json", json_,
                         "print the summary as one JSON document on stdout (status lines go to stderr)");
        command.footer(
            "After the status lines, one line per task: its result code and text, the rows read and\n"
            "stored, the elements not fully computed, the queries and stores that failed, and where\n"
            "its run log is kept (logs/ under --log-dir). A query or store that fails stops its\n"
            "task: the passes stored before it stay stored, a pass is never stored in part. A task\n"
            "that another tlhost runs on the same database is not started.\n\n" +
            std::string(kExitStatusHelp));
    }
    int Run(HostContext& context) override {
        std::vector<std::string> keys;
        for (const std::string& key : keys_) {
            const std::string normalized = NormalizeTaskKey(key);
            if (std::find(keys.begin(), keys.end(), normalized) != keys.end()) {
                throw UsageError(fmt::format("the task {} is given twice", normalized));
            }
            keys.push_back(normalized);
        }
        RunOptions options;
        options.timeout_seconds = timeout_seconds_;
        options.json = json_;
        if (!now_.empty()) {
            options.now = settings::ParseJsonDateTime(now_);
            if (!options.now) {
                throw UsageError(
                    fmt::format("--now \"{}\": expected a local time \"yyyy-mm-dd hh:nn:ss\"", now_));
            }
        }
        context.OpenDatabase();
        return RunTasks(context, keys, options).exit_status;
    }

private:
    std::vector<std::string> keys_;
    double timeout_seconds_ = 0;
    std::string now_;
    bool json_ = false;
};

} // namespace

std::unique_ptr<Command> MakeRunCommand() {
    return std::make_unique<RunCommand>();
}

} // namespace tl::host
