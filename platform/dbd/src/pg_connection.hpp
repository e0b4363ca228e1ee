// The PostgreSQL backend ("postgresql://..." or "postgres://..." URIs; what a URI leaves out comes
// from the PG* environment variables).
//
// Queries bind their values as parameters ($1, $2, ... in place of the names) and read the result in
// binary form, a SELECT through a cursor in batches; a streamed query hands its set over once the
// first batch is in and fills it batch by batch. Rows given to InsertOrReplace (or a batch of them to
// InsertOrReplaceRows) inside a transaction stream into a temporary table of this connection with COPY, and
// are merged into their table by one INSERT ... ON CONFLICT DO UPDATE when another statement or the commit
// comes; a failure anywhere leaves the transaction to be rolled back, so a store is written whole or not at
// all. A row outside a transaction is such a store of its own. Temporary tables belong to the connection: a
// second connection (another thread's) stores on its own without meeting this one's.
//
// A lost connection fails the statement that met the loss with the server's or the network's text,
// and is opened again by the next statement outside a transaction; a transaction it interrupted stays
// failed until it is rolled back.
#pragma once

#include "pg_params.hpp"
#include "pg_session.hpp"
#include "pg_table_writer.hpp"
#include "tlplatform/db_connection.hpp"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tl::db {

class PgConnection final : public Connection {
public:
    explicit PgConnection(std::string uri);
    ~PgConnection() override;
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

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
    std::string_view BackendName() const override { return "postgresql"; }
    const std::string& Uri() const override { return uri_; }

private:
    // Before any statement: a lost connection opened again (outside a transaction) and a store in
    // progress merged.
    void Prepare();
    // Prepare, then the statement to send with its values bound in params_.
    std::string PrepareQuery(std::string_view sql, std::span<const TlVariant> params);
    // Whole rows of one shape into the store in progress (or a store of their own outside a transaction).
    void Store(std::string_view table, std::span<const std::string_view> names,
               std::span<const TlVariant> values);
    void StartStore(pg::TableWriter& writer);
    // Ends the COPY in progress and merges its rows into their table.
    void FinishStore();
    void AbandonStore();
    // After a rollback or a new session: temporary tables are to be made again.
    void ForgetTemporaryTables();
    pg::TableWriter& FindWriter(std::string_view table, std::span<const std::string_view> names);
    int64_t ExecuteStatement(std::string_view sql, std::span<const TlVariant> values, size_t& bound);

    std::string uri_;
    pg::Session session_;
    std::mutex mutex_;
    bool explicit_transaction_ = false;
    pg::PgParams params_;
    std::vector<std::unique_ptr<pg::TableWriter>> writers_;
    pg::TableWriter* last_writer_ = nullptr;
    int next_writer_number_ = 0;
    pg::TableWriter* storing_ = nullptr; // the shape whose COPY is open
    std::string copy_buffer_;
};

} // namespace tl::db
