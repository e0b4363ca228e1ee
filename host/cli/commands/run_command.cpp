#include "commands/builtin_commands.hpp"
#include "host_context.hpp"
#include "interrupts.hpp"
#include "tlhost/task_key.hpp"
#include "tlhost/task_runner.hpp"

#include <chrono>
#include <fmt/format.h>

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
        auto driver = context.LoadDriver();
        HostServicePtr service = HostService::Create(context.ServiceOptions());
        int status = 1;
        {
            TaskRunner runner(driver->Exports(), *service);
            InterruptCounter interrupts;
            runner.InitDriver();
            for (const std::string& key : keys) {
                runner.Start(key);
            }
            RunLimits limits;
            limits.timeout = std::chrono::milliseconds(static_cast<int64_t>(timeout_seconds_ * 1000.0));
            limits.interrupts = [&interrupts] { return interrupts.Count(); };
            const RunEnd end = runner.Run(limits);
            if (end == RunEnd::kStopped) {
                fmt::print(stderr, "tlhost: {}: the running tasks were stopped\n",
                           interrupts.Count() > 0 ? "interrupted" : "timeout");
            } else if (end == RunEnd::kAbandoned) {
                fmt::print(stderr, "tlhost: interrupted again: not waiting for the queries still running\n");
            }
            for (const TaskOutcome& task : runner.Tasks()) {
                if (task.finished) {
                    fmt::print("{}: {} {}\n", task.key, task.code, runner.DecodeResult(task.code));
                } else {
                    fmt::print("{}: no result\n", task.key);
                }
            }
            runner.DeInitDriver();
            status = runner.AllSucceeded() ? 0 : 1;
        }
        service->Shutdown();
        // Unloading the driver drops its reference to the service; ours goes last.
        driver.reset();
        return status;
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
