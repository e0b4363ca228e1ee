#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "run_tasks.hpp"
#include "tlhost/task_key.hpp"

namespace tl::host {
namespace {

class RunCommand : public Command {
public:
    std::string Path() const override { return "run"; }
    std::string Description() const override {
        return "Run loss-calculation tasks and print each task's result; exit status 0 only when every "
               "task succeeded";
    }
    void AddOptions(CLI::App& command) override {
        command.add_option("TASKKEY", keys_, "task keys, e.g. '\\Scripts\\Losses1\\'")->required();
        command.add_option("--timeout", timeout_seconds_, "stop the tasks still running after SECONDS")
            ->check(CLI::NonNegativeNumber);
    }
    int Run(HostContext& context) override {
        std::vector<std::string> keys;
        for (const std::string& key : keys_) {
            keys.push_back(NormalizeTaskKey(key));
        }
        context.OpenDatabase();
        return RunTasks(context, keys, timeout_seconds_).all_succeeded ? 0 : 1;
    }

private:
    std::vector<std::string> keys_;
    double timeout_seconds_ = 0;
};

} // namespace

std::unique_ptr<Command> MakeRunCommand() {
    return std::make_unique<RunCommand>();
}

} // namespace tl::host
