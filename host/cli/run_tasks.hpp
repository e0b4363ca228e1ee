// Runs tasks of the driver in-process the way "tlhost run" does: status lines as they come (with
// the progress display on a terminal), a result line per task, StopAction on a timeout or Ctrl-C.
#pragma once

#include "host_context.hpp"
#include "tlhost/task_runner.hpp"

#include <string>
#include <vector>

namespace tl::host {

struct TasksRun {
    std::vector<TaskOutcome> tasks;
    bool all_succeeded = false;
};

// The database must be open (HostContext::OpenDatabase). `keys` are normalised task keys.
TasksRun RunTasks(HostContext& context, const std::vector<std::string>& keys, double timeout_seconds);

} // namespace tl::host
