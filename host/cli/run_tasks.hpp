// Runs tasks of the driver in-process the way "tlhost run" does: each task locked against other
// hosts on the same database, status lines as they come (with the progress display on a
// terminal), the task stopped when one of its queries or stores fails, StopAction on a timeout or
// Ctrl-C, each finished task's run log kept, and a summary line per task (or one JSON document).
#pragma once

#include "host_context.hpp"
#include "tlhost/task_runner.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tl::host {

struct RunOptions {
    double timeout_seconds = 0; // 0: none
    bool json = false;          // the summary as one JSON document; status lines to stderr
    std::optional<double> now;  // the date-time the driver takes as "now"
    bool locked = false;        // the caller holds the tasks' run locks already
};

struct TaskReport {
    TaskOutcome outcome;
    std::string text; // the driver's text of the code
    std::optional<std::filesystem::path> log;
};

struct TasksRun {
    std::vector<TaskReport> tasks;
    StopReason stopped = StopReason::kNone; // kTimeout or kInterrupt when the run was stopped
    int exit_status = 0;
    bool all_succeeded = false;
};

// The database must be open (HostContext::OpenDatabase). `keys` are normalised task keys. A task
// that another host runs on the same database is a HostError before anything starts.
TasksRun RunTasks(HostContext& context, const std::vector<std::string>& keys, const RunOptions& options = {});

} // namespace tl::host
