// Keeps a copy of each finished task's run log. The driver writes tlosses.log anew whenever a task
// ends, so the next task of a run, and every later run, replaces it. After each call into the
// driver made for a task, the keeper looks whether tlosses.log was written meanwhile (the task
// ended in that call) and copies it to <keep directory>/<scenario>-<yyyymmdd-hhmmss>.log, then
// removes that task's oldest copies beyond the limit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::host {

class RunLogKeeper {
public:
    // `log_directory`: where the driver writes tlosses.log; `limit`: copies kept per task.
    RunLogKeeper(std::filesystem::path log_directory, std::filesystem::path keep_directory, int limit);
    ~RunLogKeeper();
    RunLogKeeper(const RunLogKeeper&) = delete;
    RunLogKeeper& operator=(const RunLogKeeper&) = delete;

    // After a call into the driver for the task (key as "\Scripts\NAME\").
    void AfterCall(int32_t task_id, std::string_view task_key);
    // The copy of the task's log, when one was kept.
    std::optional<std::filesystem::path> KeptLog(int32_t task_id) const;
    // What went wrong on the way (a copy that failed, a directory that cannot be watched).
    const std::vector<std::string>& Problems() const { return problems_; }

private:
    bool LogWasWritten();
    void Keep(int32_t task_id, const std::string& name);
    void Prune(const std::string& name);

    std::filesystem::path log_directory_;
    std::filesystem::path keep_directory_;
    int limit_;
    int watch_ = -1; // inotify descriptor
    std::map<int32_t, std::filesystem::path> kept_;
    std::vector<std::string> problems_;
};

// The scenario name of a task key, fit for a file name: "\Scripts\Losses 1\" gives "Losses 1".
std::string LogNameOf(std::string_view task_key);

} // namespace tl::host
