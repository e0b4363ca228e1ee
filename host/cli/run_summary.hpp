// The end of "tlhost run": one line per task, or the whole run as one JSON document.
#pragma once

#include "run_tasks.hpp"

#include <string>

namespace tl::host {

// "\Scripts\L1\: 0 Успешный расчёт; read 96 rows, stored 48; ..." with a line feed.
std::string SummaryLine(const TaskReport& task);
std::string SummaryJson(const TasksRun& run);
// The exit status of a run: 3 after a failed query or store, 4 when stopped, 1 when a task did not
// end with 0; the highest that applies.
int RunExitStatus(const TasksRun& run);

} // namespace tl::host
