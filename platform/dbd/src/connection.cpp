// Opening a connection by URI, and the process-wide connection.
#include "insert_arguments.hpp"
#include "pg_connection.hpp"
#include "sqlite_connection.hpp"
#include "tlplatform/db_connection.hpp"

#include <fmt/format.h>
#include <utility>

namespace tl::db {
namespace {

std::recursive_mutex& ProcessMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::unique_ptr<Connection>& ProcessSlot() {
    static std::unique_ptr<Connection> connection;
    return connection;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

bool IsServerUri(std::string_view uri) {
    return StartsWith(uri, "postgresql://") || StartsWith(uri, "postgres://");
}

std::unique_ptr<Connection> Connection::Open(std::string_view uri, OpenMode mode) {
    if (IsServerUri(uri)) {
        try {
            return std::make_unique<PgConnection>(std::string(uri));
        } catch (const Error& e) {
            throw Error(fmt::format("cannot connect to the PostgreSQL server: {}", e.what()));
        }
    }
    std::string_view path = uri;
    if (StartsWith(path, "sqlite:")) {
        path.remove_prefix(7);
        if (StartsWith(path, "//")) { // sqlite:///abs/path
            path.remove_prefix(2);
        }
    }
    return std::make_unique<SqliteConnection>(std::string(path), mode, std::string(uri));
}

void Connection::QueryStreamed(std::string_view sql, std::span<const TlVariant> params,
                               const QueryStream& stream) {
    stream.ready(std::shared_ptr<ResultSet>(Query(sql, params)));
}

void Connection::InsertOrReplaceRows(std::string_view table, std::span<const std::string_view> names,
                                     std::span<const TlVariant> values) {
    CheckWholeRows(table, names, values);
    for (size_t at = 0; at < values.size(); at += names.size()) {
        InsertOrReplace(table, names, values.subspan(at, names.size()));
    }
}

Connection* ProcessConnection() {
    std::lock_guard lock(ProcessMutex());
    return ProcessSlot().get();
}

void SetProcessConnection(std::unique_ptr<Connection> connection) {
    std::unique_ptr<Connection> old;
    {
        std::lock_guard lock(ProcessMutex());
        old = std::exchange(ProcessSlot(), std::move(connection));
    }
}

std::unique_lock<std::recursive_mutex> LockProcessConnection() {
    return std::unique_lock(ProcessMutex());
}

} // namespace tl::db
