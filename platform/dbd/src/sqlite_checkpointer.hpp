// The checkpoints of a SQLite writer, run beside its next transactions. In WAL mode a commit
// leaves its pages in the log, and the connection that commits copies a grown log into the
// database file before its commit returns. A writer of large transactions hands that copy to a
// connection of its own on a thread of its own instead, so that the next store (or the reader
// beside it) need not wait for it: the rows are safe in the log meanwhile, and a reader reads them
// from there. A failed copy loses nothing; it is kept and told by Settle.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

namespace tl::db {

class SqliteCheckpointer {
public:
    // `path` is the database file; its connection is opened at the first checkpoint.
    explicit SqliteCheckpointer(std::string path);
    // Waits for the checkpoint under way.
    ~SqliteCheckpointer();
    SqliteCheckpointer(const SqliteCheckpointer&) = delete;
    SqliteCheckpointer& operator=(const SqliteCheckpointer&) = delete;

    // After a commit that left the log at `frames` pages: a checkpoint is due once the log has
    // grown past what SQLite checkpoints by itself.
    void Committed(int frames);
    // Waits until the checkpoints asked for are done, and checkpoints once more when the last one
    // could not copy the whole log; returns the text of the first that failed since the last
    // call, or an empty one.
    std::string Settle();

private:
    void Loop();
    // One passive checkpoint (it never waits for the writer or a reader); the error text or empty,
    // and in `whole` whether it copied the whole log.
    std::string Checkpoint(bool& whole);

    std::string path_;
    sqlite3* db_ = nullptr; // the thread's
    std::mutex mutex_;
    std::condition_variable changed_;
    bool requested_ = false;
    bool running_ = false;
    bool stopping_ = false;
    std::string error_;
    bool whole_ = true; // the last checkpoint copied the whole log
    std::thread thread_;
};

} // namespace tl::db
