// The SQLite backend.
#pragma once

#include "date_range_split.hpp"
#include "sqlite_checkpointer.hpp"
#include "sqlite_filter_tables.hpp"
#include "tlplatform/db_connection.hpp"

#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    void QueryStreamed(std::string_view sql, std::span<const TlVariant> params,
                       const QueryStream& stream) override;
    int64_t Execute(std::string_view sql, std::span<const TlVariant> params) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    void InsertOrReplace(std::string_view table, std::span<const std::string_view> names,
                         std::span<const TlVariant> values) override;
    void InsertOrReplaceRows(std::string_view table, std::span<const std::string_view> names,
                             std::span<const TlVariant> values) override;
    void TakeRole(ConnectionRole role) override;
    void ExpectRowsToWrite(int64_t rows) override;
    void Settle() override;
    void ReleaseCachedPages() override;
    std::string_view BackendName() const override { return "sqlite"; }
    const std::string& Uri() const override { return uri_; }

private:
    // The prepared insert of one (table, column names) shape.
    struct InsertShape {
        std::string table;
        std::vector<std::string> names;
        int status_column = -1; // the index of `tvkstatus` among the names
        Statement statement;
        Statement batch; // kBatchRows rows a statement, made at its first use

        bool Matches(std::string_view other_table, std::span<const std::string_view> other_names) const;
    };

    // A prepared query kept for the next time the same text comes.
    struct CachedQuery {
        std::string text; // as prepared: positional markers, filters rewritten
        Statement statement;
        size_t markers = 0;
        uint64_t last_use = 0;
    };

    [[noreturn]] void Fail(std::string_view what) const;
    static int WalCommitted(void* self, sqlite3* db, const char* schema, int frames);
    // A reader's data request over more than one date, as two halves for two connections; none
    // when the request is read whole.
    std::optional<SplitValues> PlanSplit(std::string_view sql, std::span<const TlVariant> params);
    // Whether the metering table is kept in the order of (parnumber, data_date, ...) with no other
    // index, so that a data request reads in date order (looked at once).
    bool DataInDateOrder();
    // The reader's second connection on the same file, opened at its first use.
    SqliteConnection& Helper();
    // The statement text of a query: long element filters read from temporary tables, short ones
    // written as row-value lists.
    std::string QueryText(std::string_view sql);
    CachedQuery& PreparedQuery(const std::string& text, std::string_view sql, size_t markers);
    // Runs the query into `set` (made by `make` from the column names), calling `row_done` after
    // each row; the statement is left reset for its next use.
    template <typename Make, typename RowDone>
    void RunQuery(std::string_view sql, std::span<const TlVariant> params, Make make, RowDone row_done);
    void ExecPlain(const char* sql);
    InsertShape& FindInsertShape(std::string_view table, std::span<const std::string_view> names);
    // Binds the values of rows in order to the statement's markers, runs it once and resets it.
    void WriteRows(const InsertShape& shape, sqlite3_stmt* statement, std::span<const TlVariant> values);

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string uri_;
    // A reader reads long data requests in two halves, the second on `helper_` on a thread of its own.
    bool splits_reads_ = false;
    std::optional<bool> data_in_date_order_;
    std::unique_ptr<SqliteConnection> helper_;
    // A writer's checkpoints, run beside its next transactions.
    std::unique_ptr<SqliteCheckpointer> checkpointer_;
    // A writer gives its page cache back after each commit.
    bool releases_cache_ = false;
    // The writer's page cache as last set, in KiB.
    int64_t writer_cache_kib_ = 0;
    std::mutex mutex_;
    // A run of rows writes one shape after another: the last one used is tried first, with no
    // allocation and no key to build per row.
    std::vector<std::unique_ptr<InsertShape>> insert_shapes_;
    InsertShape* last_insert_shape_ = nullptr;
    std::unique_ptr<SqliteFilterTables> filter_tables_;
    std::vector<CachedQuery> queries_;
    uint64_t query_clock_ = 0;
};

} // namespace tl::db
