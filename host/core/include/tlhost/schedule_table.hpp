// The schedule that tlhost hosts share through the database: one row per task with the local time
// of its next run and how often it repeats. A host takes a due task under the task's run lock,
// runs it with the scheduled time as the driver's "now" (so a late or a second host computes the
// same periods), then moves the row on; the row is moved only by the host that holds the lock.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlplatform/db_connection.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tl::host {

struct ScheduleEntry {
    std::string task_key;
    std::optional<DateTime> next_run; // none: it has run and does not repeat
    int every_minutes = 0;            // 0: runs once
    std::optional<DateTime> last_run; // the scheduled time of the last run that ended
    std::optional<int> last_code;     // that run's result code (-1: it ended without one)
    std::string last_host;
};

class ScheduleTable {
public:
    // Creates the table when it is missing.
    explicit ScheduleTable(tl::db::Connection& connection);

    // Adds the task or gives it a new time and repeat.
    void Set(const std::string& task_key, DateTime next_run, int every_minutes);
    // False when the task is not in the schedule.
    bool Remove(const std::string& task_key);
    std::vector<ScheduleEntry> List();
    // Tasks whose next run is at `now` or before, the earliest first.
    std::vector<ScheduleEntry> Due(DateTime now);
    // The earliest next run of all, none when nothing is left to run.
    std::optional<DateTime> NextRun();
    // The task's next run as stored now (read again under its lock: another host may have run it).
    std::optional<DateTime> NextRunOf(const std::string& task_key);
    // After the run scheduled at `run_at`: the next run one repeat later (a run missed while no host
    // was up is still made, with its own time), or none.
    void Finish(const ScheduleEntry& entry, DateTime run_at, int code, const std::string& host);

private:
    tl::db::Connection& connection_;
};

} // namespace tl::host
