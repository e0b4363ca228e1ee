#include "sqlite_checkpointer.hpp"

#include <fmt/format.h>
#include <sqlite3.h>
#include <utility>

namespace tl::db {
namespace {

// SQLite's own threshold for the checkpoint after a commit.
constexpr int kCheckpointFrames = 1000;
constexpr int kBusyTimeoutMs = 10'000;

} // namespace

SqliteCheckpointer::SqliteCheckpointer(std::string path)
    : path_(std::move(path)), thread_([this] { Loop(); }) {}

SqliteCheckpointer::~SqliteCheckpointer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
    sqlite3_close_v2(db_);
}

void SqliteCheckpointer::Committed(int frames) {
    if (frames < kCheckpointFrames) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        requested_ = true;
    }
    changed_.notify_all();
}

std::string SqliteCheckpointer::Settle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !requested_ && !running_; });
    if (!whole_ && error_.empty()) {
        // The readers of the run are done by now: what they held back is copied now.
        requested_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !requested_ && !running_; });
    }
    return std::exchange(error_, std::string());
}

void SqliteCheckpointer::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Asked for before the stop: done before the thread ends.
        changed_.wait(lock, [this] { return stopping_ || requested_; });
        if (!requested_) {
            return;
        }
        requested_ = false;
        running_ = true;
        lock.unlock();
        bool whole = false;
        std::string error = Checkpoint(whole);
        lock.lock();
        running_ = false;
        whole_ = whole;
        if (!error.empty() && error_.empty()) {
            error_ = std::move(error);
        }
        changed_.notify_all();
    }
}

std::string SqliteCheckpointer::Checkpoint(bool& whole) {
    if (db_ == nullptr) {
        sqlite3* db = nullptr;
        const int rc =
            sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            std::string text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
            sqlite3_close_v2(db);
            return fmt::format("cannot open the database for its checkpoint: {}", text);
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        // A connection finds the log only once it reads the database: until then a checkpoint
        // takes it for one without a log and does nothing.
        if (sqlite3_exec(db, "select count(*) from sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::string text = sqlite3_errmsg(db);
            sqlite3_close_v2(db);
            return fmt::format("cannot open the database for its checkpoint: {}", text);
        }
        db_ = db;
    }
    int frames = 0;
    int copied = 0;
    const int rc = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, &frames, &copied);
    // Busy: another connection checkpoints this very log, which does the same work.
    if (rc != SQLITE_OK && rc != SQLITE_BUSY) {
        return fmt::format("the checkpoint of the database failed: {}", sqlite3_errmsg(db_));
    }
    // A reader of an earlier state keeps the pages written since from being copied.
    whole = rc == SQLITE_OK && copied == frames;
    return {};
}

} // namespace tl::db
