// Task locks of a SQLite database: one byte per task in a lock file beside the database, locked
// with fcntl. The byte's offset is a hash of the task key; the kernel releases the locks of a
// process when it ends, however it ends. On a PostgreSQL server the same hash is the key of a
// session advisory lock, held on a connection of the locks' own, which the server releases when
// the connection ends, however the host ends.
#include "tlhost/run_lock.hpp"

#include "tlcommon/text_codec.hpp"
#include "tlhost/host_error.hpp"
#include "tlplatform/db_connection.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fmt/format.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace tl::host {
namespace {

// Letter case folded in Windows-1251, where every letter of a task key is one byte.
std::string FoldedKey(std::string_view key) {
    std::string bytes = Utf8ToCp1251(key);
    for (char& c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF)) {
            c = static_cast<char>(b + 0x20);
        } else if (b == 0xA8) { // Ё
            c = static_cast<char>(0xB8);
        }
    }
    return bytes;
}

// FNV-1a over the folded key, kept below 2^62 so the offset is a valid off_t.
off_t LockOffset(std::string_view key) {
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : FoldedKey(key)) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    return static_cast<off_t>(hash & ((uint64_t{1} << 62) - 1));
}

template <typename Key>
void RefuseIfHeldHere(const std::set<Key>& held, Key key, std::string_view task_key) {
    if (held.contains(key)) {
        throw TaskAlreadyRunning(fmt::format("the task {} is already running in this tlhost", task_key));
    }
}

struct flock ByteAt(off_t offset, short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = offset;
    range.l_len = 1;
    return range;
}

// The open lock file and the locks this process holds in it, shared by the locks handed out so
// that they outlive nothing they need.
class LockFile {
public:
    using Key = off_t;

    static Key KeyOf(std::string_view task_key) { return LockOffset(task_key); }

    // Made with the database file's permissions, as SQLite makes its journal files, so that every
    // user who may write the database may lock its tasks.
    LockFile(std::string path, const std::string& database) : path_(std::move(path)) {
        struct stat owner {};
        const mode_t mode = stat(database.c_str(), &owner) == 0 ? (owner.st_mode & 0666) : 0644;
        fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ >= 0) {
            fchmod(fd_, mode); // whatever the umask took away
        } else if (errno == EEXIST) {
            fd_ = open(path_.c_str(), O_RDWR | O_CLOEXEC);
        }
        if (fd_ < 0) {
            throw DatabaseError(
                fmt::format("cannot open the task lock file {}: {}", path_, std::strerror(errno)));
        }
    }
    // Closing the file drops every lock this process holds on it.
    ~LockFile() { close(fd_); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    void Lock(std::string_view task_key, off_t offset) {
        std::lock_guard guard(mutex_);
        // fcntl locks never conflict within one process: this process's own locks are kept here.
        RefuseIfHeldHere(held_, offset, task_key);
        struct flock range = ByteAt(offset, F_WRLCK);
        if (fcntl(fd_, F_SETLK, &range) != 0) {
            const int error = errno;
            if (error != EACCES && error != EAGAIN) {
                throw DatabaseError(
                    fmt::format("cannot lock the task {} in {}: {}", task_key, path_, std::strerror(error)));
            }
            struct flock holder = ByteAt(offset, F_WRLCK);
            const bool known = fcntl(fd_, F_GETLK, &holder) == 0 && holder.l_type != F_UNLCK;
            throw TaskAlreadyRunning(
                fmt::format("the task {} is already running on this database{}; it is not started "
                            "twice (lock file {})",
                            task_key, known ? fmt::format(" (tlhost process {})", holder.l_pid) : "", path_));
        }
        held_.insert(offset);
    }

    void Unlock(off_t offset) {
        std::lock_guard guard(mutex_);
        struct flock range = ByteAt(offset, F_UNLCK);
        fcntl(fd_, F_SETLK, &range);
        held_.erase(offset);
    }

private:
    std::string path_;
    int fd_ = -1;
    std::mutex mutex_;
    std::set<off_t> held_;
};

// The advisory locks this process holds on its own connection to the server.
class ServerLockSession {
public:
    using Key = int64_t;

    explicit ServerLockSession(std::string_view uri) {
        try {
            connection_ = tl::db::Connection::OpenExisting(uri);
            // The server drops the session of a host whose machine or network died, and with it
            // the locks, once these probes go unanswered (ignored on a local socket, whose host
            // cannot die apart from the server's).
            connection_->Execute("set tcp_keepalives_idle = 10; set tcp_keepalives_interval = 5; "
                                 "set tcp_keepalives_count = 3; set tcp_user_timeout = 25000");
            // Advisory locks belong to the server's database, not to a schema: the tasks of
            // metering databases kept as schemas of one database are told apart by the schema.
            schema_ = connection_->Query("select current_schema()", {})->AsText(0);
        } catch (const tl::db::Error& e) {
            throw DatabaseError(
                fmt::format("cannot open the connection that holds the task locks: {}", e.what()));
        }
    }

    Key KeyOf(std::string_view task_key) const { return LockOffset(schema_ + '.' + std::string(task_key)); }

    void Lock(std::string_view task_key, int64_t key) {
        std::lock_guard guard(mutex_);
        // Session locks stack within one session: this process's own locks are kept here.
        RefuseIfHeldHere(held_, key, task_key);
        if (!Ask("select pg_try_advisory_lock(:key)", key, task_key)) {
            throw TaskAlreadyRunning(
                fmt::format("the task {} is already running on this database (another host holds "
                            "its advisory lock {}); it is not started twice",
                            task_key, key));
        }
        held_.insert(key);
    }

    void Unlock(int64_t key) {
        std::lock_guard guard(mutex_);
        held_.erase(key);
        try {
            Ask("select pg_advisory_unlock(:key)", key, "");
        } catch (const std::exception&) {
            // a lost connection has released it already
        }
    }

private:
    bool Ask(const char* sql, int64_t key, std::string_view task_key) {
        const TlVariant value{TL_VT_INT64, {.i64 = key}};
        try {
            return connection_->Query(sql, {&value, 1})->AsInteger(0) != 0;
        } catch (const tl::db::Error& e) {
            throw DatabaseError(fmt::format("cannot lock the task {}: {}", task_key, e.what()));
        }
    }

    std::unique_ptr<tl::db::Connection> connection_;
    std::string schema_;
    std::mutex mutex_;
    std::set<int64_t> held_;
};

// A task's lock, handed back to its holder (the lock file or the server session) when the run ends.
template <typename Holder>
class HeldLock : public RunLock {
public:
    HeldLock(std::shared_ptr<Holder> holder, typename Holder::Key key)
        : holder_(std::move(holder)), key_(key) {}
    ~HeldLock() override { holder_->Unlock(key_); }

private:
    std::shared_ptr<Holder> holder_;
    typename Holder::Key key_;
};

// The task locks of one holder, each keyed by the hash of its task key.
template <typename Holder>
class HolderLocks : public RunLocks {
public:
    explicit HolderLocks(std::shared_ptr<Holder> holder) : holder_(std::move(holder)) {}

    std::unique_ptr<RunLock> Acquire(std::string_view task_key) override {
        const typename Holder::Key key = holder_->KeyOf(task_key);
        holder_->Lock(task_key, key);
        return std::make_unique<HeldLock<Holder>>(holder_, key);
    }

private:
    std::shared_ptr<Holder> holder_;
};

class NoLocks : public RunLocks {
public:
    std::unique_ptr<RunLock> Acquire(std::string_view) override { return std::make_unique<RunLock>(); }
};

} // namespace

std::string SqliteFileOf(std::string_view uri) {
    if (uri.starts_with("postgresql://") || uri.starts_with("postgres://")) {
        return {};
    }
    if (uri.starts_with("sqlite:")) {
        uri.remove_prefix(7);
        if (uri.starts_with("//")) {
            uri.remove_prefix(2);
        }
    }
    return std::string(uri);
}

std::unique_ptr<RunLocks> OpenRunLocks(std::string_view database_uri) {
    if (tl::db::IsServerUri(database_uri)) {
        return std::make_unique<HolderLocks<ServerLockSession>>(
            std::make_shared<ServerLockSession>(database_uri));
    }
    const std::string file = SqliteFileOf(database_uri);
    // A private in-memory database has no other host.
    if (file.empty() || file == ":memory:") {
        return std::make_unique<NoLocks>();
    }
    return std::make_unique<HolderLocks<LockFile>>(std::make_shared<LockFile>(file + "-tlhost.lock", file));
}

} // namespace tl::host
