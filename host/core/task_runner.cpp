#include "tlhost/task_runner.hpp"

#include "tlcommon/text_codec.hpp"

namespace tl::host {
namespace {

constexpr int32_t kPollMs = 50;

std::string FromDriver(const char* text) {
    return text != nullptr ? Cp1251ToUtf8(text) : std::string();
}

} // namespace

TaskRunner::TaskRunner(const DriverExports& driver, HostService& service)
    : driver_(driver), service_(service) {
    service_.SetCompletionSink([this](int32_t task_id, int32_t code) { OnCompletion(task_id, code); }, this);
    service_.SetFailureSink([this](int32_t task_id, std::string_view) { OnFailure(task_id); }, this);
}

TaskRunner::~TaskRunner() {
    DeInitDriver();
    service_.ClearCompletionSink(this);
    service_.ClearFailureSink(this);
}

void TaskRunner::InitDriver() {
    driver_.InitDriver(service_.Abi());
    initialised_ = true;
}

void TaskRunner::DeInitDriver() {
    if (initialised_) {
        driver_.DeInitDriver();
        initialised_ = false;
    }
}

int32_t TaskRunner::Start(const std::string& key) {
    const auto id = static_cast<int32_t>(tasks_.size() + 1);
    TaskOutcome task;
    task.key = key;
    task.id = id;
    tasks_.push_back(std::move(task));
    const std::string key_cp1251 = Utf8ToCp1251(key);
    const HostService::TaskCall call(service_, id);
    driver_.StartAction(key_cp1251.c_str(), id);
    return id;
}

void TaskRunner::StopRunning(StopReason reason) {
    for (TaskOutcome& task : tasks_) {
        Stop(task, reason);
    }
}

void TaskRunner::Stop(TaskOutcome& task, StopReason reason) {
    if (task.finished || task.stopped_by != StopReason::kNone) {
        return;
    }
    task.stopped_by = reason;
    const HostService::TaskCall call(service_, task.id);
    driver_.StopAction(0, task.id);
}

void TaskRunner::OnFailure(int32_t task_id) {
    // A task that has already ended (its last store failed after its completion) keeps its code;
    // the failure still counts against it.
    if (TaskOutcome* task = Find(task_id)) {
        Stop(*task, StopReason::kFailure);
    }
}

TaskOutcome* TaskRunner::Find(int32_t task_id) {
    if (task_id >= 1 && static_cast<size_t>(task_id) <= tasks_.size()) {
        return &tasks_[static_cast<size_t>(task_id) - 1];
    }
    return nullptr;
}

RunEnd TaskRunner::Run(const RunLimits& limits) {
    using Clock = std::chrono::steady_clock;
    const bool has_deadline = limits.timeout.count() > 0;
    const Clock::time_point deadline = Clock::now() + limits.timeout;
    bool stopping = false;
    const auto end = [this](RunEnd how) {
        for (TaskOutcome& task : tasks_) {
            task.counters = service_.CountersOf(task.id);
        }
        return how;
    };
    for (;;) {
        // Everything already waiting first: a completion that has arrived must not be stopped.
        while (service_.ProcessMessage(0)) {
        }
        if (AllFinished() && service_.OutstandingJobs() == 0) {
            return end(stopping ? RunEnd::kStopped : RunEnd::kFinished);
        }
        const int interrupts = limits.interrupts ? limits.interrupts() : 0;
        if (interrupts >= 2) {
            return end(RunEnd::kAbandoned);
        }
        // A stopped task completes at once; the queries it left running still come back later.
        if (!stopping && !AllFinished() && (interrupts >= 1 || (has_deadline && Clock::now() >= deadline))) {
            stopping = true;
            StopRunning(interrupts >= 1 ? StopReason::kInterrupt : StopReason::kTimeout);
        }
        service_.ProcessMessage(kPollMs);
    }
}

bool TaskRunner::AllFinished() const {
    for (const TaskOutcome& task : tasks_) {
        if (!task.finished) {
            return false;
        }
    }
    return true;
}

bool TaskRunner::AllSucceeded() const {
    for (const TaskOutcome& task : tasks_) {
        if (!task.finished || task.code != 0 || task.counters.Failed()) {
            return false;
        }
    }
    return true;
}

std::string TaskRunner::DecodeResult(int32_t code) const {
    return FromDriver(driver_.GetStartActionDecodeResult(code));
}

std::string TaskRunner::FunctionName() const {
    return FromDriver(driver_.GetFunctionName());
}

void TaskRunner::OnCompletion(int32_t task_id, int32_t code) {
    TaskOutcome* task = Find(task_id);
    if (task != nullptr && !task->finished) {
        task->finished = true;
        task->code = code;
        return;
    }
    extra_.emplace_back(task_id, code);
}

} // namespace tl::host
