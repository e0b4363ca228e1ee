#include "tldriver/schedule_task.hpp"

#include "tldata/element_state_log.hpp"
#include "tldata/log_file.hpp"
#include "tldriver/result_codes.hpp"

#include <utility>

namespace tl {

TScheduleTask::TScheduleTask(HostLink& link, std::string task_key, int32_t task_id)
    : TScheduleCommonTask(link, std::move(task_key), task_id) {
    // The task's element-state container logs what it does.
    if (link.state_log != nullptr) {
        link.state_log->SetEnabled(true);
    }
}

TScheduleTask::~TScheduleTask() {
    try {
        DropDataSet(momentary_set_);
        DropDataSet(current_set_);
    } catch (...) {
        // The host is gone or refuses: the sets are its own to clean up now.
    }
    CloseRunLog();
}

void TScheduleTask::CloseRunLog() noexcept {
    try {
        const std::string addresses = incomplete_.CloseInto(run_log_);
        if (!addresses.empty()) {
            SendStatus("Следующие элементы рассчитаны не полностью: " + addresses);
        }
        if (!run_log_.Empty()) {
            WriteLogFile(Link().RunLogPath(), run_log_.Lines());
        }
    } catch (...) {
        // A log that cannot be closed must not keep the task from being freed.
    }
}

void TScheduleTask::AddElementError(int32_t object, int32_t type, int32_t item, std::string_view message) {
    incomplete_.Add(object, type, item, window_begin_, message);
}

int32_t TScheduleTask::Start() {
    SendStatus("Начало работы");
    // The settings check needs the task's settings storage, which no run reads yet: without it
    // no task has its required settings.
    SendStatus("Нет обязательных настроек");
    SendStatus(FinalStatusLine(kResultBadScenario));
    return kResultBadScenario;
}

int32_t TScheduleTask::HandleData(TlResultSet** result, bool& release_it) {
    // The task takes every delivered set over and releases it itself.
    release_it = false;
    current_set_ = result != nullptr ? std::exchange(*result, nullptr) : nullptr;
    DropDataSet(current_set_);
    // Start ends every run before it queries anything, so no step can be waiting here.
    return kResultInternalError;
}

int32_t TScheduleTask::Stop() {
    SendStatus(FinalStatusLine(kResultInterrupted));
    return kResultInterrupted;
}

void TScheduleTask::Shutdown() {}

} // namespace tl
