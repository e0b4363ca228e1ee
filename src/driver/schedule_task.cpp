#include "tldriver/schedule_task.hpp"

#include "tlcommon/failure_text.hpp"
#include "tlcommon/interrupt.hpp"
#include "tldata/passes.hpp"
#include "tldriver/result_codes.hpp"

#include <exception>
#include <fmt/format.h>
#include <optional>
#include <stdexcept>
#include <utility>

namespace tl {

void TScheduleTask::Channel::RunQuery(std::string_view sql, std::span<const Variant> params) {
    task_.RunQuery(sql, params);
}

void TScheduleTask::Channel::LogLine(std::string_view line) {
    task_.run_log_.Add(line);
}

void TScheduleTask::Channel::SendStatus(std::string_view line) {
    task_.SendStatus(line);
}

void TScheduleTask::Channel::AddElementError(const ElementAddress& element, std::string_view message) {
    task_.AddElementError(element.object, element.type, element.item, message);
}

TScheduleTask::TScheduleTask(HostLink& link, std::string task_key, int32_t task_id)
    : TScheduleCommonTask(link, std::move(task_key), task_id), settings_(std::string(kScheduleStorage)),
      states_(link.state_log, true) {
    defined_formula_.SetInterruptFlag(link.interrupt_flag);
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

void TScheduleTask::LogTimings() {
    if (run_started_ == RunTimings::Clock::time_point{} || !RunTimings::Requested()) {
        return;
    }
    run_log_.Add("");
    run_log_.Add("------------------Время выполнения------------------");
    for (const std::string& line : timings_.Lines(RunTimings::Clock::now() - run_started_)) {
        run_log_.Add(line);
    }
}

void TScheduleTask::CloseRunLog() noexcept {
    try {
        LogTimings();
        const std::string addresses = incomplete_.CloseInto(run_log_);
        if (!addresses.empty()) {
            SendStatus("Следующие элементы рассчитаны не полностью: " + addresses);
        }
        if (!run_log_.Empty()) {
            run_log_.WriteTo(Link().RunLogPath());
        }
    } catch (...) {
        // A log that cannot be closed must not keep the task from being freed.
    }
}

void TScheduleTask::AddElementError(int32_t object, int32_t type, int32_t item, std::string_view message) {
    incomplete_.Add(object, type, item, window_.begin, message);
}

void TScheduleTask::LogFailure(std::string_view line) {
    // The step ends the task with code 6 and no status line: the log keeps why.
    run_log_.Add("");
    run_log_.Add(line);
}

int32_t TScheduleTask::Start() {
    run_started_ = RunTimings::Clock::now();
    try {
        const int32_t result = StartRun();
        step_ended_ = RunTimings::Clock::now();
        return result;
    } catch (const TaskInterrupted&) {
        return Stop();
    } catch (const std::exception& error) {
        LogFailure(FailureLine(error));
        throw;
    } catch (...) {
        LogFailure(FailureLine());
        throw;
    }
}

int32_t TScheduleTask::HandleData(TlResultSet** result, bool& release_it) {
    timings_.Lap(RunPhase::kQueries, step_ended_);
    // The task takes every delivered set over and releases it itself.
    release_it = false;
    current_set_ = result != nullptr ? std::exchange(*result, nullptr) : nullptr;
    try {
        // While the host's interrupt flag is set, every step ends the task as a stop does.
        ThrowIfInterrupted(Link().interrupt_flag);
        const int32_t code = HandleStep();
        step_ended_ = RunTimings::Clock::now();
        return code;
    } catch (const TaskInterrupted&) {
        return Stop();
    } catch (const std::exception& error) {
        LogFailure(FailureLine(error));
        throw;
    } catch (...) {
        LogFailure(FailureLine());
        throw;
    }
}

int32_t TScheduleTask::HandleStep() {
    switch (step_) {
    case kStepStates:
        LoadElementStates();
        if (method_ == kMethodArbitraryFormula) {
            step_ = kStepDiscreteness;
            RequestDiscreteness(channel_);
            return kResultWaiting;
        }
        step_ = ReadFirstPass();
        return NextPass();
    case kStepDiscreteness:
        return AcceptDiscreteness();
    case kStepMomentary:
        return KeepMomentaryValues();
    default:
        if (step_ > kLastPass) {
            throw LocalizedError(fmt::format("Задача не ожидает ответа на запрос (шаг {})", step_));
        }
        return method_ == kMethodArbitraryFormula ? ProcessArbitraryFormulaPass()
                                                  : ProcessDefinedFormulaPass();
    }
}

int32_t TScheduleTask::AcceptDiscreteness() {
    if (arbitrary_ == nullptr) {
        throw LocalizedError("Получено описание мгновенных величин для расчета без формул");
    }
    const std::optional<Discreteness> accepted =
        CheckMomentaryDiscreteness(channel_, current_set_, momentary_filter_);
    arbitrary_->AcceptMomentary(accepted.has_value());
    DropDataSet(current_set_);
    step_ = ReadFirstPass();
    return NextPass();
}

int32_t TScheduleTask::KeepMomentaryValues() {
    DropDataSet(momentary_set_);
    momentary_set_ = std::exchange(current_set_, nullptr);
    step_ = saved_pass_;
    RequestData(channel_, data_filter_, step_, window_.begin, window_.end);
    return kResultWaiting;
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
