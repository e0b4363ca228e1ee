#include "tlhost/db_worker.hpp"

namespace tl::host {

void StoreGate::Failed(int32_t task_id, uint64_t sequence) {
    if (task_id == 0) {
        return; // work done outside any task's call: nothing of it goes on
    }
    std::lock_guard lock(mutex_);
    const auto [it, added] = first_failure_.try_emplace(task_id, sequence);
    if (!added && sequence < it->second) {
        it->second = sequence;
    }
}

bool StoreGate::FailedBefore(int32_t task_id, uint64_t sequence) const {
    std::lock_guard lock(mutex_);
    const auto it = first_failure_.find(task_id);
    return it != first_failure_.end() && it->second < sequence;
}

DbWorker::DbWorker(std::unique_ptr<tl::db::Connection> connection, std::function<void()> notify)
    : connection_(std::move(connection)), notify_(std::move(notify)), thread_([this] { Loop(); }) {}

DbWorker::~DbWorker() {
    Stop();
}

bool DbWorker::Post(std::unique_ptr<DbJob>& job) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return false;
        }
        queued_.push_back(std::move(job));
    }
    wake_.notify_one();
    return true;
}

bool DbWorker::Idle() {
    std::lock_guard lock(mutex_);
    return queued_.empty() && !running_;
}

std::unique_ptr<DbJob> DbWorker::TakeFinished() {
    std::lock_guard lock(mutex_);
    if (finished_.empty()) {
        return nullptr;
    }
    auto job = std::move(finished_.front());
    finished_.pop_front();
    return job;
}

void DbWorker::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DbWorker::Loop() {
    for (;;) {
        std::unique_ptr<DbJob> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queued_.empty(); });
            if (queued_.empty()) {
                return; // stopping, and nothing left to run
            }
            job = std::move(queued_.front());
            queued_.pop_front();
            running_ = true;
        }
        job->Execute(*connection_);
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            finished_.push_back(std::move(job));
        }
        notify_();
    }
}

} // namespace tl::host
