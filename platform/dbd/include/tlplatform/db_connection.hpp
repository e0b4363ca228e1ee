// C++ side of the database library, for the host and the platform's own components.
//
// Backends: SQLite ("sqlite:PATH" or a plain path; ":memory:" for a private in-memory database) and
// PostgreSQL ("postgresql://user@host:port/database?options", also "postgres://"; what the URI
// leaves out comes from the PG* environment variables, so "postgresql://" alone uses them all; the
// database must exist). The PostgreSQL backend is described in pg_connection.hpp: the same schema,
// the same SQL texts, stores streamed with COPY and merged in one statement. Every SQLite
// connection runs in WAL mode with a busy timeout of ten seconds, so that a worker thread with its
// own connection can read while the main thread writes settings. The log is flushed to disk only at
// checkpoints (synchronous = normal), not at every commit: the database stays consistent whatever
// happens, and a crash of the process loses nothing committed, but a power failure or an OS crash
// may undo the last commits (a calculation pass to run again, a setting to save again). Each
// connection caches up to 64 MiB of pages, so that a long transaction of result rows finds its
// index pages in memory.
//
// SQL texts use named parameters (":sdt"); the k-th occurrence of a name in the text is bound to the
// k-th value, whatever the name. A text without parameters ignores the values given with it (the
// driver passes the single value 0); otherwise the counts must match. Text inside quotes and
// comments and "::" casts are left alone.
//
// Values bind as: TL_VT_DATETIME as a real (days since 30.12.1899), INT32/INT64/BOOL as integers,
// DOUBLE as a real, STRING as UTF-8 text, NULL as null (on PostgreSQL: bigint, double precision,
// text, and a null of the type its place asks for).
//
// Every failure, a lost connection included, is thrown as Error with the database's own text: a
// query never answers a failure with an empty set.
#pragma once

#include "tlosses/abi.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#define TL_DB_CXX_API __attribute__((visibility("default")))

namespace tl::db {

class TL_DB_CXX_API Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A result set read completely into memory when the query ran: compact columns, no allocation per
// row or per numeric cell. It is a TlResultSet, so it can be handed across the C ABI as it is, and
// DBFreeDataSet (or delete) frees it.
//
// Values are those of the current row. A null value, a field index of -1 and a cursor past the
// last row all read as 0 (empty text). Integers and reals convert into each other (reals round to
// the nearest integer, saturating at the 32-bit limits); text reads as a number when it is one
// ("12", "1.5", "1,5"), as a date-time also when it is "yyyy-mm-dd[ hh:nn[:ss[.zzz]]]" or
// "dd.mm.yyyy[ hh:nn[:ss[.zzz]]]", and as 0 otherwise.
class TL_DB_CXX_API ResultSet : public TlResultSet {
public:
    virtual ~ResultSet() = default;
    virtual int32_t RowCount() const = 0;
    virtual int32_t ColumnCount() const = 0;
    virtual std::string ColumnName(int32_t column) const = 0;

    // Index of the field, names compared without regard to ASCII case; -1 when absent.
    virtual int32_t FieldIndex(std::string_view name) const = 0;
    virtual double AsDateTime(int32_t field) const = 0;
    virtual double AsDouble(int32_t field) const = 0;
    virtual int32_t AsInteger(int32_t field) const = 0;
    virtual int64_t AsInt64(int32_t field) const = 0;
    // Text as stored, integers in decimal, reals in their shortest exact form, null as "".
    virtual std::string AsText(int32_t field) const = 0;
    virtual bool IsNull(int32_t field) const = 0;
    virtual bool IsEmpty() const = 0;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual bool Eof() const = 0;
    // The `tvkstatus` column of the current row as a 64-bit word; 0 when absent or null.
    virtual int64_t StatusWord() const = 0;
};

// What a connection is used for. The host runs two connections on one database at once, each on a
// thread of its own: a reader that answers the driver's queries and a writer that stores the
// records the driver hands over, so that one pass is written while the next is read. A reader
// must not wait for the writer's open transaction (SQLite: WAL; PostgreSQL: MVCC does this).
enum class ConnectionRole {
    kGeneral, // settings, dialogs, commands: whatever comes
    kReader,  // long range reads, one after another: little page cache is worth keeping
    kWriter,  // large write transactions: room for the index pages they touch
};

// How a streamed query hands its set over (Connection::QueryStreamed).
struct QueryStream {
    // Called once, on the thread that runs the query, with the set as soon as its first rows can be
    // read (at the latest when the last row is read). The set then fills on while another thread
    // reads it: a reader that reaches rows not yet read waits for them, and sees the end of the set
    // once the last row is in.
    std::function<void(std::shared_ptr<ResultSet>)> ready;
    // Called when the query fails after `ready`, with the database's text, before a reader waiting
    // for rows sees the set end; QueryStreamed then throws Error.
    std::function<void(std::string_view error)> failing;
    // Whether the query may take a second core: a SQLite reader then reads a long data request on
    // two connections at once. The host allows it when nothing else of its own runs beside.
    bool second_core = true;
};

enum class OpenMode {
    CreateIfMissing, // a new, empty database file is created (then InitSchema it)
    Existing,        // a missing database file is an error with a clear text
};

class TL_DB_CXX_API Connection {
public:
    virtual ~Connection() = default;

    // Throws Error with a clear text when the database cannot be opened.
    static std::unique_ptr<Connection> Open(std::string_view uri, OpenMode mode = OpenMode::CreateIfMissing);
    static std::unique_ptr<Connection> OpenExisting(std::string_view uri) {
        return Open(uri, OpenMode::Existing);
    }

    // Runs one query and reads its whole result into a compact set (a backend fills a
    // MemoryResultSet and calls its Finish). An element filter of the driver's data requests
    // ("((object = 5 and objtype = 99 and item in (1, 2)) or ...)") in a WHERE clause runs as an
    // equivalent lookup, so that filters of any number of elements are accepted and cost one lookup
    // per row. A backend should not prepare a statement as long as a filter of thousands of
    // elements: SQLite keeps the elements of a long filter in a temporary table of the connection
    // (filled again only when the elements change) and joins with it, and reuses the statement
    // when the same query comes again; a PostgreSQL backend may bind the elements as arrays.
    virtual std::unique_ptr<ResultSet> Query(std::string_view sql, std::span<const TlVariant> params) = 0;
    // The same query with its rows handed over while they are read, so that the reader works on
    // the first rows while the database reads the others. Returns once every row is read; throws
    // Error as Query does (`ready` not called when the query fails before its first rows). The
    // default runs Query and hands the whole set over. A backend that reads in batches (SQLite row
    // by row, PostgreSQL through a cursor) fills a MemoryResultSet published with StartPublishing,
    // calls `ready` after the first chunk, then `failing` and Abort, or Finish, at the end.
    virtual void QueryStreamed(std::string_view sql, std::span<const TlVariant> params,
                               const QueryStream& stream);
    // Runs one statement or several separated by ";"; the values are bound across them in order of
    // appearance. Returns the number of rows the statements inserted, changed or deleted.
    virtual int64_t Execute(std::string_view sql, std::span<const TlVariant> params = {}) = 0;

    // A write transaction (it takes the write lock at once, waiting out the busy timeout).
    virtual void Begin() = 0;
    virtual void Commit() = 0;
    // Does nothing when no transaction is open.
    virtual void Rollback() = 0;

    // Insert or replace one row; names are column names (letters, digits and "_"). Prepared
    // statements are cached per (table, names) so that a long run of rows with the same shape costs
    // one prepare and no allocation per row. A DOUBLE value for the column `tvkstatus` carries the 64-bit
    // status word in its eight bytes, as the driver hands result rows over; it is stored as that integer.
    virtual void InsertOrReplace(std::string_view table, std::span<const std::string_view> names,
                                 std::span<const TlVariant> values) = 0;
    // Several rows of one shape: `values` holds names.size() values per row, row after row. The
    // default inserts them one by one; SQLite writes them a batch of rows per statement, so that
    // rows in key order are appended without a search from the root for each; PostgreSQL encodes
    // them all into its COPY stream.
    virtual void InsertOrReplaceRows(std::string_view table, std::span<const std::string_view> names,
                                     std::span<const TlVariant> values);

    // Tunes the connection for its use; called once, right after opening, before any statement of
    // the user. The default leaves the connection as opened. SQLite: a reader keeps a 2 MiB page
    // cache instead of 64 MiB. A PostgreSQL backend may, for instance, make a reader's sessions
    // read-only or give a writer a larger work memory.
    virtual void TakeRole(ConnectionRole role) { (void)role; }
    // Waits for the work a writer leaves running after its commits, the rows being safe already
    // (SQLite: the copy of the log into the database file); throws Error when some of it failed.
    // The host calls it when a run's stores are done. The default has nothing to wait for.
    virtual void Settle() {}
    // Gives back the pages the connection keeps cached; later statements read them again. The
    // default keeps none to give.
    virtual void ReleaseCachedPages() {}
    // Tells a writer how many rows its next transaction stores, before Begin, so that what it keeps
    // for the write can follow the rows. SQLite: the writer's page cache. The default ignores it.
    virtual void ExpectRowsToWrite(int64_t rows) { (void)rows; }

    virtual std::string_view BackendName() const = 0;
    virtual const std::string& Uri() const = 0;
};

// A PostgreSQL URI ("postgresql://..." or "postgres://..."), as opposed to a SQLite file.
TL_DB_CXX_API bool IsServerUri(std::string_view uri);

// The process-wide connection behind the C functions of dbd.h and the settings service. The pointer
// stays valid until the next SetProcessConnection or DBCloseDatabase; a thread that uses it while
// another may reopen holds LockProcessConnection() meanwhile (the C functions do).
TL_DB_CXX_API Connection* ProcessConnection();
TL_DB_CXX_API void SetProcessConnection(std::unique_ptr<Connection> connection);
TL_DB_CXX_API std::unique_lock<std::recursive_mutex> LockProcessConnection();

// Creates the metering schema (tables, indexes, the standard parameter rows) when it is missing;
// running it again changes nothing.
TL_DB_CXX_API void InitSchema(Connection& connection);

} // namespace tl::db
