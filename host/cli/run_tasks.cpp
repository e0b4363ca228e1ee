#include "run_tasks.hpp"

#include "interrupts.hpp"
#include "tlhost/terminal_progress.hpp"

#include <chrono>
#include <fmt/format.h>

namespace tl::host {

TasksRun RunTasks(HostContext& context, const std::vector<std::string>& keys, double timeout_seconds) {
    auto driver = context.LoadDriver();
    HostServiceOptions options = context.ServiceOptions();
    auto progress = AttachTerminalProgress(options);
    HostServicePtr service = HostService::Create(std::move(options));
    TasksRun result;
    {
        TaskRunner runner(driver->Exports(), *service);
        InterruptCounter interrupts;
        runner.InitDriver();
        for (const std::string& key : keys) {
            runner.Start(key);
        }
        RunLimits limits;
        limits.timeout = std::chrono::milliseconds(static_cast<int64_t>(timeout_seconds * 1000.0));
        limits.interrupts = [&interrupts] { return interrupts.Count(); };
        const RunEnd end = runner.Run(limits);
        if (progress != nullptr) {
            progress->Finish();
        }
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
        std::fflush(stdout);
        runner.DeInitDriver();
        result.tasks = runner.Tasks();
        result.all_succeeded = runner.AllSucceeded();
    }
    service->Shutdown();
    // Unloading the driver drops its reference to the service; ours goes last.
    driver.reset();
    service.reset();
    return result;
}

} // namespace tl::host
