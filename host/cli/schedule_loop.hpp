// The loop of "tlhost schedule run": take a due task of the schedule that no other host runs, run
// it with its scheduled time as "now", move its row on, and wait for the next due time when there
// is none. Several hosts run the loop on one database and share the tasks.
#pragma once

#include "host_context.hpp"

#include <string>

namespace tl::host {

struct ScheduleLoopOptions {
    std::string host_name;    // written beside each run in the schedule
    double poll_seconds = 30; // how often a waiting host looks again for due tasks
    bool until_idle = false;  // end when no task is due, rather than wait for the next
};

// The database must be open. Returns the exit status: the highest of the runs' statuses (1 a task
// ended with a code other than 0, 3 a query or store failed, 4 SIGINT or SIGTERM stopped a
// running task); a signal while the host waits ends the loop with the status so far.
int RunScheduleLoop(HostContext& context, const ScheduleLoopOptions& options);

} // namespace tl::host
