#include "tlhost/task_runner.hpp"

#include "tlcommon/text_codec.hpp"

namespace tl::host {
namespace {

constexpr int32_t kPollMs = 50;
// How often the watchdog looks at the deadline and the interrupts while a step runs.
constexpr std::chrono::milliseconds kWatchPeriod{20};

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
    Disarm();
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

void TaskRunner::Arm(const RunLimits& limits) {
    Disarm();
    limits_ = limits;
    deadline_ = std::chrono::steady_clock::now() + limits.timeout;
    interrupt_reason_ = StopReason::kNone;
    stopped_by_flag_ = false;
    service_.ClearInterrupt();
    armed_ = true;
    if (limits.timeout.count() > 0 || limits.interrupts) {
        watch_quit_ = false;
        watchdog_ = std::thread([this] { Watch(); });
    }
}

void TaskRunner::Disarm() {
    if (watchdog_.joinable()) {
        {
            const std::lock_guard lock(watch_mutex_);
            watch_quit_ = true;
        }
        watch_wake_.notify_all();
        watchdog_.join();
    }
    armed_ = false;
}

void TaskRunner::Watch() {
    std::unique_lock lock(watch_mutex_);
    while (!watch_quit_) {
        if (limits_.interrupts && limits_.interrupts() >= 1) {
            RaiseInterrupt(StopReason::kInterrupt);
        } else if (limits_.timeout.count() > 0 && std::chrono::steady_clock::now() >= deadline_) {
            RaiseInterrupt(StopReason::kTimeout);
        }
        watch_wake_.wait_for(lock, kWatchPeriod);
    }
}

void TaskRunner::RaiseInterrupt(StopReason reason) {
    StopReason none = StopReason::kNone;
    if (interrupt_reason_.compare_exchange_strong(none, reason)) {
        service_.RequestInterrupt();
    }
}

RunEnd TaskRunner::Run(const RunLimits& limits) {
    using Clock = std::chrono::steady_clock;
    if (!armed_) {
        Arm(limits);
    }
    const bool has_deadline = limits_.timeout.count() > 0;
    bool stopping = false;
    const auto end = [this](RunEnd how) {
        Disarm();
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
            if (service_.SettleStores()) {
                continue; // the run ends once the stores' database files are written too
            }
            return end(stopping || stopped_by_flag_ ? RunEnd::kStopped : RunEnd::kFinished);
        }
        const int interrupts = limits_.interrupts ? limits_.interrupts() : 0;
        if (interrupts >= 2) {
            return end(RunEnd::kAbandoned);
        }
        // A stopped task completes at once; the queries it left running still come back later.
        // The flag goes up first: a task whose step is running when it is noticed ends with it.
        const bool due =
            interrupts >= 1 || (has_deadline && Clock::now() >= deadline_) || service_.InterruptRequested();
        if (!stopping && !AllFinished() && due) {
            stopping = true;
            RaiseInterrupt(interrupts >= 1 ? StopReason::kInterrupt : StopReason::kTimeout);
            StopRunning(interrupt_reason_.load());
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
        // A step that saw the interrupt flag ended its task as a stop does.
        const StopReason flagged = interrupt_reason_.load();
        if (code == 5 && task->stopped_by == StopReason::kNone && flagged != StopReason::kNone) {
            task->stopped_by = flagged;
            stopped_by_flag_ = true;
        }
        return;
    }
    extra_.emplace_back(task_id, code);
}

} // namespace tl::host
