// TScheduleTaskList: the running tasks, in the order StartAction added them. It routes starts,
// stops and query completions to a task by identifier, frees a task as soon as a step ends it,
// and then posts the task's completion message.
#pragma once

#include "tldriver/host_link.hpp"
#include "tldriver/schedule_common_task.hpp"
#include "tlosses/abi.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tl {

class TScheduleTaskList {
public:
    // Registers itself with the link as the receiver of query completions.
    explicit TScheduleTaskList(HostLink& link);
    // Clears the list: the tasks are freed from the last to the first.
    ~TScheduleTaskList();
    TScheduleTaskList(const TScheduleTaskList&) = delete;
    TScheduleTaskList& operator=(const TScheduleTaskList&) = delete;

    // Appends a task (an empty entry is allowed) and returns its position.
    int32_t Add(std::unique_ptr<TScheduleCommonTask> task);
    int32_t Count() const { return static_cast<int32_t>(tasks_.size()); }
    TScheduleCommonTask* At(int32_t position) const { return tasks_.at(static_cast<size_t>(position)).get(); }

    // First position holding a task with this identifier, or -1.
    int32_t IndexOfTask(int32_t task_id) const;
    // Shuts down and frees the task at the position (if any) and removes the position.
    void DeleteTask(int32_t position);
    // Deletes the positions from the last to the first.
    void Clear();
    // Shutdown of every task, in list order; exceptions are swallowed.
    void ShutdownAll();

    void StartTask(int32_t task_id);
    void StopTask(int32_t task_id);
    void DataReady(int32_t task_id, TlResultSet** result);

    // The completion handler given to the host with every query; `context` is the HostLink. When
    // the link has no task list any more, the completion is treated as one for an unknown task.
    // Never lets an exception out.
    static void DataReadyHandler(void* context, int32_t task_id, TlResultSet** result) noexcept;

private:
    int32_t PositionOf(const TScheduleCommonTask* task) const;
    // Ends the step of `task`: frees it when the result is final.
    void Finish(const TScheduleCommonTask* task, int32_t result);
    static void ReleaseQuietly(const HostLink& link, TlResultSet** result) noexcept;

    HostLink& link_;
    std::vector<std::unique_ptr<TScheduleCommonTask>> tasks_;
};

} // namespace tl
