// A background thread with a database connection of its own. It runs jobs one at a time in the
// order they were posted and hands each finished job back to the owner's thread, which takes it
// with TakeFinished after `notify`.
//
// The host service runs two: one answers the driver's queries, the other writes the records it
// hands over, so that a pass is stored while the next one is read and computed. What keeps the two
// apart is a StoreGate: a task's store posted after one of its queries or stores failed is not
// written.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace tl::host {

class DbJob {
public:
    virtual ~DbJob() = default;
    // On the worker thread. Must not throw: a job records its own failure.
    virtual void Execute(tl::db::Connection& connection) noexcept = 0;
};

// The first failed job of each task, by the order in which the host posted its jobs; the workers
// read and write it from their threads. Jobs made outside any task (task 0) close nothing.
class StoreGate {
public:
    // `sequence`: the failed job's place in the posting order.
    void Failed(int32_t task_id, uint64_t sequence);
    // True when a job of the task posted before `sequence` has failed.
    bool FailedBefore(int32_t task_id, uint64_t sequence) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<int32_t, uint64_t> first_failure_;
};

class DbWorker {
public:
    // `notify` runs on the worker thread once per finished job; it must not block.
    DbWorker(std::unique_ptr<tl::db::Connection> connection, std::function<void()> notify);
    ~DbWorker();
    DbWorker(const DbWorker&) = delete;
    DbWorker& operator=(const DbWorker&) = delete;

    // False once Stop has begun (the job is not taken).
    bool Post(std::unique_ptr<DbJob>& job);
    // True when no job is queued or running.
    bool Idle();
    // The oldest finished job, or null when none is waiting.
    std::unique_ptr<DbJob> TakeFinished();
    // Runs every job still queued, then ends the thread. Finished jobs stay to be taken.
    void Stop();

private:
    void Loop();

    std::unique_ptr<tl::db::Connection> connection_;
    std::function<void()> notify_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::unique_ptr<DbJob>> queued_;
    std::deque<std::unique_ptr<DbJob>> finished_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tl::host
