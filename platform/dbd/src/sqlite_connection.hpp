// The SQLite backend.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace tl::db {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

class SqliteConnection final : public Connection {
public:
    // `path` is the file (or ":memory:"); `uri` is kept as the connection's name.
    SqliteConnection(const std::string& path, OpenMode mode, std::string uri);
    ~SqliteConnection() override;
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    std::unique_ptr<ResultSet> Query(std::string_view sql, std::span<const TlVariant> params) override;
    int64_t Execute(std::string_view sql, std::span<const TlVariant> params) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    void InsertOrReplace(std::string_view table, std::span<const std::string_view> names,
                         std::span<const TlVariant> values) override;
    std::string_view BackendName() const override { return "sqlite"; }
    const std::string& Uri() const override { return uri_; }

private:
    [[noreturn]] void Fail(std::string_view what) const;
    void ExecPlain(const char* sql);
    sqlite3_stmt* PrepareInsert(std::string_view table, std::span<const std::string_view> names);

    sqlite3* db_ = nullptr;
    std::string uri_;
    std::mutex mutex_;
    std::unordered_map<std::string, Statement> insert_cache_;
};

} // namespace tl::db
