#include "tldriver/schedule_task.hpp"

#include "tldata/log_file.hpp"
#include "tldata/passes.hpp"
#include "tldriver/result_codes.hpp"

#include <exception>
#include <fmt/format.h>
#include <stdexcept>
#include <utility>

namespace tl {

void TScheduleTask::Channel::RunQuery(std::string_view sql, std::span<const Variant> params) {
    task_.RunQuery(sql, params);
}

void TScheduleTask::Channel::LogLine(std::string_view line) {
    task_.run_log_.Add(std::string(line));
}

void TScheduleTask::Channel::SendStatus(std::string_view line) {
    task_.SendStatus(line);
}

TScheduleTask::TScheduleTask(HostLink& link, std::string task_key, int32_t task_id)
    : TScheduleCommonTask(link, std::move(task_key), task_id), settings_(std::string(kScheduleStorage)),
      states_(link.state_log, true) {}

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
    incomplete_.Add(object, type, item, window_.begin, message);
}

void TScheduleTask::LogFailure(std::string_view what) {
    // The step ends the task with code 6 and no status line: the log keeps why.
    run_log_.Add("");
    run_log_.Add(fmt::format("{}: {}", ResultText(kResultInternalError), what));
}

int32_t TScheduleTask::Start() {
    try {
        return StartRun();
    } catch (const std::exception& error) {
        LogFailure(error.what());
        throw;
    }
}

int32_t TScheduleTask::HandleData(TlResultSet** result, bool& release_it) {
    // The task takes every delivered set over and releases it itself.
    release_it = false;
    current_set_ = result != nullptr ? std::exchange(*result, nullptr) : nullptr;
    try {
        return HandleStep();
    } catch (const std::exception& error) {
        LogFailure(error.what());
        throw;
    }
}

int32_t TScheduleTask::HandleStep() {
    switch (step_) {
    case kStepStates:
        LoadElementStates();
        // The arbitrary formula asks for the discreteness of momentary values here (step 15).
        step_ = ReadFirstPass();
        return NextPass();
    case kStepDiscreteness:
    case kStepMomentary:
        // The arbitrary formula's answers: the discreteness check and the momentary values of a
        // pass join here.
        throw std::logic_error("the arbitrary-formula method is not built yet");
    default:
        if (step_ > kLastPass) {
            throw std::logic_error(fmt::format("no query is awaited at step {}", step_));
        }
        // The arbitrary formula's pass processing joins here, by the method.
        return ProcessDefinedFormulaPass();
    }
}

void TScheduleTask::LoadElementStates() {
    if (current_set_ != nullptr) {
        if (current_set_->vtbl->IsEmpty(current_set_)) {
            SendStatus("Отсутствуют состояния ОИ (ДВ) за расчетный период");
        } else {
            states_.SetSQLResults(current_set_, true);
        }
    }
    DropDataSet(current_set_);
}

int32_t TScheduleTask::Stop() {
    SendStatus(FinalStatusLine(kResultInterrupted));
    return kResultInterrupted;
}

void TScheduleTask::Shutdown() {}

} // namespace tl
