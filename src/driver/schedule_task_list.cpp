#include "tldriver/schedule_task_list.hpp"

#include "tldriver/result_codes.hpp"

#include <utility>

namespace tl {

TScheduleTaskList::TScheduleTaskList(HostLink& link) : link_(link) {
    link_.task_list_ = this;
}

TScheduleTaskList::~TScheduleTaskList() {
    Clear();
    if (link_.task_list_ == this) {
        link_.task_list_ = nullptr;
    }
}

int32_t TScheduleTaskList::Add(std::unique_ptr<TScheduleCommonTask> task) {
    tasks_.push_back(std::move(task));
    return Count() - 1;
}

int32_t TScheduleTaskList::IndexOfTask(int32_t task_id) const {
    for (size_t i = 0; i < tasks_.size(); ++i) {
        if (tasks_[i] != nullptr && tasks_[i]->TaskId() == task_id) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

int32_t TScheduleTaskList::PositionOf(const TScheduleCommonTask* task) const {
    for (size_t i = 0; i < tasks_.size(); ++i) {
        if (tasks_[i].get() == task) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void TScheduleTaskList::DeleteTask(int32_t position) {
    auto it = tasks_.begin() + position;
    std::unique_ptr<TScheduleCommonTask> task = std::move(*it);
    tasks_.erase(it);
    if (task != nullptr) {
        try {
            task->Shutdown();
        } catch (...) {
            // A task being freed has nobody left to report to; freeing it matters more.
        }
        task.reset(); // the destructor writes the task's run log
    }
}

void TScheduleTaskList::Clear() {
    while (!tasks_.empty()) {
        DeleteTask(Count() - 1);
    }
}

void TScheduleTaskList::ShutdownAll() {
    for (const auto& task : tasks_) {
        if (task != nullptr) {
            try {
                task->Shutdown();
            } catch (...) {
            }
        }
    }
}

void TScheduleTaskList::Finish(const TScheduleCommonTask* task, int32_t result) {
    if (result == kResultWaiting) {
        return;
    }
    // Looked up again by address: the step may have changed the list.
    const int32_t position = PositionOf(task);
    if (position >= 0) {
        DeleteTask(position);
    }
}

void TScheduleTaskList::StartTask(int32_t task_id) {
    int32_t result = kResultInternalError;
    const int32_t position = IndexOfTask(task_id);
    if (position >= 0) {
        TScheduleCommonTask* task = tasks_[static_cast<size_t>(position)].get();
        try {
            result = task->Start();
        } catch (...) {
            result = kResultInternalError;
        }
        Finish(task, result);
    }
    if (result != kResultWaiting) {
        link_.PostCompletion(task_id, result);
    }
}

void TScheduleTaskList::StopTask(int32_t task_id) {
    int32_t result = kResultInternalError;
    const int32_t position = IndexOfTask(task_id);
    if (position >= 0) {
        TScheduleCommonTask* task = tasks_[static_cast<size_t>(position)].get();
        try {
            result = task->Stop();
        } catch (...) {
            result = kResultInterrupted;
        }
        // A stopped task ends whatever Stop answered.
        const int32_t current = PositionOf(task);
        if (current >= 0) {
            DeleteTask(current);
        }
    }
    link_.PostCompletion(task_id, result);
}

void TScheduleTaskList::DataReady(int32_t task_id, TlResultSet** result) {
    int32_t code = kResultInternalError;
    bool release_it = true;
    const int32_t position = IndexOfTask(task_id);
    if (position >= 0) {
        TScheduleCommonTask* task = tasks_[static_cast<size_t>(position)].get();
        try {
            code = task->HandleData(result, release_it);
        } catch (...) {
            code = kResultInternalError;
        }
        Finish(task, code);
    }
    if (release_it) {
        ReleaseQuietly(link_, result);
    }
    if (code != kResultWaiting) {
        link_.PostCompletion(task_id, code);
    }
}

void TScheduleTaskList::ReleaseQuietly(const HostLink& link, TlResultSet** result) noexcept {
    if (result == nullptr || *result == nullptr) {
        return;
    }
    try {
        link.Database().ReleaseDataSet(result);
    } catch (...) {
    }
}

void TScheduleTaskList::DataReadyHandler(void* context, int32_t task_id, TlResultSet** result) noexcept {
    auto* link = static_cast<HostLink*>(context);
    if (link == nullptr) {
        return;
    }
    try {
        if (link->task_list_ != nullptr) {
            link->task_list_->DataReady(task_id, result);
            return;
        }
        // The driver was deinitialised while the query ran: nobody waits for this set.
        ReleaseQuietly(*link, result);
        link->PostCompletion(task_id, kResultInternalError);
    } catch (...) {
        // Nothing may unwind into the host.
    }
}

} // namespace tl
