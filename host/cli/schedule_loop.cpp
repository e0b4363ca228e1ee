#include "schedule_loop.hpp"

#include "interrupts.hpp"
#include "run_tasks.hpp"
#include "tlcommon/iso_date_time.hpp"
#include "tlhost/run_lock.hpp"
#include "tlhost/schedule_table.hpp"

#include <algorithm>
#include <chrono>
#include <fmt/format.h>
#include <thread>

namespace tl::host {
namespace {

struct Claim {
    ScheduleEntry entry;
    std::unique_ptr<RunLock> lock;
};

// The first due task whose lock this host gets and which is still due under the lock: another
// host may have run it and moved it on between the listing and the lock.
std::optional<Claim> ClaimDueTask(ScheduleTable& schedule, RunLocks& locks) {
    for (ScheduleEntry& entry : schedule.Due(Now())) {
        std::unique_ptr<RunLock> lock = locks.TryAcquire(entry.task_key);
        if (lock != nullptr && schedule.NextRunOf(entry.task_key) == entry.next_run) {
            return Claim{std::move(entry), std::move(lock)};
        }
    }
    return std::nullopt;
}

// Sleeps until the next due time or the poll interval, whichever comes first; false when a signal
// came meanwhile.
bool Wait(ScheduleTable& schedule, const ScheduleLoopOptions& options, const InterruptCounter& interrupts) {
    double seconds = options.poll_seconds;
    if (const auto next = schedule.NextRun()) {
        seconds = std::clamp((*next - Now()) * 86'400.0, 0.0, seconds);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (interrupts.Count() > 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return interrupts.Count() == 0;
}

} // namespace

int RunScheduleLoop(HostContext& context, const ScheduleLoopOptions& options) {
    ScheduleTable schedule(*tl::db::ProcessConnection());
    const std::unique_ptr<RunLocks> locks = OpenRunLocks(context.Options().database);
    InterruptCounter interrupts;
    int status = exit_status::kOk;
    while (interrupts.Count() == 0) {
        std::optional<Claim> claim = ClaimDueTask(schedule, *locks);
        if (!claim) {
            if (options.until_idle && schedule.Due(Now()).empty()) {
                break;
            }
            if (!Wait(schedule, options, interrupts)) {
                break;
            }
            continue;
        }
        const DateTime run_at = *claim->entry.next_run;
        fmt::print(stderr, "tlhost schedule: {} runs {} scheduled at {}\n", options.host_name,
                   claim->entry.task_key, FormatIsoDateTime(run_at));
        RunOptions run;
        run.now = run_at;
        run.locked = true;
        const TasksRun ran = RunTasks(context, {claim->entry.task_key}, run);
        status = std::max(status, ran.exit_status);
        if (ran.stopped != StopReason::kNone) {
            // Stopped, not done: the task stays due for this host's next start or another host.
            break;
        }
        const TaskOutcome& task = ran.tasks.front().outcome;
        schedule.Finish(claim->entry, run_at, task.finished ? task.code : -1, options.host_name);
    }
    return status;
}

} // namespace tl::host
