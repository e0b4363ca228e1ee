#include "pg_connection.hpp"

#include "insert_arguments.hpp"
#include "memory_result_set.hpp"
#include "named_parameters.hpp"
#include "pg_cursor_reader.hpp"
#include "pg_element_filter.hpp"
#include "pg_result_reader.hpp"
#include "pg_union_distinct.hpp"
#include "sql_lexer.hpp"
#include "streamed_set.hpp"

#include <charconv>
#include <cstring>
#include <fmt/format.h>
#include <libpq-fe.h>
#include <utility>

namespace tl::db {
namespace {

// Rows are handed to libpq in pieces of about this size while a store streams.
constexpr size_t kCopyChunkBytes = 1 << 20;
constexpr size_t kWriterCacheLimit = 64;

std::string Excerpt(std::string_view sql) {
    constexpr size_t kLimit = 200;
    return sql.size() <= kLimit ? std::string(sql) : fmt::format("{}...", sql.substr(0, kLimit));
}

int64_t ChangedRows(const pg::Result& result) {
    const char* text = PQcmdTuples(result.get());
    int64_t rows = 0;
    std::from_chars(text, text + std::strlen(text), rows);
    return rows;
}

} // namespace

PgConnection::PgConnection(std::string uri) : uri_(std::move(uri)), session_(uri_) {}

PgConnection::~PgConnection() {
    try {
        AbandonStore();
    } catch (...) {
        // closing the connection discards whatever was left open
    }
}

void PgConnection::ForgetTemporaryTables() {
    for (const auto& writer : writers_) {
        writer->created = false;
    }
}

void PgConnection::Prepare() {
    if (storing_ != nullptr) {
        FinishStore();
        return;
    }
    if (session_.Lost()) {
        if (explicit_transaction_) {
            throw Error("the connection to the database server was lost during a transaction, which is "
                        "undone; roll it back");
        }
        if (session_.Reconnect()) {
            ForgetTemporaryTables();
        }
    }
}

std::string PgConnection::PrepareQuery(std::string_view sql, std::span<const TlVariant> params) {
    Prepare();
    const PositionalSql positional =
        RewriteNamedParameters(pg::DropDistinctInsideUnion(sql), PlaceholderStyle::Dollar);
    params_.Clear();
    for (const TlVariant& value : ValuesToBind(positional, params)) {
        params_.Add(value);
    }
    return pg::RewriteElementFiltersForPg(positional.text, params_);
}

std::unique_ptr<ResultSet> PgConnection::Query(std::string_view sql, std::span<const TlVariant> params) {
    std::lock_guard lock(mutex_);
    const std::string statement = PrepareQuery(sql, params);
    const std::string what = fmt::format("the query failed {}", Excerpt(sql));
    std::unique_ptr<MemoryResultSet> set;
    if (pg::ReadsThroughCursor(statement)) {
        pg::ReadThroughCursor(session_, statement, params_, what,
                              {[&](std::vector<std::string> names) -> MemoryResultSet& {
                                   set = std::make_unique<MemoryResultSet>(std::move(names));
                                   return *set;
                               },
                               {}});
    } else {
        const pg::Result result = session_.ExecParams(statement, params_, true, what);
        set = std::make_unique<MemoryResultSet>(pg::ColumnNames(result.get()));
        pg::AppendRows(result.get(), *set);
    }
    set->Finish();
    return set;
}

void PgConnection::QueryStreamed(std::string_view sql, std::span<const TlVariant> params,
                                 const QueryStream& stream) {
    std::unique_lock lock(mutex_);
    const std::string statement = PrepareQuery(sql, params);
    if (!pg::ReadsThroughCursor(statement)) {
        lock.unlock();
        Connection::QueryStreamed(sql, params, stream);
        return;
    }
    // Each batch goes straight into the published set; the reader has the rows from the first batch on.
    StreamRows(stream, [&](StreamedSet& set) {
        pg::ReadThroughCursor(
            session_, statement, params_, fmt::format("the query failed {}", Excerpt(sql)),
            {[&](std::vector<std::string> names) -> MemoryResultSet& { return set.Start(std::move(names)); },
             [&] { set.RowsAdded(); }});
    });
}

int64_t PgConnection::ExecuteStatement(std::string_view sql, std::span<const TlVariant> values,
                                       size_t& bound) {
    const PositionalSql positional = RewriteNamedParameters(sql, PlaceholderStyle::Dollar);
    if (bound + positional.names.size() > values.size()) {
        throw Error(fmt::format("the SQL text has more parameters than values: {}", Excerpt(sql)));
    }
    params_.Clear();
    for (size_t i = 0; i < positional.names.size(); ++i) {
        params_.Add(values[bound + i]);
    }
    bound += positional.names.size();
    const pg::Result result = session_.ExecParams(positional.text, params_, false,
                                                  fmt::format("the statement failed {}", Excerpt(sql)));
    return ChangedRows(result);
}

int64_t PgConnection::Execute(std::string_view sql, std::span<const TlVariant> params) {
    std::lock_guard lock(mutex_);
    Prepare();
    const PositionalSql whole = RewriteNamedParameters(sql, PlaceholderStyle::Dollar);
    const std::span<const TlVariant> values = ValuesToBind(whole, params);
    int64_t changed = 0;
    size_t bound = 0;
    for (const std::string_view statement : SplitStatements(sql)) {
        changed += ExecuteStatement(statement, values, bound);
    }
    return changed;
}

void PgConnection::Begin() {
    std::lock_guard lock(mutex_);
    if (explicit_transaction_) {
        throw Error("cannot start a transaction within a transaction");
    }
    Prepare();
    session_.Exec("begin", "cannot begin a transaction");
    explicit_transaction_ = true;
}

void PgConnection::Commit() {
    std::lock_guard lock(mutex_);
    if (!explicit_transaction_) {
        throw Error("cannot commit: no transaction is open");
    }
    Prepare();
    const pg::Result result = session_.Exec("commit", "the commit failed");
    // The server answers a commit of a failed transaction with a rollback, not an error.
    if (std::strcmp(PQcmdStatus(result.get()), "COMMIT") != 0) {
        throw Error(
            "the commit failed: an earlier statement of the transaction failed, so the server rolled it "
            "back");
    }
    explicit_transaction_ = false;
}

void PgConnection::Rollback() {
    std::lock_guard lock(mutex_);
    explicit_transaction_ = false;
    ForgetTemporaryTables();
    AbandonStore();
    if (!session_.Lost() && session_.InTransaction()) {
        try {
            session_.Exec("rollback", "the rollback failed");
        } catch (const Error&) {
            if (!session_.Lost()) {
                throw;
            }
            // the server has undone the transaction with the connection
        }
    }
}

pg::TableWriter& PgConnection::FindWriter(std::string_view table, std::span<const std::string_view> names) {
    if (last_writer_ != nullptr && last_writer_->Matches(table, names)) {
        return *last_writer_;
    }
    for (const auto& writer : writers_) {
        if (writer->Matches(table, names)) {
            last_writer_ = writer.get();
            return *writer;
        }
    }
    if (writers_.size() >= kWriterCacheLimit) {
        writers_.clear();
    }
    writers_.push_back(pg::TableWriter::Create(session_, next_writer_number_++, table, names));
    last_writer_ = writers_.back().get();
    return *last_writer_;
}

void PgConnection::StartStore(pg::TableWriter& writer) {
    if (!writer.created) {
        session_.Exec(writer.CreateSql().c_str(), fmt::format("cannot write into {}", writer.Table()));
        writer.created = true;
    }
    session_.Exec(writer.CopySql().c_str(), fmt::format("cannot write into {}", writer.Table()));
    storing_ = &writer;
    copy_buffer_.clear();
    pg::AppendCopyHeader(copy_buffer_);
}

void PgConnection::FinishStore() {
    pg::TableWriter* writer = std::exchange(storing_, nullptr);
    if (writer == nullptr) {
        return;
    }
    const std::string what = fmt::format("cannot write into {}", writer->Table());
    pg::AppendCopyTrailer(copy_buffer_);
    session_.PutCopyData(copy_buffer_, what);
    copy_buffer_.clear();
    session_.Check(session_.EndCopy(nullptr), what);
    pg::Result merged(PQexec(session_.Raw(), writer->MergeSql().c_str()));
    // Rows that repeat a key cannot be merged by one upsert: the last of each is kept instead.
    if (merged != nullptr && pg::SqlState(merged.get()) == "21000" && !writer->DedupMergeSql().empty()) {
        session_.Exec("rollback to savepoint tl_merge", what.c_str());
        merged.reset(PQexec(session_.Raw(), writer->DedupMergeSql().c_str()));
    }
    session_.Check(merged, what);
}

void PgConnection::AbandonStore() {
    if (std::exchange(storing_, nullptr) != nullptr) {
        copy_buffer_.clear();
        session_.EndCopy("the store was abandoned");
    }
}

void PgConnection::InsertOrReplace(std::string_view table, std::span<const std::string_view> names,
                                   std::span<const TlVariant> values) {
    std::lock_guard lock(mutex_);
    CheckOneRow(table, names, values);
    Store(table, names, values);
}

void PgConnection::InsertOrReplaceRows(std::string_view table, std::span<const std::string_view> names,
                                       std::span<const TlVariant> values) {
    std::lock_guard lock(mutex_);
    CheckWholeRows(table, names, values);
    if (!values.empty()) {
        Store(table, names, values);
    }
}

void PgConnection::Store(std::string_view table, std::span<const std::string_view> names,
                         std::span<const TlVariant> values) {
    if (storing_ != nullptr && !storing_->Matches(table, names)) {
        FinishStore();
    }
    if (storing_ == nullptr) {
        Prepare();
    }
    const bool own_transaction = !explicit_transaction_;
    try {
        if (own_transaction) {
            session_.Exec("begin", "cannot begin a transaction");
        }
        if (storing_ == nullptr) {
            StartStore(FindWriter(table, names));
        }
        // The rows are encoded into one buffer, handed to libpq whenever it holds a piece's worth.
        for (size_t at = 0; at < values.size(); at += names.size()) {
            storing_->EncodeRow(values.subspan(at, names.size()), copy_buffer_);
            if (copy_buffer_.size() >= kCopyChunkBytes) {
                session_.PutCopyData(copy_buffer_, fmt::format("cannot write into {}", table));
                copy_buffer_.clear();
            }
        }
        if (own_transaction) {
            FinishStore();
            session_.Exec("commit", fmt::format("cannot write into {}", table));
        }
    } catch (...) {
        if (own_transaction) {
            AbandonStore();
            if (!session_.Lost() && session_.InTransaction()) {
                PQclear(PQexec(session_.Raw(), "rollback"));
            }
            ForgetTemporaryTables();
        }
        throw;
    }
}

} // namespace tl::db
