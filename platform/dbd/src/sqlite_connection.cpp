#include "sqlite_connection.hpp"

#include "bound_value.hpp"
#include "element_filter.hpp"
#include "insert_arguments.hpp"
#include "memory_result_set.hpp"
#include "named_parameters.hpp"
#include "streamed_set.hpp"
#include "tlplatform/writer_cache.hpp"

#include <algorithm>
#include <filesystem>
#include <fmt/format.h>
#include <span>
#include <sqlite3.h>
#include <thread>

namespace tl::db {
namespace {

// Long enough for a query of the worker thread to finish while the main thread writes settings.
constexpr int kBusyTimeoutMs = 10'000;
constexpr size_t kInsertCacheLimit = 64;
constexpr size_t kQueryCacheLimit = 16;
// Rows a batch statement of InsertOrReplaceRows writes: 9 columns make 576 markers.
constexpr size_t kBatchRows = 64;

std::string Excerpt(std::string_view sql) {
    constexpr size_t kLimit = 200;
    return sql.size() <= kLimit ? std::string(sql) : fmt::format("{}...", sql.substr(0, kLimit));
}

void BindValue(sqlite3_stmt* statement, int index, const BoundValue& value) {
    switch (value.kind) {
    case BoundValue::Kind::Null:
        sqlite3_bind_null(statement, index);
        break;
    case BoundValue::Kind::Integer:
        sqlite3_bind_int64(statement, index, value.integer);
        break;
    case BoundValue::Kind::Real:
        sqlite3_bind_double(statement, index, value.real);
        break;
    case BoundValue::Kind::Text:
        sqlite3_bind_text(statement, index, value.text.data(), static_cast<int>(value.text.size()),
                          SQLITE_STATIC);
        break;
    }
}

// A cached statement in use: its values bound, and left reset with none bound however the caller
// ends, so that the cache hands it out clean next time.
class BoundStatement {
public:
    BoundStatement(sqlite3_stmt* statement, std::span<const TlVariant> values) : statement_(statement) {
        for (size_t i = 0; i < values.size(); ++i) {
            BindValue(statement_, static_cast<int>(i + 1), BindVariant(values[i]));
        }
    }
    ~BoundStatement() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    BoundStatement(const BoundStatement&) = delete;
    BoundStatement& operator=(const BoundStatement&) = delete;

private:
    sqlite3_stmt* statement_;
};

void ReadRow(sqlite3_stmt* statement, MemoryResultSet& set) {
    const int columns = set.ColumnCount();
    for (int c = 0; c < columns; ++c) {
        // One look-up of the cell, then its type and value from it.
        sqlite3_value* value = sqlite3_column_value(statement, c);
        switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            set.AddInteger(c, sqlite3_value_int64(value));
            break;
        case SQLITE_FLOAT:
            set.AddReal(c, sqlite3_value_double(value));
            break;
        case SQLITE_NULL:
            set.AddNull(c);
            break;
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
            set.AddText(c, std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value))));
            break;
        }
        }
    }
    set.FinishRow();
}

} // namespace

void StatementDeleter::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteConnection::SqliteConnection(const std::string& path, OpenMode mode, std::string uri)
    : path_(path), uri_(std::move(uri)) {
    if (path.empty()) {
        throw Error("no database file given");
    }
    if (mode == OpenMode::Existing && path != ":memory:") {
        std::error_code ec;
        const auto status = std::filesystem::status(path, ec);
        if (!std::filesystem::exists(status)) {
            throw Error(fmt::format("database file '{}' does not exist", path));
        }
        if (std::filesystem::is_directory(status)) {
            throw Error(fmt::format("'{}' is a directory, not a database file", path));
        }
    }
    // The connection's own mutex serialises every use of the handle and no statement outlives a
    // call, so SQLite's per-call locking would only repeat it.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (mode == OpenMode::CreateIfMissing ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    try {
        if (rc != SQLITE_OK) {
            throw Error(db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        }
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        // The first statement reads the file, so a file that is no database fails here.
        ExecPlain("pragma journal_mode = wal");
        ExecPlain("pragma synchronous = normal");
        ExecPlain("pragma cache_size = -65536");
        filter_tables_ = std::make_unique<SqliteFilterTables>(db_);
    } catch (const Error& e) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw Error(fmt::format("cannot open database '{}': {}", path, e.what()));
    }
}

SqliteConnection::~SqliteConnection() {
    checkpointer_.reset(); // the checkpoint under way done first
    helper_.reset();
    insert_shapes_.clear();
    queries_.clear();
    sqlite3_close_v2(db_);
}

void SqliteConnection::Fail(std::string_view what) const {
    throw Error(fmt::format("{}: {}", what, sqlite3_errmsg(db_)));
}

void SqliteConnection::ExecPlain(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw Error(fmt::format("{} ({})", sqlite3_errmsg(db_), sql));
    }
}

void SqliteConnection::ReleaseCachedPages() {
    std::lock_guard lock(mutex_);
    sqlite3_db_release_memory(db_);
}

void SqliteConnection::TakeRole(ConnectionRole role) {
    std::lock_guard lock(mutex_);
    if (role == ConnectionRole::kReader) {
        // A reader walks ranges of the data table once: pages it keeps are rarely read again, and
        // a larger cache was measured no faster; 512 KiB was slower on a month of 10,000 pairs.
        ExecPlain("pragma cache_size = -2048");
        // A private in-memory database has no second connection to read it.
        splits_reads_ = path_ != ":memory:";
    }
    if (role == ConnectionRole::kWriter && path_ != ":memory:") {
        // In place of the checkpoint that SQLite runs in the commit itself.
        checkpointer_ = std::make_unique<SqliteCheckpointer>(path_);
        sqlite3_wal_hook(db_, &SqliteConnection::WalCommitted, this);
        releases_cache_ = true;
    }
}

void SqliteConnection::ExpectRowsToWrite(int64_t rows) {
    std::lock_guard lock(mutex_);
    if (!releases_cache_) {
        return;
    }
    const int64_t kib = WriterCacheKib(rows);
    if (kib != writer_cache_kib_) {
        ExecPlain(fmt::format("pragma cache_size = -{}", kib).c_str());
        writer_cache_kib_ = kib;
    }
}

int SqliteConnection::WalCommitted(void* self, sqlite3* /*db*/, const char* /*schema*/, int frames) {
    static_cast<SqliteConnection*>(self)->checkpointer_->Committed(frames);
    return SQLITE_OK;
}

void SqliteConnection::Settle() {
    if (checkpointer_ == nullptr) {
        return;
    }
    const std::string error = checkpointer_->Settle();
    if (!error.empty()) {
        throw Error(error);
    }
}

std::string SqliteConnection::QueryText(std::string_view sql) {
    return RewriteElementFilters(sql, [this](const ElementFilter& filter, std::string& out) {
        if (filter.elements.size() < SqliteFilterTables::kMinElements) {
            RenderRowValueList(filter, out);
            return;
        }
        RenderTableLookup(filter, filter_tables_->TableFor(filter.elements), out);
    });
}

SqliteConnection::CachedQuery& SqliteConnection::PreparedQuery(const std::string& text, std::string_view sql,
                                                               size_t markers) {
    ++query_clock_;
    // The same text can come from ":name" markers or from bare ones; only the first is accepted.
    for (CachedQuery& q : queries_) {
        if (q.text == text && q.markers == markers) {
            q.last_use = query_clock_;
            return q;
        }
    }
    const char* const end = text.data() + text.size();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.data(), static_cast<int>(text.size()), &raw, &tail) != SQLITE_OK) {
        Fail(fmt::format("cannot prepare the query {}", Excerpt(sql)));
    }
    Statement statement(raw);
    if (!statement) {
        throw Error("the SQL text holds no statement");
    }
    sqlite3_stmt* rest = nullptr;
    const int rest_rc = sqlite3_prepare_v2(db_, tail, static_cast<int>(end - tail), &rest, nullptr);
    Statement rest_statement(rest);
    if (rest_rc != SQLITE_OK || rest_statement) {
        throw Error(fmt::format("a query is one statement: {}", Excerpt(sql)));
    }
    if (sqlite3_bind_parameter_count(statement.get()) != static_cast<int>(markers)) {
        throw Error(fmt::format("the SQL text holds parameter markers other than :name: {}", Excerpt(sql)));
    }
    if (queries_.size() >= kQueryCacheLimit) {
        queries_.erase(std::min_element(queries_.begin(), queries_.end(), [](const auto& a, const auto& b) {
            return a.last_use < b.last_use;
        }));
    }
    queries_.push_back({text, std::move(statement), markers, query_clock_});
    return queries_.back();
}

template <typename Make, typename RowDone>
void SqliteConnection::RunQuery(std::string_view sql, std::span<const TlVariant> params, Make make,
                                RowDone row_done) {
    const PositionalSql positional = RewriteNamedParameters(QueryText(sql), PlaceholderStyle::Question);
    const auto values = ValuesToBind(positional, params);
    sqlite3_stmt* statement = PreparedQuery(positional.text, sql, positional.names.size()).statement.get();
    const BoundStatement bound(statement, values);

    const int columns = sqlite3_column_count(statement);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const char* name = sqlite3_column_name(statement, c);
        names.emplace_back(name != nullptr ? name : "");
    }
    MemoryResultSet& set = make(std::move(names));
    for (;;) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            ReadRow(statement, set);
            row_done();
        } else if (rc == SQLITE_DONE) {
            break;
        } else {
            Fail(fmt::format("the query failed {}", Excerpt(sql)));
        }
    }
}

std::unique_ptr<ResultSet> SqliteConnection::Query(std::string_view sql, std::span<const TlVariant> params) {
    std::lock_guard lock(mutex_);
    std::unique_ptr<MemoryResultSet> set;
    RunQuery(
        sql, params,
        [&](std::vector<std::string> names) -> MemoryResultSet& {
            set = std::make_unique<MemoryResultSet>(std::move(names));
            return *set;
        },
        [] {});
    set->Finish();
    return set;
}

bool SqliteConnection::DataInDateOrder() {
    if (!data_in_date_order_.has_value()) {
        constexpr const char* kLayout =
            "select (select wr from pragma_table_list where schema = 'main' and name = 'data'), "
            "(select count(*) from pragma_index_list('data') where origin <> 'pk'), "
            "(select group_concat(name, ',') from (select name from pragma_index_info((select name from "
            "pragma_index_list('data') where origin = 'pk')) where seqno < 2 order by seqno))";
        sqlite3_stmt* raw = nullptr;
        bool in_order = false;
        if (sqlite3_prepare_v2(db_, kLayout, -1, &raw, nullptr) == SQLITE_OK) {
            const Statement statement(raw);
            if (sqlite3_step(raw) == SQLITE_ROW) {
                const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(raw, 2));
                in_order = sqlite3_column_int(raw, 0) == 1 && sqlite3_column_int(raw, 1) == 0 &&
                           key != nullptr && std::string_view(key) == "parnumber,data_date";
            }
        }
        data_in_date_order_ = in_order;
    }
    return *data_in_date_order_;
}

std::optional<SplitValues> SqliteConnection::PlanSplit(std::string_view sql,
                                                       std::span<const TlVariant> params) {
    if (!splits_reads_) {
        return std::nullopt;
    }
    const std::optional<DateRangeRequest> request = FindDateRangeRequest(sql);
    if (!request || !DataInDateOrder()) {
        return std::nullopt;
    }
    // The first and last date of the parameter within the range: two seeks in the table's key. The
    // halves meet at the middle date, which halves the rows of evenly stamped data.
    const PositionalSql positional = RewriteNamedParameters(request->range_sql, PlaceholderStyle::Question);
    const std::vector<TlVariant> range_values = RangeValues(params);
    const auto values = ValuesToBind(positional, range_values);
    sqlite3_stmt* statement =
        PreparedQuery(positional.text, request->range_sql, positional.names.size()).statement.get();
    const BoundStatement bound(statement, values);
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) {
        if (rc != SQLITE_DONE) {
            Fail(fmt::format("the query failed {}", Excerpt(sql)));
        }
        return std::nullopt;
    }
    const auto is_number = [&](int column) {
        const int type = sqlite3_column_type(statement, column);
        return type == SQLITE_FLOAT || type == SQLITE_INTEGER;
    };
    if (!is_number(0) || !is_number(1)) {
        return std::nullopt; // no rows, or dates that are no numbers
    }
    const double first = sqlite3_column_double(statement, 0);
    const double last = sqlite3_column_double(statement, 1);
    if (!(last > first)) {
        return std::nullopt; // one date: nothing to halve
    }
    return SplitAt(*request, params, first + (last - first) / 2);
}

SqliteConnection& SqliteConnection::Helper() {
    if (helper_ == nullptr) {
        auto helper = std::make_unique<SqliteConnection>(path_, OpenMode::Existing, uri_);
        // It reads the later half of a range once, beside the reader's own cache.
        helper->ExecPlain("pragma cache_size = -2048");
        helper_ = std::move(helper);
    }
    return *helper_;
}

void SqliteConnection::QueryStreamed(std::string_view sql, std::span<const TlVariant> params,
                                     const QueryStream& stream) {
    std::lock_guard lock(mutex_);
    const std::optional<SplitValues> halves =
        stream.second_core ? PlanSplit(sql, params) : std::optional<SplitValues>();
    // The second half, read on the helper connection while this one reads the first; it is
    // stopped at once and waited for when the first half fails.
    struct SecondHalf {
        SqliteConnection* helper = nullptr;
        std::thread thread;
        std::unique_ptr<MemoryResultSet> rows;
        std::string error;
        bool failed = false;

        // The rows, once read; throws Error with the helper's text when they could not be.
        std::unique_ptr<MemoryResultSet> Wait() {
            thread.join();
            if (failed) {
                throw Error(error);
            }
            return std::move(rows);
        }
        ~SecondHalf() {
            if (thread.joinable()) {
                sqlite3_interrupt(helper->db_);
                thread.join();
            }
        }
    } second;
    StreamRows(stream, [&](StreamedSet& set) {
        if (halves.has_value()) {
            second.helper = &Helper();
            second.thread = std::thread([&second, sql, &values = halves->second] {
                SqliteConnection& helper = *second.helper;
                try {
                    std::lock_guard helper_lock(helper.mutex_);
                    helper.RunQuery(
                        sql, values,
                        [&](std::vector<std::string> names) -> MemoryResultSet& {
                            second.rows = std::make_unique<MemoryResultSet>(std::move(names));
                            return *second.rows;
                        },
                        [] {});
                } catch (const std::exception& e) {
                    second.error = e.what();
                    second.failed = true;
                }
            });
        }
        MemoryResultSet* rows = nullptr;
        RunQuery(
            sql, halves.has_value() ? std::span<const TlVariant>(halves->first) : params,
            [&](std::vector<std::string> names) -> MemoryResultSet& {
                rows = &set.Start(std::move(names));
                return *rows;
            },
            [&] { set.RowsAdded(); });
        if (halves.has_value()) {
            rows->Append(std::move(*second.Wait()));
            set.RowsAdded();
        }
    });
}

int64_t SqliteConnection::Execute(std::string_view sql, std::span<const TlVariant> params) {
    std::lock_guard lock(mutex_);
    const PositionalSql positional = RewriteNamedParameters(sql, PlaceholderStyle::Question);
    const auto values = ValuesToBind(positional, params);
    const int64_t changes_before = sqlite3_total_changes64(db_);
    const char* next = positional.text.data();
    const char* const end = next + positional.text.size();
    size_t bound = 0;
    while (next < end) {
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_, next, static_cast<int>(end - next), &raw, &next) != SQLITE_OK) {
            Fail(fmt::format("cannot prepare the statement {}", Excerpt(sql)));
        }
        Statement statement(raw);
        if (!statement) {
            break; // only blanks or comments were left
        }
        const auto count = static_cast<size_t>(sqlite3_bind_parameter_count(statement.get()));
        if (bound + count > positional.names.size()) {
            throw Error(
                fmt::format("the SQL text holds parameter markers other than :name: {}", Excerpt(sql)));
        }
        for (size_t i = 0; i < count; ++i) {
            BindValue(statement.get(), static_cast<int>(i + 1), BindVariant(values[bound + i]));
        }
        bound += count;
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(statement.get());
        }
        if (rc != SQLITE_DONE) {
            Fail(fmt::format("the statement failed {}", Excerpt(sql)));
        }
    }
    if (bound != positional.names.size()) {
        throw Error(fmt::format("the SQL text holds parameter markers other than :name: {}", Excerpt(sql)));
    }
    return sqlite3_total_changes64(db_) - changes_before;
}

void SqliteConnection::Begin() {
    std::lock_guard lock(mutex_);
    ExecPlain("begin immediate");
}

void SqliteConnection::Commit() {
    std::lock_guard lock(mutex_);
    ExecPlain("commit");
    if (releases_cache_) {
        // The next store writes another parameter's range: the pages of this one are not read again.
        sqlite3_db_release_memory(db_);
    }
}

void SqliteConnection::Rollback() {
    std::lock_guard lock(mutex_);
    if (sqlite3_get_autocommit(db_) == 0) {
        ExecPlain("rollback");
    }
}

bool SqliteConnection::InsertShape::Matches(std::string_view other_table,
                                            std::span<const std::string_view> other_names) const {
    if (other_table != table || other_names.size() != names.size()) {
        return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (other_names[i] != names[i]) {
            return false;
        }
    }
    return true;
}

SqliteConnection::InsertShape& SqliteConnection::FindInsertShape(std::string_view table,
                                                                 std::span<const std::string_view> names) {
    if (last_insert_shape_ != nullptr && last_insert_shape_->Matches(table, names)) {
        return *last_insert_shape_;
    }
    for (const auto& shape : insert_shapes_) {
        if (shape->Matches(table, names)) {
            last_insert_shape_ = shape.get();
            return *shape;
        }
    }
    if (!IsPlainIdentifier(table)) {
        throw Error(fmt::format("'{}' is not a valid table name", table));
    }
    for (const auto name : names) {
        if (!IsPlainIdentifier(name)) {
            throw Error(fmt::format("'{}' is not a valid column name", name));
        }
    }
    std::string markers = "?";
    for (size_t i = 1; i < names.size(); ++i) {
        markers += ", ?";
    }
    const std::string text =
        fmt::format("insert or replace into {} ({}) values ({})", table, fmt::join(names, ", "), markers);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &raw, nullptr) != SQLITE_OK) {
        Fail(fmt::format("cannot write into {}", table));
    }
    auto shape = std::make_unique<InsertShape>();
    shape->statement.reset(raw);
    shape->table = table;
    shape->names.assign(names.begin(), names.end());
    for (size_t i = 0; i < names.size(); ++i) {
        if (IsStatusColumn(names[i])) {
            shape->status_column = static_cast<int>(i);
        }
    }
    if (insert_shapes_.size() >= kInsertCacheLimit) {
        insert_shapes_.clear();
    }
    insert_shapes_.push_back(std::move(shape));
    last_insert_shape_ = insert_shapes_.back().get();
    return *last_insert_shape_;
}

void SqliteConnection::WriteRows(const InsertShape& shape, sqlite3_stmt* statement,
                                 std::span<const TlVariant> values) {
    // Every marker is bound again for each use, so the statement needs no clearing; it is left
    // reset after every use, a failed one included.
    const size_t columns = shape.names.size();
    for (size_t i = 0; i < values.size(); ++i) {
        const int column = static_cast<int>(i % columns);
        BindValue(statement, static_cast<int>(i + 1),
                  column == shape.status_column ? BindStatusWord(values[i]) : BindVariant(values[i]));
    }
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(db_);
        sqlite3_reset(statement);
        throw Error(fmt::format("cannot write into {}: {}", shape.table, message));
    }
    sqlite3_reset(statement);
}

void SqliteConnection::InsertOrReplace(std::string_view table, std::span<const std::string_view> names,
                                       std::span<const TlVariant> values) {
    std::lock_guard lock(mutex_);
    CheckOneRow(table, names, values);
    const InsertShape& shape = FindInsertShape(table, names);
    WriteRows(shape, shape.statement.get(), values);
}

void SqliteConnection::InsertOrReplaceRows(std::string_view table, std::span<const std::string_view> names,
                                           std::span<const TlVariant> values) {
    std::lock_guard lock(mutex_);
    CheckWholeRows(table, names, values);
    InsertShape& shape = FindInsertShape(table, names);
    const size_t batch = kBatchRows * names.size();
    size_t at = 0;
    if (values.size() >= batch && !shape.batch) {
        std::string rows =
            fmt::format("({})", fmt::join(std::vector<std::string_view>(names.size(), "?"), ", "));
        std::string text = fmt::format("insert or replace into {} ({}) values {}", shape.table,
                                       fmt::join(shape.names, ", "), rows);
        for (size_t r = 1; r < kBatchRows; ++r) {
            text += ", ";
            text += rows;
        }
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &raw, nullptr) !=
            SQLITE_OK) {
            Fail(fmt::format("cannot write into {}", table));
        }
        shape.batch.reset(raw);
    }
    for (; values.size() - at >= batch; at += batch) {
        WriteRows(shape, shape.batch.get(), values.subspan(at, batch));
    }
    for (; at < values.size(); at += names.size()) {
        WriteRows(shape, shape.statement.get(), values.subspan(at, names.size()));
    }
}

} // namespace tl::db
