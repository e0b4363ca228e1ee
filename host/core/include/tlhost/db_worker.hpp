// A background thread with a database connection of its own. It runs jobs one at a time in the
// order they were posted, so a later query sees what earlier writes stored, and hands each
// finished job back to the owner's thread, which takes it with TakeFinished after `notify`.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tl::host {

class DbJob {
public:
    virtual ~DbJob() = default;
    // On the worker thread. Must not throw: a job records its own failure.
    virtual void Execute(tl::db::Connection& connection) noexcept = 0;
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
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tl::host
