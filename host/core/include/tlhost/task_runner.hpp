// Drives the driver's tasks in-process: InitDriver, StartAction per task, the event loop until
// every task's completion message has arrived, StopAction on a deadline or an interrupt (with the
// host's interrupt flag raised first, so that a step that never returns is stopped too), and
// StopAction for a task whose query or store failed (the driver would take a failed query for an
// empty answer and never learns of a failed store).
//
//   auto service = HostService::Create({.database_uri = uri});
//   TaskRunner runner(driver.Exports(), *service);
//   runner.InitDriver();
//   runner.Arm(limits);                           // before the starts: Start runs a first step
//   runner.Start("\\Scripts\\Losses1\\");
//   runner.Run(limits);
//   for (const auto& task : runner.Tasks()) ...;   // code, runner.DecodeResult(code)
//   runner.DeInitDriver();
//   service->Shutdown();
#pragma once

#include "tlhost/driver_library.hpp"
#include "tlhost/host_service.hpp"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tl::host {

// Why the host stopped a task.
enum class StopReason {
    kNone,
    kFailure,   // one of its queries or stores failed
    kTimeout,   // the run's deadline passed
    kInterrupt, // SIGINT or SIGTERM
};

struct TaskOutcome {
    std::string key; // UTF-8, as started
    int32_t id = 0;
    bool finished = false;
    int32_t code = -1; // from the first completion message for the id
    StopReason stopped_by = StopReason::kNone;
    // Filled in when Run returns.
    TaskCounters counters;
};

struct RunLimits {
    // Stop the running tasks after this long; zero: no limit.
    std::chrono::milliseconds timeout{0};
    // How many interrupts (Ctrl-C) the user has given so far: the first stops the running tasks,
    // the second gives up waiting for the queries still running.
    std::function<int()> interrupts;
};

enum class RunEnd {
    kFinished,  // every task completed and every query came back
    kStopped,   // the deadline or an interrupt stopped tasks, then everything came back
    kAbandoned, // a second interrupt: queries may still be running
};

class TaskRunner {
public:
    TaskRunner(const DriverExports& driver, HostService& service);
    // Calls DeInitDriver when it is still initialised.
    ~TaskRunner();
    TaskRunner(const TaskRunner&) = delete;
    TaskRunner& operator=(const TaskRunner&) = delete;

    void InitDriver();
    void DeInitDriver();

    // StartAction for a task key (UTF-8); ids are 1, 2, ... in start order. Returns the id.
    int32_t Start(const std::string& key);
    // StopAction for every task whose completion has not arrived yet.
    void StopRunning(StopReason reason = StopReason::kInterrupt);

    // Starts the deadline and a watchdog thread that raises the host's interrupt flag when the
    // deadline passes or an interrupt arrives: a step running in the driver (a formula in an
    // endless loop) then ends its task as stopped, though this thread is inside that step. Call
    // before Start, whose first step may already run long; Run arms itself when it is not armed.
    void Arm(const RunLimits& limits);
    RunEnd Run(const RunLimits& limits = {});

    const std::vector<TaskOutcome>& Tasks() const { return tasks_; }
    bool AllFinished() const;
    bool AllSucceeded() const;
    // Completion messages beyond the first for a task, or for ids never started (task id, code).
    const std::vector<std::pair<int32_t, int32_t>>& ExtraCompletions() const { return extra_; }

    // The driver's text for a result code, UTF-8.
    std::string DecodeResult(int32_t code) const;
    std::string FunctionName() const;

private:
    void OnCompletion(int32_t task_id, int32_t code);
    // Raises the host's interrupt flag for `reason`, once.
    void RaiseInterrupt(StopReason reason);
    void Watch();
    void Disarm();
    void OnFailure(int32_t task_id);
    void Stop(TaskOutcome& task, StopReason reason);
    TaskOutcome* Find(int32_t task_id);

    const DriverExports& driver_;
    HostService& service_;
    bool initialised_ = false;
    std::vector<TaskOutcome> tasks_;
    std::vector<std::pair<int32_t, int32_t>> extra_;

    RunLimits limits_;
    std::chrono::steady_clock::time_point deadline_{};
    bool armed_ = false;
    std::atomic<StopReason> interrupt_reason_{StopReason::kNone};
    bool stopped_by_flag_ = false; // a task ended as stopped in a step that saw the flag
    std::mutex watch_mutex_;
    std::condition_variable watch_wake_;
    bool watch_quit_ = false;
    std::thread watchdog_;
};

} // namespace tl::host
