// Locks that keep two hosts from running the same task on the same database at once. A lock
// lives as long as its RunLock object, and the operating system or the database server drops it
// when the process that holds it dies, so a killed host never leaves a task locked.
//
//   auto locks = OpenRunLocks(uri);
//   auto held = locks->Acquire("\\Scripts\\Losses1\\");   // throws HostError naming the holder
#pragma once

#include "tlhost/host_error.hpp"

#include <memory>
#include <string>
#include <string_view>

namespace tl::host {

// The task is running in another host, or in this one.
class TaskAlreadyRunning : public HostError {
public:
    using HostError::HostError;
};

class RunLock {
public:
    virtual ~RunLock() = default;
};

class RunLocks {
public:
    virtual ~RunLocks() = default;
    // The lock of one task (keys compare without regard to letter case, as the settings do).
    // Throws TaskAlreadyRunning when another host, or this one, holds it.
    virtual std::unique_ptr<RunLock> Acquire(std::string_view task_key) = 0;
    // The lock, or null when another host, or this one, holds it.
    std::unique_ptr<RunLock> TryAcquire(std::string_view task_key) {
        try {
            return Acquire(task_key);
        } catch (const TaskAlreadyRunning&) {
            return nullptr;
        }
    }
};

// Locks for the database behind `uri`: byte-range locks on a file beside a SQLite database
// ("<file>-tlhost.lock"), advisory locks of a PostgreSQL server (held on a connection of their
// own); none for a private in-memory database. Throws DatabaseError when the lock file or the
// connection cannot be opened.
//
// A host that dies loses its locks at once when its process ends (the kernel closes the lock file
// and the lock connection). When its machine or network dies instead, the server notices on the
// lock connection's TCP keepalives, which the connection sets to probe after 10 s idle, every 5 s,
// 3 times: the tasks are free again within about 25 s.
std::unique_ptr<RunLocks> OpenRunLocks(std::string_view database_uri);

// The file behind a SQLite URI ("sqlite:PATH", "sqlite:///PATH" or a plain path); empty for a
// server database.
std::string SqliteFileOf(std::string_view uri);

} // namespace tl::host
