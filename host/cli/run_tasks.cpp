#include "run_tasks.hpp"

#include "interrupts.hpp"
#include "run_summary.hpp"
#include "tlhost/host_error.hpp"
#include "tlhost/run_lock.hpp"
#include "tlhost/run_log_keeper.hpp"
#include "tlhost/status_line.hpp"
#include "tlhost/terminal_progress.hpp"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fmt/format.h>

namespace tl::host {
namespace {

// With --json, stdout holds the document alone: status lines go to stderr.
void PrintStatusLineToStderr(std::string_view scenario, std::string_view line) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    fmt::print(stderr, "{}\n", FormatStatusLine(local, scenario, line));
}

// Without a writable log directory the driver's tlosses.log is lost: an explicit --log-dir is
// refused, the driver's default is warned about.
std::unique_ptr<RunLogKeeper> KeepLogs(const HostContext& context) {
    if (const auto problem = context.LogDirectoryProblem()) {
        if (!context.Options().log_directory.empty()) {
            throw HostError(*problem);
        }
        fmt::print(stderr, "tlhost: warning: {}; the run logs are lost (choose a directory with --log-dir)\n",
                   *problem);
        return nullptr;
    }
    return std::make_unique<RunLogKeeper>(context.LogDirectory(), context.LogDirectory() / "logs",
                                          context.Options().keep_logs);
}

} // namespace

TasksRun RunTasks(HostContext& context, const std::vector<std::string>& keys, const RunOptions& options) {
    HostServiceOptions service_options = context.ServiceOptions();
    // Every task is locked before any starts: a run either starts whole or not at all.
    std::unique_ptr<RunLocks> locks;
    std::vector<std::unique_ptr<RunLock>> held;
    if (!options.locked) {
        locks = OpenRunLocks(service_options.database_uri);
        for (const std::string& key : keys) {
            held.push_back(locks->Acquire(key));
        }
    }
    auto driver = context.LoadDriver();
    std::unique_ptr<RunLogKeeper> keeper = KeepLogs(context);
    service_options.clock = options.now;
    std::unique_ptr<TerminalProgress> progress;
    if (options.json) {
        service_options.status = PrintStatusLineToStderr;
    } else {
        progress = AttachTerminalProgress(service_options);
    }
    HostServicePtr service = HostService::Create(std::move(service_options));
    TasksRun result;
    {
        TaskRunner runner(driver->Exports(), *service);
        if (keeper != nullptr) {
            service->SetStepObserver([&runner, &keeper](int32_t task_id) {
                if (task_id >= 1 && static_cast<size_t>(task_id) <= runner.Tasks().size()) {
                    keeper->AfterCall(task_id, runner.Tasks()[static_cast<size_t>(task_id) - 1].key);
                }
            });
        }
        InterruptCounter interrupts;
        runner.InitDriver();
        RunLimits limits;
        limits.timeout = std::chrono::milliseconds(static_cast<int64_t>(options.timeout_seconds * 1000.0));
        limits.interrupts = [&interrupts] { return interrupts.Count(); };
        // Armed before the starts: a task's first step (its formulas' first run) may not return.
        runner.Arm(limits);
        for (const std::string& key : keys) {
            runner.Start(key);
        }
        const RunEnd end = runner.Run(limits);
        if (progress != nullptr) {
            progress->Finish();
        }
        if (interrupts.Count() > 0) {
            result.stopped = StopReason::kInterrupt;
        } else if (end != RunEnd::kFinished) {
            result.stopped = StopReason::kTimeout;
        }
        if (end == RunEnd::kStopped) {
            fmt::print(stderr, "tlhost: {}: the running tasks were stopped\n",
                       result.stopped == StopReason::kInterrupt
                           ? std::string("interrupted")
                           : fmt::format("timeout after {} s", options.timeout_seconds));
        } else if (end == RunEnd::kAbandoned) {
            fmt::print(stderr, "tlhost: interrupted again: not waiting for the queries still running\n");
        }
        for (const TaskOutcome& task : runner.Tasks()) {
            TaskReport report{task, task.finished ? runner.DecodeResult(task.code) : std::string(),
                              std::nullopt};
            if (keeper != nullptr) {
                report.log = keeper->KeptLog(task.id);
            }
            result.tasks.push_back(std::move(report));
        }
        runner.DeInitDriver();
        service->SetStepObserver(nullptr);
        result.all_succeeded = runner.AllSucceeded();
    }
    service->Shutdown();
    // Unloading the driver drops its reference to the service; ours goes last.
    driver.reset();
    service.reset();

    result.exit_status = RunExitStatus(result);
    if (keeper != nullptr) {
        for (const std::string& problem : keeper->Problems()) {
            fmt::print(stderr, "tlhost: warning: {}\n", problem);
        }
    }
    if (options.json) {
        fmt::print("{}", SummaryJson(result));
    } else {
        for (const TaskReport& task : result.tasks) {
            fmt::print("{}", SummaryLine(task));
        }
    }
    std::fflush(stdout);
    return result;
}

} // namespace tl::host
