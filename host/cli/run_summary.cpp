#include "run_summary.hpp"

#include "tlhost/host_error.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <fmt/ranges.h>
#include <nlohmann/json.hpp>

namespace tl::host {
namespace {

const char* StopName(StopReason reason) {
    switch (reason) {
    case StopReason::kFailure:
        return "failure";
    case StopReason::kTimeout:
        return "timeout";
    case StopReason::kInterrupt:
        return "interrupt";
    case StopReason::kNone:
        break;
    }
    return nullptr;
}

std::string StopPhrase(StopReason reason) {
    switch (reason) {
    case StopReason::kFailure:
        return "; stopped by the host after the failure";
    case StopReason::kTimeout:
        return "; stopped by the timeout";
    case StopReason::kInterrupt:
        return "; stopped by an interrupt";
    case StopReason::kNone:
        break;
    }
    return {};
}

} // namespace

std::string SummaryLine(const TaskReport& task) {
    const TaskOutcome& outcome = task.outcome;
    const TaskCounters& counters = outcome.counters;
    std::string line = outcome.key + ": ";
    line += outcome.finished ? fmt::format("{} {}", outcome.code, task.text) : std::string("no result");
    if (!counters.failures.empty()) {
        line += "; FAILED: " + counters.failures.front();
    }
    line += StopPhrase(outcome.stopped_by);
    line += fmt::format("; read {} rows, stored {}", counters.rows_read, counters.rows_stored);
    line += fmt::format("; elements not fully computed: {}", counters.incomplete_elements.size());
    line += fmt::format("; failed queries: {}, failed stores: {}", counters.failed_queries,
                        counters.failed_stores);
    line += fmt::format("; log: {}\n", task.log ? task.log->string() : std::string("not kept"));
    return line;
}

std::string SummaryJson(const TasksRun& run) {
    nlohmann::ordered_json tasks = nlohmann::ordered_json::array();
    for (const TaskReport& task : run.tasks) {
        const TaskOutcome& outcome = task.outcome;
        const TaskCounters& counters = outcome.counters;
        const char* stopped = StopName(outcome.stopped_by);
        tasks.push_back({
            {"key", outcome.key},
            {"id", outcome.id},
            {"finished", outcome.finished},
            {"code", outcome.finished ? nlohmann::ordered_json(outcome.code) : nullptr},
            {"text", outcome.finished ? nlohmann::ordered_json(task.text) : nullptr},
            {"failed", counters.Failed()},
            {"stopped", stopped != nullptr ? nlohmann::ordered_json(stopped) : nullptr},
            {"queries", counters.queries},
            {"rows_read", counters.rows_read},
            {"stores", counters.stores},
            {"rows_stored", counters.rows_stored},
            {"failed_queries", counters.failed_queries},
            {"failed_stores", counters.failed_stores},
            {"incomplete_elements", counters.incomplete_elements},
            {"failures", counters.failures},
            {"log", task.log ? nlohmann::ordered_json(task.log->string()) : nullptr},
        });
    }
    const char* stopped = StopName(run.stopped);
    const nlohmann::ordered_json document = {
        {"tasks", std::move(tasks)},
        {"stopped", stopped != nullptr ? nlohmann::ordered_json(stopped) : nullptr},
        {"exit_status", run.exit_status},
    };
    return document.dump(2) + "\n";
}

int RunExitStatus(const TasksRun& run) {
    int status = exit_status::kOk;
    for (const TaskReport& task : run.tasks) {
        if (task.outcome.counters.Failed()) {
            status = std::max(status, exit_status::kDatabase);
        }
        if (!task.outcome.finished || task.outcome.code != 0) {
            status = std::max(status, exit_status::kFailed);
        }
    }
    if (run.stopped != StopReason::kNone) {
        status = std::max(status, exit_status::kStopped);
    }
    return status;
}

} // namespace tl::host
